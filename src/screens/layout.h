// Where the interactive elements of the screens lie: one table per screen,
// read both to draw the elements and to find the one under the pointer.
#pragma once

#include <cstdint>

#include "scene/projection.h"

// A rectangle of the screen, its four bounds included.
struct ScreenBox {
  double x1 = 1.0;
  double y1 = 1.0;
  double x2 = 0.0;
  double y2 = 0.0;
  bool contains(double x, double y) const { return x1 <= x && x <= x2 && y1 <= y && y <= y2; }
};

// The element codes of the options screen, and the two states an element is
// drawn in (bits of its state value).
enum OptionsElement : int32_t {
  ELEMENT_NONE = 0,
  ELEMENT_FIRST_ROD = 1,  // the check boxes of the rod values 1..10
  ELEMENT_LAST_ROD = 10,
  ELEMENT_TARGET_PANEL = 11,
  ELEMENT_TARGET = 12,
  ELEMENT_PLUS_TEN = 13,  // the four arrows beside the target
  ELEMENT_MINUS_TEN = 14,
  ELEMENT_PLUS_ONE = 15,
  ELEMENT_MINUS_ONE = 16,
  ELEMENT_PLAYER_STARTS = 17,
  ELEMENT_COMPUTER_STARTS = 18,
  ELEMENT_INFO = 19,
  ELEMENT_PLAY = 20,
  ELEMENT_QUIT = 21,
  ELEMENT_COUNT = 21,
};
constexpr int32_t ELEMENT_HIGHLIGHT = 2;
constexpr int32_t ELEMENT_PRESSED = 4;

// Where an element of the options screen lies (the check boxes depend on the
// view's centre); an empty box for the panel, the number and unknown codes,
// which take no clicks.
ScreenBox element_box(int32_t code, const SCREENDEF& view);
// The element under the pointer, ELEMENT_NONE for none.
int32_t element_at(int32_t x, int32_t y, const SCREENDEF& view);

// The two buttons of the play screen ("Salir" stands where it stands on the
// options screen).
constexpr int32_t TIEBUTTON = 51;
constexpr int32_t QUITBUTTON = 52;
ScreenBox game_button_box(int32_t code);
