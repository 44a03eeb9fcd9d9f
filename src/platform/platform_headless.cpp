// The headless backend: no window, a virtual clock and scripted input.
#include <cstdio>

#include "platform/headless.h"
#include "platform/key_map.h"
#include "platform/platform.h"
#include "platform/pointer_latch.h"

namespace {

constexpr int64_t START_MS = 10000;
constexpr int64_t FRAME_MS = 16;
// The sounds kept until someone takes them: the latest, so a long run that
// never looks keeps no more than these.
constexpr std::size_t SOUNDS_KEPT = 1000;

int64_t now_ms = START_MS;
int64_t frames = 0;
int64_t presents = 0;
PageUpdate last_present;
KeyQueue keys;
// The pointer as the script put it, and the buttons through the same press
// store as a window's: a press made while the game reads the mouse is kept
// for it even when released before its next look.
PlatformMouse mouse;
ButtonLatch buttons;
SettingsChange settings;
std::function<void(int64_t)> driver;
bool driving = false;
// The sound as the command line asked for it, as M has left it, and what it
// has played.
bool sound_on_at_start = true;
bool sound_on = true;
std::vector<HeadlessSound> sounds;

// The driver may end the program (by throwing); the guard lets the next run
// drive again.
struct DrivingGuard {
  DrivingGuard() { driving = true; }
  ~DrivingGuard() { driving = false; }
};

void drive() {
  if (!driver || driving) return;
  const DrivingGuard guard;
  driver(now_ms);
}

}  // namespace

void headless_reset() {
  now_ms = START_MS;
  frames = 0;
  keys.clear();
  mouse = PlatformMouse{};
  buttons = ButtonLatch{};
  settings = SettingsChange{};
  sound_on = sound_on_at_start;
  sounds.clear();
}

int64_t headless_now_ms() { return now_ms; }
void headless_key(const std::string& key) {
  if (is_sound_key(key))
    sound_on = !sound_on;
  else
    keys.push_back(key);
}
void headless_mouse(int32_t x, int32_t y, int32_t pressed) {
  const bool inside = x >= 0 && y >= 0 && pressed >= 0;
  mouse = inside ? PlatformMouse{x, y, pressed} : PlatformMouse{};
  const uint32_t now = inside ? static_cast<uint32_t>(pressed) : 0u;
  const uint32_t went_down = now & ~buttons.held;
  const uint32_t went_up = buttons.held & ~now;
  if (went_up != 0) note_button_up(buttons, went_up);
  if (went_down != 0) note_button_down(buttons, went_down, x, y, now_ms);
}
void headless_change_settings(const SettingsChange& change) {
  if (change.level >= 0) settings.level = change.level;
  if (change.hints >= 0) settings.hints = change.hints;
}
void headless_set_driver(std::function<void(int64_t)> d) { driver = std::move(d); }
int64_t headless_frames() { return frames; }
int64_t headless_presents() { return presents; }
PageUpdate headless_last_present() { return last_present; }

std::vector<HeadlessSound> headless_take_sounds() {
  std::vector<HeadlessSound> taken;
  taken.swap(sounds);
  return taken;
}

// No window: of the command line's choices only the sound counts here.
void platform_configure(const WindowChoice& choice) { sound_on = sound_on_at_start = !choice.sound_off; }
bool platform_open(int32_t, int32_t) { return true; }
// No one watches the page: a shot reads it from the surface. The hand-over
// is only counted.
void platform_present(const PageUpdate& update) {
  ++presents;
  last_present = update;
}
void platform_pump() { drive(); }

void platform_sleep(int32_t ms) {
  if (ms > 0) now_ms += ms;
  drive();
}

double platform_clock() { return static_cast<double>(now_ms) / 1000.0; }
bool platform_key_waiting() { return !keys.empty(); }

std::string platform_take_key() { return take_oldest_key(keys); }

PlatformMouse platform_mouse() {
  const ButtonReading b = read_buttons(buttons, now_ms);
  if (!b.at_press && mouse.buttons < 0) return PlatformMouse{};
  if (!b.at_press) return PlatformMouse{mouse.x, mouse.y, static_cast<int32_t>(b.buttons)};
  return PlatformMouse{b.x, b.y, static_cast<int32_t>(b.buttons)};
}

SettingsChange platform_take_settings() {
  const SettingsChange taken = settings;
  settings = SettingsChange{};
  return taken;
}

void platform_full_frame() {
  now_ms += FRAME_MS;
  ++frames;
}

// Nothing to hear: the sound is noted with the moment it began.
void platform_play_sound(const SoundClip& clip) {
  if (!sound_on) return;
  if (sounds.size() >= SOUNDS_KEPT) sounds.erase(sounds.begin());
  sounds.push_back(HeadlessSound{clip.number, now_ms});
}

// A replay has no one watching the screen: the report also goes to
// standard error.
void platform_error_report(const std::string& text) {
  std::fputs((text + "\n").c_str(), stderr);
  std::fflush(stderr);
}
