// The camera move that follows the running total.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

int32_t SHIFTLOOKAT(int32_t from, int32_t to, Image frame, const std::uint8_t* texture,
                    MAPPEDFONT& font, GAMESTATE& state, SCREENDEF& view);
