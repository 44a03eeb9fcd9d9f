// ranvel-fontbake: renders DejaVu Sans into the three fonts the game carries
// and writes them as C++ source, so that building the game never needs
// FreeType.
//
//   ranvel-fontbake [--fonts DIR] [--out FILE] [--out-supplement FILE] [--preview PNG]
//
// --fonts  folder holding DejaVuSans.ttf and DejaVuSans-Bold.ttf
//          (default /usr/share/fonts/truetype/dejavu)
// --out    the generated source of the three fonts (default
//          src/assets/fonts.cpp); "-" skips it
// --out-supplement  the generated source of the text fonts' supplements
//          (default src/assets/fonts_supplement.cpp); "-" skips it
// --preview  a paletted PNG that shows the baked fonts drawn with DRAWTEXT
//
// The text fonts are font images: row 0 holds 0, 32, 127 and the 96 glyph
// widths; the glyphs sit side by side below it. Their pixels are texture-ramp
// indices (176 black, larger = lighter, 0 transparent). Each has a supplement
// in the same format for codes 128..255, drawing the Latin-1 characters of
// those codes at the same size, baseline and ink levels. The digit font is the
// game's own format: 8, 48, 57, 32, eleven 16-bit column offsets and a 32-row
// strip with 0 for ink and 255 for paper.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "assets/font_image.h"
#include "assets/info_texts.h"
#include "screens/info_screen.h"
#include "surface/surface.h"
#include "text/code_page.h"
#include "text/mapped_font.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The character a code of the base text fonts draws.
unsigned codepoint_of(int code) {
  for (const SpanishLetterCode& s : SPANISH_LETTER_CODES)
    if (s.code == code) return s.codepoint;
  return static_cast<unsigned>(code);
}

[[noreturn]] void fail(const std::string& what) {
  std::cerr << "ranvel-fontbake: " << what << "\n";
  std::exit(1);
}

// A glyph rendered as 8-bit coverage, placed relative to its pen origin.
struct Rendered {
  int width = 0;
  int rows = 0;
  int left = 0;  // columns from the origin to the bitmap's first column
  int top = 0;   // rows from the baseline up to the bitmap's first row
  std::vector<std::uint8_t> coverage;
  std::uint8_t at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= rows) return 0;
    return coverage[static_cast<std::size_t>(y) * width + x];
  }
};

Rendered render(FT_Face face, unsigned codepoint, FT_Int32 flags, double shiftx) {
  FT_Vector delta{static_cast<FT_Pos>(std::lround(shiftx * 64.0)), 0};
  FT_Set_Transform(face, nullptr, &delta);
  const FT_UInt index = FT_Get_Char_Index(face, codepoint);
  if (index == 0) fail("font has no glyph for U+" + std::to_string(codepoint));
  if (FT_Load_Glyph(face, index, flags) != 0) fail("cannot load a glyph");
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) fail("cannot render a glyph");
  const FT_Bitmap& bm = face->glyph->bitmap;
  Rendered r;
  r.width = static_cast<int>(bm.width);
  r.rows = static_cast<int>(bm.rows);
  r.left = face->glyph->bitmap_left;
  r.top = face->glyph->bitmap_top;
  r.coverage.resize(static_cast<std::size_t>(r.width) * r.rows);
  for (int y = 0; y < r.rows; ++y)
    for (int x = 0; x < r.width; ++x)
      r.coverage[static_cast<std::size_t>(y) * r.width + x] = bm.buffer[y * bm.pitch + x];
  FT_Set_Transform(face, nullptr, nullptr);
  return r;
}

// Widths that add up to the total exactly: the ideal advances rounded by
// largest remainder, each held inside [its own minimum, maxw].
std::vector<int> exact_widths(const std::vector<double>& ideal, const std::vector<int>& minw, int total, int maxw) {
  const std::size_t n = ideal.size();
  std::vector<int> w(n);
  int sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    w[i] = std::clamp(static_cast<int>(std::floor(ideal[i])), minw[i], maxw);
    sum += w[i];
  }
  // Hand out (or take back) single pixels where the rounding hurt most.
  while (sum != total) {
    int best = -1;
    double bestgap = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      const double gap = ideal[i] - w[i];
      if (sum < total && w[i] < maxw && (best < 0 || gap > bestgap)) best = static_cast<int>(i), bestgap = gap;
      if (sum > total && w[i] > minw[i] && (best < 0 || gap < bestgap)) best = static_cast<int>(i), bestgap = gap;
    }
    if (best < 0) fail("widths cannot reach the total");
    w[static_cast<std::size_t>(best)] += sum < total ? 1 : -1;
    sum += sum < total ? 1 : -1;
  }
  return w;
}

// Coverage below this is left out when measuring a glyph's ink.
constexpr int faint = 24;

// The columns [first, last] of a rendered glyph that hold visible ink.
void ink_columns(const Rendered& g, int& first, int& last) {
  first = g.width;
  last = -1;
  for (int y = 0; y < g.rows; ++y)
    for (int x = 0; x < g.width; ++x)
      if (g.at(x, y) >= faint) first = std::min(first, x), last = std::max(last, x);
}

