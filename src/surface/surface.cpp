// The raster surface: image blocks, the screen page, drawing and the palette.
#include "surface/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "assets/font_image.h"
#include "platform/platform.h"

namespace {


Image screen_block = nullptr;
std::uint8_t palette[256 * 3] = {};
bool changed = false;

// Capacity of every block made by NEWIMAGE, so that a grab can never write
// past the block it was given and a block is never freed twice. The table is
// never destroyed: blocks made at start-up live until the very end of the
// program, and the table is what still knows them then.
std::unordered_map<const std::uint8_t*, std::size_t>& block_sizes() {
  static auto* sizes = new std::unordered_map<const std::uint8_t*, std::size_t>();
  return *sizes;
}

void write_header(std::uint8_t* block, int32_t width, int32_t height) {
  const uint32_t word = (static_cast<uint32_t>(width) << 3) | 1u;
  block[0] = static_cast<std::uint8_t>(word & 0xFF);
  block[1] = static_cast<std::uint8_t>((word >> 8) & 0xFF);
  block[2] = static_cast<std::uint8_t>(height & 0xFF);
  block[3] = static_cast<std::uint8_t>((height >> 8) & 0xFF);
}

void note_drawn(const std::uint8_t* target) {
  if (target != nullptr && target == screen_block) changed = true;
}

// A drawing target that can be written: the pixel pointer and its size.
struct Canvas {
  std::uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  bool valid() const { return pixels != nullptr && width > 0 && height > 0; }
  void plot(int32_t x, int32_t y, std::uint8_t c) const {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y) * width + x] = c;
  }
  // Fills x1..x2 on row y (x1 <= x2), clipped.
  void span(int32_t x1, int32_t x2, int32_t y, std::uint8_t c) const {
    if (y < 0 || y >= height) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, width - 1);
    if (x1 > x2) return;
    std::memset(pixels + static_cast<std::size_t>(y) * width + x1, c, static_cast<std::size_t>(x2 - x1 + 1));
  }
};

Canvas canvas_of(Image target) {
  Canvas c;
  if (target == nullptr || screen_block == nullptr) return c;
  const ImageInfo info = IMAGEINFO(target);
  if (info.bytes_per_pixel != 1) return c;
  c.pixels = info.pixels;
  c.width = info.width;
  c.height = info.height;
  return c;
}

void order(int32_t& a, int32_t& b) {
  if (a > b) std::swap(a, b);
}

void fill_box(const Canvas& c, int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::uint8_t colour) {
  order(x1, x2);
  order(y1, y2);
  const int32_t top = std::max(y1, 0);
  const int32_t bottom = std::min(y2, c.height - 1);
  for (int32_t y = top; y <= bottom; ++y) c.span(x1, x2, y, colour);
}

void trace_line(const Canvas& c, int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::uint8_t colour) {
  if (y1 == y2) {
    c.span(std::min(x1, x2), std::max(x1, x2), y1, colour);
    return;
  }
  if (x1 == x2) {
    const int32_t top = std::max(std::min(y1, y2), 0);
    const int32_t bottom = std::min(std::max(y1, y2), c.height - 1);
    for (int32_t y = top; y <= bottom; ++y) c.plot(x1, y, colour);
    return;
  }
  // The stepping below, done one pixel at a time, puts pixel i of the line
  // (i = 0 .. the longer extent) on the minor axis at
  // floor((2 * minor * i + major) / (2 * major)) steps from the start, where
  // major and minor are the absolute extents. Working that out directly lets
  // the loop visit only the pixels whose major coordinate lies inside the
  // target, so a line from far outside costs no more than one inside.
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y2) - y1;
  const int64_t ax = dx < 0 ? -dx : dx;
  const int64_t ay = dy < 0 ? -dy : dy;
  const int64_t sx = dx < 0 ? -1 : 1;
  const int64_t sy = dy < 0 ? -1 : 1;
  const bool x_major = ax >= ay;
  const int64_t major = x_major ? ax : ay;
  const int64_t minor = x_major ? ay : ax;
  const int64_t start = x_major ? x1 : y1;
  const int64_t step = x_major ? sx : sy;
  const int64_t limit = x_major ? c.width : c.height;
  // Steps i with 0 <= start + step * i < limit.
  int64_t first = step > 0 ? -start : start - (limit - 1);
  int64_t last = step > 0 ? limit - 1 - start : start;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, major);
  const int64_t minor_start = x_major ? y1 : x1;
  const int64_t minor_step = x_major ? sy : sx;
  for (int64_t i = first; i <= last; ++i) {
    const int64_t along = start + step * i;
    const int64_t across = minor_start + minor_step * ((2 * minor * i + major) / (2 * major));
    if (x_major)
      c.plot(static_cast<int32_t>(along), static_cast<int32_t>(across), colour);
    else
      c.plot(static_cast<int32_t>(across), static_cast<int32_t>(along), colour);
  }
}

}  // namespace

