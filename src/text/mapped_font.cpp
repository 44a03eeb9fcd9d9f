// The digit font painted onto the floor: glyph access and the number labels.
//
// Digit glyphs are addressed with x from the glyph's left edge and y counted
// from the bottom row up, so that y grows with the floor's y axis.
#include "text/mapped_font.h"

#include <cmath>
#include <string>

CheckedList<LabelEdgesRow> LABELEDGES{LabelEdgesRow{}};

namespace {

// The font header of the digit block: first and last code, glyph height.
int32_t first_code(const MAPPEDFONT& font) { return check_ref(font.FONTDATA)[1]; }
int32_t last_code(const MAPPEDFONT& font) { return check_ref(font.FONTDATA)[2]; }
int32_t glyph_height(const MAPPEDFONT& font) { return check_ref(font.FONTDATA)[3]; }

// Column offset number i of the little-endian 16-bit table.
int32_t glyph_offset(const MAPPEDFONT& font, int32_t i) {
  const std::uint8_t* table = check_ref(font.GLYPHOFFSETS);
  return table[2 * i] | (table[2 * i + 1] << 8);
}

// Whether ch has a glyph in the font; codes outside it have no pixels.
bool has_glyph(const MAPPEDFONT& font, int32_t ch) { return ch >= first_code(font) && ch <= last_code(font); }

// The strip byte of glyph pixel (x, y); the caller has checked the bounds.
std::uint8_t strip_byte(const MAPPEDFONT& font, int32_t x, int32_t y, int32_t ch) {
  const int32_t row = glyph_height(font) - 1 - y;
  const int32_t column = glyph_offset(font, ch - first_code(font)) + x;
  return check_ref(font.GLYPHPIXELS)[static_cast<std::size_t>(row) * font.STRIPWIDTH + column];
}

int32_t glyph_width(const MAPPEDFONT& font, int32_t ch) {
  const int32_t i = ch - first_code(font);
  return glyph_offset(font, i + 1) - glyph_offset(font, i);
}

// Rounds toward minus infinity, in the range of a 32-bit integer.
int32_t floor_to_int(double v) {
  const double f = std::floor(v);
  if (f <= -2147483648.0) return INT32_MIN;
  if (f >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(f);
}

}  // namespace

void INITFONT(MAPPEDFONT& font) {
  const std::uint8_t* block = check_ref(font.FONTDATA);
  const int32_t n = block[2] - block[1] + 1;
  font.GLYPHOFFSETS = block + 4;
  font.STRIPWIDTH = glyph_offset(font, n);
  font.GLYPHPIXELS = block + 4 + 2 * (n + 1);
}

int32_t GETFONTPIXCOUNT8B(int32_t x, int32_t y, int32_t ch, const MAPPEDFONT& font) {
  check_ref(font.FONTDATA);
  if (!has_glyph(font, ch)) return 0;
  const int32_t w = glyph_width(font, ch);
  if (x < 0 || y < 0 || x >= w || y >= glyph_height(font)) return 0;
  int32_t count = strip_byte(font, x, y, ch) == 0 ? 1 : 0;
  const bool right = x < w - 1;
  const bool below = y > 0;
  if (right && strip_byte(font, x + 1, y, ch) == 0) ++count;
  if (below && strip_byte(font, x, y - 1, ch) == 0) ++count;
  if (right && below && strip_byte(font, x + 1, y - 1, ch) == 0) ++count;
  return count;
}

// Reads only inside the glyph: a position outside it (or a code the font does
// not hold) gives -1 rather than a byte of a neighbouring glyph or of memory
// past the strip.
int32_t GETFONTBOOLEAN8B(int32_t x, int32_t y, int32_t ch, const MAPPEDFONT& font) {
  check_ref(font.FONTDATA);
  if (x < 0 || y < 0) return -1;
  if (!has_glyph(font, ch)) return -1;
  if (x >= glyph_width(font, ch) || y >= glyph_height(font)) return -1;
  return strip_byte(font, x, y, ch);
}

int32_t GETFONTCOLOR8B(double u, double v, std::string_view text, const MAPPEDFONT& font,
                       const LabelEdgesRow& edges, int32_t background) {
  check_ref(font.FONTDATA);
  const std::size_t length = text.size();
  std::size_t i = 1;
  // A label row holds at most three digits; longer text has no edges to test.
  while (i <= length && i < edges.size() && !(u < edges[i])) ++i;
  if (i > length || i >= edges.size()) return background;
  const int32_t ch = static_cast<unsigned char>(text[i - 1]);
  const int32_t x = floor_to_int((u - edges[i - 1]) * font.PIXELSPERUNIT);
  const int32_t y = floor_to_int((v - font.LABELY) * font.PIXELSPERUNIT);
  const int32_t k = GETFONTPIXCOUNT8B(x, y, ch, font);
  const int32_t step = (font.INKCOLOR - background) * k;
  // Division rounding toward minus infinity.
  const int32_t q = step >= 0 ? step / 4 : -((-step + 3) / 4);
  return background + q;
}

double PREPAREMAPPEDTEXT(std::string_view text, MAPPEDFONT& font, CheckedList<double>& edges,
                         CheckedList<double>& ys) {
  const int32_t first = first_code(font);
  const double s = font.LABELHEIGHT / glyph_height(font);
  const long long length = static_cast<long long>(text.size());
  edges.resize(length + 1);
  ys.resize(length + 1);
  edges[0] = font.LABELX;
  ys[0] = font.LABELY;
  for (long long i = 1; i <= length; ++i) {
    const int32_t ch = static_cast<unsigned char>(text[static_cast<std::size_t>(i - 1)]);
    const int32_t w = glyph_offset(font, ch - first + 1) - glyph_offset(font, ch - first);
    edges[i] = edges[i - 1] + w * s;
    ys[i] = font.LABELHEIGHT + font.LABELY;
  }
  font.PIXELSPERUNIT = 1.0 / s;
  return font.PIXELSPERUNIT;
}

void DEFINENUMBERS(uint8_t largest, MAPPEDFONT& font) {
  LABELEDGES.resize(static_cast<long long>(largest) + 1);
  font.LABELY = LABEL_BASE_Y;
  CheckedList<double> edges;
  CheckedList<double> ys;
  for (int32_t n = 0; n <= largest; ++n) {
    const std::string t = std::to_string(n);
    const long long length = static_cast<long long>(t.size());
    font.LABELX = n - 0.18 * static_cast<double>(length);
    PREPAREMAPPEDTEXT(t, font, edges, ys);
    LabelEdgesRow& row = LABELEDGES[n];
    for (long long j = 0; j <= length; ++j) row[static_cast<std::size_t>(j)] = edges[j];
  }
}

void DEFINENUMBERFONT(int32_t n, MAPPEDFONT& font, LabelEdgesRow& edges) {
  const LabelEdgesRow& row = LABELEDGES[n];
  for (std::size_t j = 0; j < 4; ++j) edges[j] = row[j];
  font.LABELX = edges[0];
}
