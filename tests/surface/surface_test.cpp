#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "surface/headless.h"
#include "surface/surface.h"
#include "tests/surface/printed_text.h"
#include "tests/surface/surface_fixture.h"

namespace {

using PIXELS = std::set<std::pair<int, int>>;

PIXELS painted(IMAGE img) {
  PIXELS out;
  const IMAGEINFORECORD info = IMAGEINFO(img);
  for (int y = 0; y < info.HEIGHT; ++y)
    for (int x = 0; x < info.WIDTH; ++x)
      if (info.PIXELS[y * info.WIDTH + x] != 0) out.insert({x, y});
  return out;
}

std::vector<std::pair<int, int>> line_pixels(int x1, int y1, int x2, int y2) {
  IMAGE img = NEWIMAGE(40, 40);
  DRAWLINE(img, x1, y1, x2, y2, 9, LINEKIND_LINE);
  PIXELS p = painted(img);
  FREEIMAGE(img);
  return {p.begin(), p.end()};
}

}  // namespace

TEST(Surface, NarrowingOfPositions) {
  EXPECT_EQ(TOPIXEL(7.9f), 7);
  EXPECT_EQ(TOPIXEL(0.99f), 0);
  EXPECT_EQ(TOPIXEL(0.0f), 0);
  EXPECT_EQ(TOPIXEL(-0.4f), 0);
  EXPECT_EQ(TOPIXEL(-0.5f), -1);
  EXPECT_EQ(TOPIXEL(-0.6f), -1);
  EXPECT_EQ(TOPIXEL(-1.5f), -2);
  // A double narrowed to single precision first: 361.6 lands on 361.
  EXPECT_EQ(TOPIXEL(static_cast<float>(16 + 9 * 38.4)), 361);
}

TEST(Surface, ImageInfoOf440x120) {
  OPENTESTSCREEN();
  IMAGE img = NEWIMAGE(440, 120);
  ASSERT_NE(img, nullptr);
  const IMAGEINFORECORD info = IMAGEINFO(img);
  EXPECT_EQ(info.WIDTH, 440);
  EXPECT_EQ(info.HEIGHT, 120);
  EXPECT_EQ(info.BYTESPERPIXEL, 1);
  EXPECT_EQ(info.PITCH, 440);
  EXPECT_EQ(info.SIZE, 52804);
  EXPECT_EQ(info.PIXELS, img + 4);
  // Header word: bytes per pixel in bits 0-2, width in bits 3-15.
  EXPECT_EQ(img[0] | (img[1] << 8), (440 << 3) | 1);
  EXPECT_EQ(img[2] | (img[3] << 8), 120);
  FREEIMAGE(img);
  EXPECT_EQ(img, nullptr);
}

TEST(Surface, NewImageRejectsImpossibleSizes) {
  OPENTESTSCREEN();
  EXPECT_EQ(NEWIMAGE(0, 5), nullptr);
  EXPECT_EQ(NEWIMAGE(5, 0), nullptr);
  EXPECT_EQ(NEWIMAGE(8192, 1), nullptr);
  EXPECT_EQ(NEWIMAGE(1, 65536), nullptr);
}

TEST(Surface, LinePixelLists) {
  OPENTESTSCREEN();
  EXPECT_EQ(line_pixels(0, 0, 2, 1), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}}));
  const std::vector<std::pair<int, int>> steep{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5},
                                               {2, 6}, {2, 7}, {2, 8}, {3, 9}, {3, 10}};
  EXPECT_EQ(line_pixels(0, 0, 3, 10), steep);
  EXPECT_EQ(line_pixels(5, 5, 5, 5), (std::vector<std::pair<int, int>>{{5, 5}}));
  EXPECT_EQ(line_pixels(3, 2, 6, 2).size(), 4u);
  EXPECT_EQ(line_pixels(3, 6, 3, 2).size(), 5u);
}

