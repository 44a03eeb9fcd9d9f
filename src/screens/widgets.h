// The elements of the options screen.
#pragma once

#include <cstdint>

#include "app/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Element states: bits of these values.
constexpr int32_t ELEMENTHIGHLIGHT = 2;
constexpr int32_t ELEMENTPRESSED = 4;

using OPTIONRODLIST = CHECKEDARRAY<BRICK, 11>;

int32_t DRAWOPTIONSELEMENT(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSCHECKBOX(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSRODS(IMAGE frame, const OPTIONRODLIST& rods, const GAMESTATE& game,
                        const SCREENDEF& view);
