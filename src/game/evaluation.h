// The computer player: the evaluation prepared once per configuration, the
// choice of rod, and the reset at the start of each game.
#pragma once

#include <cstdint>

#include "core/checked.h"
#include "game/gamestate.h"

// Evaluation tables, written only by SETUPEVAL. The counts wrap around in
// 32 bits exactly as the computer's choices expect.
extern CheckedArray<int32_t, 10> RODLIST;    // valid values, increasing
extern int32_t RODCOUNT;
extern CheckedArray<int32_t, 20> PAIRSUMS;   // unordered pairs of different values by sum
extern CheckedArray<int32_t, 100> WINPATHS;
extern CheckedArray<int32_t, 100> LOSEPATHS;

// 0 on success, -2 when fewer than two values are valid.
int32_t SETUPEVAL(GAMESTATE& state);
// The rod the computer lays now (1..10), or 0 when no valid rod fits.
int32_t DOEVAL(const GAMESTATE& state);
// Starts a game: no rods, total 0, LOOKAT 12, TURN = STARTER. Returns 0.
int32_t NEWGAME(GAMESTATE& state);