TEST(Surface, BoxCornersInEitherOrder) {
  OPENTESTSCREEN();
  IMAGE a = NEWIMAGE(30, 30);
  IMAGE b = NEWIMAGE(30, 30);
  DRAWLINE(a, 10, 20, 5, 8, 3, LINEKIND_BOX);
  DRAWLINE(b, 5, 8, 10, 20, 3, LINEKIND_BOX);
  EXPECT_EQ(painted(a), painted(b));
  EXPECT_EQ(painted(a).size(), static_cast<size_t>(2 * 6 + 2 * 11));
  DRAWLINE(a, 10, 20, 5, 8, 3, LINEKIND_FILLEDBOX);
  EXPECT_EQ(painted(a).size(), static_cast<size_t>(6 * 13));
  FREEIMAGE(a);
  FREEIMAGE(b);
}

TEST(Surface, CircleHalfWidths) {
  OPENTESTSCREEN();
  const std::vector<std::pair<int, std::vector<int>>> cases{
      {10, {10, 10, 10, 9, 9, 8, 8, 7, 6, 4, 2}}, {8, {8, 8, 8, 7, 7, 6, 5, 4, 2}}, {2, {2, 1, 0}}};
  for (const auto& [radius, halves] : cases) {
    IMAGE img = NEWIMAGE(40, 40);
    DRAWCIRCLE(img, 20, 20, radius, 5);
    const IMAGEINFORECORD info = IMAGEINFO(img);
    for (int d = 0; d <= radius + 1; ++d) {
      for (int row : {20 + d, 20 - d}) {
        int count = 0, left = 99;
        for (int x = 0; x < 40; ++x)
          if (info.PIXELS[row * 40 + x]) {
            ++count;
            left = std::min(left, x);
          }
        if (d < static_cast<int>(halves.size())) {
          EXPECT_EQ(count, 2 * halves[d] + 1) << "radius " << radius << " row offset " << d;
          EXPECT_EQ(left, 20 - halves[d]);
        } else {
          EXPECT_EQ(count, 0) << "radius " << radius << " row offset " << d;
        }
      }
    }
    FREEIMAGE(img);
  }
}

TEST(Surface, BlitModesAndClipping) {
  OPENTESTSCREEN();
  IMAGE dst = NEWIMAGE(20, 20);
  IMAGE zero = NEWIMAGE(4, 4);
  DRAWLINE(dst, 0, 0, 19, 19, 7, LINEKIND_FILLEDBOX);
  EXPECT_EQ(BLITIMAGE(dst, 2, 2, zero, BLITTRANSPARENT), 0);
  EXPECT_EQ(painted(dst).size(), 400u);
  EXPECT_EQ(BLITIMAGE(dst, 2, 2, zero, BLITCOPY), 0);
  EXPECT_EQ(painted(dst).size(), 400u - 16u);
  // Partly outside on every side: only the overlap is written.
  IMAGE src = NEWIMAGE(6, 6);
  DRAWLINE(src, 0, 0, 5, 5, 9, LINEKIND_FILLEDBOX);
  IMAGE small = NEWIMAGE(10, 10);
  EXPECT_EQ(BLITIMAGE(small, -3, -2, src, BLITCOPY), 0);
  EXPECT_EQ(painted(small).size(), 3u * 4u);
  EXPECT_EQ(BLITIMAGE(small, 8, 7, src, BLITCOPY), 0);
  EXPECT_EQ(painted(small).size(), 12u + 2u * 3u);
  // A source rectangle, corners in either order.
  IMAGE third = NEWIMAGE(10, 10);
  EXPECT_EQ(BLITIMAGE(third, 1, 1, src, BLITCOPY, 3, 4, 1, 2), 0);
  EXPECT_EQ(painted(third), (PIXELS{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(BLITIMAGE(third, 0, 0, nullptr, BLITCOPY), 1);
  for (IMAGE* i : {&dst, &zero, &src, &small, &third}) FREEIMAGE(*i);
}

TEST(Surface, GrabAndBlitRoundTrip) {
  OPENTESTSCREEN();
  IMAGE screen = SCREEN();
  const IMAGEINFORECORD info = IMAGEINFO(screen);
  for (int i = 0; i < 800 * 600; ++i) info.PIXELS[i] = static_cast<uint8_t>(i * 7 + i / 800);
  std::vector<uint8_t> before(info.PIXELS, info.PIXELS + 800 * 600);
  IMAGE saved = NEWIMAGE(400, 300);
  ASSERT_EQ(GRABIMAGE(screen, 200, 150, 599, 449, saved), 0);
  EXPECT_EQ(IMAGEINFO(saved).WIDTH, 400);
  EXPECT_EQ(IMAGEINFO(saved).HEIGHT, 300);
  DRAWLINE(screen, 150, 100, 650, 500, 3, LINEKIND_FILLEDBOX);
  DRAWLINE(screen, 200, 150, 599, 449, 0, LINEKIND_FILLEDBOX);
  ASSERT_EQ(BLITIMAGE(screen, 200, 150, saved, BLITCOPY), 0);
  for (int y = 150; y < 450; ++y)
    for (int x = 200; x < 600; ++x) ASSERT_EQ(info.PIXELS[y * 800 + x], before[y * 800 + x]);
  // A rectangle reaching x = 800 is refused and leaves the block unchanged.
  std::vector<uint8_t> kept(saved, saved + 4 + 400 * 300);
  EXPECT_EQ(GRABIMAGE(screen, 401, 150, 800, 449, saved), 1);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), saved));
  // A block too small for the rectangle is refused rather than overrun.
  IMAGE tiny = NEWIMAGE(2, 2);
  EXPECT_EQ(GRABIMAGE(screen, 0, 0, 9, 9, tiny), 1);
  FREEIMAGE(tiny);
  FREEIMAGE(saved);
}

