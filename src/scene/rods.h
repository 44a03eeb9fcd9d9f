// The number line, laid rods, choice rods, hover highlight and the computer's rod.
#pragma once

#include <cstdint>

#include "core/checked.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "shade/palette.h"
#include "surface/surface.h"

struct ChoiceBox {
  int16_t X1 = 0;
  int16_t Y1 = 0;
  int16_t X2 = 0;
  int16_t Y2 = 0;
};

constexpr int32_t CHOICE_ROD_COUNT = 52;
extern CheckedArray<BRICK, CHOICE_ROD_COUNT> CHOICERODS;
using ChoiceBoxList = CheckedArray<ChoiceBox, CHOICE_ROD_COUNT>;

// Builds the 52 choice rods and their colours (once, at start-up).
void build_choice_rods(const POINT3D& light);

struct ChoiceWindow {
  int32_t first = 0;
  int32_t last = 0;
};
// The choice rods shown and clickable for this total and target: the rods
// near the total, never beyond the target, and always at least ten in a row,
// so every value can be picked.
ChoiceWindow choice_window_for(int32_t total, int32_t target);

// Where the player can pick the choice rods that DRAWRODS draws for this game
// and view: for each rod of the window whose value is valid, the box from its
// near-left floor corner to one unit of height above its far-right floor
// corner; every other box is empty (1, 1, 0, 0), so it can never be picked.
ChoiceBoxList CHOICEBOXES(const GAMESTATE& state, const SCREENDEF& view);
// Whether (x, y) lies in the box, its four bounds included.
bool inside_choice_box(const ChoiceBox& box, int32_t x, int32_t y);

void DRAWNUMBERLINE(Image image, uint8_t target, const SCREENDEF& view, int32_t colour);
void LAYROD(int32_t value, GAMESTATE& state, int32_t colour);
void DRAWRODS(Image image, const GAMESTATE& state, const SCREENDEF& view);
void HIGHLIGHTROD(int32_t value, const ColorTable& table, int32_t on);
void BRINGCOMPUROD(Image frame, int32_t value, const GAMESTATE& state, const SCREENDEF& view);