int32_t to_pixel(float v) {
  double d = static_cast<double>(v);
  if (!(d > 0.0)) d -= 0.5;
  if (std::isnan(d)) return 0;
  // Far-away positions are only ever clipped; keep them representable.
  d = std::clamp(d, -1.0e9, 1.0e9);
  return static_cast<int32_t>(std::trunc(d));
}

int32_t SETSCREENMODE(int32_t width, int32_t height, int32_t depth, int32_t pages) {
  if (width != PAGE_WIDTH || height != PAGE_HEIGHT || depth != 8 || pages != 1) return 1;
  if (screen_block == nullptr) {
    if (!platform_open(width, height)) return 1;
    screen_block = static_cast<Image>(std::calloc(4 + static_cast<std::size_t>(width) * height, 1));
    if (screen_block == nullptr) return 1;
    write_header(screen_block, width, height);
  }
  changed = true;
  return 0;
}

Image screen_page() { return screen_block; }
bool screen_open() { return screen_block != nullptr; }

Image NEWIMAGE(int32_t width, int32_t height) {
  if (screen_block == nullptr) return nullptr;
  if (width < 1 || height < 1 || width > 8191 || height > 65535) return nullptr;
  const std::size_t size = 4 + static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  auto* block = static_cast<Image>(std::calloc(size, 1));
  if (block == nullptr) return nullptr;
  write_header(block, width, height);
  block_sizes()[block] = size;
  return block;
}

void FREEIMAGE(Image& image) {
  if (image == nullptr) return;
  auto& sizes = block_sizes();
  auto it = sizes.find(image);
  if (it != sizes.end()) {
    sizes.erase(it);
    std::free(image);
  }
  image = nullptr;
}

ImageInfo IMAGEINFO(const std::uint8_t* image) {
  ImageInfo info;
  if (image == nullptr) return info;
  const uint32_t word = static_cast<uint32_t>(image[0]) | (static_cast<uint32_t>(image[1]) << 8);
  info.bytes_per_pixel = static_cast<int32_t>(word & 7u);
  info.width = static_cast<int32_t>(word >> 3);
  info.height = static_cast<int32_t>(image[2]) | (static_cast<int32_t>(image[3]) << 8);
  info.pitch = info.width * std::max(info.bytes_per_pixel, 1);
  info.pixels = const_cast<std::uint8_t*>(image) + 4;
  info.size = 4 + info.pitch * info.height;
  return info;
}

void PUTPIXEL(Image target, float x, float y, int32_t colour) {
  const Canvas c = canvas_of(target);
  if (!c.valid()) return;
  c.plot(to_pixel(x), to_pixel(y), static_cast<std::uint8_t>(colour));
  note_drawn(target);
}

