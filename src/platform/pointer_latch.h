// The mouse buttons as the game sees them, kept apart from the window
// library so that the rules can be checked without a display.
#pragma once

#include <cstdint>

// The mouse buttons between two looks of the game. The game reads the
// buttons only every 10 to 20 ms, and a press and its release can both arrive
// in between (a tap on a touchpad, a click sent by a tool): such a press must
// still be seen once, where it happened, or the click is lost. Only while the
// game is looking at the mouse, though: a click made while it draws an
// animation and reads nothing is not kept for later, just as a key typed then
// is dropped.
struct ButtonLatch {
  uint32_t held = 0;    // buttons down now
  uint32_t unseen = 0;  // buttons that went down since the last reading
  int32_t press_x = 0;   // window position of the first unseen press
  int32_t press_y = 0;
  bool read = false;    // the game has read the buttons at least once
  int64_t read_ms = 0;   // when it last did
};

// A press is kept for the game when it read the buttons at most this long
// before the press.
constexpr int64_t BUTTON_LISTEN_MS = 100;

struct ButtonReading {
  uint32_t buttons = 0;  // held now or pressed since the last reading
  bool at_press = false;  // the position to use is the press's, not the pointer's
  int32_t x = 0;
  int32_t y = 0;
};

// Times are milliseconds of one clock that never goes back.
void note_button_down(ButtonLatch& latch, uint32_t mask, int32_t x, int32_t y, int64_t nowms);
void note_button_up(ButtonLatch& latch, uint32_t mask);
// Forgets every button (the window lost the focus; a release may never come).
void clear_buttons(ButtonLatch& latch);
// What the game sees now; the presses it sees are no longer unseen.
ButtonReading read_buttons(ButtonLatch& latch, int64_t nowms);
