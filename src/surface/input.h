// Keyboard, mouse, waiting and the clock.
#pragma once

#include <cstdint>
#include <string>

// The oldest waiting key as a key text, removed from the queue; empty when none
// waits. One character for an ordinary key (Enter 13, Esc 27); code 255 and a
// scan-code letter for the arrows (H up, K left, M right, P down). Never waits.
std::string POLLKEY();

struct MouseReading {
  int32_t x = -1;
  int32_t y = -1;
  int32_t buttons = -1;
};
// Pointer position in page pixels and a bit per pressed button; all -1 when
// the pointer is outside the window. Never waits.
MouseReading POLLMOUSE();

// -1: wait for a key (left waiting), checking every 50 ms. 100 and more: wait
// in 50 ms steps, returning early when a key waits. 1..99: plain wait.
// 0 or below: return at once.
void WAITMS(int32_t ms);

// Drops the keys typed earlier: reads until none is waiting.
void drop_waiting_keys();

// One look at the input after a short wait, as every screen takes them.
struct InputLook {
  std::string key;     // empty when none was waiting
  MouseReading mouse;
  // A key or a pressed button: something for the screen to act on.
  bool acted() const { return !key.empty() || mouse.buttons > 0; }
};
InputLook look_at_input(int32_t wait_ms);

// After a message or an information page is closed by a click released at
// this clock reading: a press that begins less than QUICK_PRESS_MS later is
// not seen by look_at_input, nor is it later, until its button is up again,
// so the second click of a double-click does not act on what lies underneath.
constexpr int32_t QUICK_PRESS_MS = 400;
void ignore_quick_presses(double released_seconds);

// Called at the start of each of the player's turns. The buttons are read
// once and the reading thrown away: a press the backend kept during the
// computer's move (the second tap of a double-tap) is not taken for a new
// move, and a button still held is ignored by look_at_input until it is
// released. A press that begins after this acts as always.
void forget_earlier_presses();

// Waits, looking every 20 ms, until the mouse buttons are up again; returns
// the reading that found them up.
MouseReading wait_for_release(MouseReading mouse);

// Seconds since an origin fixed for the run; never decreases.
double CLOCKSECONDS();


// Keys the game compares against.
inline constexpr char KEY_ENTER = 13;
inline constexpr char KEY_ESC = 27;
inline const std::string KEY_LEFT = std::string("\xFF") + "K";
inline const std::string KEY_RIGHT = std::string("\xFF") + "M";
inline const std::string KEY_UP = std::string("\xFF") + "H";
inline const std::string KEY_DOWN = std::string("\xFF") + "P";