void DRAWLINE(Image target, float x1, float y1, float x2, float y2, int32_t colour, LineKind kind) {
  const Canvas c = canvas_of(target);
  if (!c.valid()) return;
  const auto col = static_cast<std::uint8_t>(colour);
  int32_t px1 = to_pixel(x1), py1 = to_pixel(y1), px2 = to_pixel(x2), py2 = to_pixel(y2);
  switch (kind) {
    case LINE_KIND_LINE:
      trace_line(c, px1, py1, px2, py2, col);
      break;
    case LINE_KIND_BOX:
      order(px1, px2);
      order(py1, py2);
      c.span(px1, px2, py1, col);
      c.span(px1, px2, py2, col);
      for (int32_t y = std::max(py1, 0); y <= std::min(py2, c.height - 1); ++y) {
        c.plot(px1, y, col);
        c.plot(px2, y, col);
      }
      break;
    case LINE_KIND_FILLED_BOX:
      fill_box(c, px1, py1, px2, py2, col);
      break;
  }
  note_drawn(target);
}

void DRAWCIRCLE(Image target, float cx, float cy, int32_t radius, int32_t colour) {
  const Canvas c = canvas_of(target);
  if (!c.valid() || radius < 0) return;
  const auto col = static_cast<std::uint8_t>(colour);
  const int64_t R = radius;
  const int64_t x0 = to_pixel(cx);
  const int64_t y0 = to_pixel(cy);
  // A row keeps the first span drawn on it; rows are tracked by their
  // distance from the centre row.
  std::vector<bool> drawn(static_cast<std::size_t>(R) + 2, false);
  auto span_rows = [&](int64_t left, int64_t right, int64_t down, int64_t up) {
    const int64_t d = down - y0;
    if (d < 0 || d >= static_cast<int64_t>(drawn.size()) || drawn[static_cast<std::size_t>(d)]) return;
    drawn[static_cast<std::size_t>(d)] = true;
    const auto l = static_cast<int32_t>(std::clamp<int64_t>(left, -1, c.width));
    const auto r = static_cast<int32_t>(std::clamp<int64_t>(right, -1, c.width));
    if (down >= 0 && down < c.height) c.span(l, r, static_cast<int32_t>(down), col);
    if (up != down && up >= 0 && up < c.height) c.span(l, r, static_cast<int32_t>(up), col);
  };
  int64_t left = x0 - R, right = x0 + R, down = y0, up = y0, x = R;
  int64_t q = R * R, r = R * R * R, rx = 2 * R * R * R, ry = 0;
  span_rows(left, right, down, up);
  while (x > 0) {
    if (r > 0) {
      down += 1;
      up -= 1;
      ry += 2 * q;
      r -= ry;
      if (r > 0) {
        span_rows(left, right, down, up);
        continue;
      }
    }
    x -= 1;
    left += 1;
    right -= 1;
    rx -= 2 * q;
    r += rx;
    span_rows(left, right, down, up);
  }
  note_drawn(target);
}

namespace {

int32_t blit(Image target, float x, float y, const std::uint8_t* image, BlitMode mode, bool has_rect,
             float fx1, float fy1, float fx2, float fy2) {
  if (screen_block == nullptr || target == nullptr || image == nullptr) return 1;
  const ImageInfo dst = IMAGEINFO(target);
  const ImageInfo src = IMAGEINFO(image);
  if (src.bytes_per_pixel != dst.bytes_per_pixel || dst.bytes_per_pixel != 1) return 1;
  int32_t sx1 = 0, sy1 = 0, sx2 = src.width - 1, sy2 = src.height - 1;
  if (has_rect) {
    sx1 = to_pixel(fx1);
    sy1 = to_pixel(fy1);
    sx2 = to_pixel(fx2);
    sy2 = to_pixel(fy2);
    order(sx1, sx2);
    order(sy1, sy2);
    sx1 = std::max(sx1, 0);
    sy1 = std::max(sy1, 0);
    sx2 = std::min(sx2, src.width - 1);
    sy2 = std::min(sy2, src.height - 1);
  }
  if (sx1 > sx2 || sy1 > sy2) return 0;
  const int32_t dx = to_pixel(x);
  const int32_t dy = to_pixel(y);
  // Clip the destination to the target, moving the source start with it.
  int32_t cx1 = std::max(dx, 0);
  int32_t cy1 = std::max(dy, 0);
  const int64_t cx2 = std::min<int64_t>(static_cast<int64_t>(dx) + (sx2 - sx1), dst.width - 1);
  const int64_t cy2 = std::min<int64_t>(static_cast<int64_t>(dy) + (sy2 - sy1), dst.height - 1);
  if (cx1 <= cx2 && cy1 <= cy2) {
    const auto w = static_cast<std::size_t>(cx2 - cx1 + 1);
    for (int32_t row = cy1; row <= cy2; ++row) {
      const std::uint8_t* s = src.pixels + static_cast<std::size_t>(sy1 + (row - dy)) * src.width + (sx1 + (cx1 - dx));
      std::uint8_t* d = dst.pixels + static_cast<std::size_t>(row) * dst.width + cx1;
      if (mode == BLIT_COPY) {
        std::memmove(d, s, w);
      } else {
        for (std::size_t i = 0; i < w; ++i)
          if (s[i] != 0) d[i] = s[i];
      }
    }
    note_drawn(target);
  }
  if (target == screen_block && dx == 0 && dy == 0 && sx1 == 0 && sy1 == 0 && sx2 - sx1 + 1 == PAGE_WIDTH &&
      sy2 - sy1 + 1 == PAGE_HEIGHT)
    platform_full_frame();
  return 0;
}

}  // namespace

