// Draws the number line, laid rods and the choice row over a flat floor with
// the game's palette and writes them as paletted PNG files in the working
// directory (the build directory under ctest), so the look can be checked by
// eye: scene_start.png, scene_middle.png, scene_small_target.png.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scene/bricks.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "tests/support/pictures.h"
#include "tests/support/run.h"

namespace {

struct Scene {
  uint8_t target;
  std::vector<int> rods;
  double lookat;
  const char* name;
};

std::set<int> draw_scene(const Scene& scene) {
  GAMESTATE state = test_run().game;
  state.TARGET = scene.target;
  for (int v : scene.rods) LAYROD(v, state, 16 * v);
  const SCREENDEF view = game_view(scene.lookat, scene.target);

  Image frame = NEWIMAGE(800, 600);
  std::memset(IMAGEINFO(frame).pixels, 232, 800 * 600);
  DRAWNUMBERLINE(frame, scene.target, view, INK_COLOUR);
  DRAWRODS(frame, state, view);
  write_picture(scene.name, frame);
  std::set<int> hues;
  const ImageInfo info = IMAGEINFO(frame);
  for (int i = 0; i < 800 * 600; ++i) hues.insert(info.pixels[i] / 16);
  FREEIMAGE(frame);
  return hues;
}

}  // namespace

TEST(ScenePicture, WritesThePlayScenes) {
  test_run();
  const std::set<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14};
  EXPECT_EQ(draw_scene({100, {3, 7, 2, 10, 5}, 12.0, "scene_start"}), all);
  EXPECT_EQ(draw_scene({100, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 55.0 - 4.0, "scene_middle"}), all);
  EXPECT_EQ(draw_scene({10, {4, 3}, 12.0, "scene_small_target"}), all);
}
