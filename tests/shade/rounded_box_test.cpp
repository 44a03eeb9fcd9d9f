#include "shade/rounded_box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <numbers>

#include "tests/support/screen.h"

namespace {

uint8_t pixel(Image image, int32_t x, int32_t y) {
  const ImageInfo info = IMAGEINFO(image);
  return info.pixels[y * info.width + x];
}

struct Sprite {
  Image image;
  explicit Sprite(Image i) : image(i) {}
  ~Sprite() { FREEIMAGE(image); }
  uint8_t operator()(int32_t x, int32_t y) const { return pixel(image, x, y); }
};

TEST(RimShades, FollowTheDepthIntoTheRim) {
  const double depths[] = {-1.0, 2.0, 4.0, 8.0, 16.0, 16.5};
  const double light[] = {13, 12, 11, 9, 9, 0};
  const double dark[] = {13, 10, 7, 1, 1, 0};
  const double edge[] = {13, 14.5, 15, 13, 13, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(LIGHTMARGINCOLOR(depths[i], 16), light[i]) << depths[i];
    EXPECT_DOUBLE_EQ(DARKMARGINCOLOR(depths[i], 16), dark[i]) << depths[i];
    EXPECT_DOUBLE_EQ(LIGHTEDGECOLOR(depths[i], 16), edge[i]) << depths[i];
  }
}

TEST(CheckerColor, DithersShadesNearTheMiddle) {
  EXPECT_EQ(CHECKERCOLOR(9.3, 0, 0), 10);
  EXPECT_EQ(CHECKERCOLOR(9.3, 1, 0), 9);
  EXPECT_EQ(CHECKERCOLOR(0.3, 1, 0), 0);
  EXPECT_EQ(CHECKERCOLOR(0.3, 0, 0), 1);
  EXPECT_EQ(CHECKERCOLOR(9.1, 0, 0), 9);
  EXPECT_EQ(CHECKERCOLOR(9.1, 1, 0), 9);
  EXPECT_EQ(CHECKERCOLOR(0.2, 0, 0), 0);
  EXPECT_EQ(CHECKERCOLOR(9.75, 1, 0), 10);  // 2v + 0.5 = 20 exactly: even
}

TEST(GetDistance, MeasuresUpwardAngles) {
  double angle = 0.0;
  EXPECT_NEAR(GETDISTANCE(32, 32, 20, 20, angle), 16.97056, 1e-5);
  EXPECT_DOUBLE_EQ(angle, 3.0 * std::numbers::pi / 4.0);
  EXPECT_DOUBLE_EQ(GETDISTANCE(0, 0, 3, -4, angle), 5.0);
  EXPECT_DOUBLE_EQ(angle, std::atan2(4.0, 3.0));  // (3, -4) on screen lies up and right
}

TEST(RoundedBox, SmallButtonPixels) {
  open_test_screen();
  const Sprite box(ROUNDEDBOX8B(140, 80, 16, 32, 0, 0));
  const ImageInfo info = IMAGEINFO(box.image);
  EXPECT_EQ(info.width, 140);
  EXPECT_EQ(info.height, 80);
  EXPECT_EQ(box(0, 0), 0);
  EXPECT_EQ(box(70, 40), 13);
  EXPECT_EQ(box(20, 20), 14);  // on the highlight ridge
  EXPECT_EQ(box(70, 5), 9);    // lit top rim
  EXPECT_EQ(box(70, 75), 1);   // shadowed bottom rim
  EXPECT_EQ(box(3, 40), 9);    // lit left rim
  EXPECT_EQ(box(137, 40), 1);  // shadowed right rim
  EXPECT_EQ(box(139, 79), 0);
}

TEST(RoundedBox, FaceIsOneUndiluted13Rectangle) {
  open_test_screen();
  const Sprite panel(ROUNDEDBOX8B(320, 120, 16, 32, 0, 240));
  const Sprite pressed(ROUNDEDBOX8B(320, 120, 16, 32, 3, 240));
  for (int32_t y = 33; y <= 120 - 33; ++y)
    for (int32_t x = 33; x <= 320 - 33; ++x) {
      ASSERT_EQ(panel(x, y), 253) << x << "," << y;
      ASSERT_EQ(pressed(x, y), 253) << x << "," << y;
    }
  // Outside the shape stays transparent even with a base index.
  EXPECT_EQ(panel(0, 0), 0);
  EXPECT_EQ(panel(319, 119), 0);
}

TEST(RoundedBox, OutlineIsSymmetric) {
  open_test_screen();
  const Sprite box(ROUNDEDBOX8B(240, 80, 16, 32, 0, 0));
  for (int32_t y = 0; y < 80; ++y)
    for (int32_t x = 0; x < 240; ++x) {
      ASSERT_EQ(box(x, y) == 0, box(239 - x, y) == 0) << x << "," << y;
      ASSERT_EQ(box(x, y) == 0, box(x, 79 - y) == 0) << x << "," << y;
    }
}

TEST(RoundedBox, MirroredSpriteDropsItsOuterColumnAndRow) {
  open_test_screen();
  const Sprite normal(ROUNDEDBOX8B(140, 80, 16, 32, 0, 0));
  const Sprite hover(ROUNDEDBOX8B(140, 80, 16, 32, 3, 0));
  for (int32_t y = 0; y < 80; ++y) EXPECT_EQ(hover(0, y), 0) << y;
  for (int32_t x = 0; x < 140; ++x) EXPECT_EQ(hover(x, 0), 0) << x;
  EXPECT_EQ(hover(120, 60), 14);  // written for unmirrored (20, 20)
  // Lit from the lower right: the bands swap their shades.
  EXPECT_EQ(hover(70, 75), 9);
  EXPECT_EQ(hover(70, 5), 1);
  EXPECT_EQ(hover(137, 40), 9);
  EXPECT_EQ(hover(3, 40), 1);
  // The outline is the normal one moved by one pixel right and down.
  for (int32_t y = 1; y < 80; ++y)
    for (int32_t x = 1; x < 140; ++x) ASSERT_EQ(hover(x, y) == 0, normal(x - 1, y - 1) == 0) << x << "," << y;
}

// The box plotted one pixel at a time, every shade computed where it is
// used: the plain form of the builder, against which the builder is pinned.
Image plotted_box(int32_t w, int32_t h, int32_t m, int32_t r, int32_t flags, int32_t base) {
  Image image = NEWIMAGE(w, h);
  const bool mirror_x = (flags & 1) != 0, mirror_y = (flags & 2) != 0;
  const auto put = [&](int32_t x, int32_t y, double v, bool flip_x, bool flip_y) {
    const int32_t s = CHECKERCOLOR(v, x, y);
    const int32_t px = flip_x && mirror_x ? w - x : x;
    const int32_t py = flip_y && mirror_y ? h - y : y;
    PUTPIXEL(image, static_cast<float>(px), static_cast<float>(py), s == 0 ? 0 : base + s);
  };
  const int32_t left = r, right = w - 1 - r, top = r, bottom = h - 1 - r, inner = r - m;
  for (int32_t y = 0; y <= r; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(left, top, x, y, a) - inner;
      const double wgt = 1.0 - std::fabs(3.0 - 1.2732395 * a);
      const double light = LIGHTMARGINCOLOR(t, m), edge = LIGHTEDGECOLOR(t, m);
      put(x, y, light + (edge - light) * wgt, true, true);
    }
    for (int32_t x = r + 1; x <= w - r - 1; ++x) put(x, y, LIGHTMARGINCOLOR(m - y, m), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(right, top, x, y, a) - inner;
      const double wgt = 0.6366197 * a;
      const double dark = DARKMARGINCOLOR(t, m), light = LIGHTMARGINCOLOR(t, m);
      put(x, y, dark + (light - dark) * wgt, true, true);
    }
  }
  for (int32_t y = r + 1; y <= h - r - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) put(x, y, LIGHTMARGINCOLOR(m - x, m), true, false);
    for (int32_t x = w - r; x <= w - 1; ++x) put(x, y, DARKMARGINCOLOR(x - w + m + 1, m), true, false);
  }
  DRAWLINE(image, static_cast<float>(r + 1), static_cast<float>(r + 1), static_cast<float>(w - r - 1),
           static_cast<float>(h - r - 1), base + 13, LINE_KIND_FILLED_BOX);
  for (int32_t y = h - r; y <= h - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(left, bottom, x, y, a) - inner;
      const double wgt = 0.6366197 * a + 2.0;
      const double light = LIGHTMARGINCOLOR(t, m), dark = DARKMARGINCOLOR(t, m);
      put(x, y, light + (dark - light) * wgt, true, true);
    }
    for (int32_t x = r + 1; x <= w - r - 1; ++x) put(x, y, DARKMARGINCOLOR(y - h + m + 1, m), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(right, bottom, x, y, a) - inner;
      put(x, y, DARKMARGINCOLOR(t, m), true, true);
    }
  }
  return image;
}

