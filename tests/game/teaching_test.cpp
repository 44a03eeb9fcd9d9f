#include "game/teaching.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <vector>

#include "game/evaluation.h"
#include "game/level_shares.h"
#include "surface/random.h"

namespace {

GAMESTATE configured(uint8_t target, std::initializer_list<int> rods) {
  GAMESTATE g;
  g.TARGET = target;
  g.VALIDRODS = 0;
  for (const int v : rods) g.VALIDRODS = static_cast<uint16_t>(g.VALIDRODS | (1u << v));
  EXPECT_EQ(SETUPEVAL(g), 0);
  NEWGAME(g);
  return g;
}

void lay(GAMESTATE& g, int v) {
  g.RODS[g.MOVECOUNT] = static_cast<uint8_t>(v);
  g.TOTALS[g.MOVECOUNT + 1] = static_cast<uint8_t>(g.TOTALS[g.MOVECOUNT] + v);
  ++g.MOVECOUNT;
  g.TURN ^= 1;
}

// The game searched move by move: +1 the side to move at total t wins, 0 a
// tie, -1 it loses. Passing the target is no move.
int search(const GAMESTATE& g, int t, std::map<int, int>& seen) {
  if (t == g.TARGET) return -1;
  if (seen.count(t)) return seen[t];
  int best = -2;
  for (int v = 1; v <= 10; ++v)
    if (((g.VALIDRODS >> v) & 1) != 0 && t + v <= g.TARGET) best = std::max(best, -search(g, t + v, seen));
  return seen[t] = best == -2 ? 0 : best;
}

// The reachable winning total from t, or 0.
int winning_move(const GAMESTATE& g, const WinningTotals& winning, int t) {
  for (int v = 1; v <= 10; ++v)
    if (((g.VALIDRODS >> v) & 1) != 0 && t + v <= g.TARGET && winning[t + v] != 0) return v;
  return 0;
}

}  // namespace