TEST(Surface, DrawTextWithAFontImage) {
  OPENTESTSCREEN();
  // A tiny font image: codes 65..66, widths 2 and 3, glyph height 2.
  IMAGE font = NEWIMAGE(5, 3);
  uint8_t* p = IMAGEINFO(font).PIXELS;
  p[0] = 0; p[1] = 65; p[2] = 66; p[3] = 2; p[4] = 3;
  // Row 1 and 2: glyph A = columns 0..1, glyph B = columns 2..4.
  const uint8_t rows[2][5] = {{1, 0, 2, 2, 2}, {1, 1, 0, 2, 0}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 5; ++c) p[(r + 1) * 5 + c] = rows[r][c];
  IMAGE dst = NEWIMAGE(8, 4);
  ASSERT_EQ(DRAWTEXT(dst, 1, 1, "AB?A", font), 0);
  const uint8_t* d = IMAGEINFO(dst).PIXELS;
  // A at x 1..2, B at x 3..5, '?' has no glyph, A again at x 6..7.
  EXPECT_EQ(d[1 * 8 + 1], 1);
  EXPECT_EQ(d[1 * 8 + 2], 0);
  EXPECT_EQ(d[2 * 8 + 2], 1);
  EXPECT_EQ(d[1 * 8 + 3], 2);
  EXPECT_EQ(d[1 * 8 + 5], 2);
  EXPECT_EQ(d[2 * 8 + 4], 2);
  EXPECT_EQ(d[1 * 8 + 6], 1);
  EXPECT_EQ(d[2 * 8 + 7], 1);
  EXPECT_EQ(painted(dst).size(), 3u + 4u + 3u);
  // Empty text draws nothing; a bad version byte draws nothing without error.
  IMAGE empty = NEWIMAGE(8, 4);
  EXPECT_EQ(DRAWTEXT(empty, 0, 0, "", font), 0);
  p[0] = 1;
  EXPECT_EQ(DRAWTEXT(empty, 0, 0, "AB", font), 0);
  EXPECT_TRUE(painted(empty).empty());
  for (IMAGE* i : {&font, &dst, &empty}) FREEIMAGE(*i);
}

