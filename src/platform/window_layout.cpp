// Where and how the page is shown in a window.
#include "platform/window_layout.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

int32_t choose_window_scale(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight) {
  if (pagewidth < 1 || pageheight < 1) return 1;
  const int32_t across = desktopwidth / pagewidth;
  const int32_t down = desktopheight / pageheight;
  return std::max(1, std::min(across, down));
}

BoxRect letterbox(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight) {
  BoxRect r;
  if (outputwidth < 1 || outputheight < 1 || pagewidth < 1 || pageheight < 1) return r;
  const int32_t scale = std::min(outputwidth / pagewidth, outputheight / pageheight);
  if (scale >= 1) {
    r.w = scale * pagewidth;
    r.h = scale * pageheight;
  } else {
    // Smaller than the page: shrunk to fit, the limiting side filled.
    const int64_t ow = outputwidth, oh = outputheight, pw = pagewidth, ph = pageheight;
    if (ow * ph <= oh * pw) {
      r.w = outputwidth;
      r.h = static_cast<int32_t>(std::max<int64_t>(1, ow * ph / pw));
    } else {
      r.h = outputheight;
      r.w = static_cast<int32_t>(std::max<int64_t>(1, oh * pw / ph));
    }
  }
  r.x = (outputwidth - r.w) / 2;
  r.y = (outputheight - r.h) / 2;
  return r;
}

namespace {

// The page coordinate of the centre of window pixel w, in whole arithmetic:
// floor(((w + 0.5) * output / window - offset) * page / shown).
bool window_to_page_axis(int64_t w, int64_t window, int64_t output, int64_t offset, int64_t shown, int64_t page,
                         int32_t& out) {
  const int64_t num = ((2 * w + 1) * output - 2 * offset * window) * page;
  const int64_t den = 2 * shown * window;
  if (num < 0) return false;
  const int64_t p = num / den;
  if (p >= page) return false;
  out = static_cast<int32_t>(p);
  return true;
}

}  // namespace

PagePoint window_to_page(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                       int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight) {
  PagePoint p;
  if (windowwidth < 1 || windowheight < 1) return p;
  const BoxRect box = letterbox(outputwidth, outputheight, pagewidth, pageheight);
  if (box.w < 1 || box.h < 1) return p;
  int32_t x = -1, y = -1;
  if (!window_to_page_axis(windowx, windowwidth, outputwidth, box.x, box.w, pagewidth, x)) return p;
  if (!window_to_page_axis(windowy, windowheight, outputheight, box.y, box.h, pageheight, y)) return p;
  p.x = x;
  p.y = y;
  p.inside = true;
  return p;
}

namespace {

// Eight page indices in one load; index j of them is byte j in memory.
constexpr bool EIGHT_AT_ONCE = std::endian::native == std::endian::little;

// One output row of a page row shown at a whole multiple of its size.
void widen_row(const std::uint8_t* s, int32_t width, int32_t scale, const std::uint32_t* lookup, std::uint32_t* d) {
  int32_t x = 0;
  // Eight pixels at a time, then the rest one by one.
  if (EIGHT_AT_ONCE && scale == 1) {
    for (; x + 8 <= width; x += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, s + x, sizeof w);
      for (int32_t j = 0; j < 8; ++j) d[x + j] = lookup[(w >> (8 * j)) & 0xFF];
    }
  } else if (EIGHT_AT_ONCE && scale == 2) {
    for (; x + 8 <= width; x += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, s + x, sizeof w);
      for (int32_t j = 0; j < 8; ++j) {
        const std::uint32_t v = lookup[(w >> (8 * j)) & 0xFF];
        d[2 * (x + j)] = v;
        d[2 * (x + j) + 1] = v;
      }
    }
  }
  if (scale == 1) {
    for (; x < width; ++x) d[x] = lookup[s[x]];
  } else if (scale == 2) {
    for (; x < width; ++x) d[2 * x] = d[2 * x + 1] = lookup[s[x]];
  } else {
    for (; x < width; ++x) {
      const std::uint32_t v = lookup[s[x]];
      std::uint32_t* p = d + static_cast<std::ptrdiff_t>(x) * scale;
      for (int32_t j = 0; j < scale; ++j) p[j] = v;
    }
  }
}

}  // namespace

void palette_to_lookup(const std::uint8_t* palette, std::uint32_t* lookup) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = 0xFF000000u | (static_cast<std::uint32_t>(palette[i * 3]) << 16) |
                (static_cast<std::uint32_t>(palette[i * 3 + 1]) << 8) | static_cast<std::uint32_t>(palette[i * 3 + 2]);
}

void convert_page(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                 std::uint32_t* out, int32_t pitch) {
  for (int32_t y = 0; y < height; ++y) {
    const std::uint8_t* s = page + static_cast<std::size_t>(y) * width;
    auto* d = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) + static_cast<std::ptrdiff_t>(y) * pitch);
    widen_row(s, width, 1, lookup, d);
  }
}

BoxRect scale_page(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                  const BoxRect& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch) {
  BoxRect written;
  if (page == nullptr || lookup == nullptr || out == nullptr) return written;
  if (pagewidth < 1 || pageheight < 1 || box.w < 1 || box.h < 1 || box.x < 0 || box.y < 0) return written;
  firstrow = std::max(firstrow, 0);
  lastrow = std::min(lastrow, pageheight - 1);
  if (firstrow > lastrow) return written;

  const int64_t pw = pagewidth, ph = pageheight, bw = box.w, bh = box.h;
  const bool whole = bw % pw == 0 && bh % ph == 0 && bw / pw == bh / ph;
  const auto scale = static_cast<int32_t>(bw / pw);
  // Any other size: the page column under the centre of each output column.
  std::vector<int32_t> columns;
  if (!whole) {
    columns.resize(static_cast<std::size_t>(bw));
    for (int64_t x = 0; x < bw; ++x) columns[static_cast<std::size_t>(x)] = static_cast<int32_t>((2 * x + 1) * pw / (2 * bw));
  }

  auto* bytes = reinterpret_cast<std::uint8_t*>(out);
  const std::uint32_t* previous = nullptr;
  int64_t previous_source = -1;
  int64_t top = -1, bottom = -1;
  for (int64_t y = 0; y < bh; ++y) {
    // The page row under the centre of output row y; it never decreases.
    const int64_t source = (2 * y + 1) * ph / (2 * bh);
    if (source < firstrow) continue;
    if (source > lastrow) break;
    auto* d = reinterpret_cast<std::uint32_t*>(bytes + (box.y + y) * static_cast<int64_t>(pitch)) + box.x;
    if (source == previous_source) {
      // The same page row again: a copy of the output row above.
      std::memcpy(d, previous, static_cast<std::size_t>(bw) * sizeof(std::uint32_t));
    } else {
      const std::uint8_t* s = page + source * pw;
      if (whole)
        widen_row(s, pagewidth, scale, lookup, d);
      else
        for (int64_t x = 0; x < bw; ++x) d[x] = lookup[s[columns[static_cast<std::size_t>(x)]]];
    }
    previous = d;
    previous_source = source;
    if (top < 0) top = y;
    bottom = y;
  }
  if (top >= 0) written = BoxRect{box.x, static_cast<int32_t>(box.y + top), box.w, static_cast<int32_t>(bottom - top + 1)};
  return written;
}
