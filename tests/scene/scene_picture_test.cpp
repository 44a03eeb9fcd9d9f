// Draws the number line, laid rods and the choice row over a flat floor with
// the game's palette and writes them as paletted PNG files in the working
// directory (the build directory under ctest), so the look can be checked by
// eye: scene_start.png, scene_middle.png, scene_small_target.png.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scene/bricks.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "tests/support/screen.h"

namespace {

bool write_png(const std::string& path, Image img) {
  const ImageInfo info = IMAGEINFO(img);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop pinfo = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &pinfo);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, pinfo, static_cast<png_uint_32>(info.width), static_cast<png_uint_32>(info.height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color colours[256];
  const uint8_t* pal = palette_data();
  for (int i = 0; i < 256; ++i) colours[i] = {pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]};
  png_set_PLTE(png, pinfo, colours, 256);
  png_write_info(png, pinfo);
  for (int y = 0; y < info.height; ++y) png_write_row(png, info.pixels + y * info.width);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &pinfo);
  std::fclose(f);
  return true;
}

struct Scene {
  uint8_t target;
  std::vector<int> rods;
  double lookat;
  const char* name;
};

std::set<int> draw_scene(const Scene& scene) {
  const POINT3D light{0.5, 0.3, std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3), 0.0};
  build_choice_rods(light);
  GAMESTATE state;
  state.LIGHTDIR = light;
  state.TARGET = scene.target;
  for (int v : scene.rods) LAYROD(v, state, 16 * v);
  SCREENDEF view;
  view.CENTERX = 400;
  view.CENTERY = 300;
  view.SCALE = 32.0;
  DEFINESCREEN(scene.lookat, scene.target, view);

  Image frame = NEWIMAGE(800, 600);
  std::memset(IMAGEINFO(frame).pixels, 232, 800 * 600);
  DRAWNUMBERLINE(frame, scene.target, view, 176);
  DRAWRODS(frame, state, view);
  EXPECT_TRUE(write_png(std::string(scene.name) + ".png", frame));
  std::set<int> hues;
  const ImageInfo info = IMAGEINFO(frame);
  for (int i = 0; i < 800 * 600; ++i) hues.insert(info.pixels[i] / 16);
  FREEIMAGE(frame);
  return hues;
}

}  // namespace

TEST(ScenePicture, WritesThePlayScenes) {
  open_test_screen();
  MAKEPAL16X16(BASE_COLORS);
  PALETTE0TO15(0x40A0FF);
  PALETTEFORTEXTURE(0xC0C040);
  const std::set<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14};
  EXPECT_EQ(draw_scene({100, {3, 7, 2, 10, 5}, 12.0, "scene_start"}), all);
  EXPECT_EQ(draw_scene({100, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 55.0 - 4.0, "scene_middle"}), all);
  EXPECT_EQ(draw_scene({10, {4, 3}, 12.0, "scene_small_target"}), all);
}