// An accent that would stick out of the top of the cell is moved down by
// taking rows out of the gap between it and the letter (the capitals with
// accents are the only glyphs that need it in the smaller font).
Rendered squeeze_top(const Rendered& g, int overflow) {
  if (overflow <= 0) return g;
  std::vector<int> emptyrows;
  bool seenink = false;
  for (int y = 0; y < g.rows; ++y) {
    int peak = 0;
    for (int x = 0; x < g.width; ++x) peak = std::max(peak, static_cast<int>(g.at(x, y)));
    if (peak >= 96) {
      if (seenink && !emptyrows.empty()) break;
      seenink = true;
      emptyrows.clear();
    } else if (seenink) {
      emptyrows.push_back(y);
    }
  }
  if (static_cast<int>(emptyrows.size()) < overflow + 1) return g;  // keep at least one row of gap
  Rendered out = g;
  out.rows = g.rows - overflow;
  out.top = g.top - overflow;
  out.coverage.clear();
  int dropped = 0;
  for (int y = 0; y < g.rows; ++y) {
    if (dropped < overflow && std::find(emptyrows.begin(), emptyrows.end(), y) != emptyrows.end() &&
        y != emptyrows.back()) {
      ++dropped;
      continue;
    }
    for (int x = 0; x < g.width; ++x) out.coverage.push_back(g.at(x, y));
  }
  if (dropped < overflow) return g;
  return out;
}

struct TextFontLayout {
  const char* name;
  int width;        // image width = sum of the glyph widths
  int rows;         // glyph rows (image height - 1)
  int minw, maxw;   // allowed glyph widths
  int baseline;     // glyph row that the baseline lies under
  FT_Int32 loadflags;
  // Coverage (0..255) to a pixel value.
  std::uint8_t (*shade)(int coverage);
};

// Darkness of each ink level as seen on the options screen's ramp (0xA05000)
// over white: 1 for black, near 0 for the lightest.
double ramp_darkness(int index) {
  const int q[3] = {0xA0, 0x50, 0x00};
  double c[3];
  for (int k = 0; k < 3; ++k) {
    int v;
    if (index <= 192)
      v = (index - 176) * q[k] / 16;
    else
      v = q[k] + ((255 - q[k]) * (index - 192)) / 64;
    c[k] = v;
  }
  const double y = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
  return 1.0 - y / 255.0;
}

constexpr std::array<int, 17> large_levels{176, 178, 181, 187, 191, 196, 201, 206, 211,
                                           215, 221, 226, 231, 236, 240, 246, 251};

std::uint8_t large_shade(int coverage) {
  const double c = coverage / 255.0;
  double best = c;  // transparent has darkness 0
  int level = 0;
  for (int index : large_levels) {
    const double d = std::fabs(ramp_darkness(index) - c);
    if (d < best) best = d, level = index;
  }
  return static_cast<std::uint8_t>(level);
}

std::uint8_t small_shade(int coverage) {
  if (coverage >= 150) return 176;
  if (coverage >= 96) return 184;
  return 0;
}

// One cell of a text font: the character it draws (0 for an empty cell),
// its advance at the baked size, the width it is given and where in the cell
// the pen starts (in pixels from the cell's left edge).
struct CellPlan {
  unsigned codepoint = 0;
  double ideal = 0.0;
  int width = 0;
  double origin = 0.0;
};

// Advance of a character in font units.
long advance_units(FT_Face face, unsigned codepoint) {
  if (FT_Load_Char(face, codepoint, FT_LOAD_NO_SCALE) != 0) fail("cannot load a glyph");
  return face->glyph->metrics.horiAdvance;
}

// The size of a text font and of its supplement: the face is scaled so that
// the natural advances of codes 32..127 add up to the base image's width.
struct FaceSize {
  double em = 0.0;     // pixels per em
  double units = 0.0;  // the base codes' advances together, in font units
  double ideal(FT_Face face, unsigned codepoint, const TextFontLayout& layout) const {
    return static_cast<double>(advance_units(face, codepoint)) * layout.width / units;
  }
};

FaceSize size_face(FT_Face face, const TextFontLayout& layout) {
  FaceSize size;
  for (int code = 32; code <= 127; ++code) size.units += static_cast<double>(advance_units(face, codepoint_of(code)));
  size.em = layout.width * face->units_per_EM / size.units;
  if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size.em * 64.0)), 72, 72) != 0)
    fail("cannot size the face");
  return size;
}

// The narrowest cell that holds the glyph's ink wherever the pen starts
// inside a pixel, and never narrower than the font's narrowest glyph.
int ink_width(FT_Face face, unsigned codepoint, const TextFontLayout& layout) {
  int need = layout.minw;
  for (double shift : {0.0, 0.25, 0.5, 0.75}) {
    const Rendered g = render(face, codepoint, layout.loadflags, shift);
    int first, last;
    ink_columns(g, first, last);
    need = std::max(need, last - first + 1);
  }
  return need;
}

