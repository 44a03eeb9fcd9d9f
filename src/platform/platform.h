// The seam between the game and the outside world: a place to show the page,
// the keyboard, the pointer, sleep and a clock. Three backends implement it,
// one compiled into each program: platform_sdl.cpp (a desktop window),
// platform_headless.cpp (no window, a virtual clock and scripted input, for
// tests and replays) and platform_web.cpp (a canvas in a browser page).
//
// The page and its palette live in the raster surface, which hands them to
// the backend to show; a backend never reaches back into the game.
#pragma once

#include <cstdint>
#include <string>

// Rows first..last of the page; none when last < first.
struct RowSpan {
  int32_t first = 0;
  int32_t last = -1;
  bool empty() const { return last < first; }
  bool operator==(const RowSpan&) const = default;
};

// What there is to show: the page's palette indices (rows top first, no
// padding), its 256 palette entries (red, green, blue bytes), and what
// changed since the last present. Both stay where they are for the whole
// run, so a backend may show them again from these pointers (a window
// uncovered or resized) until the next present.
struct PageUpdate {
  const std::uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  const std::uint8_t* palette = nullptr;
  RowSpan rows;                  // the rows whose indices changed
  bool palette_changed = false;  // every row must then be shown again
};

// The pointer in page pixels and a bit per pressed button; all -1 when it is
// outside the page.
struct PlatformMouse {
  int32_t x = -1;
  int32_t y = -1;
  int32_t buttons = -1;
};

// What the player asked for on the command line about the window and the
// sound.
struct WindowChoice {
  bool fullscreen = false;     // start in full screen
  int32_t scale = 0;           // start at this whole multiple of the page; 0: the largest that fits
  bool integer_scale = false;  // show the page at whole multiples only, also resized or in full screen
  bool sound_off = false;      // start with the sound off (the M key switches it on and off)
};

// Sounds are 16-bit mono samples at this rate.
constexpr int32_t SOUND_RATE = 44100;

// A sound to play: its number (the game names its sounds) and its samples.
// The samples stay where they are for the whole run, so a backend may keep
// the pointer while it plays them.
struct SoundClip {
  int32_t number = 0;
  const std::int16_t* samples = nullptr;
  int32_t count = 0;
};

// Settings a teacher may change while the game runs, from outside the game
// (the controls around a web page's canvas): each is -1 when it has not
// changed since it was last taken.
struct SettingsChange {
  int32_t level = -1;  // the computer's level: 0 easy, 1 medium, 2 expert
  int32_t hints = -1;  // the hints: 0 hidden, 1 shown
  bool any() const { return level >= 0 || hints >= 0; }
};

// Called once, before the screen opens, with the player's choices from the
// command line (a program that has none does not call it).
void platform_configure(const WindowChoice& choice);
// Called once, when the game opens its screen: make a place to show a page of
// this size. False when there is none (the game then reports it and ends).
bool platform_open(int32_t width, int32_t height);
// Called when the game waits or polls and the page or its palette changed
// since the last call: show them.
void platform_present(const PageUpdate& update);
// Called whenever the game waits or polls, right after any present: take in
// what the player did. A backend may end the program here (end_program(0))
// when the player closes the window.
void platform_pump();
// Called while the game waits: sleep this many milliseconds without
// busy-waiting, taking in input meanwhile.
void platform_sleep(int32_t ms);
// Called for the game's clock: seconds since an origin fixed for the run,
// never decreasing.
double platform_clock();
// Called when the game looks at the keyboard: whether a key text waits, and
// the oldest one (removed from the queue).
bool platform_key_waiting();
std::string platform_take_key();
// Called when the game looks at the mouse.
PlatformMouse platform_mouse();
// Called at the start of every turn, before every whole frame and at every
// look of the player's turn: the settings changed since the last call (none
// where nothing outside the game can change them).
SettingsChange platform_take_settings();
// Called each time a whole 800 x 600 frame has been copied onto the screen
// (the headless clock counts drawing time by it).
void platform_full_frame();
// Called the moment something happens that the player should hear (the
// samples are made above the seam, as the page is). Returns at once: the
// sound plays on while the game goes on, and a backend that cannot play it
// (no sound card, the sound switched off) drops it without a word. Switching
// the sound off and on is the backend's (the M key, the command line).
void platform_play_sound(const SoundClip& clip);
// Called once the run-time error report has been drawn, with its text (a
// backend with no one watching the screen prints it).
void platform_error_report(const std::string& text);