int32_t BLITIMAGE(Image target, float x, float y, const std::uint8_t* image, BlitMode mode) {
  return blit(target, x, y, image, mode, false, 0, 0, 0, 0);
}

int32_t BLITIMAGE(Image target, float x, float y, const std::uint8_t* image, BlitMode mode, float sx1, float sy1,
                  float sx2, float sy2) {
  return blit(target, x, y, image, mode, true, sx1, sy1, sx2, sy2);
}

int32_t GRABIMAGE(Image target, float x1, float y1, float x2, float y2, Image image) {
  if (screen_block == nullptr || target == nullptr || image == nullptr) return 1;
  const ImageInfo src = IMAGEINFO(target);
  if (src.bytes_per_pixel != 1) return 1;
  int32_t px1 = to_pixel(x1), py1 = to_pixel(y1), px2 = to_pixel(x2), py2 = to_pixel(y2);
  order(px1, px2);
  order(py1, py2);
  if (px1 < 0 || py1 < 0 || px2 >= src.width || py2 >= src.height) return 1;
  const int32_t w = px2 - px1 + 1;
  const int32_t h = py2 - py1 + 1;
  if (w > 8191 || h > 65535) return 1;
  const std::size_t need = 4 + static_cast<std::size_t>(w) * h;
  // The block must be one made by NEWIMAGE (or the screen) and large enough.
  auto& sizes = block_sizes();
  auto it = sizes.find(image);
  const std::size_t have = it != sizes.end() ? it->second
                           : image == screen_block ? 4 + static_cast<std::size_t>(PAGE_WIDTH) * PAGE_HEIGHT
                                                   : 0;
  if (have < need) return 1;
  write_header(image, w, h);
  for (int32_t row = 0; row < h; ++row)
    std::memmove(image + 4 + static_cast<std::size_t>(row) * w,
                 src.pixels + static_cast<std::size_t>(py1 + row) * src.width + px1, static_cast<std::size_t>(w));
  note_drawn(image);
  return 0;
}

int32_t DRAWTEXT(Image target, float x, float y, std::string_view text, const std::uint8_t* font) {
  if (screen_block == nullptr || target == nullptr || font == nullptr) return 1;
  const ImageInfo dst = IMAGEINFO(target);
  const ImageInfo fnt = IMAGEINFO(font);
  if (fnt.bytes_per_pixel != dst.bytes_per_pixel) return 0;
  const GlyphTable glyphs = glyph_table(font);
  if (!glyphs.usable) return 0;
  int32_t cx = to_pixel(x);
  const int32_t cy = to_pixel(y);
  bool drew = false;
  for (unsigned char ch : text) {
    if (cx >= dst.width) break;
    const int32_t w = glyphs.width[ch];
    if (w == 0) continue;
    for (int32_t r = 0; r < glyphs.rows; ++r) {
      const int32_t ty = cy + r;
      if (ty < 0 || ty >= dst.height) continue;
      const std::uint8_t* s = fnt.pixels + static_cast<std::size_t>(r + 1) * fnt.width + glyphs.start[ch];
      std::uint8_t* d = dst.pixels + static_cast<std::size_t>(ty) * dst.width;
      for (int32_t i = 0; i < w; ++i) {
        const int32_t tx = cx + i;
        if (tx < 0 || tx >= dst.width) continue;
        if (s[i] != 0) d[tx] = s[i];
      }
    }
    drew = true;
    cx += w;
  }
  if (drew) note_drawn(target);
  return 0;
}