// Renders the cells, side by side, into a font image whose codes start at
// `first`; the image is as wide as the cells together.
Bytes font_image(FT_Face face, const TextFontLayout& layout, int first, const std::vector<CellPlan>& cells) {
  int width = 0;
  for (const CellPlan& c : cells) width += c.width;
  const int height = layout.rows + 1;
  if (width < 3 + static_cast<int>(cells.size()) || width > 8191) fail("a font image of impossible width");
  Bytes block(4 + static_cast<std::size_t>(width) * height, 0);
  const unsigned word = (static_cast<unsigned>(width) << 3) | 1u;
  block[0] = static_cast<std::uint8_t>(word & 255);
  block[1] = static_cast<std::uint8_t>(word >> 8);
  block[2] = static_cast<std::uint8_t>(height & 255);
  block[3] = static_cast<std::uint8_t>(height >> 8);
  std::uint8_t* pixels = block.data() + 4;
  pixels[0] = 0;
  pixels[1] = static_cast<std::uint8_t>(first);
  pixels[2] = static_cast<std::uint8_t>(first + static_cast<int>(cells.size()) - 1);
  for (std::size_t i = 0; i < cells.size(); ++i) pixels[3 + i] = static_cast<std::uint8_t>(cells[i].width);

  long clippedink = 0;  // coverage that fell outside a glyph's cell
  int cell = 0;
  for (const CellPlan& c : cells) {
    const int w = c.width;
    if (c.codepoint == 0 || w == 0) continue;
    const double whole = std::floor(c.origin);
    Rendered g = render(face, c.codepoint, layout.loadflags, c.origin - whole);
    g = squeeze_top(g, g.top - layout.baseline);
    int ox = static_cast<int>(whole) + g.left;
    // Ink that would cross the cell's edge is moved inside it.
    int inkfirst, inklast;
    ink_columns(g, inkfirst, inklast);
    if (inklast >= inkfirst) {
      if (ox + inklast >= w) ox = w - 1 - inklast;
      if (ox + inkfirst < 0) ox = -inkfirst;
    }
    const int oy = layout.baseline - g.top;
    for (int y = 0; y < g.rows; ++y)
      for (int x = 0; x < g.width; ++x) {
        const int cov = g.at(x, y);
        if (cov == 0) continue;
        const int cx = ox + x;
        const int cy = oy + y;
        if (cx < 0 || cx >= w || cy < 0 || cy >= layout.rows) {
          clippedink += cov;
          if (cov >= faint)
            std::printf("  %s: clipped U+%04X at (%d, %d) coverage %d\n", layout.name, c.codepoint, cx, cy, cov);
          continue;
        }
        pixels[static_cast<std::size_t>(cy + 1) * width + cell + cx] = layout.shade(cov);
      }
    cell += w;
  }
  std::printf("%s, codes %d..%d: %d x %d, clipped ink %.1f pixels\n", layout.name, first,
              first + static_cast<int>(cells.size()) - 1, width, height, static_cast<double>(clippedink) / 255.0);
  return block;
}

// A text font for codes 32..127: the widths are the advances at the baked
// size, rounded so that they add up to the image width exactly.
Bytes bake_text_font(FT_Face face, const TextFontLayout& layout, const FaceSize& size, std::vector<int>& widthsout) {
  std::vector<CellPlan> cells;
  std::vector<double> ideal;
  std::vector<int> minw;
  for (int code = 32; code <= 127; ++code) {
    cells.push_back({codepoint_of(code), size.ideal(face, codepoint_of(code), layout), 0});
    ideal.push_back(cells.back().ideal);
    minw.push_back(ink_width(face, codepoint_of(code), layout));
  }
  widthsout = exact_widths(ideal, minw, layout.width, layout.maxw);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    cells[i].width = widthsout[i];
    // The rounding of the width is shared between both sides of the glyph.
    cells[i].origin = (cells[i].width - cells[i].ideal) / 2.0;
  }
  std::printf("%s: em %.3f px\n", layout.name, size.em);
  return font_image(face, layout, 32, cells);
}

// The letter a Latin-1 character is built on, as a code of the base font
// (the same letter without its accent, or the same sign), or 0.
int base_letter_of(unsigned codepoint) {
  // From U+00C0 on; '.' where a character is a letter of its own.
  constexpr std::string_view letters = "AAAAAA.CEEEEIIII.NOOOOO..UUUUY..aaaaaa.ceeeeiiii.nooooo..uuuuy.y";
  if (codepoint == 0xA0) return ' ';
  if (codepoint == 0xA1) return '!';
  if (codepoint == 0xBF) return '?';
  if (codepoint < 0xC0 || codepoint > 0xFF || letters[codepoint - 0xC0] == '.') return 0;
  return letters[codepoint - 0xC0];
}

