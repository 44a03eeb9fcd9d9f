// The computer player: path counts prepared once per configuration, and the
// choice of rod made from them on every computer turn.
//
// The counts grow far beyond 32 bits for long games with an uneven rod set.
// They are kept wrapped to 32 bits, because the computer's choices are made
// on the wrapped values: all sums and products are done in unsigned 32-bit
// arithmetic (well defined on overflow) and read back as signed.
#include "game/evaluation.h"

#include <algorithm>
#include "core/compat.h"

CheckedArray<int32_t, 10> RODLIST;
int32_t RODCOUNT = 0;
CheckedArray<int32_t, 20> PAIRSUMS;
CheckedArray<int32_t, 100> WINPATHS;
CheckedArray<int32_t, 100> LOSEPATHS;

namespace {

using Row = CheckedArray<int32_t, 100>;

int32_t wrapped_add(int32_t a, int32_t b) {
  return bit_cast<int32_t>(bit_cast<uint32_t>(a) + bit_cast<uint32_t>(b));
}

int32_t wrapped_mul(int32_t a, int32_t b) {
  return bit_cast<int32_t>(bit_cast<uint32_t>(a) * bit_cast<uint32_t>(b));
}

bool rod_valid(const GAMESTATE& state, int32_t value) {
  return value >= 0 && value < 16 && ((state.VALIDRODS >> value) & 1u) != 0;
}

// Spreads the frontier toward smaller totals, one round of two different rods
// per sweep, until a sweep leaves nothing to spread. A total takes over the
// accumulated count of the table, not only this sweep's increment.
void propagate(Row& table, Row& frontier) {
  Row next;
  for (;;) {
    next = Row{};
    for (int32_t d = 4; d <= 99; ++d) {
      if (frontier[d] == 0) continue;
      const int32_t last = std::min(d - 1, 19);
      for (int32_t s = 3; s <= last; ++s) {
        if (PAIRSUMS[s] == 0) continue;
        table[d - s] = wrapped_add(table[d - s], wrapped_mul(PAIRSUMS[s], frontier[d]));
        next[d - s] = table[d - s];
      }
    }
    int32_t sum = 0;
    for (int32_t t = 3; t <= 99; ++t) {
      frontier[t] = next[t];
      sum = wrapped_add(sum, frontier[t]);
    }
    if (sum == 0) return;
  }
}

int32_t symmetric_choice(const GAMESTATE& state, int32_t total) {
  const int32_t period = state.PERIOD;
  const int32_t key = state.KEYRESIDUE;
  // The step that lands on a key total, when that rod may be laid.
  int32_t r = key - total % period;
  if (r < 1) r += period;
  if (rod_valid(state, r)) return r;
  // Otherwise the step that would answer each rod, smallest rod first.
  for (int32_t i = 0; i < RODCOUNT; ++i) {
    int32_t q = key - (RODLIST[i] + total) % period;
    if (q < 1) q += period;
    if (rod_valid(state, q) && total + q <= state.TARGET) return q;
  }
  return RODLIST[0];
}

int32_t ranked_choice(const GAMESTATE& state, int32_t total) {
  const int32_t target = state.TARGET;
  int32_t winsum = 0;
  int32_t losesum = 0;
  int32_t candidates = 0;
  for (int32_t i = 0; i < RODCOUNT; ++i) {
    const int32_t u = RODLIST[i] + total;
    if (u == target) return RODLIST[i];
    if (u < target) {
      winsum = wrapped_add(winsum, WINPATHS[u]);
      losesum = wrapped_add(losesum, LOSEPATHS[u]);
      ++candidates;
    }
  }
  if (candidates == 0) return 0;

  double best = -100.0;
  int32_t choice = 0;
  int32_t smallest = 0;
  for (int32_t i = 0; i < RODCOUNT; ++i) {
    const int32_t u = RODLIST[i] + total;
    if (u >= target) continue;
    if (smallest == 0) smallest = RODLIST[i];
    const double pw = winsum != 0 ? static_cast<double>(WINPATHS[u]) / static_cast<double>(winsum) : 0.0;
    const double pl = losesum != 0 ? static_cast<double>(LOSEPATHS[u]) / static_cast<double>(losesum) : 0.0;
    const double score = pw - pl;
    if (score > best) {
      best = score;
      choice = RODLIST[i];
    }
  }
  // Wrapped counts can push every score to -100 or below; the smallest rod
  // that fits is then as good a choice as any.
  return choice != 0 ? choice : smallest;
}

}  // namespace

int32_t SETUPEVAL(GAMESTATE& state) {
  int32_t n = 0;
  for (int32_t v = 1; v <= 10; ++v) {
    if (rod_valid(state, v)) {
      RODLIST[n] = v;
      ++n;
    }
  }
  if (n < 2) return -2;

  RODCOUNT = n;
  const int32_t span = RODLIST[n - 1] + RODLIST[0];
  bool symmetric = true;
  for (int32_t i = 1; i <= n / 2; ++i) {
    if (RODLIST[i] + RODLIST[n - 1 - i] != span) symmetric = false;
  }
  if (symmetric) {
    // Every rod can be answered so that the round adds up to the period: the
    // key totals can be held to the end and need no path counts.
    state.PERIOD = static_cast<uint8_t>(span);
    state.KEYRESIDUE = static_cast<uint8_t>(state.TARGET % span);
    return 0;
  }

  state.KEYRESIDUE = 255;
  state.PERIOD = 255;
  PAIRSUMS = CheckedArray<int32_t, 20>{};
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < i; ++j) {
      PAIRSUMS[RODLIST[i] + RODLIST[j]] = wrapped_add(PAIRSUMS[RODLIST[i] + RODLIST[j]], 1);
    }
  }

  const int32_t target = state.TARGET;
  WINPATHS = Row{};
  LOSEPATHS = Row{};

  // Winning paths: whole rounds that end exactly on the target.
  Row frontier;
  for (int32_t s = 3; s <= 19; ++s) {
    // cppcheck-suppress arrayIndexThenCheck ; s < target is no bound of PAIRSUMS, which holds 3..19
    if (PAIRSUMS[s] != 0 && s < target) {
      WINPATHS[target - s] = wrapped_add(WINPATHS[target - s], PAIRSUMS[s]);
      frontier[target - s] = WINPATHS[target - s];
    }
  }
  propagate(WINPATHS, frontier);

  // Losing paths: whole rounds that end one rod short of the target.
  frontier = Row{};
  const int32_t reach = std::min(target - 1, 10);
  for (int32_t v = 1; v <= reach; ++v) {
    if (rod_valid(state, v)) {
      LOSEPATHS[target - v] = 1;
      frontier[target - v] = 1;
    }
  }
  propagate(LOSEPATHS, frontier);
  return 0;
}

int32_t DOEVAL(const GAMESTATE& state) {
  const int32_t total = state.TOTALS[state.MOVECOUNT];
  if (total + RODLIST[0] > state.TARGET) return 0;
  if (state.KEYRESIDUE != 255) return symmetric_choice(state, total);
  return ranked_choice(state, total);
}

int32_t NEWGAME(GAMESTATE& state) {
  state.MOVECOUNT = 0;
  state.LOOKAT = 12.0;
  state.TURN = state.STARTER;
  state.RODS[0] = 0;
  state.TOTALS[0] = 0;
  return 0;
}
