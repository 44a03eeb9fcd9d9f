// A font image's glyph table, read from its header row, and the width of a
// text in pixels. DRAWTEXT draws with this table and text_width measures with
// it, so a text is exactly as wide as it is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "assets/fonts.h"

struct GlyphTable {
  // False for a font image that draws nothing: narrower than 4 or lower than
  // 2 pixels, a version byte other than 0, width bytes beyond row 0 or adding
  // up to more than the image width. Every width is then 0.
  bool usable = false;
  int32_t rows = 0;                   // glyph rows: the image height - 1
  std::array<int32_t, 256> width{};   // 0 for a code the font does not cover
  std::array<int32_t, 256> start{};   // the glyph's first column in rows 1 ...
};

GlyphTable glyph_table(const std::uint8_t* font);

// The advance of a text drawn with one font image: the sum of its glyphs'
// widths (bytes the font does not cover add nothing).
int32_t text_width(std::string_view text, const std::uint8_t* font);
// The same with a text font and its supplement (bytes 128..255).
int32_t text_width(std::string_view text, const TextFont& font);
