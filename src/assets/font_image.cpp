#include "assets/font_image.h"

#include <utility>

GlyphTable glyph_table(const std::uint8_t* font) {
  GlyphTable t;
  if (font == nullptr) return t;
  // The image block header: the width in bits 3..15 of a little-endian word,
  // then the height; row 0 follows it.
  const int32_t width = (font[0] | (font[1] << 8)) >> 3;
  const int32_t height = font[2] | (font[3] << 8);
  const std::uint8_t* header = font + 4;
  if (width < 4 || height < 2 || header[0] != 0) return t;
  int32_t first = header[1];
  int32_t last = header[2];
  if (first > last) std::swap(first, last);
  int32_t sum = 0;
  for (int32_t ch = first; ch <= last; ++ch) {
    const int32_t at = 3 + (ch - first);
    if (at >= width) return GlyphTable{};
    t.width[static_cast<std::size_t>(ch)] = header[at];
    t.start[static_cast<std::size_t>(ch)] = sum;
    sum += header[at];
  }
  if (sum > width) return GlyphTable{};
  t.usable = true;
  t.rows = height - 1;
  return t;
}

int32_t text_width(std::string_view text, const std::uint8_t* font) {
  const GlyphTable glyphs = glyph_table(font);
  int32_t sum = 0;
  for (unsigned char ch : text) sum += glyphs.width[ch];
  return sum;
}

int32_t text_width(std::string_view text, const TextFont& font) {
  const GlyphTable base = glyph_table(font.base);
  const GlyphTable supplement = glyph_table(font.supplement);
  int32_t sum = 0;
  for (unsigned char ch : text) sum += ch < 128 ? base.width[ch] : supplement.width[ch];
  return sum;
}