TEST(Surface, PaletteChangesAreSeen) {
  OPENTESTSCREEN();
  SURFACETAKECHANGED();
  SETPALETTE(256 + 5, 300, 2, 3);
  EXPECT_TRUE(SURFACETAKECHANGED());
  EXPECT_EQ(PALETTEDATA()[15], 300 & 255);
  EXPECT_EQ(PALETTEDATA()[16], 2);
  EXPECT_EQ(PALETTEDATA()[17], 3);
}

namespace {

// The line stepping exactly as described, one pixel at a time, for checking
// the drawing code against it.
PIXELS stepped_line(int x1, int y1, int x2, int y2, int width, int height) {
  PIXELS out;
  auto plot = [&](long long x, long long y) {
    if (x >= 0 && y >= 0 && x < width && y < height) out.insert({static_cast<int>(x), static_cast<int>(y)});
  };
  long long dx = x2 - x1, dy = y2 - y1;
  long long ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
  int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  long long x = x1, y = y1;
  if (ax >= ay) {
    long long e = 2 * ay - ax;
    for (long long i = 0; i <= ax; ++i) {
      plot(x, y);
      if (e >= 0) {
        y += sy;
        e -= 2 * ax;
      }
      e += 2 * ay;
      x += sx;
    }
  } else {
    long long e = ay - 2 * ax;
    for (long long i = 0; i <= ay; ++i) {
      plot(x, y);
      if (e <= 0) {
        x += sx;
        e += 2 * ay;
      }
      e -= 2 * ax;
      y += sy;
    }
  }
  return out;
}

}  // namespace

TEST(Surface, LinesMatchTheStepByStepTracingEverywhere) {
  OPENTESTSCREEN();
  IMAGE img = NEWIMAGE(40, 30);
  const IMAGEINFORECORD info = IMAGEINFO(img);
  uint32_t seed = 12345;
  auto next = [&](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(2 * range + 1)) - range;
  };
  for (int n = 0; n < 3000; ++n) {
    // Mostly near the image, some far outside it.
    const int range = n % 3 == 0 ? 3000 : 60;
    const int x1 = next(range) + 20, y1 = next(range) + 15, x2 = next(range) + 20, y2 = next(range) + 15;
    std::memset(info.PIXELS, 0, 40 * 30);
    DRAWLINE(img, x1, y1, x2, y2, 1, LINEKIND_LINE);
    ASSERT_EQ(painted(img), stepped_line(x1, y1, x2, y2, 40, 30))
        << "(" << x1 << ", " << y1 << ") - (" << x2 << ", " << y2 << ")";
  }
  FREEIMAGE(img);
}

TEST(Surface, ALineFromFarAwayIsDrawnWithoutWalkingAllTheWay) {
  OPENTESTSCREEN();
  IMAGE img = NEWIMAGE(40, 30);
  // Two thousand million steps if every pixel were visited.
  DRAWLINE(img, -1.0e9f, 10.0f, 1.0e9f, 12.0f, 4, LINEKIND_LINE);
  const PIXELS p = painted(img);
  ASSERT_EQ(p.size(), 40u);
  for (const auto& [x, y] : p) EXPECT_EQ(y, 11) << x;
  FREEIMAGE(img);
}

