// The elements of the options screen.
#pragma once

#include <cstdint>

#include "core/checked.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "screens/layout.h"
#include "surface/surface.h"

using OptionRodList = CheckedArray<BRICK, 11>;

int32_t DRAWOPTIONSELEMENT(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSCHECKBOX(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSRODS(Image frame, const OptionRodList& rods, const GAMESTATE& game,
                        const SCREENDEF& view);
