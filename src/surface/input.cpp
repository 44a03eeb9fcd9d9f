// Keyboard, mouse, waiting and the clock, on top of the platform.
#include "surface/input.h"


#include "platform/platform.h"
#include "surface/surface.h"

namespace {

// Every look at the input and every wait first shows what has been drawn.
void pump() {
  present_page();
  platform_pump();
}

}  // namespace

std::string POLLKEY() {
  pump();
  if (!platform_key_waiting()) return std::string();
  return platform_take_key();
}

MouseReading POLLMOUSE() {
  pump();
  const PlatformMouse m = platform_mouse();
  MouseReading r;
  if (m.x < 0 || m.y < 0 || m.buttons < 0) return r;  // outside: all -1
  r.x = m.x;
  r.y = m.y;
  r.buttons = m.buttons;
  return r;
}

void WAITMS(int32_t ms) {
  pump();
  if (ms == -1) {
    // Until a key waits; the key stays in the queue.
    while (!platform_key_waiting()) {
      platform_sleep(50);
      pump();
    }
    return;
  }
  if (ms <= 0) return;
  if (ms < 100) {
    platform_sleep(ms);
    return;
  }
  int32_t remaining = ms;
  while (remaining > 50) {
    if (platform_key_waiting()) return;
    platform_sleep(50);
    pump();
    remaining -= 50;
  }
  if (platform_key_waiting()) return;
  platform_sleep(remaining);
}

// Both backends keep a clock that never goes back (a steady clock, or the
// virtual clock that only moves forward), so no guard is kept here: a guard
// would also hide a test's reset of the virtual clock.
double CLOCKSECONDS() { return platform_clock(); }

void drop_waiting_keys() {
  while (!POLLKEY().empty()) {
  }
}

namespace {

// The presses that look_at_input leaves unseen (see ignore_quick_presses).
struct QuickPressGuard {
  double until = 0.0;     // clock reading before which a new press is ignored
  bool armed = false;
  bool was_down = false;  // a button was down at the last look
  bool ignoring = false;  // the press now down is ignored
};
QuickPressGuard guard;

}  // namespace

void ignore_quick_presses(double released_seconds) {
  guard.until = released_seconds + QUICK_PRESS_MS / 1000.0;
  guard.armed = true;
  guard.was_down = false;
  guard.ignoring = false;
}

void forget_earlier_presses() {
  const bool down = POLLMOUSE().buttons > 0;
  guard.was_down = down;
  guard.ignoring = down;
}

InputLook look_at_input(int32_t wait_ms) {
  WAITMS(wait_ms);
  InputLook look;
  look.key = POLLKEY();
  look.mouse = POLLMOUSE();
  const bool down = look.mouse.buttons > 0;
  if (!down) guard.ignoring = false;
  if (down && !guard.was_down && guard.armed && CLOCKSECONDS() < guard.until) guard.ignoring = true;
  guard.was_down = down;
  if (guard.ignoring) look.mouse.buttons = 0;
  return look;
}

MouseReading wait_for_release(MouseReading mouse) {
  while (mouse.buttons > 0) {
    WAITMS(20);
    mouse = POLLMOUSE();
  }
  return mouse;
}
