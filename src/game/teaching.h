// Aids a teacher can switch on: a computer that plays less well, and hints
// that show the winning totals. Without them the game is played as it always
// is (the computer's evaluation, no hints).
#pragma once

#include <cstdint>

#include "core/checked.h"
#include "game/gamestate.h"

// How well the computer plays.
enum ComputerLevel : int32_t {
  // "facil": a win within reach is taken only half the time; otherwise a rod
  // at random among those that fit, leaving out the win it lets go by.
  LEVEL_EASY = 0,
  // "medio": a win within reach is always taken; otherwise the evaluation's
  // choice one turn in five, and a rod at random among those that fit the
  // other turns.
  LEVEL_MEDIUM = 1,
  LEVEL_EXPERT = 2,  // "experto": the evaluation's choice, every turn
};

struct TeachingAids {
  // A teacher chose a level or the hints: the A key then shows and hides
  // the hints during play.
  bool chosen = false;
  ComputerLevel level = LEVEL_EXPERT;
  bool hints = false;  // the winning totals and the status line are shown
};
extern TeachingAids teaching_aids;

// Takes in what a teacher changed while the game runs (the controls around a
// web page): the level counts from the computer's next move, the hints from
// the next frame, and the A key works from then on. True when the hints were
// shown or hidden, so that what is on the screen must be drawn again.
bool take_teacher_changes();

// The level's name as the command line takes it: "facil", "medio", "experto".
const char* level_name(ComputerLevel level);

// The rod the computer lays now at the chosen level (1..10), or 0 when no
// valid rod fits: it never passes the target. The evaluation must have been
// prepared for the game (SETUPEVAL). Every level but the expert one draws
// from the game's random generator.
int32_t computer_rod(const GAMESTATE& state, ComputerLevel level);

// The winning totals of the configured game: entry t (1..target) is 1 when
// the side to move at total t loses with perfect play, so reaching t wins.
// Moves are the valid rods that fit; reaching the target wins; when no valid
// rod fits the game is a tie. Entry 0 is never set.
using WinningTotals = CheckedArray<uint8_t, MAX_RODS + 1>;
WinningTotals winning_totals(const GAMESTATE& state);
