// The options screen shown before every game.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Sets the options screen's camera: the floor seen almost from above.
void set_options_camera(SCREENDEF& view);

// Shows the options screen until the player starts a game with a valid
// configuration (the evaluation prepared, 0 returned); ends the program when
// the player quits.
int32_t OPTIONSSCREEN(Image frame, const std::uint8_t* texture, GAMESTATE& game, SCREENDEF& view);
