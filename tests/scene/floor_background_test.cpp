#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/headless.h"
#include "scene/floor.h"
#include "tests/support/run.h"
#include "tests/support/screen.h"

namespace {

// A digit font whose every glyph pixel is inked, with the stored font's
// widths: any label pixel whose cell is fully covered is exactly 176.
struct SolidDigits {
  std::vector<std::uint8_t> block;
  MAPPEDFONT font;
  SolidDigits() {
    const int offsets[11] = {0, 26, 46, 70, 90, 116, 138, 161, 184, 207, 228};
    block.assign(7322, 0);
    block[0] = 8;
    block[1] = 48;
    block[2] = 57;
    block[3] = 32;
    for (int i = 0; i < 11; ++i) {
      block[4 + 2 * i] = static_cast<std::uint8_t>(offsets[i] & 0xFF);
      block[5 + 2 * i] = static_cast<std::uint8_t>(offsets[i] >> 8);
    }
    font.FONTDATA = block.data();
    INITFONT(font);
    font.LABELHEIGHT = 0.5;
    font.INKCOLOR = 176;
    DEFINENUMBERS(100, font);
  }
};

// The game's texture.
const std::uint8_t* game_texture() { return test_run().texture; }

struct FrameBlock {
  Image image = nullptr;
  FrameBlock(int32_t w = 800, int32_t h = 600) {
    open_test_screen();
    image = NEWIMAGE(w, h);
  }
  ~FrameBlock() { FREEIMAGE(image); }
  std::uint8_t at(int32_t x, int32_t y) const { return IMAGEINFO(image).pixels[y * IMAGEINFO(image).width + x]; }
};

}  // namespace

TEST(FloorBackground, LabelsOnlyForTheNumbersUpToTheTarget) {
  SolidDigits digits;
  FrameBlock frame;
  const std::uint8_t* texture = game_texture();
  const SCREENDEF view = game_view(12.0, 10);
  DRAWBG(frame.image, texture, digits.font, 10, view);
  std::vector<int> full_ink(13, 0);
  int beyond = 0;
  for (int32_t sy = 0; sy < 600; ++sy) {
    for (int32_t sx = 0; sx < 800; ++sx) {
      double fx = 0.0, fy = 0.0;
      SCREENTOFLOORCOORD(sx, sy, view, fx, fy);
      const int32_t floor_colour = TEXTUREMAP8B(texture, 5.0 * fx + 80.0, 5.0 * fy + 150.0);
      const bool band = fy >= -2.0 && fy <= -1.5;
      const int n = static_cast<int>(std::floor(fx + 0.5));
      if (!band || n < 0 || n > 10) {
        ASSERT_EQ(frame.at(sx, sy), floor_colour) << sx << "," << sy;
        if (band && n > 10) ++beyond;
      } else if (frame.at(sx, sy) == 176) {
        ++full_ink[n];
      } else {
        // A partly covered label cell lies between the ink and the floor.
        ASSERT_GT(frame.at(sx, sy), 176);
        ASSERT_LE(frame.at(sx, sy), floor_colour);
      }
    }
  }
  EXPECT_GT(beyond, 500);  // the band near 11 and beyond is in view, untouched
  for (int n = 0; n <= 10; ++n) EXPECT_GT(full_ink[n], 50) << n;
}

TEST(FloorBackground, BandStartsExactlyAtMinusTwo) {
  SolidDigits digits;
  FrameBlock frame;
  // A straight-on view whose centre row lies exactly on floor y = -2.0; one
  // row lower is floor y = -2.03125. The label of 5 runs from 4.82 to 5.16375.
  const SCREENDEF view = straight_view();
  double fx = 0.0, fy = 0.0;
  SCREENTOFLOORCOORD(400, 300, view, fx, fy);
  ASSERT_EQ(fy, -2.0);
  SCREENTOFLOORCOORD(400, 301, view, fx, fy);
  ASSERT_LT(fy, -2.0);
  const std::uint8_t* texture = game_texture();
  DRAWBG(frame.image, texture, digits.font, 100, view);
  int inked = 0;
  for (int32_t sx = 0; sx < 800; ++sx) {
    SCREENTOFLOORCOORD(sx, 300, view, fx, fy);
    const int32_t floor_colour = TEXTUREMAP8B(texture, 5.0 * fx + 80.0, 5.0 * fy + 150.0);
    // The lowest glyph row has no row below it: at most two inked pixels of four.
    if (fx > 4.83 && fx < 5.14) {
      const int32_t half_ink = floor_colour + static_cast<int32_t>(std::floor((176 - floor_colour) * 2 / 4.0));
      EXPECT_EQ(frame.at(sx, 300), half_ink) << sx;
      ++inked;
    }
    SCREENTOFLOORCOORD(sx, 301, view, fx, fy);
    EXPECT_EQ(frame.at(sx, 301), TEXTUREMAP8B(texture, 5.0 * fx + 80.0, 5.0 * fy + 150.0)) << sx;
  }
  EXPECT_GT(inked, 8);
}

TEST(FloorBackground, GameViewsStayOnTheTexture) {
  SolidDigits digits;
  FrameBlock frame;
  for (int target : {10, 24, 57, 100}) {
    const double high = std::max(12.0, target - 12.0);
    for (double lookat : {12.0, high}) {
      DRAWBG(frame.image, game_texture(), digits.font, static_cast<uint8_t>(target), game_view(lookat, target));
      const ImageInfo info = IMAGEINFO(frame.image);
      for (int i = 0; i < 800 * 600; ++i) ASSERT_GE(info.pixels[i], 176) << target << " " << lookat << " " << i;
    }
  }
}

TEST(FloorBackground, OptionsFloor) {
  FrameBlock frame;
  const SCREENDEF view = options_view();
  const std::uint8_t* texture = game_texture();
  draw_options_floor(frame.image, texture, view);
  // The view centre shows the floor origin, which is texel (120, 90).
  EXPECT_EQ(frame.at(400, 300), IMAGEINFO(texture).pixels[90 * 1330 + 120]);
  const ImageInfo info = IMAGEINFO(frame.image);
  for (int i = 0; i < 800 * 600; ++i) ASSERT_GE(info.pixels[i], 216) << i;
}

TEST(FloorBackground, FrameSmallerThanTheViewIsARuntimeError) {
  const std::uint8_t* texture = game_texture();
  SolidDigits digits;
  FrameBlock frame(400, 300);
  headless_key(" ");  // the error report waits for a key
  EXPECT_THROW(DRAWBG(frame.image, texture, digits.font, 100, game_view(50.0, 100)), ProgramEnd);
  headless_key(" ");
  EXPECT_THROW(draw_options_floor(frame.image, texture, game_view(50.0, 100)), ProgramEnd);
}
