// The procedural floor texture: computed once at start-up, sampled for every
// pixel of every frame.
#include <cmath>

#include "core/row_split.h"
#include "scene/floor.h"

namespace {

double frac(double a) { return a - std::floor(a); }

}  // namespace

// Two slow ripples warp the texel grid (the second one is measured from the
// unwarped y), then two long waves and two triangle waves of 10 texels in x
// and 5 texels in y make the grain. Every step is a double, in this order.
double FLOORTEXTURE(double x, double y) {
  const double dx1 = x - 367.0;
  const double dy1 = y + 4000.0;
  const double ripple1 = 8e-6 * (dx1 * dx1) + 3e-6 * (dy1 * dy1);
  const double xw = x + 10.0 * std::sin(ripple1) + 4.0 * frac(y / 2.0);
  const double dx2 = xw - 5000.0;
  const double dy2 = y - 2000.0;
  const double ripple2 = 2e-5 * (dx2 * dx2) + 3e-5 * (dy2 * dy2);
  const double yw = y + 5.0 * std::sin(ripple2) + 2.0 * frac(0.246 * xw);
  const double sum = 2.0 + std::sin(0.02 * xw) + std::sin(0.1 * yw) + std::fabs(frac(0.1 * xw) - 0.5) +
                     std::fabs(frac(0.2 * yw) - 0.5);
  return 0.2 * sum;
}

// Texel colour from the brightness: 40 steps at the light end of the texture
// ramp, 216..255.
static int32_t texel_colour(double x, double y) {
  return static_cast<int32_t>(std::floor(FLOORTEXTURE(x, y) * 40.0)) + 216;
}

// The texels are written straight into the block, row after row, the rows
// shared between the cores: each texel depends only on its own coordinates.
void PREPARETEXTURE(Image& texture, int32_t width, int32_t height) {
  FREEIMAGE(texture);
  texture = NEWIMAGE(width, height);
  if (texture == nullptr) return;  // no block, nothing to draw into
  std::uint8_t* pixels = IMAGEINFO(texture).pixels;
  split_rows(height, floor_threads(), [&](int32_t first, int32_t end) {
    for (int32_t y = first; y < end; ++y) {
      std::uint8_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      for (int32_t x = 0; x < width; ++x)
        row[x] = static_cast<std::uint8_t>(texel_colour(static_cast<double>(x), static_cast<double>(y)) & 0xFF);
    }
  });
}

int32_t TEXTUREMAP8B(const std::uint8_t* image, double u, double v) {
  const ImageInfo info = IMAGEINFO(check_ref(image));
  return sample_texels(info.pixels, info.width, info.height, u, v);
}
