// The options screen shown before every game.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// The colour of the floor texture's ramp on the options screen and in play.
constexpr uint32_t OPTIONS_TEXTURE_COLOUR = 0xA05000;
constexpr uint32_t PLAY_TEXTURE_COLOUR = 0xC0C040;

// Sets the options screen's camera: the floor seen almost from above.
void set_options_camera(SCREENDEF& view);

// Shows the options screen until the player starts a game with a valid
// configuration (the evaluation prepared, 0 returned); ends the program when
// the player quits.
int32_t OPTIONSSCREEN(Image frame, const std::uint8_t* texture, GAMESTATE& game, SCREENDEF& view);