void expect_same_bytes(Image built, Image plotted, const char* what) {
  ASSERT_NE(built, nullptr) << what;
  ASSERT_NE(plotted, nullptr) << what;
  const ImageInfo a = IMAGEINFO(built), b = IMAGEINFO(plotted);
  ASSERT_EQ(a.width, b.width) << what;
  ASSERT_EQ(a.height, b.height) << what;
  // The header too: the whole block.
  EXPECT_EQ(std::memcmp(built, plotted, 4 + static_cast<std::size_t>(a.width) * a.height), 0) << what;
}

TEST(RoundedBox, BuiltBoxesAreTheBoxesPlottedPixelByPixel) {
  open_test_screen();
  // The eight start-up sprites, each also mirrored, in start-up order (the
  // builder keeps the corner geometry of one radius for the next box).
  const int32_t sprites[][5] = {{140, 80, 16, 32, 0}, {240, 80, 16, 32, 0}, {320, 120, 16, 32, 240},
                                {600, 96, 16, 32, 232}, {400, 300, 20, 40, 0}, {800, 600, 20, 40, 0}};
  for (const auto& c : sprites)
    for (int32_t flags = 0; flags < 4; ++flags) {
      Sprite built(ROUNDEDBOX8B(c[0], c[1], c[2], c[3], flags, c[4]));
      Sprite plotted(plotted_box(c[0], c[1], c[2], c[3], flags, c[4]));
      expect_same_bytes(built.image, plotted.image, ("Sprite " + std::to_string(c[0]) + "x" + std::to_string(c[1]) +
                                                     " flags " + std::to_string(flags)).c_str());
    }
  // Odd shapes: narrower or lower than two corners, a rim wider than the
  // radius, no radius, a negative one, a base whose shades pass 255, and
  // radii that change from box to box.
  const int32_t odd[][6] = {{10, 10, 4, 8, 0, 0},    {64, 64, 3, 40, 3, 0},   {50, 20, 30, 12, 1, 16},
                            {33, 77, 5, 0, 2, 0},    {20, 30, 5, -1, 3, 0},   {7, 200, 2, 32, 0, 0},
                            {300, 9, 6, 32, 3, 250}, {1, 1, 1, 1, 3, 0},      {141, 81, 16, 32, 3, 0},
                            {401, 301, 20, 40, 1, 0}, {140, 80, 16, 33, 2, 0}, {140, 80, 16, 32, 2, 0}};
  for (const auto& c : odd) {
    Sprite built(ROUNDEDBOX8B(c[0], c[1], c[2], c[3], c[4], c[5]));
    Sprite plotted(plotted_box(c[0], c[1], c[2], c[3], c[4], c[5]));
    expect_same_bytes(built.image, plotted.image,
                      ("box " + std::to_string(c[0]) + "x" + std::to_string(c[1]) + " m" + std::to_string(c[2]) +
                       " r" + std::to_string(c[3]) + " flags " + std::to_string(c[4]))
                          .c_str());
  }
}