// The supplement of a text font: codes 128..255 in their Latin-1 positions,
// at the base font's size, baseline and ink levels. A letter with an accent
// is as wide as its letter in the base font and starts its pen at the same
// place, so the letter itself is drawn with the same pixels; where the accent
// needs a wider cell, the pen moves by whole pixels only. Other signs take
// their rounded advance. Codes without a printable character (the controls
// 128..159, the soft hyphen) are empty.
Bytes bake_supplement(FT_Face face, const TextFontLayout& layout, const FaceSize& size,
                      const std::vector<int>& basewidths) {
  std::vector<CellPlan> cells;
  for (unsigned cp = 128; cp <= 255; ++cp) {
    if (!supplement_draws(cp)) {
      cells.push_back({});
      continue;
    }
    CellPlan c{cp, size.ideal(face, cp, layout), 0, 0.0};
    const int base = base_letter_of(cp);
    const bool asletter = base != 0 && advance_units(face, cp) == advance_units(face, codepoint_of(base));
    const int natural =
        asletter ? basewidths[static_cast<std::size_t>(base - 32)] : static_cast<int>(std::lround(c.ideal));
    c.width = std::max(natural, ink_width(face, cp, layout));
    c.origin = (natural - c.ideal) / 2.0 + std::floor((c.width - natural) / 2.0);
    cells.push_back(c);
  }
  return font_image(face, layout, 128, cells);
}

// The digit font: DejaVu Sans Bold digits, each stretched to fill the 32 rows
// and its own fixed width, less a margin on both sides so that the digits of
// a number never touch. At this size the overshoot of the round digits is
// under a pixel, so every digit simply fills the height.
constexpr std::array<int, 11> digit_offsets{0, 26, 46, 70, 90, 116, 138, 161, 184, 207, 228};
constexpr int digit_rows = 32;
constexpr double digit_margin = 1.5;

Bytes bake_digit_font(FT_Face face) {
  if (FT_Set_Char_Size(face, 0, 600 * 64, 72, 72) != 0) fail("cannot size the bold face");
  std::array<Rendered, 10> big;
  for (int d = 0; d < 10; ++d)
    big[static_cast<std::size_t>(d)] = render(face, static_cast<unsigned>('0' + d), FT_LOAD_NO_HINTING, 0.0);
  const int stripwidth = digit_offsets[10];
  Bytes block(4 + 2 * 11 + static_cast<std::size_t>(stripwidth) * digit_rows, 255);
  block[0] = 8;
  block[1] = 48;
  block[2] = 57;
  block[3] = digit_rows;
  for (int i = 0; i < 11; ++i) {
    block[4 + 2 * i] = static_cast<std::uint8_t>(digit_offsets[static_cast<std::size_t>(i)] & 255);
    block[5 + 2 * i] = static_cast<std::uint8_t>(digit_offsets[static_cast<std::size_t>(i)] >> 8);
  }
  std::uint8_t* strip = block.data() + 26;
  for (int d = 0; d < 10; ++d) {
    const Rendered& g = big[static_cast<std::size_t>(d)];
    // The ink box of the big glyph, which is stretched onto the target cell.
    int x0 = g.width, x1 = 0, y0 = g.rows, y1 = 0;
    for (int y = 0; y < g.rows; ++y)
      for (int x = 0; x < g.width; ++x)
        if (g.at(x, y) != 0) x0 = std::min(x0, x), x1 = std::max(x1, x + 1), y0 = std::min(y0, y), y1 = std::max(y1, y + 1);
    const double sy = static_cast<double>(y1 - y0) / digit_rows;  // source rows per target row
    const int w = digit_offsets[static_cast<std::size_t>(d) + 1] - digit_offsets[static_cast<std::size_t>(d)];
    const double sx = (x1 - x0) / (w - 2.0 * digit_margin);
    for (int ty = 0; ty < digit_rows; ++ty)
      for (int tx = 0; tx < w; ++tx) {
        // Area average of the big glyph over this target pixel.
        const double ax = x0 + (tx - digit_margin) * sx;
        const double bx = ax + sx;
        const double ay = y0 + ty * sy;
        const double by = ay + sy;
        double sum = 0.0;
        double area = 0.0;
        for (int y = static_cast<int>(std::floor(ay)); y < static_cast<int>(std::ceil(by)); ++y) {
          const double hy = std::min(by, y + 1.0) - std::max(ay, static_cast<double>(y));
          for (int x = static_cast<int>(std::floor(ax)); x < static_cast<int>(std::ceil(bx)); ++x) {
            const double hx = std::min(bx, x + 1.0) - std::max(ax, static_cast<double>(x));
            sum += hx * hy * g.at(x, y) / 255.0;
            area += hx * hy;
          }
        }
        const bool ink = area > 0.0 && sum / area >= 0.5;
        strip[static_cast<std::size_t>(ty) * stripwidth + digit_offsets[static_cast<std::size_t>(d)] + tx] =
            ink ? 0 : 255;
      }
  }
  return block;
}

