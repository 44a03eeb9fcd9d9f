// The layout tables of the options and play screens.
#include "screens/layout.h"

namespace {

// The elements that stand at a fixed place: the arrows' frames, the two
// halves of the starter panel, the buttons' sprites.
struct FixedPlace {
  int32_t code;
  ScreenBox box;
};
constexpr FixedPlace FIXED_PLACES[] = {
    {ELEMENT_PLUS_TEN, {603, 135, 626, 158}},        {ELEMENT_MINUS_TEN, {603, 159, 626, 182}},
    {ELEMENT_PLUS_ONE, {727, 135, 750, 158}},        {ELEMENT_MINUS_ONE, {727, 159, 750, 182}},
    {ELEMENT_PLAYER_STARTS, {454, 220, 773, 279}},   {ELEMENT_COMPUTER_STARTS, {454, 280, 773, 339}},
    {ELEMENT_INFO, {454, 380, 693, 459}},            {ELEMENT_PLAY, {454, 500, 593, 579}},
    {ELEMENT_QUIT, {620, 500, 759, 579}},
};

}  // namespace

ScreenBox element_box(int32_t code, const SCREENDEF& view) {
  if (code >= ELEMENT_FIRST_ROD && code <= ELEMENT_LAST_ROD) {
    // A row of boxes 38.4 pixels apart below the rod pictures; a box takes
    // clicks from its left edge to 24 pixels right of it, on its 24 rows.
    const double left = view.CENTERX - 384 + (code - 1) * 38.4;
    const double top = view.CENTERY + 188;
    return ScreenBox{left, top, left + 24, top + 23};
  }
  for (const FixedPlace& place : FIXED_PLACES)
    if (place.code == code) return place.box;
  return ScreenBox{};
}

int32_t element_at(int32_t x, int32_t y, const SCREENDEF& view) {
  for (int32_t code = ELEMENT_FIRST_ROD; code <= ELEMENT_COUNT; ++code)
    if (element_box(code, view).contains(x, y)) return code;
  return ELEMENT_NONE;
}

ScreenBox game_button_box(int32_t code) {
  if (code == TIEBUTTON) return ScreenBox{24, 500, 263, 579};
  if (code == QUITBUTTON) return element_box(ELEMENT_QUIT, SCREENDEF{});
  return ScreenBox{};
}
