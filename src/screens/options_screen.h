// The options screen shown before every game.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

int32_t OPTIONSSCREEN(Image frame, const std::uint8_t* texture, GAMESTATE& game, SCREENDEF& view);
