// Checks that an X window (or the whole screen) shows a page picture exactly:
// the largest rectangle of the page's proportions that fits, centred, every
// pixel as the scaling rules compute it (scaled_reference.h; at a whole
// multiple each page pixel a square of its palette colour), black around it.
// Used by the window smoke test. Usage: window_shows_page WINDOWID|root PAGE.png
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "tests/support/scaled_reference.h"

namespace {

struct PagePicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
  std::vector<std::uint8_t> palette;  // red, green, blue per entry
};

bool read_page(const char* path, PagePicture& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE || png_get_bit_depth(png, info) != 8) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return false;
  }
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  png_colorp entries = nullptr;
  int count = 0;
  png_get_PLTE(png, info, &entries, &count);
  out.palette.assign(768, 0);
  for (int i = 0; i < count && i < 256; ++i) {
    out.palette[i * 3] = entries[i].red;
    out.palette[i * 3 + 1] = entries[i].green;
    out.palette[i * 3 + 2] = entries[i].blue;
  }
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) png_read_row(png, out.pixels.data() + static_cast<std::size_t>(y) * out.width, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return true;
}

// The 8-bit component of a pixel under a channel mask.
unsigned component(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long bits = mask >> shift;
  const unsigned long value = (pixel & mask) >> shift;
  return static_cast<unsigned>(bits == 255 ? value : value * 255 / bits);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_shows_page WINDOWID|root PAGE.png\n");
    return 2;
  }
  PagePicture page;
  if (!read_page(argv[2], page) || page.width < 1 || page.height < 1) {
    std::fprintf(stderr, "window_shows_page: cannot read %s as a paletted picture\n", argv[2]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "window_shows_page: no display\n");
    return 2;
  }
  const Window target =
      std::strcmp(argv[1], "root") == 0 ? DefaultRootWindow(display) : std::strtoul(argv[1], nullptr, 0);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, target, &attributes) == 0) {
    std::fprintf(stderr, "window_shows_page: no window %s\n", argv[1]);
    return 2;
  }
  const int w = attributes.width, h = attributes.height;
  XImage* image = XGetImage(display, target, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  if (image == nullptr) {
    std::fprintf(stderr, "window_shows_page: cannot read the window's pixels\n");
    return 2;
  }
  const int common = std::gcd(page.width, page.height);
  const int times = std::min(w / (page.width / common), h / (page.height / common));
  const int bw = times * (page.width / common), bh = times * (page.height / common);
  if (times < 1) {
    std::fprintf(stderr, "window_shows_page: a %dx%d window cannot hold the page\n", w, h);
    return 2;
  }
  const int left = (w - bw) / 2, top = (h - bh) / 2;
  const ReferenceAxis ax = reference_axis(bw, page.width), ay = reference_axis(bh, page.height);
  long differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned want[3] = {0, 0, 0};
      const int px = x - left, py = y - top;
      if (px >= 0 && py >= 0 && px < bw && py < bh)
        for (int c = 0; c < 3; ++c)
          want[c] = static_cast<unsigned>(
              reference_channel(page.pixels.data(), page.width, page.palette.data(), ax, ay, px, py, c));
      const unsigned long pixel = XGetPixel(image, x, y);
      const unsigned got[3] = {component(pixel, image->red_mask), component(pixel, image->green_mask),
                               component(pixel, image->blue_mask)};
      if (got[0] != want[0] || got[1] != want[1] || got[2] != want[2]) {
        if (differ == 0)
          std::printf("first difference at window pixel %d,%d: shows %u,%u,%u, page gives %u,%u,%u\n", x, y, got[0],
                      got[1], got[2], want[0], want[1], want[2]);
        ++differ;
      }
    }
  std::printf("%dx%d window, page shown %dx%d from %d,%d: %ld pixels differ\n", w, h, bw, bh, left, top, differ);
  XDestroyImage(image);
  XCloseDisplay(display);
  return differ == 0 ? 0 : 1;
}