TEST(Teaching, WinningTotalsAreTheTotalsTheSideToMoveLoses) {
  EXPECT_EQ(level_name(LEVEL_EASY), std::string("facil"));
  EXPECT_EQ(level_name(LEVEL_EXPERT), std::string("experto"));
  // All rods, target 100: every eleventh total from 1.
  const WinningTotals all = winning_totals(configured(100, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  for (int t = 0; t <= 100; ++t) EXPECT_EQ(all[t], t % 11 == 1 ? 1 : 0) << t;
  // {4, 6} at 11 has ties: from 8, 9 and 10 nothing fits. 5 and 7 reach 11,
  // and from 1 every rod gives the other side one of them: 1 is the only
  // winning total below the target.
  const WinningTotals ties = winning_totals(configured(11, {4, 6}));
  for (int t = 1; t <= 11; ++t) EXPECT_EQ(ties[t], t == 11 || t == 1 ? 1 : 0) << t;
  // Against a search of the game itself, for many targets and sets, periodic
  // or not.
  const std::vector<std::vector<int>> sets = {{1, 2}, {2, 3}, {4, 6}, {1, 5, 6}, {3, 5, 7}, {2, 9},
                                              {1, 3, 4}, {5, 8, 9, 10}, {6, 7}, {1, 2, 3, 4, 5, 6, 7, 8, 10}};
  for (const auto& set : sets)
    for (int target = 10; target <= 100; target += 3) {
      GAMESTATE g;
      g.TARGET = static_cast<uint8_t>(target);
      g.VALIDRODS = 0;
      for (const int v : set) g.VALIDRODS = static_cast<uint16_t>(g.VALIDRODS | (1u << v));
      const WinningTotals w = winning_totals(g);
      std::map<int, int> seen;
      EXPECT_EQ(w[0], 0);
      for (int t = 1; t <= target; ++t)
        ASSERT_EQ(w[t] != 0, search(g, t, seen) == -1) << "total " << t << " of " << target;
    }
}

TEST(Teaching, TheEasierLevelsNeverPassTheTargetTheMediumOneTakesEveryWinTheEasyOneHalf) {
  int easy_wins[2] = {};  // wins within reach let go by, taken
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_MEDIUM}) {
    for (int game = 0; game < 1500; ++game) {
      RANDOMSEED(1000.0 * static_cast<int>(level) + game);
      const uint8_t target = static_cast<uint8_t>(10 + game % 91);
      GAMESTATE g = game % 3 == 0 ? configured(target, {4, 6}) : configured(target, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
      // Both sides play the level: every rod fits, and a tie only when none does.
      while (g.TOTALS[g.MOVECOUNT] < target) {
        const int total = g.TOTALS[g.MOVECOUNT];
        const int rod = computer_rod(g, level);
        if (rod == 0) {
          for (int v = 1; v <= 10; ++v) ASSERT_FALSE(((g.VALIDRODS >> v) & 1) != 0 && total + v <= target);
          break;
        }
        ASSERT_TRUE(((g.VALIDRODS >> rod) & 1) != 0);
        ASSERT_LE(total + rod, target);
        // A win within reach while a smaller rod fits too.
        const int to_win = target - total;
        if (to_win <= 10 && ((g.VALIDRODS >> to_win) & 1) != 0 && std::countr_zero(g.VALIDRODS) < to_win) {
          ASSERT_TRUE(level == LEVEL_EASY || rod == to_win) << "missed a win at " << total << " of " << int{target};
          if (level == LEVEL_EASY) ++easy_wins[rod == to_win ? 1 : 0];
        }
        lay(g, rod);
      }
    }
  }
  EXPECT_GT(easy_wins[1], 200);
  EXPECT_NEAR(easy_wins[0], easy_wins[1], easy_wins[1] / 5);
}

TEST(Teaching, AChildWinsMostOftenAgainstFacilThenMedioThenExperto) {
  for (const uint8_t target : {uint8_t{30}, uint8_t{100}}) {
    RANDOMSEED(target);
    const auto wins = [&](ComputerLevel level, ChildPlay child) {
      return games_a_child_wins(level, target, child, 400);
    };
    // A child who takes the wins: 65 to 85 % against facil, 30 to 50 % against medio.
    const int easy = wins(LEVEL_EASY, CHILD_TAKES_WINS), medium = wins(LEVEL_MEDIUM, CHILD_TAKES_WINS);
    EXPECT_TRUE(easy > 260 && easy < 340 && medium > 120 && medium < 200) << easy << ", " << medium << " of 400";
    EXPECT_GT(medium, wins(LEVEL_EXPERT, CHILD_TAKES_WINS));
    EXPECT_GT(wins(LEVEL_EASY, CHILD_AT_RANDOM), wins(LEVEL_MEDIUM, CHILD_AT_RANDOM));
  }
}

TEST(Teaching, AStartOnAWinningPathWinsAgainstEveryLevel) {
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_MEDIUM, LEVEL_EXPERT}) {
    for (int game = 0; game < 200; ++game) {
      RANDOMSEED(7.0 + game);
      const uint8_t target = static_cast<uint8_t>(10 + (game * 7) % 91);
      GAMESTATE g = game % 2 == 0 ? configured(target, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) : configured(target, {1, 3, 4});
      const WinningTotals winning = winning_totals(g);
      if (winning_move(g, winning, 0) == 0) continue;  // the first move gives no winning path
      for (;;) {
        const int move = winning_move(g, winning, g.TOTALS[g.MOVECOUNT]);
        ASSERT_NE(move, 0) << "no winning total within reach at " << int{g.TOTALS[g.MOVECOUNT]};
        lay(g, move);
        if (g.TOTALS[g.MOVECOUNT] == target) break;
        const int answer = computer_rod(g, level);
        ASSERT_NE(answer, 0);
        lay(g, answer);
        ASSERT_LT(g.TOTALS[g.MOVECOUNT], target) << "the computer won against a winning path, level " << level;
      }
    }
  }
}
