// The background of every frame: the textured floor with the number labels
// painted into it, and the options screen's floor.
#include <charconv>
#include <cmath>
#include <string_view>

#include "app/runtime_error.h"
#include "scene/floor.h"

namespace {

// The frame is written in row order from its first pixel, so the area drawn
// must fit the block: a view whose centre does not match the frame would
// otherwise write past its end.
std::uint8_t* frame_pixels(IMAGE frame, int32_t width, int32_t height) {
  const IMAGEINFORECORD info = IMAGEINFO(CHECKREF(frame));
  const long long have = static_cast<long long>(info.WIDTH) * info.HEIGHT;
  const long long need = static_cast<long long>(width > 0 ? width : 0) * (height > 0 ? height : 0);
  if (need > have) INDEXERROR(IDX(need - 1));
  return info.PIXELS;
}

}  // namespace

void DRAWBG(IMAGE frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target, const SCREENDEF& view) {
  const int32_t width = 2 * view.CENTERX;
  const int32_t height = 2 * view.CENTERY;
  std::uint8_t* pixels = frame_pixels(frame, width, height);
  CHECKREF(texture);
  LABELEDGESROW edges{};
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

void DRAWOPTIONSFLOOR(IMAGE frame, const std::uint8_t* texture, const SCREENDEF& view) {
  constexpr int32_t width = 800;
  constexpr int32_t height = 600;
  std::uint8_t* pixels = frame_pixels(frame, width, height);
  CHECKREF(texture);
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

// The floor is drawn on the calling thread; the setting is kept for later.
static int32_t floor_threads = 1;

int32_t SETFLOORTHREADS(int32_t threads) {
  const int32_t previous = floor_threads;
  floor_threads = threads > 0 ? threads : 1;
  return previous;
}
