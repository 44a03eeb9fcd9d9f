// The number line, laid rods, choice rods, hover highlight and the computer's rod.
#pragma once

#include <cstdint>

#include "core/runtime_error.h"
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
extern CheckedArray<ChoiceBox, CHOICE_ROD_COUNT> CHOICEBOXES;

// Builds the 52 choice rods and their colours (once, at start-up).
void build_choice_rods(const POINT3D& light);

struct ChoiceWindow {
  int32_t first = 0;
  int32_t last = 0;
};
// The choice rods shown and clickable for this total and target.
ChoiceWindow choice_window_for(int32_t total, int32_t target);

void DRAWNUMBERLINE(Image image, uint8_t target, const SCREENDEF& view, int32_t colour);
void LAYROD(int32_t value, GAMESTATE& state, int32_t colour);
void DRAWRODS(Image image, const GAMESTATE& state, const SCREENDEF& view);
void HIGHLIGHTROD(int32_t value, const ColorTable& table, int32_t on);
void BRINGCOMPUROD(Image frame, int32_t value, const GAMESTATE& state, const SCREENDEF& view);
