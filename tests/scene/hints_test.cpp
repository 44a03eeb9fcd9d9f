// The hints: what the status line tells, and colours that no message and no
// hover change.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "game/evaluation.h"
#include "game/teaching.h"
#include "scene/hints.h"
#include "scene/rods.h"
#include "scene/scene_frame.h"
#include "tests/support/run.h"

namespace {

GAMESTATE game_with(uint16_t rods, uint8_t target, std::initializer_list<int> laid) {
  GAMESTATE g;
  g.VALIDRODS = rods;
  g.TARGET = target;
  NEWGAME(g);
  for (const int v : laid) LAYROD(v, g, 16 * v);
  return g;
}

}  // namespace

TEST(Hints, TheStatusLineTellsTheTurnAndHowTheGameEnded) {
  constexpr uint16_t ALL = 0x7FE;
  constexpr uint16_t THREE_AND_FIVE = (1 << 3) | (1 << 5);
  const struct {
    GAMESTATE game;
    const char* status;
  } cases[] = {
      {game_with(ALL, 20, {}), "Te toca"},
      {game_with(ALL, 20, {4}), "Juega la computadora"},
      {game_with(ALL, 20, {10, 10}), "Gana la computadora"},
      {game_with(ALL, 20, {1, 9, 10}), "|Has ganado!"},
      {game_with(ALL, 20, {10, 1, 10}), "Te pasaste de la meta"},
      {game_with(THREE_AND_FIVE, 20, {5, 5, 3, 5}), "Es un empate"},  // 18: neither 3 nor 5 fits
      {game_with(THREE_AND_FIVE, 20, {5, 5, 5}), "Juega la computadora"},  // 15: the 5 still fits
  };
  for (const auto& c : cases) EXPECT_EQ(status_of_turn(c.game), c.status) << int{c.game.TOTALS[c.game.MOVECOUNT]};
}

TEST(Hints, TheirColoursComeFromTheTextureRampAlone) {
  // A message repaints the UI ramp (0-15) and a hover a rod's hue: every
  // pixel the hints add to a frame lies in the texture ramp (176-255).
  GameRun& run = test_run();
  run.view.SCALE = PLAY_SCALE;
  run.game = game_with(0x7FE, 30, {4, 3});
  run.game.LOOKAT = 12.0;
  const TeachingAids before = teaching_aids;
  std::vector<uint8_t> plain(800 * 600);
  for (const bool hints : {false, true}) {
    teaching_aids.hints = hints;
    draw_scene_frame(run.frame, run.texture, run.font, run.game, run.view);
    const uint8_t* shown = IMAGEINFO(screen_page()).pixels;
    if (!hints) {
      std::memcpy(plain.data(), shown, plain.size());
      continue;
    }
    int added = 0, outside_ramp = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (shown[i] == plain[i]) continue;
      ++added;
      if (shown[i] < 176) ++outside_ramp;
    }
    EXPECT_GT(added, 20000);  // two boxes and the markers
    EXPECT_EQ(outside_ramp, 0);
  }
  teaching_aids = before;
}
