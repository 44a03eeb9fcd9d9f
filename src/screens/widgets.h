// The elements of the options screen.
#pragma once

#include <cstdint>

#include "core/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Element states: bits of these values.
constexpr int32_t ELEMENT_HIGHLIGHT = 2;
constexpr int32_t ELEMENT_PRESSED = 4;

using OptionRodList = CheckedArray<BRICK, 11>;

int32_t DRAWOPTIONSELEMENT(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSCHECKBOX(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
int32_t DRAWOPTIONSRODS(Image frame, const OptionRodList& rods, const GAMESTATE& game,
                        const SCREENDEF& view);
