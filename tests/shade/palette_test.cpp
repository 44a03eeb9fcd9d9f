#include "shade/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "tests/support/screen.h"

namespace {

using Rgb = std::array<int, 3>;

Rgb entry(int i) {
  const uint8_t* p = palette_data();
  return {p[i * 3], p[i * 3 + 1], p[i * 3 + 2]};
}

std::array<int32_t, 18> lit(POINT3D light, int32_t base) {
  BRICK brick;
  brick.CORNER1 = {1, 2, 3, 0};
  brick.CORNER2 = {4, 5, 6, 0};
  DEFINELIGHTING8B(brick, light, base);
  EXPECT_EQ(brick.CORNER1, (POINT3D{1, 2, 3, 0}));
  EXPECT_EQ(brick.CORNER2, (POINT3D{4, 5, 6, 0}));
  return brick.FACECOLORS.items;
}

}  // namespace

TEST(Palette, BaseColourTable) {
  EXPECT_EQ(BASE_COLORS[0], 0x40FFFFu);
  EXPECT_EQ(BASE_COLORS[1], 0xD0D0D0u);
  EXPECT_EQ(BASE_COLORS[2], 0xFF0000u);
  EXPECT_EQ(BASE_COLORS[3], 0x40FF40u);
  EXPECT_EQ(BASE_COLORS[4], 0xFF00FFu);
  EXPECT_EQ(BASE_COLORS[5], 0xFFFF00u);
  EXPECT_EQ(BASE_COLORS[6], 0x00A000u);
  EXPECT_EQ(BASE_COLORS[7], 0x404040u);
  EXPECT_EQ(BASE_COLORS[8], 0xA03000u);
  EXPECT_EQ(BASE_COLORS[9], 0x0000C0u);
  EXPECT_EQ(BASE_COLORS[10], 0xFF8000u);
  EXPECT_EQ(BASE_COLORS[11], 0x00FFFFu);
  EXPECT_EQ(BASE_COLORS[12], 0x8080FFu);
  EXPECT_EQ(BASE_COLORS[13], 0x800000u);
  EXPECT_EQ(BASE_COLORS[14], 0x800080u);
  EXPECT_EQ(BASE_COLORS[15], 0xFFFFFFu);
}

TEST(Palette, HueRampsOfTheBaseTable) {
  open_test_screen();
  MAKEPAL16X16(BASE_COLORS);
  EXPECT_EQ(entry(32), (Rgb{127, 0, 0}));
  EXPECT_EQ(entry(40), (Rgb{190, 0, 0}));
  EXPECT_EQ(entry(47), (Rgb{246, 0, 0}));
  EXPECT_EQ(entry(144), (Rgb{0, 0, 96}));
  EXPECT_EQ(entry(159), (Rgb{0, 0, 186}));
  EXPECT_EQ(entry(175), (Rgb{246, 124, 0}));  // hue 10, 0xFF8000
  EXPECT_EQ(entry(0), (Rgb{32, 127, 127}));   // hue 0 before any repaint
  EXPECT_EQ(entry(255), (Rgb{246, 246, 246}));
}

TEST(Palette, AllWhiteTableGivesGreyRamps) {
  open_test_screen();
  ColorTable white;
  white.fill(0xFFFFFF);
  MAKEPAL16X16(white);
  for (int hue = 0; hue < 16; ++hue) {
    EXPECT_EQ(entry(16 * hue), (Rgb{127, 127, 127}));
    EXPECT_EQ(entry(16 * hue + 15), (Rgb{246, 246, 246}));
  }
  // Grey levels rise with the shade and only with it.
  for (int i = 1; i < 256; ++i) {
    if (i % 16 != 0) {
      ASSERT_GT(entry(i)[0], entry(i - 1)[0]) << i;
    }
  }
}

TEST(Palette, UiRamp) {
  open_test_screen();
  PALETTE0TO15(0x40A0FF);
  EXPECT_EQ(entry(0), (Rgb{8, 20, 31}));
  EXPECT_EQ(entry(7), (Rgb{64, 160, 255}));
  EXPECT_EQ(entry(8), (Rgb{87, 171, 255}));
  EXPECT_EQ(entry(15), (Rgb{255, 255, 255}));

  PALETTE0TO15(0x000000);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(entry(i), (Rgb{0, 0, 0})) << i;
  for (int i = 8; i < 16; ++i) {
    const int g = (255 * (i - 7)) / 8;
    EXPECT_EQ(entry(i), (Rgb{g, g, g})) << i;
  }
  EXPECT_EQ(entry(8), (Rgb{31, 31, 31}));
  EXPECT_EQ(entry(9), (Rgb{63, 63, 63}));
}

TEST(Palette, TextureRampTouchesOnly176To255) {
  open_test_screen();
  ColorTable white;
  white.fill(0xFFFFFF);
  MAKEPAL16X16(white);
  uint8_t before[768];
  std::memcpy(before, palette_data(), sizeof before);
  PALETTEFORTEXTURE(0xA05000);
  EXPECT_EQ(std::memcmp(before, palette_data(), 176 * 3), 0);
  for (int i = 176; i < 256; ++i) EXPECT_NE(entry(i), (Rgb{before[i * 3], before[i * 3 + 1], before[i * 3 + 2]})) << i;
  EXPECT_EQ(entry(176), (Rgb{0, 0, 0}));
  EXPECT_EQ(entry(184), (Rgb{80, 40, 0}));
  EXPECT_EQ(entry(192), (Rgb{160, 80, 0}));
  EXPECT_EQ(entry(224), (Rgb{207, 167, 127}));
  EXPECT_EQ(entry(255), (Rgb{253, 252, 251}));
}

TEST(Lighting, OneLightAlongXZ) {
  const std::array<int32_t, 18> expected = {44, 32, 32, 41, 32, 32, 32, 32, 38,
                                            38, 32, 35, 32, 47, 32, 42, 32, 41};
  EXPECT_EQ(lit({0.6, 0.0, 0.8, 0}, 32), expected);
}

TEST(Lighting, StartUpLight) {
  // Light values 12, 8, 4, 9, 2, 14, -4, 12, -6: negative ones raise the
  // opposite face by their magnitude.
  const POINT3D light{0.5, 0.3, std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3), 0};
  std::array<int32_t, 18> expected{};
  expected[TOPCOLOR] = 12;
  expected[RIGHTCOLOR] = 8;
  expected[BACKCOLOR] = 4;
  expected[RIGHTBACKEDGE] = 9;
  expected[RIGHTFRONTEDGE] = 2;
  expected[RIGHTTOPEDGE] = 14;
  expected[LEFTTOPEDGE] = 4;
  expected[BACKTOPEDGE] = 12;
  expected[FRONTTOPEDGE] = 6;
  std::array<int32_t, 18> based = expected;
  for (int32_t& v : based) v += 80;
  EXPECT_EQ(lit(light, 0), expected);
  EXPECT_EQ(lit(light, 80), based);
}

TEST(Lighting, ValuesRoundTowardMinusInfinity) {
  // 16 x -0.3 = -4.8 gives -5: the -x face is raised by 5.
  const auto c = lit({-0.3, 0.0, std::sqrt(1.0 - 0.09), 0}, 16);
  EXPECT_EQ(c[LEFTCOLOR], 21);
  EXPECT_EQ(c[RIGHTCOLOR], 16);
  // A light value of exactly 0 leaves both faces at the base.
  EXPECT_EQ(c[FRONTCOLOR], 16);
  EXPECT_EQ(c[BACKCOLOR], 16);
}
