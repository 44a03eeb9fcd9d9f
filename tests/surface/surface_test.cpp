#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "platform/headless.h"
#include "surface/surface.h"
#include "tests/support/printed_text.h"
#include "tests/support/screen.h"

namespace {

std::vector<std::pair<int, int>> line_pixels(int x1, int y1, int x2, int y2) {
  Image img = NEWIMAGE(40, 40);
  DRAWLINE(img, x1, y1, x2, y2, 9, LINE_KIND_LINE);
  PixelSet p = painted(img);
  FREEIMAGE(img);
  return {p.begin(), p.end()};
}

}  // namespace

TEST(Surface, NarrowingOfPositions) {
  EXPECT_EQ(to_pixel(7.9f), 7);
  EXPECT_EQ(to_pixel(0.99f), 0);
  EXPECT_EQ(to_pixel(0.0f), 0);
  EXPECT_EQ(to_pixel(-0.4f), 0);
  EXPECT_EQ(to_pixel(-0.5f), -1);
  EXPECT_EQ(to_pixel(-0.6f), -1);
  EXPECT_EQ(to_pixel(-1.5f), -2);
  // A double narrowed to single precision first: 361.6 lands on 361.
  EXPECT_EQ(to_pixel(static_cast<float>(16 + 9 * 38.4)), 361);
}

TEST(Surface, ImageInfoOf440x120) {
  open_test_screen();
  Image img = NEWIMAGE(440, 120);
  ASSERT_NE(img, nullptr);
  const ImageInfo info = IMAGEINFO(img);
  EXPECT_EQ(info.width, 440);
  EXPECT_EQ(info.height, 120);
  EXPECT_EQ(info.bytes_per_pixel, 1);
  EXPECT_EQ(info.pitch, 440);
  EXPECT_EQ(info.size, 52804);
  EXPECT_EQ(info.pixels, img + 4);
  // Header word: bytes per pixel in bits 0-2, width in bits 3-15.
  EXPECT_EQ(img[0] | (img[1] << 8), (440 << 3) | 1);
  EXPECT_EQ(img[2] | (img[3] << 8), 120);
  FREEIMAGE(img);
  EXPECT_EQ(img, nullptr);
}

TEST(Surface, NewImageRejectsImpossibleSizes) {
  open_test_screen();
  EXPECT_EQ(NEWIMAGE(0, 5), nullptr);
  EXPECT_EQ(NEWIMAGE(5, 0), nullptr);
  EXPECT_EQ(NEWIMAGE(8192, 1), nullptr);
  EXPECT_EQ(NEWIMAGE(1, 65536), nullptr);
}

TEST(Surface, LinePixelLists) {
  open_test_screen();
  EXPECT_EQ(line_pixels(0, 0, 2, 1), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}}));
  const std::vector<std::pair<int, int>> steep{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5},
                                               {2, 6}, {2, 7}, {2, 8}, {3, 9}, {3, 10}};
  EXPECT_EQ(line_pixels(0, 0, 3, 10), steep);
  EXPECT_EQ(line_pixels(5, 5, 5, 5), (std::vector<std::pair<int, int>>{{5, 5}}));
  EXPECT_EQ(line_pixels(3, 2, 6, 2).size(), 4u);
  EXPECT_EQ(line_pixels(3, 6, 3, 2).size(), 5u);
}

TEST(Surface, BoxCornersInEitherOrder) {
  open_test_screen();
  Image a = NEWIMAGE(30, 30);
  Image b = NEWIMAGE(30, 30);
  DRAWLINE(a, 10, 20, 5, 8, 3, LINE_KIND_BOX);
  DRAWLINE(b, 5, 8, 10, 20, 3, LINE_KIND_BOX);
  EXPECT_EQ(painted(a), painted(b));
  EXPECT_EQ(painted(a).size(), static_cast<size_t>(2 * 6 + 2 * 11));
  DRAWLINE(a, 10, 20, 5, 8, 3, LINE_KIND_FILLED_BOX);
  EXPECT_EQ(painted(a).size(), static_cast<size_t>(6 * 13));
  FREEIMAGE(a);
  FREEIMAGE(b);
}

