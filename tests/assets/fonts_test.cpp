// The stored fonts: formats, widths and pixel values as the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <utility>
#include <vector>

#include "assets/fonts.h"
#include "text/code_page.h"

namespace {

struct TextFontCase {
  const std::uint8_t* data;
  std::array<std::uint8_t, 4> header;
  int width;
  int height;
  int minw;
  int maxw;
  std::set<int> values;
  int first = 32;  // the codes covered, first .. first + 95 or first + 127
  int last = 127;
  int space = 32;  // the one blank glyph of non-zero width
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
  EXPECT_EQ(row0[1], f.first);
  EXPECT_EQ(row0[2], f.last);
  int sum = 0;
  for (int ch = f.first; ch <= f.last; ++ch) {
    const int w = row0[3 + ch - f.first];
    // In the supplement, the codes without a printable character are empty.
    if (ch >= 128 && (ch < 160 || ch == 173)) {
      EXPECT_EQ(w, 0) << "code " << ch;
      continue;
    }
    EXPECT_GE(w, f.minw) << "code " << ch;
    EXPECT_LE(w, f.maxw) << "code " << ch;
    sum += w;
  }
  EXPECT_EQ(sum, f.width);
  for (int x = 4 + f.last - f.first; x < f.width; ++x) ASSERT_EQ(row0[x], 0) << "row 0 beyond the widths, x " << x;
  // Only the allowed pixel values, and every glyph but the space has ink.
  for (int y = 1; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      const int v = row0[y * f.width + x];
      ASSERT_TRUE(f.values.count(v)) << "value " << v << " at " << x << ", " << y;
    }
  int start = 0;
  for (int ch = f.first; ch <= f.last; ++ch) {
    const int w = row0[3 + ch - f.first];
    int ink = 0;
    for (int y = 1; y < f.height; ++y)
      for (int x = start; x < start + w; ++x) ink += row0[y * f.width + x] != 0;
    if (ch == f.space || w == 0)
      EXPECT_EQ(ink, 0) << "the space is blank";
    else
      EXPECT_GT(ink, 0) << "code " << ch << " has no ink";
    start += w;
  }
}

// The glyph of ch in a font image: its width and its pixels, row by row.
struct Glyph {
  int width = 0;
  std::vector<int> pixels;
};
Glyph glyph(const std::uint8_t* font, int ch) {
  const std::uint8_t* row0 = font + 4;
  const int width = (font[0] | (font[1] << 8)) >> 3, height = font[2];
  int start = 0;
  for (int c = row0[1]; c < ch; ++c) start += row0[3 + c - row0[1]];
  Glyph g{row0[3 + ch - row0[1]], {}};
  for (int y = 1; y < height; ++y)
    for (int x = start; x < start + g.width; ++x) g.pixels.push_back(row0[y * width + x]);
  return g;
}

// Rows of the glyph of ch that hold ink, as [top, bottom] inside the glyph rows.
std::pair<int, int> ink_rows(const std::uint8_t* font, int ch) {
  const Glyph g = glyph(font, ch);
  int top = 1000, bottom = -1;
  for (std::size_t i = 0; i < g.pixels.size(); ++i)
    if (g.pixels[i] != 0) top = std::min(top, static_cast<int>(i) / g.width), bottom = static_cast<int>(i) / g.width;
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

TEST(StoredFonts, SupplementsHaveTheFormatOfTheirBaseFonts) {
  EXPECT_EQ(LARGE_FONT_SUPPLEMENT_SIZE, 4u + 1588u * 33u);
  check_text_font({LARGE_FONT_SUPPLEMENT, {0xA1, 0x31, 0x21, 0x00}, 1588, 33, 5, 30, large_values, 128, 255, 160});
  EXPECT_EQ(SMALL_FONT_SUPPLEMENT_SIZE, 4u + 1228u * 25u);
  check_text_font({SMALL_FONT_SUPPLEMENT, {0x61, 0x26, 0x19, 0x00}, 1228, 25, 3, 22, small_values, 128, 255, 160});
}

TEST(StoredFonts, SupplementsDrawTheSpanishLettersAsTheirBaseFontsDo) {
  // The same renderer, size, baseline and ink: a Spanish letter from the
  // supplement is the very glyph its base font draws at the Spanish code.
  for (const auto& [base, supplement] :
       {std::pair{LARGE_FONT, LARGE_FONT_SUPPLEMENT}, std::pair{SMALL_FONT, SMALL_FONT_SUPPLEMENT}})
    for (const SpanishLetterCode& s : SPANISH_LETTER_CODES) {
      const Glyph a = glyph(base, s.code), b = glyph(supplement, static_cast<int>(s.codepoint));
      EXPECT_EQ(a.width, b.width) << "code " << s.code;
      EXPECT_EQ(a.pixels, b.pixels) << "code " << s.code;
    }
}

TEST(StoredFonts, LettersShareOneBaseline) {
  // Letters without descenders end on the same row, in the supplement too;
  // accented capitals keep their accents inside the glyph rows.
  for (const auto& [font, supplement] :
       {std::pair{LARGE_FONT, LARGE_FONT_SUPPLEMENT}, std::pair{SMALL_FONT, SMALL_FONT_SUPPLEMENT}}) {
    const int base = ink_rows(font, 'H').second;
    for (int ch : {'A', 'E', 'N', 'a', 'n', 'x', '[', ']', '{', '~', '1'})
      EXPECT_EQ(ink_rows(font, ch).second, base) << "code " << ch;
    for (int ch : {0xC0, 0xC3, 0xC5, 0xCA, 0xD4, 0xDC, 0xE0, 0xE3, 0xEA, 0xF4, 0xFC, 0xE6})
      EXPECT_EQ(ink_rows(supplement, ch).second, base) << "code " << ch;
    EXPECT_GT(ink_rows(font, 'g').second, base);
    EXPECT_GT(ink_rows(supplement, 0xC7).second, base);  // the cedilla hangs below
    EXPECT_LT(ink_rows(font, '{').first, ink_rows(font, 'N').first);
    EXPECT_LT(ink_rows(supplement, 0xC3).first, ink_rows(font, 'N').first);
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
