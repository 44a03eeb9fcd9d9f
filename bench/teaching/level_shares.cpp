// How often a child wins against each level of the computer (see
// game/level_shares.h): GAMES games a level, target and kind of child (2,000
// unless told), all rods, targets 30 and 100, each side starting half the
// games. Prints a Markdown table, ready for the README.
//
// Usage: ranvel-level-shares [GAMES]
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "game/level_shares.h"
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
  for (const ChildPlay child : {CHILD_AT_RANDOM, CHILD_TAKES_WINS}) {
    for (const uint8_t target : {uint8_t{30}, uint8_t{100}}) {
      const char* name =
          child == CHILD_TAKES_WINS ? "takes a win within reach, otherwise random" : "lays a random rod that fits";
      std::printf("| %s | %d |", name, int{target});
      for (const ComputerLevel level : {LEVEL_EASY, LEVEL_MEDIUM, LEVEL_EXPERT}) {
        // Each line of numbers from its own seed.
        RANDOMSEED(target * 10.0 + static_cast<int32_t>(level) + (child == CHILD_TAKES_WINS ? 5 : 0));
        std::printf(" %.1f %% |", 100.0 * games_a_child_wins(level, target, child, games) / games);
      }
      std::printf("\n");
    }
  }
  return 0;
}