void write_array(std::ostream& out, const char* name, const char* size, const Bytes& bytes) {
  out << "const std::uint8_t " << name << "[" << size << "] = {";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) out << "\n    ";
    out << static_cast<int>(bytes[i]);
    if (i + 1 < bytes.size()) out << ",";
  }
  out << "\n};\n";
}

void write_source(const std::string& path, const Bytes& large, const Bytes& small, const Bytes& digits) {
  std::ofstream out(path, std::ios::binary);
  if (!out) fail("cannot write " + path);
  out << "// The three fonts carried inside the program. Generated by ranvel-fontbake\n"
         "// from DejaVu Sans and DejaVu Sans Bold (Bitstream Vera licence, DejaVu\n"
         "// changes in the public domain: see fonts-licence.txt beside this file);\n"
         "// run the tool again rather than editing the numbers.\n"
         "#include \"assets/fonts.h\"\n\n"
         "// Large text font: 1551 x 33 font image, codes 32..127.\n";
  write_array(out, "LARGE_FONT", "LARGE_FONT_SIZE", large);
  out << "\n// Small text font: 1202 x 25 font image, codes 32..127.\n";
  write_array(out, "SMALL_FONT", "SMALL_FONT_SIZE", small);
  out << "\n// Digit font: 0..9, 32 rows, 0 ink and 255 paper.\n";
  write_array(out, "DIGIT_FONT", "DIGIT_FONT_SIZE", digits);
  if (!out) fail("cannot write " + path);
}

// The width of a font image, from its block header.
int image_width(const Bytes& image) { return (image[0] | (image[1] << 8)) >> 3; }

void write_supplement_source(const std::string& path, const Bytes& large, const Bytes& small) {
  const char* mismatch = "fonts.h must give the width baked here";
  std::ofstream out(path, std::ios::binary);
  if (!out) fail("cannot write " + path);
  out << "// Supplements of the two text fonts: codes 128..255 drawing the Latin-1\n"
         "// characters of those codes, for the texts of languages other than Spanish.\n"
         "// Generated by ranvel-fontbake from DejaVu Sans (see fonts-licence.txt\n"
         "// beside this file); run the tool again rather than editing the numbers.\n"
         "#include \"assets/fonts.h\"\n\n"
      << "static_assert(LARGE_FONT_SUPPLEMENT_WIDTH == " << image_width(large) << ", \"" << mismatch << "\");\n"
      << "static_assert(SMALL_FONT_SUPPLEMENT_WIDTH == " << image_width(small) << ", \"" << mismatch << "\");\n"
      << "\n// Large text font's supplement: " << image_width(large) << " x 33 font image, codes 128..255.\n";
  write_array(out, "LARGE_FONT_SUPPLEMENT", "LARGE_FONT_SUPPLEMENT_SIZE", large);
  out << "\n// Small text font's supplement: " << image_width(small) << " x 25 font image, codes 128..255.\n";
  write_array(out, "SMALL_FONT_SUPPLEMENT", "SMALL_FONT_SUPPLEMENT_SIZE", small);
  if (!out) fail("cannot write " + path);
}

// ---------------------------------------------------------------- preview

struct Canvas {
  Image image = nullptr;
  int width = 0;
  int height = 0;
  std::uint8_t* at(int x, int y) { return IMAGEINFO(image).pixels + static_cast<std::size_t>(y) * width + x; }
};

void fill(Canvas& c, int x1, int y1, int x2, int y2, int colour) {
  DRAWLINE(c.image, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2),
           colour, LINE_KIND_FILLED_BOX);
}

void text(Canvas& c, int x, int y, const std::string& s, const Bytes& font) {
  if (DRAWTEXT(c.image, static_cast<float>(x), static_cast<float>(y), s, font.data()) != 0) fail("DRAWTEXT failed");
}

int text_width(const std::string& s, const Bytes& font) {
  int w = 0;
  for (unsigned char ch : s)
    if (ch >= 32 && ch <= 127) w += font[4 + 3 + (ch - 32)];
  return w;
}

// Copies a rectangle of the canvas enlarged by a whole factor.
void zoom(Canvas& c, int sx, int sy, int w, int h, int dx, int dy, int factor) {
  std::vector<std::uint8_t> copy(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) copy[static_cast<std::size_t>(y) * w + x] = *c.at(sx + x, sy + y);
  for (int y = 0; y < h * factor; ++y)
    for (int x = 0; x < w * factor; ++x) {
      const int tx = dx + x, ty = dy + y;
      if (tx < c.width && ty < c.height)
        *c.at(tx, ty) = copy[static_cast<std::size_t>(y / factor) * w + x / factor];
    }
}

void write_png(const std::string& path, Canvas& c, const std::array<std::uint8_t, 768>& palette) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) fail("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) fail("cannot write " + path);  // NOLINT(cert-err52-cpp): libpng's only error path
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(c.width), static_cast<png_uint_32>(c.height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color pal[256];
  for (int i = 0; i < 256; ++i) pal[i] = png_color{palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2]};
  png_set_PLTE(png, info, pal, 256);
  png_write_info(png, info);
  for (int y = 0; y < c.height; ++y) png_write_row(png, c.at(0, y));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) fail("cannot write " + path);
}

