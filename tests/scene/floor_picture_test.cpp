// Draws game frames and the options floor with the real texture, fonts and
// palette and writes them as paletted PNG files in the working directory (the
// build directory under ctest), so the look can be checked by eye:
// floor_start.png, floor_middle.png, floor_small_target.png, options_floor.png.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "scene/floor.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "tests/support/pictures.h"
#include "tests/support/run.h"

namespace {

// A whole game frame, as the play loop draws it, into the run's frame.
void game_frame(GameRun& run, uint8_t target, std::initializer_list<int32_t> rods, double lookat) {
  GAMESTATE state = run.game;
  state.TARGET = target;
  for (int32_t v : rods) LAYROD(v, state, 16 * v);
  const SCREENDEF view = game_view(lookat, target);
  DRAWBG(run.frame, run.texture, run.font, target, view);
  DRAWNUMBERLINE(run.frame, target, view, INK_COLOUR);
  DRAWRODS(run.frame, state, view);
}

}  // namespace

TEST(FloorPicture, WritesGameFramesAndTheOptionsFloor) {
  GameRun& run = test_run();
  // The floor alone first: every pixel is texture or label ink.
  DRAWBG(run.frame, run.texture, run.font, 100, game_view(12.0, 100));
  const ImageInfo info = IMAGEINFO(run.frame);
  int ink = 0;
  for (int i = 0; i < 800 * 600; ++i) {
    ASSERT_GE(info.pixels[i], 176);
    if (info.pixels[i] < 216) ++ink;
  }
  EXPECT_GT(ink, 1000);  // the labels 0..25 or so are in view
  write_picture("floor_start", run.frame);

  game_frame(run, 100, {3, 7, 2, 10, 5, 8, 6, 4, 9, 1}, 50.0);
  write_picture("floor_middle", run.frame);
  game_frame(run, 10, {4, 3}, 12.0);
  write_picture("floor_small_target", run.frame);

  draw_options_floor(run.frame, run.texture, options_view());
  PALETTEFORTEXTURE(OPTIONS_TEXTURE_COLOUR);
  write_picture("options_floor", run.frame);
}