TEST(Surface, TextIsCutAtTheRightEdge) {
  OPENTESTSCREEN();
  IMAGE font = NEWIMAGE(6, 2);
  uint8_t* f = IMAGEINFO(font).PIXELS;
  f[0] = 0; f[1] = 65; f[2] = 65; f[3] = 3;  // one glyph 'A', 3 wide, 1 high
  f[6] = 5; f[7] = 5; f[8] = 5;
  IMAGE dst = NEWIMAGE(7, 1);
  ASSERT_EQ(DRAWTEXT(dst, 0, 0, "AAAA", font), 0);
  EXPECT_EQ(painted(dst).size(), 7u);
  // Starting left of the target: the part inside is drawn.
  IMAGE left = NEWIMAGE(7, 1);
  ASSERT_EQ(DRAWTEXT(left, -2, 0, "AA", font), 0);
  EXPECT_EQ(painted(left), (PIXELS{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  // Widths that add up to more than the image: nothing drawn, no error.
  f[3] = 7;
  IMAGE none = NEWIMAGE(7, 1);
  EXPECT_EQ(DRAWTEXT(none, 0, 0, "A", font), 0);
  EXPECT_TRUE(painted(none).empty());
  // A header naming more codes than its row can hold is refused too.
  f[3] = 3;
  f[2] = 255;
  EXPECT_EQ(DRAWTEXT(none, 0, 0, "A", font), 0);
  EXPECT_TRUE(painted(none).empty());
  for (IMAGE* i : {&font, &dst, &left, &none}) FREEIMAGE(*i);
}

TEST(Surface, WholeFrameCopiesAdvanceTheVirtualClock) {
  OPENTESTSCREEN();
  HEADLESSRESET();
  IMAGE frame = NEWIMAGE(800, 600);
  IMAGE part = NEWIMAGE(400, 300);
  ASSERT_EQ(BLITIMAGE(SCREEN(), 0, 0, frame, BLITCOPY), 0);
  EXPECT_EQ(HEADLESSNOWMS(), 10016);
  EXPECT_EQ(HEADLESSFRAMES(), 1);
  // Part of a frame, a frame elsewhere or into an image block: no time.
  ASSERT_EQ(BLITIMAGE(SCREEN(), 0, 0, part, BLITCOPY), 0);
  ASSERT_EQ(BLITIMAGE(SCREEN(), 10, 0, frame, BLITCOPY), 0);
  ASSERT_EQ(BLITIMAGE(frame, 0, 0, SCREEN(), BLITCOPY), 0);
  EXPECT_EQ(HEADLESSNOWMS(), 10016);
  ASSERT_EQ(BLITIMAGE(SCREEN(), 0, 0, frame, BLITTRANSPARENT), 0);
  EXPECT_EQ(HEADLESSNOWMS(), 10032);
  FREEIMAGE(frame);
  FREEIMAGE(part);
}

TEST(Surface, OnlyChangesToThePageOrThePaletteAskForAPresent) {
  OPENTESTSCREEN();
  SURFACETAKECHANGED();
  IMAGE img = NEWIMAGE(10, 10);
  DRAWLINE(img, 0, 0, 9, 9, 3, LINEKIND_FILLEDBOX);
  EXPECT_FALSE(SURFACETAKECHANGED());
  PUTPIXEL(SCREEN(), 5, 5, 3);
  EXPECT_TRUE(SURFACETAKECHANGED());
  EXPECT_FALSE(SURFACETAKECHANGED());
  DRAWTEXT(SCREEN(), 0, 0, "", img);
  EXPECT_FALSE(SURFACETAKECHANGED());
  FREEIMAGE(img);
}

TEST(Surface, ScreenModeOtherThanThePageIsRefused) {
  EXPECT_EQ(SETSCREENMODE(640, 480, 8, 1), 1);
  EXPECT_EQ(SETSCREENMODE(800, 600, 32, 1), 1);
  EXPECT_EQ(SETSCREENMODE(800, 600, 8, 2), 1);
  OPENTESTSCREEN();
  EXPECT_EQ(SETSCREENMODE(800, 600, 8, 1), 0);
}

TEST(Surface, PrintTextWritesNumbersAsTheReportNeedsThem) {
  // An integer is a space and its digits, or a minus sign and its digits,
  // drawn in the text colours with the built-in font.
  OPENTESTSCREEN();
  const IMAGEINFORECORD info = IMAGEINFO(SCREEN());
  std::memset(info.PIXELS, 0, 800 * 600);
  SETTEXTCOLORS(7, 9);
  PRINTTEXT(-42LL, false);
  PRINTTEXT(0LL, false);
  PRINTTEXT("|ok", true);
  bool clean = false;
  EXPECT_EQ(PRINTEDTEXT(7, 9, &clean), "-42 0|ok\n");
  EXPECT_TRUE(clean);
  SETTEXTCOLORS(255, 176);
}
