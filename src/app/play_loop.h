// The play loop: one game from its first turn to its end.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

// Runs the game whose first frame is on the screen, starting with the side
// TURN names; returns when the game is over (won, lost, tied or given up).
void play_game(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, GAMESTATE& game, SCREENDEF& view);
