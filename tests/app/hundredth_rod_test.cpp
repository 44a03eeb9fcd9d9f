// The hundredth rod of a game: a game holds at most 100 rods, and the last
// one needs 99 rods of 1 before it (target 100, rod 1 in play).
#include <gtest/gtest.h>

#include <string>

#include "app/play_loop.h"
#include "assets/fonts.h"
#include "game/evaluation.h"
#include "platform/headless.h"
#include "scene/floor.h"
#include "scene/rods.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "tests/support/run.h"
#include "text/mapped_font.h"

namespace {

// For every rod set with the 1 in play, target 100 and either side first:
// how many rods of 1 are laid in a row when the player lays only 1s and the
// computer answers with its own choice.
struct OnesRun {
  int32_t rods_of_one = 0;
  int32_t answer = 0;  // the computer's rod that ends the run
};

OnesRun run_of_ones(uint16_t validrods, uint8_t starter) {
  GAMESTATE game;
  game.VALIDRODS = validrods;
  game.STARTER = starter;
  EXPECT_EQ(SETUPEVAL(game), 0);
  NEWGAME(game);
  OnesRun run;
  for (int32_t k = 0; k < MAX_RODS; ++k) {
    game.MOVECOUNT = static_cast<uint8_t>(k);
    game.TOTALS[k] = static_cast<uint8_t>(k);
    if (game.TURN != 0) {
      const int32_t rod = DOEVAL(game);
      if (rod != 1) {
        run.answer = rod;
        return run;
      }
    }
    game.TURN ^= 1;
    run.rods_of_one = k + 1;
  }
  return run;
}

}  // namespace

TEST(HundredthRod, NoRodSetLetsTheComputerAnswerOnesAllTheWay) {
  OnesRun longest;
  uint16_t longest_set = 0;
  uint8_t longest_starter = 0;
  for (uint16_t others = 0; others < 512; ++others) {
    const uint16_t validrods = static_cast<uint16_t>(2u | (others << 2));
    if (others == 0) continue;  // the 1 alone is no game
    for (uint8_t starter = 0; starter < 2; ++starter) {
      const OnesRun run = run_of_ones(validrods, starter);
      EXPECT_LT(run.rods_of_one, 99) << "rods " << validrods << " starter " << int(starter);
      if (run.rods_of_one > longest.rods_of_one) {
        longest = run;
        longest_set = validrods;
        longest_starter = starter;
      }
    }
  }
  // Rods 1, 5 and 7 with the player first: 77 rods of 1, then the
  // computer's 5 at total 77 (the end-to-end script longest_game plays it).
  EXPECT_EQ(longest_set, (1u << 1) | (1u << 5) | (1u << 7));
  EXPECT_EQ(longest_starter, 0);
  EXPECT_EQ(longest.rods_of_one, 77);
  EXPECT_EQ(longest.answer, 5);
}

namespace {

// The play loop with everything it draws with, on a game that already holds
// 99 rods of 1.
class HundredthRodGame : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.VALIDRODS = (1u << 1) | (1u << 5) | (1u << 7);
    view_.SCALE = PLAY_SCALE;
    ASSERT_EQ(SETUPEVAL(game_), 0);
    NEWGAME(game_);
    for (int32_t k = 0; k < 99; ++k) LAYROD(1, game_, 16);
    game_.LOOKAT = clamp_look_at(99.0, game_.TARGET);
  }
  void TearDown() override {
    headless_set_driver(nullptr);
    headless_reset();
  }

  // Plays until the game is over: keys are typed at the player's turn and
  // the last line of the first message shown is recorded; messages are closed
  // with a key.
  void play(const std::string& key) {
    bool typed = false;
    int64_t answered_at = -1;
    headless_set_driver([&](int64_t now) {
      if (run_report.screen == SHOWN_MESSAGE && run_report.message != nullptr) {
        if (shown_.empty()) shown_ = (*run_report.message)[run_report.message->upper()];
        // One key a millisecond, so that the message's emptying of the key
        // queue comes to an end.
        if (now != answered_at) headless_key(" ");
        answered_at = now;
      } else if (!typed && !key.empty() && headless_now_ms() > 11000) {
        headless_key(key);
        typed = true;
      }
    });
    play_game(run_.frame, run_.texture, run_.font, game_, view_);
  }

  GameRun& run_ = test_run();
  GAMESTATE& game_ = run_.game;
  SCREENDEF& view_ = run_.view;
  std::string shown_;
};

}  // namespace

TEST_F(HundredthRodGame, TheComputersHundredthRodReachesOneHundredAndWins) {
  ASSERT_EQ(game_.TURN, 1);
  play("");
  EXPECT_EQ(game_.MOVECOUNT, 100);
  EXPECT_EQ(game_.RODS[99], 1);
  EXPECT_EQ(game_.TOTALS[100], 100);
  EXPECT_EQ(shown_, "|||  H E   G A N A D O  !!!");
}

TEST_F(HundredthRodGame, ThePlayersHundredthRodOfOneWins) {
  game_.TURN = 0;
  play("1");
  EXPECT_EQ(game_.MOVECOUNT, 100);
  EXPECT_EQ(game_.TOTALS[100], 100);
  EXPECT_EQ(shown_, "   Me has ganado.");
}

TEST_F(HundredthRodGame, ThePlayersHundredthRodPastTheTargetLoses) {
  game_.TURN = 0;
  play("7");
  EXPECT_EQ(game_.MOVECOUNT, 100);
  EXPECT_EQ(game_.TOTALS[100], 106);
  EXPECT_EQ(shown_, "sobrepasaste el 100");
}
