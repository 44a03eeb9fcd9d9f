// Digit glyph access and the number labels painted onto the floor.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "assets/fonts.h"
#include "core/checked.h"
#include "platform/headless.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

namespace {

constexpr std::array<int, 11> offsets{0, 26, 46, 70, 90, 116, 138, 161, 184, 207, 228};

// A digit font in the stored format whose pixels a test sets itself; every
// pixel starts as paper.
struct TestDigits {
  std::vector<std::uint8_t> block;
  TestDigits() : block(7322, 255) {
    block[0] = 8;
    block[1] = 48;
    block[2] = 57;
    block[3] = 32;
    for (int i = 0; i < 11; ++i) {
      block[static_cast<std::size_t>(4 + 2 * i)] = static_cast<std::uint8_t>(offsets[static_cast<std::size_t>(i)] & 255);
      block[static_cast<std::size_t>(5 + 2 * i)] = static_cast<std::uint8_t>(offsets[static_cast<std::size_t>(i)] >> 8);
    }
  }
  // Glyph pixel (x, y) of digit d, y counted from the bottom row.
  std::uint8_t& pixel(int d, int x, int y) {
    return block[static_cast<std::size_t>(26 + (31 - y) * 228 + offsets[static_cast<std::size_t>(d)] + x)];
  }
  void ink_all(int d) {
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < offsets[static_cast<std::size_t>(d) + 1] - offsets[static_cast<std::size_t>(d)]; ++x)
        pixel(d, x, y) = 0;
  }
  MAPPEDFONT font() {
    MAPPEDFONT f;
    f.FONTDATA = block.data();
    INITFONT(f);
    f.LABELHEIGHT = 0.5;
    f.INKCOLOR = 176;
    f.LABELY = -2.0;
    f.PIXELSPERUNIT = 64.0;
    return f;
  }
};

MAPPEDFONT stored_font() {
  MAPPEDFONT f;
  f.FONTDATA = DIGIT_FONT;
  INITFONT(f);
  f.LABELHEIGHT = 0.5;
  f.INKCOLOR = 176;
  return f;
}

// A run-time error ends the program; with the screen open its report waits
// for a key, so one is queued first.
template <class F>
void expect_runtime_error(F f) {
  if (screen_open()) headless_key(" ");
  EXPECT_THROW(f(), ProgramEnd);
  headless_reset();
}

}  // namespace

TEST(DigitFont, InitFontFindsTheTableAndTheStrip) {
  const MAPPEDFONT f = stored_font();
  EXPECT_EQ(f.STRIPWIDTH, 228);
  EXPECT_EQ(f.GLYPHOFFSETS, DIGIT_FONT + 4);
  EXPECT_EQ(f.GLYPHPIXELS, DIGIT_FONT + 26);
}

TEST(DigitFont, PixCountLooksOnlyInsideTheGlyph) {
  TestDigits t;
  t.ink_all(0);
  t.ink_all(2);  // the neighbours of digit 1 are fully inked, digit 1 is not
  t.ink_all(9);
  const MAPPEDFONT f = t.font();
  EXPECT_EQ(GETFONTPIXCOUNT8B(10, 10, '0', f), 4);
  EXPECT_EQ(GETFONTPIXCOUNT8B(25, 10, '0', f), 2);  // right edge: two pixels
  EXPECT_EQ(GETFONTPIXCOUNT8B(10, 0, '0', f), 2);   // bottom row: two pixels
  EXPECT_EQ(GETFONTPIXCOUNT8B(25, 0, '0', f), 1);   // corner: one pixel
  EXPECT_EQ(GETFONTPIXCOUNT8B(26, 10, '0', f), 0);
  EXPECT_EQ(GETFONTPIXCOUNT8B(10, 32, '0', f), 0);
  EXPECT_EQ(GETFONTPIXCOUNT8B(-1, 10, '0', f), 0);
  EXPECT_EQ(GETFONTPIXCOUNT8B(10, -1, '0', f), 0);
  // The last column of digit 1 never sees the inked digit 2 next to it.
  EXPECT_EQ(GETFONTPIXCOUNT8B(19, 10, '1', f), 0);
  // The last digit at the end of the strip, top row.
  EXPECT_EQ(GETFONTPIXCOUNT8B(20, 31, '9', f), 2);
  // A code the font does not hold has no pixels.
  EXPECT_EQ(GETFONTPIXCOUNT8B(0, 0, 'A', f), 0);
}

TEST(DigitFont, PixCountCountsEachPixelOfTheCell) {
  TestDigits t;
  t.pixel(3, 5, 7) = 0;
  t.pixel(3, 6, 7) = 0;
  t.pixel(3, 5, 6) = 0;
  const MAPPEDFONT f = t.font();
  EXPECT_EQ(GETFONTPIXCOUNT8B(5, 7, '3', f), 3);
  EXPECT_EQ(GETFONTPIXCOUNT8B(4, 7, '3', f), 2);
  EXPECT_EQ(GETFONTPIXCOUNT8B(4, 6, '3', f), 1);
  EXPECT_EQ(GETFONTPIXCOUNT8B(5, 8, '3', f), 2);
  EXPECT_EQ(GETFONTPIXCOUNT8B(6, 8, '3', f), 1);
}

