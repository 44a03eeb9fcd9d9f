// Draws game frames and the options floor with the real texture, fonts and
// palette and writes them as paletted PNG files in the working directory (the
// build directory under ctest), so the look can be checked by eye:
// floor_start.png, floor_middle.png, floor_small_target.png, options_floor.png.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "assets/fonts.h"
#include "scene/floor.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "replay/page_png.h"
#include "tests/support/screen.h"

namespace {

void write_and_check(const std::string& name, Image frame) {
  const ImageInfo info = IMAGEINFO(frame);
  std::string error;
  ASSERT_TRUE(write_page_png(name + ".png", info.pixels, info.width, info.height, palette_data(), error)) << error;
  const PagePng back = read_page_png(name + ".png");
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.color_type, 3);
  ASSERT_EQ(back.pixels.size(), 800u * 600u);
  EXPECT_EQ(0, std::memcmp(back.pixels.data(), info.pixels, 800 * 600));
}

struct picture_run {
  Image frame = nullptr;
  Image texture = nullptr;
  MAPPEDFONT font;
  picture_run() {
    open_test_screen();
    frame = NEWIMAGE(800, 600);
    texture = NEWIMAGE(16, 16);
    PREPARETEXTURE(texture, 1330, 430);
    font.FONTDATA = DIGIT_FONT;
    INITFONT(font);
    font.LABELHEIGHT = 0.5;
    font.INKCOLOR = 176;
    DEFINENUMBERS(100, font);
    MAKEPAL16X16(BASE_COLORS);
    PALETTE0TO15(0x40A0FF);
    PALETTEFORTEXTURE(0xC0C040);
  }
  ~picture_run() {
    FREEIMAGE(frame);
    FREEIMAGE(texture);
  }
  // A whole game frame, as the play loop draws it.
  void game_frame(uint8_t target, std::initializer_list<int32_t> rods, double lookat) {
    GAMESTATE state;
    state.LIGHTDIR = POINT3D{0.5, 0.3, std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3), 0.0};
    build_choice_rods(state.LIGHTDIR);
    state.TARGET = target;
    for (int32_t v : rods) LAYROD(v, state, 16 * v);
    SCREENDEF view;
    view.CENTERX = 400;
    view.CENTERY = 300;
    view.SCALE = 32.0;
    DEFINESCREEN(lookat, target, view);
    DRAWBG(frame, texture, font, target, view);
    DRAWNUMBERLINE(frame, target, view, 176);
    DRAWRODS(frame, state, view);
  }
};

}  // namespace

TEST(FloorPicture, WritesGameFramesAndTheOptionsFloor) {
  picture_run run;
  // The floor alone first: every pixel is texture or label ink.
  SCREENDEF view;
  view.CENTERX = 400;
  view.CENTERY = 300;
  view.SCALE = 32.0;
  DEFINESCREEN(12.0, 100, view);
  DRAWBG(run.frame, run.texture, run.font, 100, view);
  const ImageInfo info = IMAGEINFO(run.frame);
  int ink = 0;
  for (int i = 0; i < 800 * 600; ++i) {
    ASSERT_GE(info.pixels[i], 176);
    if (info.pixels[i] < 216) ++ink;
  }
  EXPECT_GT(ink, 1000);  // the labels 0..25 or so are in view
  write_and_check("floor_start", run.frame);

  run.game_frame(100, {3, 7, 2, 10, 5, 8, 6, 4, 9, 1}, 50.0);
  write_and_check("floor_middle", run.frame);
  run.game_frame(10, {4, 3}, 12.0);
  write_and_check("floor_small_target", run.frame);

  SCREENDEF options = view;
  options.ORIGINX = 0.0;
  options.ORIGINY = 0.0;
  options.XAXISX = 1.0;
  options.XAXISY = -0.0001;
  options.YAXISX = 0.2;
  options.YAXISY = 0.9;
  options.SCALE = 24.0;
  draw_options_floor(run.frame, run.texture, options);
  PALETTEFORTEXTURE(0xA05000);
  write_and_check("options_floor", run.frame);
}
