// How often a player who lays a random rod among those that fit wins against
// each level of the computer: 1,000 games a level and target, all rods, the
// player starting. Prints one line a target and level, for that player and
// for one who also takes the target whenever a rod reaches it (as a child
// soon learns to).
//
// Usage: ranvel-level-shares [GAMES]
#include <cstdio>
#include <cstdlib>

#include "game/evaluation.h"
#include "game/teaching.h"
#include "surface/random.h"

namespace {

void lay(GAMESTATE& g, int32_t v) {
  g.RODS[g.MOVECOUNT] = static_cast<uint8_t>(v);
  g.TOTALS[g.MOVECOUNT + 1] = static_cast<uint8_t>(g.TOTALS[g.MOVECOUNT] + v);
  ++g.MOVECOUNT;
  g.TURN ^= 1;
}

int32_t random_rod(const GAMESTATE& g, bool takes_wins) {
  const int32_t to_win = g.TARGET - g.TOTALS[g.MOVECOUNT];
  if (takes_wins && to_win >= 1 && to_win <= 10 && ((g.VALIDRODS >> to_win) & 1u) != 0) return to_win;
  int32_t fitting[10] = {};
  int32_t n = 0;
  for (int32_t v = 1; v <= 10; ++v)
    if (((g.VALIDRODS >> v) & 1u) != 0 && g.TOTALS[g.MOVECOUNT] + v <= g.TARGET) fitting[n++] = v;
  return n == 0 ? 0 : fitting[static_cast<int32_t>(RANDOMUNIT() * n) % n];
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t games = argc > 1 ? std::atoi(argv[1]) : 1000;
  for (const bool takes_wins : {false, true}) {
  std::printf(takes_wins ? "A player who takes every win within reach, otherwise at random:\n"
                         : "A player at random:\n");
  for (const uint8_t target : {uint8_t{30}, uint8_t{100}}) {
    for (const ComputerLevel level : {LEVEL_EASY, LEVEL_MEDIUM, LEVEL_EXPERT}) {
      int32_t won = 0, lost = 0, tied = 0;
      RANDOMSEED(target * 10.0 + static_cast<int32_t>(level));
      for (int32_t game = 0; game < games; ++game) {
        GAMESTATE g;
        g.TARGET = target;
        SETUPEVAL(g);
        NEWGAME(g);
        for (;;) {
          const int32_t rod = g.TURN == 0 ? random_rod(g, takes_wins) : computer_rod(g, level);
          if (rod == 0) {
            ++tied;
            break;
          }
          const uint8_t mover = g.TURN;
          lay(g, rod);
          if (g.TOTALS[g.MOVECOUNT] == target) {
            (mover == 0 ? won : lost) += 1;
            break;
          }
        }
      }
      std::printf("  target %3d, %-7s: the player wins %5.1f %% (%d won, %d lost, %d tied of %d)\n", int{target},
                  level_name(level), 100.0 * won / games, won, lost, tied, games);
    }
  }
  }
  return 0;
}