TEST(DigitFont, BooleanNeverReadsOutsideTheGlyph) {
  TestDigits t;
  t.ink_all(2);
  t.pixel(1, 0, 0) = 0;
  const MAPPEDFONT f = t.font();
  EXPECT_EQ(GETFONTBOOLEAN8B(-1, 0, '1', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, -1, '1', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, 0, '1', f), 0);
  EXPECT_EQ(GETFONTBOOLEAN8B(1, 0, '1', f), 255);
  EXPECT_EQ(GETFONTBOOLEAN8B(19, 31, '1', f), 255);
  // One past the right edge would be digit 2's ink; past the top row or the
  // end of the strip would be other memory.
  EXPECT_EQ(GETFONTBOOLEAN8B(20, 0, '1', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, 32, '1', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(21, 0, '9', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, 1000, '9', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, 0, '/', f), -1);
  EXPECT_EQ(GETFONTBOOLEAN8B(0, 0, ':', f), -1);
}

TEST(DigitFont, ColourBlendsTheCoverageOverTheBackground) {
  TestDigits t;
  t.ink_all(0);
  const MAPPEDFONT f = t.font();
  // Label of "0" from x = 3.0 to 3.0 + 26/64.
  const LabelEdgesRow edges{3.0, 3.0 + 26.0 / 64.0, 0.0, 0.0};
  const double px = 1.0 / 64.0;
  auto at = [&](int x, int y) { return GETFONTCOLOR8B(3.0 + (x + 0.5) * px, -2.0 + (y + 0.5) * px, "0", f, edges, 200); };
  EXPECT_EQ(at(25, 0), 194);   // k = 1
  EXPECT_EQ(at(10, 0), 188);   // k = 2
  EXPECT_EQ(at(10, 10), 176);  // k = 4
  TestDigits three;
  three.pixel(0, 5, 7) = 0;
  three.pixel(0, 6, 7) = 0;
  three.pixel(0, 5, 6) = 0;
  const MAPPEDFONT g = three.font();
  EXPECT_EQ(GETFONTCOLOR8B(3.0 + 5.5 * px, -2.0 + 7.5 * px, "0", g, edges, 200), 182);  // k = 3
  // Outside the band and left or right of the label: the background.
  EXPECT_EQ(at(10, 32), 200);
  EXPECT_EQ(at(10, -1), 200);
  EXPECT_EQ(GETFONTCOLOR8B(2.99, -1.9, "0", f, edges, 200), 200);
  EXPECT_EQ(GETFONTCOLOR8B(edges[1], -1.9, "0", f, edges, 200), 200);
  // A background below the ink colour blends upward, still by floor division.
  EXPECT_EQ(at(25, 0), 194);
  EXPECT_EQ(GETFONTCOLOR8B(3.0 + 25.5 * px, -2.0 + 0.5 * px, "0", f, edges, 170), 171);
}

TEST(DigitFont, AnEdgeBelongsToTheDigitOnItsRight) {
  TestDigits t;
  t.ink_all(0);  // "1" is paper, "0" is ink
  MAPPEDFONT f = t.font();
  f.LABELX = 9.64;
  CheckedList<double> e, ys;
  PREPAREMAPPEDTEXT("10", f, e, ys);
  const LabelEdgesRow edges{e[0], e[1], e[2], 0.0};
  const double v = -2.0 + 10.5 / 64.0;
  EXPECT_EQ(GETFONTCOLOR8B(edges[1], v, "10", f, edges, 230), 176);
  EXPECT_EQ(GETFONTCOLOR8B(edges[1] - 1e-9, v, "10", f, edges, 230), 230);
  EXPECT_EQ(GETFONTCOLOR8B(edges[2], v, "10", f, edges, 230), 230);
  EXPECT_EQ(GETFONTCOLOR8B(edges[2] - 0.5 / 64.0, v, "10", f, edges, 230), 203);  // right column: k = 2
}

TEST(NumberLabels, DefineNumbersLaysOutEveryLabel) {
  MAPPEDFONT f = stored_font();
  DEFINENUMBERS(100, f);
  EXPECT_EQ(f.PIXELSPERUNIT, 64.0);
  EXPECT_EQ(f.LABELY, -2.0);
  EXPECT_EQ(LABELEDGES.size(), 101u);
  EXPECT_DOUBLE_EQ(LABELEDGES[5][0], 4.82);
  EXPECT_DOUBLE_EQ(LABELEDGES[5][1], 5.16375);
  EXPECT_EQ(LABELEDGES[5][2], 0.0);
  EXPECT_EQ(LABELEDGES[5][3], 0.0);
  EXPECT_DOUBLE_EQ(LABELEDGES[0][0], -0.18);
  EXPECT_DOUBLE_EQ(LABELEDGES[0][1], 0.22625);
  EXPECT_DOUBLE_EQ(LABELEDGES[7][0], 6.82);
  EXPECT_DOUBLE_EQ(LABELEDGES[7][1], 7.179375);
  EXPECT_DOUBLE_EQ(LABELEDGES[10][0], 9.64);
  EXPECT_DOUBLE_EQ(LABELEDGES[10][1], 9.9525);
  EXPECT_DOUBLE_EQ(LABELEDGES[10][2], 10.35875);
  EXPECT_EQ(LABELEDGES[10][3], 0.0);
  // The last label laid out leaves its left edge in LABELX.
  EXPECT_DOUBLE_EQ(f.LABELX, 99.46);

  LabelEdgesRow edges{};
  f.LABELX = 0.0;
  DEFINENUMBERFONT(100, f, edges);
  EXPECT_DOUBLE_EQ(edges[0], 99.46);
  EXPECT_DOUBLE_EQ(edges[1], 99.7725);
  EXPECT_DOUBLE_EQ(edges[2], 100.17875);
  EXPECT_DOUBLE_EQ(edges[3], 100.585);
  EXPECT_DOUBLE_EQ(f.LABELX, 99.46);
  // Every label sits around its number.
  for (int n = 0; n <= 100; ++n) {
    DEFINENUMBERFONT(n, f, edges);
    const std::size_t len = std::to_string(n).size();
    EXPECT_LT(edges[0], n);
    EXPECT_GT(edges[len], n);
  }
  expect_runtime_error([&] { DEFINENUMBERFONT(101, f, edges); });
  expect_runtime_error([&] { DEFINENUMBERFONT(-1, f, edges); });
}

TEST(NumberLabels, StoredDigitsPaintTheLabelOf100) {
  MAPPEDFONT f = stored_font();
  DEFINENUMBERS(100, f);
  LabelEdgesRow edges{};
  DEFINENUMBERFONT(100, f, edges);
  // Sample the label on a grid of glyph pixels: each digit has ink and paper,
  // and nothing beyond the label is painted.
  int ink[3] = {0, 0, 0};
  for (int d = 0; d < 3; ++d)
    for (double u = edges[d] + 0.5 / 64; u < edges[d + 1]; u += 1.0 / 64)
      for (double v = -2.0 + 0.5 / 64; v < -1.5; v += 1.0 / 64)
        ink[d] += GETFONTCOLOR8B(u, v, "100", f, edges, 240) != 240;
  EXPECT_GT(ink[0], 100);
  EXPECT_GT(ink[1], 100);
  EXPECT_EQ(ink[1], ink[2]);  // both zeros are the same glyph
  EXPECT_EQ(GETFONTCOLOR8B(edges[3] + 0.01, -1.75, "100", f, edges, 240), 240);
  EXPECT_EQ(GETFONTCOLOR8B(100.0, -1.49, "100", f, edges, 240), 240);
}

TEST(NumberLabels, PrepareMappedTextOfAnEmptyText) {
  MAPPEDFONT f = stored_font();
  f.LABELX = 3.5;
  f.LABELY = -2.0;
  CheckedList<double> e{1.0, 2.0, 3.0}, ys{4.0};
  EXPECT_EQ(PREPAREMAPPEDTEXT("", f, e, ys), 64.0);
  ASSERT_EQ(e.size(), 1u);
  ASSERT_EQ(ys.size(), 1u);
  EXPECT_EQ(e[0], 3.5);
  EXPECT_EQ(ys[0], -2.0);
  EXPECT_EQ(PREPAREMAPPEDTEXT("42", f, e, ys), 64.0);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_DOUBLE_EQ(e[1], 3.5 + 26.0 / 64);
  EXPECT_DOUBLE_EQ(e[2], 3.5 + 50.0 / 64);  // 4 is 26 pixels wide, 2 is 24
  EXPECT_EQ(ys[1], -1.5);
  EXPECT_EQ(ys[2], -1.5);
}

TEST(DigitFont, AMissingFontIsANullReference) {
  MAPPEDFONT f;
  LabelEdgesRow edges{};
  CheckedList<double> e, ys;
  expect_runtime_error([&] { INITFONT(f); });
  expect_runtime_error([&] { GETFONTPIXCOUNT8B(0, 0, '0', f); });
  expect_runtime_error([&] { GETFONTBOOLEAN8B(0, 0, '0', f); });
  expect_runtime_error([&] { GETFONTCOLOR8B(0.0, 0.0, "0", f, edges, 200); });
  expect_runtime_error([&] { PREPAREMAPPEDTEXT("1", f, e, ys); });
  expect_runtime_error([&] { DEFINENUMBERS(10, f); });
}