// Texture ramp (176..255) of one colour and the UI ramp (0..15) of another.
std::array<std::uint8_t, 768> preview_palette(std::uint32_t texture, std::uint32_t ui) {
  std::array<std::uint8_t, 768> p{};
  for (int k = 0; k < 3; ++k) {
    const int q = static_cast<int>((texture >> (16 - 8 * k)) & 255);
    for (int i = 0; i <= 16; ++i) p[static_cast<std::size_t>((176 + i) * 3 + k)] = static_cast<std::uint8_t>(i * q / 16);
    for (int i = 1; i <= 63; ++i)
      p[static_cast<std::size_t>((192 + i) * 3 + k)] = static_cast<std::uint8_t>(q + ((255 - q) * i) / 64);
    const int u = static_cast<int>((ui >> (16 - 8 * k)) & 255);
    for (int i = 0; i <= 7; ++i) p[static_cast<std::size_t>(i * 3 + k)] = static_cast<std::uint8_t>(((i + 1) * u) / 8);
    for (int i = 1; i <= 8; ++i)
      p[static_cast<std::size_t>((7 + i) * 3 + k)] = static_cast<std::uint8_t>(u + ((255 - u) * i) / 8);
  }
  // A light paper for the background of the preview (index 16).
  p[16 * 3 + 0] = 250;
  p[16 * 3 + 1] = 246;
  p[16 * 3 + 2] = 238;
  return p;
}

// The information pages as DOMOVE unpacks them, for a look at their layout.
std::array<TextList, 4> stored_pages() {
  std::array<TextList, 4> pages;
  DOMOVE(I_NFO1, I_NFO1_COUNT, pages[0]);
  DOMOVE(I_NFO2, I_NFO2_COUNT, pages[1]);
  DOMOVE(I_NFO3, I_NFO3_COUNT, pages[2]);
  DOMOVE(I_NFOEND, I_NFOEND_COUNT, pages[3]);
  return pages;
}

// A UTF-8 sample in the fonts' code page.
std::string sample(std::string_view utf8) {
  const CodePageText converted = to_code_page(utf8);
  if (!converted.error.empty()) fail("preview sample: " + converted.error);
  return converted.text;
}

// The supplements: texts of the other languages, every printable code from
// 160 on over its cell, and the letters with accents enlarged. The last
// sample puts Spanish letters of the base font beside the supplement's.
// Returns the next free row.
int draw_supplement_preview(Canvas& c, int y, const TextFont& large, const TextFont& small) {
  const std::vector<std::string> samples{sample("Català: l·lí, açò; Galego: ¿Xogas?"),
                                         sample("Português: ação, pôr; Euskara: «Bai» 1º 2ª"),
                                         sample("ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝ"),
                                         sample("àáâãäåçèéêëìíîïñòóôõöùúûüýÿ ßæÆøØ"),
                                         sample("Ça, Àlex, Ãnsia, Ôscar, Ïtaca, Ébano, Ñu"),
                                         "\x7FQui]n? \\ \x7F" + sample("Quién? í ¿")};
  const int top = y;
  for (const std::string& s : samples) {
    if (draw_text(c.image, 10, static_cast<float>(y), s, large) != 0 ||
        draw_text(c.image, 820, static_cast<float>(y + 4), s, small) != 0)
      fail("draw_text failed");
    y += 38;
  }
  // Every code of both supplements over alternating shades.
  for (const TextFont* f : {&large, &small}) {
    const int h = f == &large ? 32 : 24;
    int x = 10;
    for (int ch = 160; ch <= 255; ++ch) {
      const std::string s(1, static_cast<char>(ch));
      const int w = text_width(s, *f);
      if (x + w > c.width - 10) x = 10, y += h + 4;
      fill(c, x, y, x + w - 1, y + h - 1, (ch & 1) ? 10 : 9);
      if (draw_text(c.image, static_cast<float>(x), static_cast<float>(y), s, *f) != 0) fail("draw_text failed");
      x += w;
    }
    y += h + 10;
  }
  // Enlarged: the capitals with accents in both fonts, capitals with accents
  // among small letters in the large font, the first sample in the small one.
  zoom(c, 10, top + 2 * 38, 420, 34, 10, y, 4);
  y += 34 * 4 + 6;
  zoom(c, 820, top + 2 * 38 + 4, 400, 26, 10, y, 4);
  y += 26 * 4 + 6;
  zoom(c, 10, top + 4 * 38, 420, 34, 10, y, 4);
  y += 34 * 4 + 6;
  zoom(c, 820, top + 4, 400, 26, 10, y, 4);
  y += 26 * 4 + 6;
  return y;
}

