// How the options screen starts: the target, the rods in play and who
// starts. A shared link or a classroom shortcut may choose them; the player
// can still change them there, and the options screen keeps them from then on.
#pragma once

#include <cstdint>

#include "game/gamestate.h"

struct GameSetup {
  uint8_t target = 100;         // 10..100
  uint16_t valid_rods = 0x7FE;  // bit v: rods of value v (1..10), at least two
  uint8_t starter = 0;          // 0 the player, 1 the computer
};
// The set-up of the run's first options screen.
extern GameSetup starting_setup;

// Puts the set-up into the game record.
void apply_setup(const GameSetup& setup, GAMESTATE& state);
