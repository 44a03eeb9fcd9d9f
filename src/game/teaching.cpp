// The computer's levels and the winning totals (see teaching.h).
#include "game/teaching.h"

#include "game/evaluation.h"
#include "platform/platform.h"
#include "surface/random.h"

TeachingAids teaching_aids;

namespace {

bool rod_valid(const GAMESTATE& state, int32_t v) { return ((state.VALIDRODS >> v) & 1u) != 0; }

// How often the easy computer takes a win within its reach: a coin toss.
constexpr double EASY_TAKES_A_WIN = 0.5;
// How often the medium computer plays its best when no win is within reach:
// one turn in five.
constexpr double MEDIUM_PLAYS_ITS_BEST = 0.2;

// One of the valid rods that fit at this total, at random, leaving out the
// rod `passed_over` unless it is the only one; 0 when none fits.
int32_t random_fitting_rod(const GAMESTATE& state, int32_t total, int32_t passed_over = 0) {
  int32_t fitting[10] = {};
  int32_t count = 0;
  for (int32_t v = 1; v <= 10; ++v)
    if (rod_valid(state, v) && total + v <= state.TARGET && v != passed_over) fitting[count++] = v;
  if (count == 0) return passed_over != 0 ? passed_over : 0;
  const auto pick = static_cast<int32_t>(RANDOMUNIT() * count);
  return fitting[pick < count ? pick : count - 1];
}

}  // namespace

bool take_teacher_changes() {
  const SettingsChange change = platform_take_settings();
  if (!change.any()) return false;
  teaching_aids.chosen = true;
  if (change.level >= LEVEL_EASY && change.level <= LEVEL_EXPERT)
    teaching_aids.level = static_cast<ComputerLevel>(change.level);
  const bool hints = change.hints == 1;
  if (change.hints < 0 || hints == teaching_aids.hints) return false;
  teaching_aids.hints = hints;
  return true;
}

const char* level_name(ComputerLevel level) {
  switch (level) {
    case LEVEL_EASY:
      return "facil";
    case LEVEL_MEDIUM:
      return "medio";
    case LEVEL_EXPERT:
      break;
  }
  return "experto";
}

int32_t computer_rod(const GAMESTATE& state, ComputerLevel level) {
  const int32_t total = state.TOTALS[state.MOVECOUNT];
  const int32_t to_win = state.TARGET - total;
  const int32_t win = to_win >= 1 && to_win <= 10 && rod_valid(state, to_win) ? to_win : 0;
  switch (level) {
    case LEVEL_EXPERT:
      break;
    case LEVEL_MEDIUM:
      if (win != 0) return win;
      if (RANDOMUNIT() >= MEDIUM_PLAYS_ITS_BEST) return random_fitting_rod(state, total);
      break;
    case LEVEL_EASY:
      if (win != 0 && RANDOMUNIT() < EASY_TAKES_A_WIN) return win;
      return random_fitting_rod(state, total, win);
  }
  return DOEVAL(state);
}

WinningTotals winning_totals(const GAMESTATE& state) {
  // The outcome for the side to move at each total, from the target down.
  enum Outcome : uint8_t { LOSES, TIE, WINS };
  const int32_t target = state.TARGET;
  CheckedArray<uint8_t, MAX_RODS + 1> outcome;
  outcome[target] = LOSES;  // the other side has just reached the target
  for (int32_t t = target - 1; t >= 0; --t) {
    bool any = false, tie = false, win = false;
    for (int32_t v = 1; v <= 10 && t + v <= target; ++v) {
      if (!rod_valid(state, v)) continue;
      any = true;
      if (outcome[t + v] == LOSES) win = true;
      if (outcome[t + v] == TIE) tie = true;
    }
    outcome[t] = !any ? TIE : win ? WINS : tie ? TIE : LOSES;
  }
  WinningTotals winning;
  for (int32_t t = 1; t <= target; ++t) winning[t] = outcome[t] == LOSES ? 1 : 0;
  return winning;
}
