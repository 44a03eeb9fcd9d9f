// Checks a screenshot of the real window against the page the replay runner
// drew for the same moment of play. Used by the window play and comfort
// tests.
//
// Usage: compare_window SCREENSHOT.png PAGE.png BOXX BOXY BOXW BOXH
//
// The page is expected inside the screenshot in the box (BOXX, BOXY) of
// BOXW x BOXH pixels, scaled as the scaling rules say (scaled_reference.h):
// every screen pixel must equal the reference exactly. Only pixels that
// cannot depend on the run are compared: the floor texture is made from the
// random generator, which the window seeds from the real clock, and the
// floor, its number labels and the text use the palette entries 176..255;
// a screen pixel is compared when every page pixel it takes from has an
// index below 176 (rods, buttons, message boxes, check boxes). With
// EVERY_PIXEL=1 in the environment every pixel is compared (for a page that
// does not depend on the run, such as the options screen). The
// screenshot's pixels in the bars beside the box, inside the window, must be
// black (pass the window as BARS=X,Y,W,H in the environment to check them).
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "replay/page_png.h"
#include "tests/support/scaled_reference.h"

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
  const bool every_pixel = std::getenv("EVERY_PIXEL") != nullptr && std::string(std::getenv("EVERY_PIXEL")) == "1";
  const ReferenceAxis ax = reference_axis(bw, page.width), ay = reference_axis(bh, page.height);
  auto fixed = [&](int x, int y) {
    for (const ReferenceTap& ty : ay.taps[static_cast<std::size_t>(y)])
      for (const ReferenceTap& tx : ax.taps[static_cast<std::size_t>(x)])
        if (page.pixels[static_cast<std::size_t>(ty.page) * page.width + tx.page] >= 176) return false;
    return true;
  };

  long checked = 0;
  long wrong = 0;
  for (int y = 0; y < bh; ++y) {
    for (int x = 0; x < bw; ++x) {
      if (!every_pixel && !fixed(x, y)) continue;
      const unsigned char* got = at(shot, bx + x, by + y);
      ++checked;
      bool same = true;
      int want[3];
      for (int c = 0; c < 3; ++c) {
        want[c] = reference_channel(page.pixels.data(), page.width, page.palette.data(), ax, ay, x, y, c);
        same = same && got[c] == want[c];
      }
      if (same) continue;
      if (wrong < 5)
        std::printf("  screen (%d, %d) shows %02X%02X%02X, expected %02X%02X%02X\n", bx + x, by + y, got[0], got[1],
                    got[2], want[0], want[1], want[2]);
      ++wrong;
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

  std::printf("%ld of %ld screen pixels as the reference (%dx%d shown, %s)", checked - wrong, checked, bw, bh,
              every_pixel ? "every pixel" : "those of indices below 176");
  if (bar_pixels > 0) std::printf(", %ld of %ld bar pixels black", bar_pixels - bar_wrong, bar_pixels);
  std::printf("\n");
  return (wrong == 0 && bar_wrong == 0 && checked > 10000) ? 0 : 1;
}
