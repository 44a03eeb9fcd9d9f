#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "game/evaluation.h"
#include "game/gamestate.h"

namespace {

uint16_t mask_of(std::initializer_list<int> values) {
  uint16_t mask = 0;
  for (int v : values) mask = static_cast<uint16_t>(mask | (1u << v));
  return mask;
}

GAMESTATE configured(std::initializer_list<int> values, int target) {
  GAMESTATE g;
  g.VALIDRODS = mask_of(values);
  g.TARGET = static_cast<uint8_t>(target);
  EXPECT_EQ(SETUPEVAL(g), 0);
  return g;
}

// The computer's rod with the game standing at this total.
int32_t choice_at(GAMESTATE& g, int total) {
  g.MOVECOUNT = 0;
  g.TOTALS[0] = static_cast<uint8_t>(total);
  return DOEVAL(g);
}

std::vector<int32_t> range_of(const CheckedArray<int32_t, 100>& table, int first, int last) {
  std::vector<int32_t> out;
  for (int i = first; i <= last; ++i) out.push_back(table[i]);
  return out;
}

}  // namespace

TEST(Evaluation, FullSetIsSymmetricWithPeriodEleven) {
  GAMESTATE g = configured({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 100);
  EXPECT_EQ(RODCOUNT, 10);
  EXPECT_EQ(g.PERIOD, 11);
  EXPECT_EQ(g.KEYRESIDUE, 1);
  EXPECT_EQ(choice_at(g, 0), 1);
  EXPECT_EQ(choice_at(g, 95), 5);
  EXPECT_EQ(choice_at(g, 50), 6);
  // Direct step 11 is not a rod: the answer to the smallest rod is laid.
  EXPECT_EQ(choice_at(g, 1), 10);
}

TEST(Evaluation, TwoValuesFallBackToTheResidueStep) {
  GAMESTATE g = configured({2, 3}, 100);
  EXPECT_EQ(g.PERIOD, 5);
  EXPECT_EQ(g.KEYRESIDUE, 0);
  EXPECT_EQ(choice_at(g, 0), 3);
}

TEST(Evaluation, SymmetricSetLeavesThePathTablesAlone) {
  configured({1, 2, 4}, 100);
  const auto win = WINPATHS;
  const auto lose = LOSEPATHS;
  const auto pairs = PAIRSUMS;
  GAMESTATE g = configured({3, 5, 7}, 60);
  EXPECT_EQ(g.PERIOD, 10);
  EXPECT_EQ(g.KEYRESIDUE, 0);
  EXPECT_EQ(WINPATHS, win);
  EXPECT_EQ(LOSEPATHS, lose);
  EXPECT_EQ(PAIRSUMS, pairs);
}

TEST(Evaluation, OneTwoFourToHundred) {
  GAMESTATE g = configured({1, 2, 4}, 100);
  EXPECT_EQ(g.PERIOD, 255);
  EXPECT_EQ(g.KEYRESIDUE, 255);
  for (int s = 0; s < 20; ++s) EXPECT_EQ(PAIRSUMS[s], (s == 3 || s == 5 || s == 6) ? 1 : 0) << s;
  EXPECT_EQ(range_of(WINPATHS, 95, 99), (std::vector<int32_t>{1, 0, 1, 0, 0}));
  EXPECT_EQ(range_of(LOSEPATHS, 95, 99), (std::vector<int32_t>{1, 2, 0, 1, 1}));
  // Scores -2/3, 1, -1/3.
  EXPECT_EQ(choice_at(g, 95), 2);
  // Exact hit.
  EXPECT_EQ(choice_at(g, 96), 4);
  // Rod 4 passes; rods 1 and 2 both score -0.5 and the smaller wins the tie.
  EXPECT_EQ(choice_at(g, 97), 1);
}

TEST(Evaluation, OneTwoFourToTen) {
  GAMESTATE g = configured({1, 2, 4}, 10);
  // WINPATHS[1] is 4: total 4 hands on its accumulated count (seed 1 plus 1 from 7).
  EXPECT_EQ(range_of(WINPATHS, 0, 10), (std::vector<int32_t>{0, 4, 2, 0, 2, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(range_of(LOSEPATHS, 0, 10), (std::vector<int32_t>{0, 4, 2, 5, 1, 1, 2, 0, 1, 1, 0}));
  // Scores -1/14, -1/28, 3/28.
  EXPECT_EQ(choice_at(g, 0), 4);
}

TEST(Evaluation, NoRodFitsGivesZero) {
  GAMESTATE sym = configured({2, 3}, 100);
  EXPECT_EQ(choice_at(sym, 99), 0);
  EXPECT_EQ(choice_at(sym, 98), 2);
  GAMESTATE uneven = configured({2, 3, 7}, 100);
  EXPECT_EQ(uneven.PERIOD, 255);
  EXPECT_EQ(choice_at(uneven, 99), 0);
  EXPECT_EQ(choice_at(uneven, 98), 2);
}

TEST(Evaluation, NeverPassesTheTargetWhateverTheScores) {
  // At 95 with {1, 2, 4, 9} only 1, 2 and 4 fit; 9 must never come back.
  GAMESTATE g = configured({1, 2, 4, 9}, 100);
  for (int t = 90; t <= 99; ++t) {
    const int32_t rod = choice_at(g, t);
    EXPECT_GE(rod, 1);
    EXPECT_LE(t + rod, 100) << "total " << t;
  }
}

TEST(Evaluation, WhenWrappedScoresAllFallBelowMinusHundredTheSmallestRodIsLaid) {
  GAMESTATE g = configured({1, 2, 5, 7}, 71);
  // Check the premise from the tables themselves: every score is -100 or less.
  uint32_t w = 0, l = 0;
  for (int v : {1, 2, 5, 7}) {
    w += static_cast<uint32_t>(WINPATHS[v]);
    l += static_cast<uint32_t>(LOSEPATHS[v]);
  }
  for (int v : {1, 2, 5, 7}) {
    const double pw = double(WINPATHS[v]) / double(static_cast<int32_t>(w));
    const double pl = double(LOSEPATHS[v]) / double(static_cast<int32_t>(l));
    ASSERT_LE(pw - pl, -100.0) << v;
  }
  EXPECT_EQ(choice_at(g, 0), 1);
}

TEST(Evaluation, TablesAreRebuiltFromZero) {
  GAMESTATE g = configured({1, 2, 4}, 100);
  const auto win = WINPATHS;
  const auto lose = LOSEPATHS;
  const auto pairs = PAIRSUMS;
  EXPECT_EQ(SETUPEVAL(g), 0);
  EXPECT_EQ(WINPATHS, win);
  EXPECT_EQ(LOSEPATHS, lose);
  EXPECT_EQ(PAIRSUMS, pairs);
  // Another uneven configuration in between leaves no trace either.
  configured({1, 3, 4, 9}, 77);
  EXPECT_EQ(SETUPEVAL(g), 0);
  EXPECT_EQ(WINPATHS, win);
  EXPECT_EQ(LOSEPATHS, lose);
  EXPECT_EQ(PAIRSUMS, pairs);
}

TEST(Evaluation, FewerThanTwoValuesRewritesOnlyTheRodList) {
  configured({1, 2, 4}, 100);
  const auto win = WINPATHS;
  const auto lose = LOSEPATHS;
  const auto pairs = PAIRSUMS;
  GAMESTATE single;
  single.VALIDRODS = mask_of({7});
  single.KEYRESIDUE = 42;
  single.PERIOD = 43;
  EXPECT_EQ(SETUPEVAL(single), -2);
  EXPECT_EQ(RODLIST[0], 7);
  EXPECT_EQ(RODLIST[1], 2);  // stale from the last set
  EXPECT_EQ(RODCOUNT, 3);
  EXPECT_EQ(single.KEYRESIDUE, 42);
  EXPECT_EQ(single.PERIOD, 43);
  EXPECT_EQ(WINPATHS, win);
  EXPECT_EQ(LOSEPATHS, lose);
  EXPECT_EQ(PAIRSUMS, pairs);
  single.VALIDRODS = 0;
  EXPECT_EQ(SETUPEVAL(single), -2);
}

TEST(Evaluation, NewGameResetsTheGameButNotTheConfiguration) {
  GAMESTATE g = configured({2, 5}, 57);
  g.STARTER = 1;
  g.MOVECOUNT = 7;
  g.TURN = 0;
  g.LOOKAT = 33.5;
  g.RODS[0] = 5;
  g.RODS[3] = 2;
  g.TOTALS[0] = 9;
  g.TOTALS[3] = 11;
  EXPECT_EQ(NEWGAME(g), 0);
  EXPECT_EQ(g.MOVECOUNT, 0);
  EXPECT_EQ(g.TURN, 1);
  EXPECT_EQ(g.LOOKAT, 12.0);
  EXPECT_EQ(g.RODS[0], 0);
  EXPECT_EQ(g.TOTALS[0], 0);
  EXPECT_EQ(g.RODS[3], 2);
  EXPECT_EQ(g.TOTALS[3], 11);
  EXPECT_EQ(g.TARGET, 57);
  EXPECT_EQ(g.VALIDRODS, mask_of({2, 5}));
  EXPECT_EQ(g.PERIOD, 7);
}

// Every target, every rod set of two or more values and every total below
// the target: the computer answers 0 exactly when its smallest rod no longer
// fits, and otherwise a rod of the set that stays within the target.
TEST(Evaluation, ExhaustiveChoicesAreAlwaysLegal) {
  const auto started = std::chrono::steady_clock::now();
  long long sets = 0;
  long long positions = 0;
  long long zeros = 0;
  for (int target = 10; target <= 100; ++target) {
    for (uint32_t bits = 0; bits < 1024; ++bits) {
      if (std::popcount(bits) < 2) continue;
      GAMESTATE g;
      g.VALIDRODS = static_cast<uint16_t>(bits << 1);
      g.TARGET = static_cast<uint8_t>(target);
      ASSERT_EQ(SETUPEVAL(g), 0);
      if (target == 10) ++sets;
      const int smallest = std::countr_zero(bits) + 1;
      for (int t = 0; t < target; ++t) {
        ++positions;
        const int32_t rod = choice_at(g, t);
        if (t + smallest > target) {
          ASSERT_EQ(rod, 0) << "target " << target << " set " << bits << " total " << t;
          ++zeros;
        } else {
          ASSERT_GE(rod, 1) << "target " << target << " set " << bits << " total " << t;
          ASSERT_LE(rod, 10);
          ASSERT_TRUE((g.VALIDRODS >> rod) & 1) << "target " << target << " set " << bits << " total " << t;
          ASSERT_LE(t + rod, target) << "target " << target << " set " << bits << " total " << t;
        }
      }
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_EQ(sets, 1013);
  EXPECT_EQ(positions, 1013LL * (10 + 100) * 91 / 2);
  std::printf("exhaustive: %lld rod sets x 91 targets, %lld positions, %lld without a fitting rod, %.2f s\n",
              sets, positions, zeros, seconds);
}

namespace {

// A second, plain reading of the path counts: 64-bit arithmetic cut back to
// 32 bits after every step, so that it wraps the same way.
struct PlainTables {
  std::array<uint64_t, 20> pairs{};
  std::array<uint64_t, 100> win{};
  std::array<uint64_t, 100> lose{};
};

constexpr uint64_t LOW_32 = 0xFFFFFFFFull;

void plain_spread(const PlainTables& t, std::array<uint64_t, 100>& table, std::array<uint64_t, 100> frontier) {
  for (;;) {
    std::array<uint64_t, 100> next{};
    for (int d = 4; d < 100; ++d) {
      if (frontier[d] == 0) continue;
      for (int s = 3; s < d && s < 20; ++s) {
        if (t.pairs[s] == 0) continue;
        table[d - s] = (table[d - s] + t.pairs[s] * frontier[d]) & LOW_32;
        next[d - s] = table[d - s];
      }
    }
    uint64_t sum = 0;
    for (int d = 3; d < 100; ++d) {
      frontier[d] = next[d];
      sum = (sum + frontier[d]) & LOW_32;
    }
    if (sum == 0) return;
  }
}

PlainTables plain_tables(const std::vector<int>& rods, int target) {
  PlainTables t;
  for (size_t i = 0; i < rods.size(); ++i)
    for (size_t j = 0; j < i; ++j) t.pairs[rods[i] + rods[j]] += 1;
  std::array<uint64_t, 100> frontier{};
  for (int s = 3; s < 20; ++s) {
    if (t.pairs[s] != 0 && s < target) {
      t.win[target - s] = (t.win[target - s] + t.pairs[s]) & LOW_32;
      frontier[target - s] = t.win[target - s];
    }
  }
  plain_spread(t, t.win, frontier);
  frontier = {};
  for (int v : rods) {
    if (v < target) {
      t.lose[target - v] = 1;
      frontier[target - v] = 1;
    }
  }
  plain_spread(t, t.lose, frontier);
  return t;
}

int32_t as_signed(uint64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v & LOW_32)); }

int plain_choice(const PlainTables& t, const std::vector<int>& rods, int target, int total) {
  if (total + rods.front() > target) return 0;
  uint64_t w = 0, l = 0;
  std::vector<int> candidates;
  for (int v : rods) {
    if (total + v == target) return v;
    if (total + v < target) {
      candidates.push_back(v);
      w = (w + t.win[total + v]) & LOW_32;
      l = (l + t.lose[total + v]) & LOW_32;
    }
  }
  if (candidates.empty()) return 0;
  const int32_t sw = as_signed(w), sl = as_signed(l);
  int best = 0;
  double best_score = -100.0;
  for (int v : candidates) {
    const double pw = sw == 0 ? 0.0 : double(as_signed(t.win[total + v])) / double(sw);
    const double pl = sl == 0 ? 0.0 : double(as_signed(t.lose[total + v])) / double(sl);
    if (pw - pl > best_score) {
      best_score = pw - pl;
      best = v;
    }
  }
  return best == 0 ? candidates.front() : best;
}

// The true counts (no wrapping) in floating point, to show how far they go.
double largest_true_count(const std::vector<int>& rods, int target) {
  std::array<double, 20> pairs{};
  for (size_t i = 0; i < rods.size(); ++i)
    for (size_t j = 0; j < i; ++j) pairs[rods[i] + rods[j]] += 1;
  std::array<double, 100> win{}, frontier{};
  for (int s = 3; s < 20; ++s)
    if (pairs[s] != 0 && s < target) win[target - s] = frontier[target - s] = pairs[s];
  for (bool any = true; any;) {
    std::array<double, 100> next{};
    for (int d = 4; d < 100; ++d)
      for (int s = 3; s < d && s < 20 && frontier[d] != 0; ++s)
        if (pairs[s] != 0) next[d - s] = win[d - s] += pairs[s] * frontier[d];
    any = false;
    for (int d = 3; d < 100; ++d) any |= (frontier[d] = next[d]) != 0;
  }
  return *std::max_element(win.begin(), win.end());
}

}  // namespace

TEST(Evaluation, WrappedCountsMatchAPlainReimplementation) {
  const std::vector<int> rods = {1, 2, 3, 4, 5, 6, 7, 8, 10};
  GAMESTATE g = configured({1, 2, 3, 4, 5, 6, 7, 8, 10}, 100);
  ASSERT_EQ(g.PERIOD, 255);
  EXPECT_GT(largest_true_count(rods, 100), 1e20);

  const PlainTables plain = plain_tables(rods, 100);
  int differing_from_truth = 0;
  for (int s = 0; s < 20; ++s) EXPECT_EQ(PAIRSUMS[s], as_signed(plain.pairs[s])) << s;
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(WINPATHS[i], as_signed(plain.win[i])) << i;
    EXPECT_EQ(LOSEPATHS[i], as_signed(plain.lose[i])) << i;
    if (WINPATHS[i] < 0 || LOSEPATHS[i] < 0) ++differing_from_truth;
  }
  // Some counts have wrapped into negative numbers.
  EXPECT_GT(differing_from_truth, 0);
  for (int t = 0; t < 100; ++t) EXPECT_EQ(choice_at(g, t), plain_choice(plain, rods, 100, t)) << "total " << t;

  // A few more uneven sets and targets against the same plain reading.
  for (const auto& set : std::vector<std::vector<int>>{{1, 3, 4, 9, 10}, {2, 3, 7}, {1, 2, 4, 5, 6, 7, 8, 9, 10}}) {
    for (int target : {37, 64, 99}) {
      GAMESTATE h;
      h.VALIDRODS = 0;
      for (int v : set) h.VALIDRODS = static_cast<uint16_t>(h.VALIDRODS | (1u << v));
      h.TARGET = static_cast<uint8_t>(target);
      ASSERT_EQ(SETUPEVAL(h), 0);
      ASSERT_EQ(h.PERIOD, 255);
      const PlainTables p = plain_tables(set, target);
      for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(WINPATHS[i], as_signed(p.win[i]));
        ASSERT_EQ(LOSEPATHS[i], as_signed(p.lose[i]));
      }
      for (int t = 0; t < target; ++t) ASSERT_EQ(choice_at(h, t), plain_choice(p, set, target, t));
    }
  }
}
