// Checks a screenshot of the real window against the page the replay runner
// drew for the same moment of play. Used by the window play test.
//
// Usage: compare_window SCREENSHOT.png PAGE.png BOXX BOXY BOXW BOXH
//
// The page is expected inside the screenshot in the box (BOXX, BOXY) of
// BOXW x BOXH pixels, scaled without blur. Only pixels that cannot depend on
// the run are compared: the floor texture is made from the random generator,
// which the window seeds from the real clock, and the floor, its number
// labels and the text use the palette entries 176..255; every pixel whose
// page index is below 176 (rods, buttons, message boxes, check boxes) must
// show exactly its palette colour. With a whole-number scale every screen
// pixel of such a page pixel is checked (no blur, no seam); otherwise the one
// in the middle of its span. The screenshot's pixels in the bars beside the
// box, inside the window, must be black (pass the window as BARS=X,Y,W,H in
// the environment to check them).
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "replay/page_png.h"

namespace {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // 3 bytes a pixel
};

bool read_rgb(const char* path, RgbImage& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return false;
  image.format = PNG_FORMAT_RGB;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) return false;
  return true;
}

const unsigned char* at(const RgbImage& img, int x, int y) {
  return &img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 3];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: compare_window SCREENSHOT.png PAGE.png BOXX BOXY BOXW BOXH\n");
    return 2;
  }
  RgbImage shot;
  if (!read_rgb(argv[1], shot)) {
    std::fprintf(stderr, "compare_window: cannot read %s\n", argv[1]);
    return 2;
  }
  const PagePng page = read_page_png(argv[2]);
  if (!page.ok || page.palette.size() != 768) {
    std::fprintf(stderr, "compare_window: cannot read the page %s\n", argv[2]);
    return 2;
  }
  const int bx = std::atoi(argv[3]);
  const int by = std::atoi(argv[4]);
  const int bw = std::atoi(argv[5]);
  const int bh = std::atoi(argv[6]);
  if (bx < 0 || by < 0 || bw <= 0 || bh <= 0 || bx + bw > shot.width || by + bh > shot.height) {
    std::fprintf(stderr, "compare_window: the box does not lie inside the %dx%d screenshot\n", shot.width,
                 shot.height);
    return 2;
  }
  const bool whole = bw % page.width == 0 && bh % page.height == 0 && bw / page.width == bh / page.height;
  const int scale = whole ? bw / page.width : 0;

  long checked = 0;
  long wrong = 0;
  auto check = [&](int sx, int sy, int px, int py, int index) {
    const unsigned char* want = &page.palette[static_cast<std::size_t>(index) * 3];
    const unsigned char* got = at(shot, sx, sy);
    ++checked;
    if (got[0] == want[0] && got[1] == want[1] && got[2] == want[2]) return;
    if (wrong < 5)
      std::printf("  page (%d, %d) index %d: screen (%d, %d) shows %02X%02X%02X, expected %02X%02X%02X\n", px, py,
                  index, sx, sy, got[0], got[1], got[2], want[0], want[1], want[2]);
    ++wrong;
  };

  for (int py = 0; py < page.height; ++py) {
    for (int px = 0; px < page.width; ++px) {
      const int index = page.pixels[static_cast<std::size_t>(py) * page.width + px];
      if (index >= 176) continue;
      if (whole) {
        for (int j = 0; j < scale; ++j)
          for (int i = 0; i < scale; ++i) check(bx + px * scale + i, by + py * scale + j, px, py, index);
      } else {
        const int sx = bx + static_cast<int>((px + 0.5) * bw / page.width);
        const int sy = by + static_cast<int>((py + 0.5) * bh / page.height);
        check(sx, sy, px, py, index);
      }
    }
  }

  long bar_pixels = 0;
  long bar_wrong = 0;
  if (const char* bars = std::getenv("BARS")) {
    int wx = 0, wy = 0, ww = 0, wh = 0;
    if (std::sscanf(bars, "%d,%d,%d,%d", &wx, &wy, &ww, &wh) == 4) {
      for (int y = wy; y < wy + wh && y < shot.height; ++y) {
        for (int x = wx; x < wx + ww && x < shot.width; ++x) {
          if (x >= bx && x < bx + bw && y >= by && y < by + bh) continue;
          ++bar_pixels;
          const unsigned char* p = at(shot, x, y);
          if (p[0] != 0 || p[1] != 0 || p[2] != 0) ++bar_wrong;
        }
      }
    }
  }

  std::printf("%ld of %ld page pixels as drawn (scale %s)", checked - wrong, checked,
              whole ? std::to_string(scale).c_str() : "not whole");
  if (bar_pixels > 0) std::printf(", %ld of %ld bar pixels black", bar_pixels - bar_wrong, bar_pixels);
  std::printf("\n");
  return (wrong == 0 && bar_wrong == 0 && checked > 10000) ? 0 : 1;
}