int32_t draw_text(Image target, float x, float y, std::string_view text, const TextFont& font) {
  // Runs of bytes below 128 and of bytes from 128 on, each drawn with its
  // font image where the run before it ended.
  int32_t cx = to_pixel(x);
  std::size_t i = 0;
  do {
    const bool high = i < text.size() && static_cast<unsigned char>(text[i]) >= 128;
    std::size_t end = i;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) >= 128) == high) ++end;
    const std::string_view run = text.substr(i, end - i);
    const std::uint8_t* image = high ? font.supplement : font.base;
    if (const int32_t code = DRAWTEXT(target, static_cast<float>(cx), y, run, image); code != 0) return code;
    cx += text_width(run, image);
    i = end;
  } while (i < text.size());
  return 0;
}

void SETPALETTE(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (screen_block == nullptr) return;
  const int32_t i = index & 255;
  palette[i * 3 + 0] = static_cast<std::uint8_t>(red);
  palette[i * 3 + 1] = static_cast<std::uint8_t>(green);
  palette[i * 3 + 2] = static_cast<std::uint8_t>(blue);
  changed = true;
}

const std::uint8_t* palette_data() { return palette; }

namespace {

// What the platform was last given to show.
std::vector<std::uint8_t> presented_page;
std::uint8_t presented_palette[256 * 3] = {};
bool presented_any = false;

}  // namespace

void present_page() {
  if (!changed || screen_block == nullptr) return;
  changed = false;
  const ImageInfo info = IMAGEINFO(screen_block);
  const std::size_t bytes = static_cast<std::size_t>(PAGE_WIDTH) * PAGE_HEIGHT;
  PageUpdate update;
  update.pixels = info.pixels;
  update.width = PAGE_WIDTH;
  update.height = PAGE_HEIGHT;
  update.palette = palette;
  update.palette_changed = !presented_any || std::memcmp(presented_palette, palette, sizeof palette) != 0;
  update.rows = presented_any ? changed_rows(presented_page.data(), info.pixels, PAGE_WIDTH, PAGE_HEIGHT)
                              : RowSpan{0, PAGE_HEIGHT - 1};
  // A page drawn again just as it was needs no present.
  if (update.rows.empty() && !update.palette_changed) return;
  presented_page.resize(bytes);
  if (!update.rows.empty()) {
    const std::size_t from = static_cast<std::size_t>(update.rows.first) * PAGE_WIDTH;
    const std::size_t count = static_cast<std::size_t>(update.rows.last - update.rows.first + 1) * PAGE_WIDTH;
    std::memcpy(presented_page.data() + from, info.pixels + from, count);
  }
  std::memcpy(presented_palette, palette, sizeof palette);
  presented_any = true;
  platform_present(update);
}

RowSpan changed_rows(const std::uint8_t* before, const std::uint8_t* after, int32_t width, int32_t height) {
  RowSpan span;
  if (before == nullptr || after == nullptr || width < 1 || height < 1) return span;
  const auto row_differs = [&](int32_t y) {
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    return std::memcmp(before + at, after + at, static_cast<std::size_t>(width)) != 0;
  };
  int32_t first = 0;
  while (first < height && !row_differs(first)) ++first;
  if (first == height) return span;
  int32_t last = height - 1;
  while (last > first && !row_differs(last)) --last;
  span.first = first;
  span.last = last;
  return span;
}
