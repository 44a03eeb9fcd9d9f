// How often a child wins against each level of the computer: the measure
// behind what the help and the README tell a teacher of the levels. The
// measuring tool (ranvel-level-shares) and the tests play it; the game never
// does.
#pragma once

#include <cstdint>

#include "game/teaching.h"

// Two kinds of child: one who lays a rod at random among those that fit, and
// one who also takes the target whenever a rod reaches it (as a child soon
// learns to).
enum ChildPlay : int32_t { CHILD_AT_RANDOM = 0, CHILD_TAKES_WINS = 1 };

// Plays `games` games of the child against the level, all rods, to the
// target (10..100), the child starting the even games and the computer the
// odd ones, with numbers from the game's random generator. Returns how many
// the child wins.
int32_t games_a_child_wins(ComputerLevel level, uint8_t target, ChildPlay child, int32_t games);