void draw_preview(const std::string& path, const Bytes& large, const Bytes& small, const Bytes& digits,
                  const Bytes& largesupplement, const Bytes& smallsupplement) {
  // The drawing operations need an open surface: the headless one.
  if (!screen_open() && SETSCREENMODE(800, 600, 8, 1) != 0) fail("cannot open the drawing surface");
  Canvas c;
  c.width = 1700;
  c.height = 3300;
  c.image = NEWIMAGE(c.width, c.height);
  if (c.image == nullptr) fail("cannot make the preview image");
  fill(c, 0, 0, c.width - 1, c.height - 1, 16);

  const std::vector<std::string> samples{"\x7FQui]n llega a 100?", "Todav\\a puedes hacer", "Informaci`n", "S\\",
                                         "|||  H E   G A N A D O  !!!", "[ \\ ] ^ _ ` { | } ~ \x7F",
                                         "Regletas v[lidas para el juego:", "Este n_mero no es v[lido.",
                                         // Split so that the escape \x7F ends before the A.
                                         "ping}ino  ~L  \x7F" "A~L?  A{O  ma^ana"};  // NOLINT(bugprone-suspicious-missing-comma)
  int y = 10;
  for (const std::string& s : samples) {
    text(c, 10, y, s, large);
    text(c, 820, y + 4, s, small);
    y += 38;
  }
  // Every code in both fonts, in two rows each.
  for (int half = 0; half < 2; ++half) {
    std::string s;
    for (int ch = 32 + 48 * half; ch < 80 + 48 * half; ++ch) s.push_back(static_cast<char>(ch));
    text(c, 10, y, s, large);
    y += 38;
  }
  for (int half = 0; half < 2; ++half) {
    std::string s;
    for (int ch = 32 + 48 * half; ch < 80 + 48 * half; ++ch) s.push_back(static_cast<char>(ch));
    text(c, 10, y, s, small);
    y += 30;
  }
  // Cell boundaries of both fonts: each glyph over alternating shades.
  for (int f = 0; f < 2; ++f) {
    const Bytes& font = f == 0 ? large : small;
    int x = 10;
    for (int ch = 32; ch <= 127; ++ch) {
      const int w = font[4 + 3 + (ch - 32)];
      const int h = f == 0 ? 32 : 24;
      if (x + w > c.width - 10) x = 10, y += h + 4;
      fill(c, x, y, x + w - 1, y + h - 1, (ch & 1) ? 10 : 9);
      text(c, x, y, std::string(1, static_cast<char>(ch)), font);
      x += w;
    }
    y += (f == 0 ? 32 : 24) + 10;
  }
  y = draw_supplement_preview(c, y, TextFont{large.data(), largesupplement.data()},
                              TextFont{small.data(), smallsupplement.data()});
  // Small text on the blue panel of the information and message screens.
  fill(c, 0, y, 1699, y + 80, 13);
  text(c, 40, y + 8, "Informaci`n: \x7FQui]n llega a 100?  Todav\\a puedes hacer una jugada v[lida.", small);
  text(c, 40, y + 44, "|||  H E   G A N A D O  !!!   Es empate   Salir   S\\   No   Aceptar", small);
  y += 90;
  // The digit labels 0..100 as stored (one font pixel per pixel), ink 176.
  const int stripwidth = 228;
  const std::uint8_t* strip = digits.data() + 26;
  int x = 10;
  for (int n = 0; n <= 100; ++n) {
    const std::string s = std::to_string(n);
    int w = 0;
    for (char ch : s) w += digit_offsets[static_cast<std::size_t>(ch - '0' + 1)] - digit_offsets[static_cast<std::size_t>(ch - '0')];
    if (x + w > c.width - 10) x = 10, y += 40;
    for (char ch : s) {
      const int d = ch - '0';
      const int off = digit_offsets[static_cast<std::size_t>(d)];
      const int gw = digit_offsets[static_cast<std::size_t>(d + 1)] - off;
      for (int r = 0; r < digit_rows; ++r)
        for (int i = 0; i < gw; ++i)
          if (strip[static_cast<std::size_t>(r) * stripwidth + off + i] == 0) *c.at(x + i, y + r) = 176;
      x += gw;
    }
    x += 14;
  }
  y += 44;
  // The labels painted onto a slanted floor as the game does: floor point per
  // pixel, the coverage of a 2 x 2 cell blended over a floor colour.
  MAPPEDFONT font;
  font.FONTDATA = digits.data();
  INITFONT(font);
  font.LABELHEIGHT = 0.5;
  font.INKCOLOR = 176;
  DEFINENUMBERS(100, font);
  LabelEdgesRow edges{};
  const double scale = 32.0;
  const int floortop = y;
  const int floorrows = 4 * 32 + 40;
  for (int py = 0; py < floorrows; ++py)
    for (int px = 0; px < c.width; ++px) {
      // Screen to floor: a plain shear, enough to judge how the digits read.
      const int row = py % (floorrows / 4);
      const int band = py / (floorrows / 4);
      const double fy = -1.3 - row / scale * 1.1;
      const double fx = band * 26 + px / scale + (row / scale) * 0.25;
      int col = 236 - ((static_cast<int>(std::floor(fx * 3)) + static_cast<int>(std::floor(fy * 3))) & 1) * 6;
      const int n = static_cast<int>(std::lround(fx));
      if (n >= 0 && n <= 100) {
        const std::string s = std::to_string(n);
        DEFINENUMBERFONT(n, font, edges);
        if (fx >= font.LABELX && fx <= edges[s.size()]) col = GETFONTCOLOR8B(fx, fy, s, font, edges, col);
      }
      *c.at(px, floortop + py) = static_cast<std::uint8_t>(col);
    }
  y = floortop + floorrows + 10;
  // Zoomed: the first sample in both fonts and a few labels.
  zoom(c, 10, 10, 420, 34, 10, y, 4);
  y += 34 * 4 + 6;
  zoom(c, 820, 14, 320, 26, 10, y, 4);
  y += 26 * 4 + 6;
  // The stored information pages, each on an 800 x 600 panel, half size.
  const std::array<TextList, 4> pages = stored_pages();
  for (int p = 0; p < 4; ++p) {
    Canvas page;
    page.width = 800;
    page.height = 600;
    page.image = NEWIMAGE(800, 600);
    fill(page, 0, 0, 799, 599, 7);
    fill(page, 20, 20, 779, 579, 13);
    for (long long i = 0; i <= pages[static_cast<std::size_t>(p)].upper(); ++i) {
      const std::string& line = pages[static_cast<std::size_t>(p)][i];
      text(page, 40, static_cast<int>(32 * i + 32), line, small);
      if (40 + text_width(line, small) > 760) std::printf("page %d line %lld runs into the rim\n", p + 1, i);
    }
    const int px = (p % 2) * 850;
    const int py = y + (p / 2) * 610;
    for (int yy = 0; yy < 600; ++yy)
      for (int xx = 0; xx < 800; ++xx)
        if (px + xx < c.width && py + yy < c.height) *c.at(px + xx, py + yy) = *page.at(xx, yy);
    FREEIMAGE(page.image);
  }
  write_png(path, c, preview_palette(0xA05000, 0x40A0FF));
  FREEIMAGE(c.image);
  std::printf("preview written to %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontdir = "/usr/share/fonts/truetype/dejavu";
  std::string outpath = "src/assets/fonts.cpp";
  std::string supplementpath = "src/assets/fonts_supplement.cpp";
  std::string preview;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--fonts" || a == "--out" || a == "--out-supplement" || a == "--preview") && i + 1 < argc) {
      (a == "--fonts" ? fontdir : a == "--out" ? outpath : a == "--out-supplement" ? supplementpath : preview) =
          argv[++i];
    } else {
      std::cerr << "usage: ranvel-fontbake [--fonts DIR] [--out FILE|-] [--out-supplement FILE|-] [--preview PNG]\n";
      return 2;
    }
  }
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) fail("cannot start FreeType");
  FT_Face regular, bold;
  const std::string regularpath = fontdir + "/DejaVuSans.ttf";
  const std::string boldpath = fontdir + "/DejaVuSans-Bold.ttf";
  if (FT_New_Face(lib, regularpath.c_str(), 0, &regular) != 0) fail("cannot read " + regularpath);
  if (FT_New_Face(lib, boldpath.c_str(), 0, &bold) != 0) fail("cannot read " + boldpath);

  const TextFontLayout largelayout{"large font", 1551, 32, 5, 30, 25, FT_LOAD_TARGET_LIGHT, large_shade};
  const TextFontLayout smalllayout{"small font", 1202, 24, 3, 22, 20, FT_LOAD_TARGET_LIGHT, small_shade};
  std::vector<int> largewidths, smallwidths;
  const FaceSize largesize = size_face(regular, largelayout);
  const Bytes large = bake_text_font(regular, largelayout, largesize, largewidths);
  const Bytes largesupplement = bake_supplement(regular, largelayout, largesize, largewidths);
  const FaceSize smallsize = size_face(regular, smalllayout);
  const Bytes small = bake_text_font(regular, smalllayout, smallsize, smallwidths);
  const Bytes smallsupplement = bake_supplement(regular, smalllayout, smallsize, smallwidths);
  const Bytes digits = bake_digit_font(bold);
  if (large.size() != 4 + 1551 * 33 || small.size() != 4 + 1202 * 25 || digits.size() != 7322)
    fail("a baked font has the wrong size");

  if (outpath != "-") {
    write_source(outpath, large, small, digits);
    std::printf("fonts written to %s\n", outpath.c_str());
  }
  if (supplementpath != "-") {
    write_supplement_source(supplementpath, largesupplement, smallsupplement);
    std::printf("supplements written to %s\n", supplementpath.c_str());
  }
  if (!preview.empty()) draw_preview(preview, large, small, digits, largesupplement, smallsupplement);
  FT_Done_Face(regular);
  FT_Done_Face(bold);
  FT_Done_FreeType(lib);
  return 0;
}
