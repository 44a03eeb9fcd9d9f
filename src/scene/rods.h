// The number line, laid rods, choice rods, hover highlight and the computer's rod.
#pragma once

#include <cstdint>

#include "app/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "shade/palette.h"
#include "surface/surface.h"

struct CHOICEBOX {
  int16_t X1 = 0;
  int16_t Y1 = 0;
  int16_t X2 = 0;
  int16_t Y2 = 0;
};

constexpr int32_t CHOICERODCOUNT = 52;
extern CHECKEDARRAY<BRICK, CHOICERODCOUNT> CHOICERODS;
extern CHECKEDARRAY<CHOICEBOX, CHOICERODCOUNT> CHOICEBOXES;

// Builds the 52 choice rods and their colours (once, at start-up).
void BUILDCHOICERODS(const POINT3D& light);

struct CHOICEWINDOW {
  int32_t FIRST = 0;
  int32_t LAST = 0;
};
// The choice rods shown and clickable for this total and target.
CHOICEWINDOW CHOICEWINDOWFOR(int32_t total, int32_t target);

void DRAWNUMBERLINE(IMAGE image, uint8_t target, const SCREENDEF& view, int32_t colour);
void LAYROD(int32_t value, GAMESTATE& state, int32_t colour);
void DRAWRODS(IMAGE image, const GAMESTATE& state, const SCREENDEF& view);
void HIGHLIGHTROD(int32_t value, const COLORTABLE& table, int32_t on);
void BRINGCOMPUROD(IMAGE frame, int32_t value, const GAMESTATE& state, const SCREENDEF& view);
