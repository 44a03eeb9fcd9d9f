// How often a child wins against each level (see level_shares.h).
#include "game/level_shares.h"

#include "game/evaluation.h"
#include "surface/random.h"

namespace {

int32_t child_rod(const GAMESTATE& g, ChildPlay child) {
  const int32_t to_win = g.TARGET - g.TOTALS[g.MOVECOUNT];
  if (child == CHILD_TAKES_WINS && to_win <= 10) return to_win;
  const int32_t fitting = to_win < 10 ? to_win : 10;
  const auto pick = static_cast<int32_t>(RANDOMUNIT() * fitting);
  return 1 + (pick < fitting ? pick : fitting - 1);
}

}  // namespace

int32_t games_a_child_wins(ComputerLevel level, uint8_t target, ChildPlay child, int32_t games) {
  int32_t won = 0;
  for (int32_t game = 0; game < games; ++game) {
    GAMESTATE g;
    g.TARGET = target;
    g.STARTER = static_cast<uint8_t>(game % 2);
    SETUPEVAL(g);
    NEWGAME(g);
    // With all rods some rod always fits: the game ends at the target.
    while (g.TOTALS[g.MOVECOUNT] < target) {
      const int32_t rod = g.TURN == 0 ? child_rod(g, child) : computer_rod(g, level);
      g.RODS[g.MOVECOUNT] = static_cast<uint8_t>(rod);
      g.TOTALS[g.MOVECOUNT + 1] = static_cast<uint8_t>(g.TOTALS[g.MOVECOUNT] + rod);
      ++g.MOVECOUNT;
      g.TURN ^= 1;
    }
    // The side that laid the last rod won: the child, when the computer is
    // to move now.
    if (g.TURN != 0) ++won;
  }
  return won;
}
