// How often a child wins against each level of the computer: GAMES games a
// level, target and kind of child (2,000 unless told), all rods, targets 30
// and 100, each side starting half the games. Two kinds of child: one who
// lays a random rod among those that fit, and one who also takes the target
// whenever a rod reaches it (as a child soon learns to). Prints a Markdown
// table, ready for the README.
//
// Usage: ranvel-level-shares [GAMES]
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "game/evaluation.h"
#include "game/teaching.h"
#include "surface/random.h"

namespace {

constexpr int32_t DEFAULT_GAMES = 2000;
constexpr int32_t MOST_GAMES = 10000000;
constexpr int USAGE_ERROR = 2;

void print_usage(std::FILE* to) {
  std::fprintf(to,
               "Usage: ranvel-level-shares [GAMES]\n"
               "How often a child wins against each level of the computer: GAMES games\n"
               "(1 to %d, default %d) a level, target and kind of child, all rods,\n"
               "targets 30 and 100, each side starting half the games. Prints a Markdown table.\n",
               MOST_GAMES, DEFAULT_GAMES);
}

void lay(GAMESTATE& g, int32_t v) {
  g.RODS[g.MOVECOUNT] = static_cast<uint8_t>(v);
  g.TOTALS[g.MOVECOUNT + 1] = static_cast<uint8_t>(g.TOTALS[g.MOVECOUNT] + v);
  ++g.MOVECOUNT;
  g.TURN ^= 1;
}

int32_t child_rod(const GAMESTATE& g, bool takes_wins) {
  const int32_t to_win = g.TARGET - g.TOTALS[g.MOVECOUNT];
  if (takes_wins && to_win >= 1 && to_win <= 10 && ((g.VALIDRODS >> to_win) & 1u) != 0) return to_win;
  int32_t fitting[10] = {};
  int32_t n = 0;
  for (int32_t v = 1; v <= 10; ++v)
    if (((g.VALIDRODS >> v) & 1u) != 0 && g.TOTALS[g.MOVECOUNT] + v <= g.TARGET) fitting[n++] = v;
  return n == 0 ? 0 : fitting[static_cast<int32_t>(RANDOMUNIT() * n) % n];
}

// The share of games the child wins, in per cent; the child starts the even
// games, the computer the odd ones.
double child_wins(ComputerLevel level, uint8_t target, bool takes_wins, int32_t games) {
  RANDOMSEED(target * 10.0 + static_cast<int32_t>(level) + (takes_wins ? 5 : 0));
  int32_t won = 0;
  for (int32_t game = 0; game < games; ++game) {
    GAMESTATE g;
    g.TARGET = target;
    g.STARTER = static_cast<uint8_t>(game % 2);
    SETUPEVAL(g);
    NEWGAME(g);
    for (;;) {
      const uint8_t mover = g.TURN;
      const int32_t rod = mover == 0 ? child_rod(g, takes_wins) : computer_rod(g, level);
      if (rod == 0) break;  // a tie
      lay(g, rod);
      if (g.TOTALS[g.MOVECOUNT] == target) {
        if (mover == 0) ++won;
        break;
      }
    }
  }
  return 100.0 * won / games;
}

}  // namespace

int main(int argc, char** argv) {
  int32_t games = DEFAULT_GAMES;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    print_usage(stdout);
    return 0;
  }
  if (argc == 2) {
    const std::string_view text = argv[1];
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), games);
    if (text.empty() || fault != std::errc() || end != text.data() + text.size() || games < 1 ||
        games > MOST_GAMES) {
      std::fprintf(stderr, "ranvel-level-shares: not a number of games from 1 to %d: %s\n", MOST_GAMES, argv[1]);
      print_usage(stderr);
      return USAGE_ERROR;
    }
  } else if (argc > 2) {
    print_usage(stderr);
    return USAGE_ERROR;
  }

  std::printf("How often a child wins (%d games each, all rods, each side starting half the games):\n\n", games);
  std::printf("| child | target | facil | medio | experto |\n|---|---|---|---|---|\n");
  for (const bool takes_wins : {false, true}) {
    for (const uint8_t target : {uint8_t{30}, uint8_t{100}}) {
      const char* child = takes_wins ? "takes a win within reach, otherwise random" : "lays a random rod that fits";
      std::printf("| %s | %d |", child, int{target});
      for (const ComputerLevel level : {LEVEL_EASY, LEVEL_MEDIUM, LEVEL_EXPERT})
        std::printf(" %.1f %% |", child_wins(level, target, takes_wins, games));
      std::printf("\n");
    }
  }
  return 0;
}