TEST(RoundedBox, StartupSprites) {
  open_test_screen();
  make_sprites();
  struct Expected {
    Image image;
    int32_t w, h, face;
  };
  const Expected table[] = {{SMALLBUTTON, 140, 80, 13},       {SMALLBUTTONHOVER, 140, 80, 13},
                          {WIDEBUTTON, 240, 80, 13},        {WIDEBUTTONHOVER, 240, 80, 13},
                          {STARTERPANEL, 320, 120, 253},    {WIDEPANEL, 600, 96, 245},
                          {MESSAGEBOX, 400, 300, 13},       {FULLPANEL, 800, 600, 13}};
  for (const Expected& e : table) {
    ASSERT_NE(e.image, nullptr);
    const ImageInfo info = IMAGEINFO(e.image);
    EXPECT_EQ(info.width, e.w);
    EXPECT_EQ(info.height, e.h);
    EXPECT_EQ(pixel(e.image, e.w / 2, e.h / 2), e.face);
    EXPECT_EQ(pixel(e.image, 0, 0), 0);
  }
  // The big boxes have the wider rim: 20 pixels of lit top at shade 9.
  EXPECT_EQ(pixel(FULLPANEL, 400, 0), 9);
  EXPECT_EQ(pixel(FULLPANEL, 400, 599), 1);
  // The highlight ridge of the wide-rim corner sits a quarter into the rim.
  EXPECT_EQ(pixel(MESSAGEBOX, 40 - 18, 40 - 18), 15);
}

}  // namespace