TEST(Surface, CircleHalfWidths) {
  open_test_screen();
  const std::vector<std::pair<int, std::vector<int>>> cases{
      {10, {10, 10, 10, 9, 9, 8, 8, 7, 6, 4, 2}}, {8, {8, 8, 8, 7, 7, 6, 5, 4, 2}}, {2, {2, 1, 0}}};
  for (const auto& [radius, halves] : cases) {
    Image img = NEWIMAGE(40, 40);
    DRAWCIRCLE(img, 20, 20, radius, 5);
    const ImageInfo info = IMAGEINFO(img);
    for (int d = 0; d <= radius + 1; ++d) {
      for (int row : {20 + d, 20 - d}) {
        int count = 0, left = 99;
        for (int x = 0; x < 40; ++x)
          if (info.pixels[row * 40 + x]) {
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
  open_test_screen();
  Image dst = NEWIMAGE(20, 20);
  Image zero = NEWIMAGE(4, 4);
  DRAWLINE(dst, 0, 0, 19, 19, 7, LINE_KIND_FILLED_BOX);
  EXPECT_EQ(BLITIMAGE(dst, 2, 2, zero, BLIT_TRANSPARENT), 0);
  EXPECT_EQ(painted(dst).size(), 400u);
  EXPECT_EQ(BLITIMAGE(dst, 2, 2, zero, BLIT_COPY), 0);
  EXPECT_EQ(painted(dst).size(), 400u - 16u);
  // Partly outside on every side: only the overlap is written.
  Image src = NEWIMAGE(6, 6);
  DRAWLINE(src, 0, 0, 5, 5, 9, LINE_KIND_FILLED_BOX);
  Image small = NEWIMAGE(10, 10);
  EXPECT_EQ(BLITIMAGE(small, -3, -2, src, BLIT_COPY), 0);
  EXPECT_EQ(painted(small).size(), 3u * 4u);
  EXPECT_EQ(BLITIMAGE(small, 8, 7, src, BLIT_COPY), 0);
  EXPECT_EQ(painted(small).size(), 12u + 2u * 3u);
  // A source rectangle, corners in either order.
  Image third = NEWIMAGE(10, 10);
  EXPECT_EQ(BLITIMAGE(third, 1, 1, src, BLIT_COPY, 3, 4, 1, 2), 0);
  EXPECT_EQ(painted(third), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(BLITIMAGE(third, 0, 0, nullptr, BLIT_COPY), 1);
  for (Image* i : {&dst, &zero, &src, &small, &third}) FREEIMAGE(*i);
}

TEST(Surface, GrabAndBlitRoundTrip) {
  open_test_screen();
  Image screen = screen_page();
  const ImageInfo info = IMAGEINFO(screen);
  for (int i = 0; i < 800 * 600; ++i) info.pixels[i] = static_cast<uint8_t>(i * 7 + i / 800);
  std::vector<uint8_t> before(info.pixels, info.pixels + 800 * 600);
  Image saved = NEWIMAGE(400, 300);
  ASSERT_EQ(GRABIMAGE(screen, 200, 150, 599, 449, saved), 0);
  EXPECT_EQ(IMAGEINFO(saved).width, 400);
  EXPECT_EQ(IMAGEINFO(saved).height, 300);
  DRAWLINE(screen, 150, 100, 650, 500, 3, LINE_KIND_FILLED_BOX);
  DRAWLINE(screen, 200, 150, 599, 449, 0, LINE_KIND_FILLED_BOX);
  ASSERT_EQ(BLITIMAGE(screen, 200, 150, saved, BLIT_COPY), 0);
  for (int y = 150; y < 450; ++y)
    for (int x = 200; x < 600; ++x) ASSERT_EQ(info.pixels[y * 800 + x], before[y * 800 + x]);
  // A rectangle reaching x = 800 is refused and leaves the block unchanged.
  std::vector<uint8_t> kept(saved, saved + 4 + 400 * 300);
  EXPECT_EQ(GRABIMAGE(screen, 401, 150, 800, 449, saved), 1);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), saved));
  // A block too small for the rectangle is refused rather than overrun.
  Image tiny = NEWIMAGE(2, 2);
  EXPECT_EQ(GRABIMAGE(screen, 0, 0, 9, 9, tiny), 1);
  FREEIMAGE(tiny);
  FREEIMAGE(saved);
}

TEST(Surface, DrawTextWithAFontImage) {
  open_test_screen();
  // A tiny font image: codes 65..66, widths 2 and 3, glyph height 2.
  Image font = NEWIMAGE(5, 3);
  uint8_t* p = IMAGEINFO(font).pixels;
  p[0] = 0; p[1] = 65; p[2] = 66; p[3] = 2; p[4] = 3;
  // Row 1 and 2: glyph A = columns 0..1, glyph B = columns 2..4.
  const uint8_t rows[2][5] = {{1, 0, 2, 2, 2}, {1, 1, 0, 2, 0}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 5; ++c) p[(r + 1) * 5 + c] = rows[r][c];
  Image dst = NEWIMAGE(8, 4);
  ASSERT_EQ(DRAWTEXT(dst, 1, 1, "AB?A", font), 0);
  const uint8_t* d = IMAGEINFO(dst).pixels;
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
  Image empty = NEWIMAGE(8, 4);
  EXPECT_EQ(DRAWTEXT(empty, 0, 0, "", font), 0);
  p[0] = 1;
  EXPECT_EQ(DRAWTEXT(empty, 0, 0, "AB", font), 0);
  EXPECT_TRUE(painted(empty).empty());
  for (Image* i : {&font, &dst, &empty}) FREEIMAGE(*i);
}

TEST(Surface, PaletteChangesAreSeen) {
  open_test_screen();
  present_page();
  const int64_t before = headless_presents();
  SETPALETTE(256 + 5, 300, 2, 3);
  present_page();
  EXPECT_EQ(headless_presents(), before + 1);
  EXPECT_TRUE(headless_last_present().palette_changed);
  EXPECT_EQ(palette_data()[15], 300 & 255);
  EXPECT_EQ(palette_data()[16], 2);
  EXPECT_EQ(palette_data()[17], 3);
}

namespace {

// The line stepping exactly as described, one pixel at a time, for checking
// the drawing code against it.
PixelSet stepped_line(int x1, int y1, int x2, int y2, int width, int height) {
  PixelSet out;
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
  open_test_screen();
  Image img = NEWIMAGE(40, 30);
  const ImageInfo info = IMAGEINFO(img);
  uint32_t seed = 12345;
  auto next = [&](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(2 * range + 1)) - range;
  };
  for (int n = 0; n < 3000; ++n) {
    // Mostly near the image, some far outside it.
    const int range = n % 3 == 0 ? 3000 : 60;
    const int x1 = next(range) + 20, y1 = next(range) + 15, x2 = next(range) + 20, y2 = next(range) + 15;
    std::memset(info.pixels, 0, 40 * 30);
    DRAWLINE(img, x1, y1, x2, y2, 1, LINE_KIND_LINE);
    ASSERT_EQ(painted(img), stepped_line(x1, y1, x2, y2, 40, 30))
        << "(" << x1 << ", " << y1 << ") - (" << x2 << ", " << y2 << ")";
  }
  FREEIMAGE(img);
}

TEST(Surface, ALineFromFarAwayIsDrawnWithoutWalkingAllTheWay) {
  open_test_screen();
  Image img = NEWIMAGE(40, 30);
  // Two thousand million steps if every pixel were visited.
  DRAWLINE(img, -1.0e9f, 10.0f, 1.0e9f, 12.0f, 4, LINE_KIND_LINE);
  const PixelSet p = painted(img);
  ASSERT_EQ(p.size(), 40u);
  for (const auto& [x, y] : p) EXPECT_EQ(y, 11) << x;
  FREEIMAGE(img);
}

TEST(Surface, TextIsCutAtTheRightEdge) {
  open_test_screen();
  Image font = NEWIMAGE(6, 2);
  uint8_t* f = IMAGEINFO(font).pixels;
  f[0] = 0; f[1] = 65; f[2] = 65; f[3] = 3;  // one glyph 'A', 3 wide, 1 high
  f[6] = 5; f[7] = 5; f[8] = 5;
  Image dst = NEWIMAGE(7, 1);
  ASSERT_EQ(DRAWTEXT(dst, 0, 0, "AAAA", font), 0);
  EXPECT_EQ(painted(dst).size(), 7u);
  // Starting left of the target: the part inside is drawn.
  Image left = NEWIMAGE(7, 1);
  ASSERT_EQ(DRAWTEXT(left, -2, 0, "AA", font), 0);
  EXPECT_EQ(painted(left), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  // Widths that add up to more than the image: nothing drawn, no error.
  f[3] = 7;
  Image none = NEWIMAGE(7, 1);
  EXPECT_EQ(DRAWTEXT(none, 0, 0, "A", font), 0);
  EXPECT_TRUE(painted(none).empty());
  // A header naming more codes than its row can hold is refused too.
  f[3] = 3;
  f[2] = 255;
  EXPECT_EQ(DRAWTEXT(none, 0, 0, "A", font), 0);
  EXPECT_TRUE(painted(none).empty());
  for (Image* i : {&font, &dst, &left, &none}) FREEIMAGE(*i);
}

TEST(Surface, WholeFrameCopiesAdvanceTheVirtualClock) {
  open_test_screen();
  headless_reset();
  Image frame = NEWIMAGE(800, 600);
  Image part = NEWIMAGE(400, 300);
  ASSERT_EQ(BLITIMAGE(screen_page(), 0, 0, frame, BLIT_COPY), 0);
  EXPECT_EQ(headless_now_ms(), 10016);
  EXPECT_EQ(headless_frames(), 1);
  // Part of a frame, a frame elsewhere or into an image block: no time.
  ASSERT_EQ(BLITIMAGE(screen_page(), 0, 0, part, BLIT_COPY), 0);
  ASSERT_EQ(BLITIMAGE(screen_page(), 10, 0, frame, BLIT_COPY), 0);
  ASSERT_EQ(BLITIMAGE(frame, 0, 0, screen_page(), BLIT_COPY), 0);
  EXPECT_EQ(headless_now_ms(), 10016);
  ASSERT_EQ(BLITIMAGE(screen_page(), 0, 0, frame, BLIT_TRANSPARENT), 0);
  EXPECT_EQ(headless_now_ms(), 10032);
  FREEIMAGE(frame);
  FREEIMAGE(part);
}

TEST(Surface, OnlyChangesToThePageOrThePaletteAskForAPresent) {
  open_test_screen();
  present_page();
  const int64_t before = headless_presents();
  Image img = NEWIMAGE(10, 10);
  DRAWLINE(img, 0, 0, 9, 9, 3, LINE_KIND_FILLED_BOX);
  present_page();
  EXPECT_EQ(headless_presents(), before);
  const std::uint8_t old = IMAGEINFO(screen_page()).pixels[5 * 800 + 5];
  PUTPIXEL(screen_page(), 5, 5, old ^ 1);
  present_page();
  EXPECT_EQ(headless_presents(), before + 1);
  // Only the changed row is handed over, the palette as it was.
  const PageUpdate update = headless_last_present();
  EXPECT_EQ(update.rows, (RowSpan{5, 5}));
  EXPECT_FALSE(update.palette_changed);
  EXPECT_EQ(update.pixels, IMAGEINFO(screen_page()).pixels);
  EXPECT_EQ(update.width, 800);
  EXPECT_EQ(update.height, 600);
  present_page();
  DRAWTEXT(screen_page(), 0, 0, "", img);
  // Drawn again just as it was: nothing to show.
  PUTPIXEL(screen_page(), 5, 5, old ^ 1);
  present_page();
  EXPECT_EQ(headless_presents(), before + 1);
  FREEIMAGE(img);
}

TEST(Surface, ChangedRowsAreTheFirstAndLastThatDiffer) {
  std::vector<std::uint8_t> a(800 * 600, 7), b = a;
  EXPECT_TRUE(changed_rows(a.data(), b.data(), 800, 600).empty());
  b[0] = 8;
  EXPECT_EQ(changed_rows(a.data(), b.data(), 800, 600), (RowSpan{0, 0}));
  b[599 * 800 + 799] = 9;
  EXPECT_EQ(changed_rows(a.data(), b.data(), 800, 600), (RowSpan{0, 599}));
  b = a;
  b[300 * 800 + 5] = 1;
  b[310 * 800 + 799] = 1;
  EXPECT_EQ(changed_rows(a.data(), b.data(), 800, 600), (RowSpan{300, 310}));
  EXPECT_TRUE(changed_rows(nullptr, b.data(), 800, 600).empty());
}


TEST(Surface, ScreenModeOtherThanThePageIsRefused) {
  EXPECT_EQ(SETSCREENMODE(640, 480, 8, 1), 1);
  EXPECT_EQ(SETSCREENMODE(800, 600, 32, 1), 1);
  EXPECT_EQ(SETSCREENMODE(800, 600, 8, 2), 1);
  open_test_screen();
  EXPECT_EQ(SETSCREENMODE(800, 600, 8, 1), 0);
}

TEST(Surface, PrintTextWritesNumbersAsTheReportNeedsThem) {
  // An integer is a space and its digits, or a minus sign and its digits,
  // drawn in the text colours with the built-in font.
  open_test_screen();
  const ImageInfo info = IMAGEINFO(screen_page());
  std::memset(info.pixels, 0, 800 * 600);
  SETTEXTCOLORS(7, 9);
  PRINTTEXT(-42LL, false);
  PRINTTEXT(0LL, false);
  PRINTTEXT("|ok", true);
  bool clean = false;
  EXPECT_EQ(printed_text(7, 9, &clean), "-42 0|ok\n");
  EXPECT_TRUE(clean);
  SETTEXTCOLORS(255, 176);
}
