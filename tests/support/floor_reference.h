// The floor drawn exactly as its formulas read, one pixel at a time: every
// pixel through SCREENTOFLOORCOORD and TEXTUREMAP8B, the label band through
// DEFINENUMBERFONT and GETFONTCOLOR8B on the font record itself. The fast
// floor of the game must give the same bytes.
#pragma once

#include <charconv>
#include <cmath>
#include <string_view>

#include "scene/floor.h"
#include "scene/projection.h"
#include "text/mapped_font.h"

inline void reference_draw_bg(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target,
                            const SCREENDEF& view) {
  const int32_t width = 2 * view.CENTERX;
  const int32_t height = 2 * view.CENTERY;
  std::uint8_t* pixels = IMAGEINFO(frame).pixels;
  check_ref(texture);
  LabelEdgesRow edges{};
  const int32_t last = target;
  std::size_t k = 0;
  for (int32_t sy = 0; sy < height; ++sy) {
    for (int32_t sx = 0; sx < width; ++sx) {
      double fx = 0.0;
      double fy = 0.0;
      SCREENTOFLOORCOORD(sx, sy, view, fx, fy);
      int32_t col = TEXTUREMAP8B(texture, 5.0 * fx + 80.0, 5.0 * fy + 150.0);
      if (fy >= -2.0 && fy <= -2.0 + font.LABELHEIGHT) {
        // The nearest number, halves going up.
        const double n = std::floor(fx + 0.5);
        if (n >= 0.0 && n <= static_cast<double>(last)) {
          char digits[4];
          const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(n));
          const std::string_view text(digits, static_cast<std::size_t>(written.ptr - digits));
          DEFINENUMBERFONT(static_cast<int32_t>(n), font, edges);
          if (fx >= font.LABELX && fx <= edges[text.size()])
            col = GETFONTCOLOR8B(fx, fy, text, font, edges, col);
        }
      }
      pixels[k] = static_cast<std::uint8_t>(col & 0xFF);
      ++k;
    }
  }
}

inline void reference_options_floor(Image frame, const std::uint8_t* texture, const SCREENDEF& view) {
  constexpr int32_t width = 800;
  constexpr int32_t height = 600;
  std::uint8_t* pixels = IMAGEINFO(frame).pixels;
  check_ref(texture);
  std::size_t k = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      double fx = 0.0;
      double fy = 0.0;
      SCREENTOFLOORCOORD(x, y, view, fx, fy);
      pixels[k] = static_cast<std::uint8_t>(TEXTUREMAP8B(texture, 5.0 * fx + 120.0, 5.0 * fy + 90.0) & 0xFF);
      ++k;
    }
  }
}

// The texture as its formulas read: every texel through FLOORTEXTURE and PUTPIXEL.
inline void reference_texture(Image& texture, int32_t width, int32_t height) {
  FREEIMAGE(texture);
  texture = NEWIMAGE(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      PUTPIXEL(texture, static_cast<float>(x), static_cast<float>(y),
               static_cast<int32_t>(std::floor(FLOORTEXTURE(x, y) * 40.0)) + 216);
}
