// The stored fonts: formats, widths and pixel values as the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "assets/fonts.h"

namespace {

struct TextFontCase {
  const std::uint8_t* data;
  std::array<std::uint8_t, 4> header;
  int width;
  int height;
  int minw;
  int maxw;
  std::set<int> values;
};

const std::set<int> large_values{0,   176, 178, 181, 187, 191, 196, 201, 206,
                                 211, 215, 221, 226, 231, 236, 240, 246, 251};
const std::set<int> small_values{0, 176, 184};

void check_text_font(const TextFontCase& f) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.data[i], f.header[static_cast<std::size_t>(i)]) << "header byte " << i;
  // Header word: 1 byte per pixel, width in bits 3..15; then the height.
  EXPECT_EQ((f.data[0] | (f.data[1] << 8)) >> 3, f.width);
  EXPECT_EQ(f.data[0] & 7, 1);
  EXPECT_EQ(f.data[2] | (f.data[3] << 8), f.height);
  const std::uint8_t* row0 = f.data + 4;
  EXPECT_EQ(row0[0], 0);
  EXPECT_EQ(row0[1], 32);
  EXPECT_EQ(row0[2], 127);
  int sum = 0;
  for (int i = 0; i < 96; ++i) {
    const int w = row0[3 + i];
    EXPECT_GE(w, f.minw) << "code " << 32 + i;
    EXPECT_LE(w, f.maxw) << "code " << 32 + i;
    sum += w;
  }
  EXPECT_EQ(sum, f.width);
  for (int x = 99; x < f.width; ++x) ASSERT_EQ(row0[x], 0) << "row 0 beyond the widths, x " << x;
  // Only the allowed pixel values, and every glyph but the space has ink.
  for (int y = 1; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      const int v = row0[y * f.width + x];
      ASSERT_TRUE(f.values.count(v)) << "value " << v << " at " << x << ", " << y;
    }
  int start = 0;
  for (int ch = 32; ch <= 127; ++ch) {
    const int w = row0[3 + ch - 32];
    int ink = 0;
    for (int y = 1; y < f.height; ++y)
      for (int x = start; x < start + w; ++x) ink += row0[y * f.width + x] != 0;
    if (ch == 32)
      EXPECT_EQ(ink, 0) << "the space is blank";
    else
      EXPECT_GT(ink, 0) << "code " << ch << " has no ink";
    start += w;
  }
}

// Rows of the glyph of ch that hold ink, as [top, bottom] inside the glyph rows.
std::pair<int, int> ink_rows(const std::uint8_t* font, int width, int height, int ch) {
  const std::uint8_t* row0 = font + 4;
  int start = 0;
  for (int c = 32; c < ch; ++c) start += row0[3 + c - 32];
  const int w = row0[3 + ch - 32];
  int top = height, bottom = -1;
  for (int y = 1; y < height; ++y)
    for (int x = start; x < start + w; ++x)
      if (row0[y * width + x] != 0) top = std::min(top, y - 1), bottom = std::max(bottom, y - 1);
  return {top, bottom};
}

}  // namespace

TEST(StoredFonts, LargeTextFontHasTheStoredFormat) {
  EXPECT_EQ(LARGE_FONT_SIZE, 4u + 1551u * 33u);
  check_text_font({LARGE_FONT, {0x79, 0x30, 0x21, 0x00}, 1551, 33, 5, 30, large_values});
}

TEST(StoredFonts, SmallTextFontHasTheStoredFormat) {
  EXPECT_EQ(SMALL_FONT_SIZE, 4u + 1202u * 25u);
  check_text_font({SMALL_FONT, {0x91, 0x25, 0x19, 0x00}, 1202, 25, 3, 22, small_values});
}

TEST(StoredFonts, LettersShareOneBaseline) {
  // Letters without descenders end on the same row; accented capitals keep
  // their accents inside the glyph rows.
  for (const auto& [font, width, height] :
       {std::tuple{LARGE_FONT, 1551, 33}, std::tuple{SMALL_FONT, 1202, 25}}) {
    const int base = ink_rows(font, width, height, 'H').second;
    for (int ch : {'A', 'E', 'N', 'a', 'n', 'x', '[', ']', '{', '~', '1'})
      EXPECT_EQ(ink_rows(font, width, height, ch).second, base) << "code " << ch;
    EXPECT_GT(ink_rows(font, width, height, 'g').second, base);
    EXPECT_LT(ink_rows(font, width, height, '{').first, ink_rows(font, width, height, 'N').first);
  }
}

TEST(StoredFonts, DigitFontHasTheStoredFormat) {
  EXPECT_EQ(DIGIT_FONT[0], 8);
  EXPECT_EQ(DIGIT_FONT[1], 48);
  EXPECT_EQ(DIGIT_FONT[2], 57);
  EXPECT_EQ(DIGIT_FONT[3], 32);
  const std::array<int, 11> offsets{0, 26, 46, 70, 90, 116, 138, 161, 184, 207, 228};
  for (int i = 0; i < 11; ++i)
    EXPECT_EQ(DIGIT_FONT[4 + 2 * i] | (DIGIT_FONT[5 + 2 * i] << 8), offsets[static_cast<std::size_t>(i)]);
  EXPECT_EQ(26u + 32u * 228u, DIGIT_FONT_SIZE);
  const std::uint8_t* strip = DIGIT_FONT + 26;
  for (int d = 0; d < 10; ++d) {
    int ink = 0;
    bool toprow = false, bottomrow = false;
    for (int y = 0; y < 32; ++y)
      for (int x = offsets[static_cast<std::size_t>(d)]; x < offsets[static_cast<std::size_t>(d) + 1]; ++x) {
        const int v = strip[y * 228 + x];
        ASSERT_TRUE(v == 0 || v == 255) << "value " << v;
        if (v == 0) {
          ++ink;
          toprow |= y == 0;
          bottomrow |= y == 31;
        }
      }
    // Bold digits that fill the glyph height.
    EXPECT_GT(ink, 32 * 4) << "digit " << d;
    EXPECT_TRUE(toprow && bottomrow) << "digit " << d;
  }
}
