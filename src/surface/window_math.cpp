// The arithmetic of the game window (see window_math.h).
#include "surface/window_math.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

int32_t CHOOSEWINDOWSCALE(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight) {
  if (pagewidth < 1 || pageheight < 1) return 1;
  const int32_t across = desktopwidth / pagewidth;
  const int32_t down = desktopheight / pageheight;
  return std::max(1, std::min(across, down));
}

BOXRECT LETTERBOX(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight) {
  BOXRECT r;
  if (outputwidth < 1 || outputheight < 1 || pagewidth < 1 || pageheight < 1) return r;
  const int32_t scale = std::min(outputwidth / pagewidth, outputheight / pageheight);
  if (scale >= 1) {
    r.W = scale * pagewidth;
    r.H = scale * pageheight;
  } else {
    // Smaller than the page: shrunk to fit, the limiting side filled.
    const int64_t ow = outputwidth, oh = outputheight, pw = pagewidth, ph = pageheight;
    if (ow * ph <= oh * pw) {
      r.W = outputwidth;
      r.H = static_cast<int32_t>(std::max<int64_t>(1, ow * ph / pw));
    } else {
      r.H = outputheight;
      r.W = static_cast<int32_t>(std::max<int64_t>(1, oh * pw / ph));
    }
  }
  r.X = (outputwidth - r.W) / 2;
  r.Y = (outputheight - r.H) / 2;
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

PAGEPOINT WINDOWTOPAGE(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                       int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight) {
  PAGEPOINT p;
  if (windowwidth < 1 || windowheight < 1) return p;
  const BOXRECT box = LETTERBOX(outputwidth, outputheight, pagewidth, pageheight);
  if (box.W < 1 || box.H < 1) return p;
  int32_t x = -1, y = -1;
  if (!window_to_page_axis(windowx, windowwidth, outputwidth, box.X, box.W, pagewidth, x)) return p;
  if (!window_to_page_axis(windowy, windowheight, outputheight, box.Y, box.H, pageheight, y)) return p;
  p.X = x;
  p.Y = y;
  p.INSIDE = true;
  return p;
}

void NOTEBUTTONDOWN(BUTTONLATCH& latch, uint32_t mask, int32_t x, int32_t y, int64_t nowms) {
  latch.HELD |= mask;
  const bool listening = latch.READ && nowms - latch.READMS <= BUTTONLISTENMS;
  if (!listening) return;
  if (latch.UNSEEN == 0) {
    latch.PRESSX = x;
    latch.PRESSY = y;
  }
  latch.UNSEEN |= mask;
}

void NOTEBUTTONUP(BUTTONLATCH& latch, uint32_t mask) { latch.HELD &= ~mask; }

void CLEARBUTTONS(BUTTONLATCH& latch) {
  latch.HELD = 0;
  latch.UNSEEN = 0;
}

BUTTONREADING READBUTTONS(BUTTONLATCH& latch, int64_t nowms) {
  BUTTONREADING r;
  r.BUTTONS = latch.HELD | latch.UNSEEN;
  // A press is acted on where it went down.
  if (latch.UNSEEN != 0) {
    r.ATPRESS = true;
    r.X = latch.PRESSX;
    r.Y = latch.PRESSY;
  }
  latch.UNSEEN = 0;
  latch.READ = true;
  latch.READMS = nowms;
  return r;
}

namespace {

// Eight page indices in one load; index j of them is byte j in memory.
constexpr bool EIGHTATONCE = std::endian::native == std::endian::little;

// One output row of a page row shown at a whole multiple of its size.
void widen_row(const std::uint8_t* s, int32_t width, int32_t scale, const std::uint32_t* lookup, std::uint32_t* d) {
  int32_t x = 0;
  // Eight pixels at a time, then the rest one by one.
  if (EIGHTATONCE && scale == 1) {
    for (; x + 8 <= width; x += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, s + x, sizeof w);
      for (int32_t j = 0; j < 8; ++j) d[x + j] = lookup[(w >> (8 * j)) & 0xFF];
    }
  } else if (EIGHTATONCE && scale == 2) {
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

void PALETTETOLOOKUP(const std::uint8_t* palette, std::uint32_t* lookup) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = 0xFF000000u | (static_cast<std::uint32_t>(palette[i * 3]) << 16) |
                (static_cast<std::uint32_t>(palette[i * 3 + 1]) << 8) | static_cast<std::uint32_t>(palette[i * 3 + 2]);
}

void CONVERTPAGE(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                 std::uint32_t* out, int32_t pitch) {
  for (int32_t y = 0; y < height; ++y) {
    const std::uint8_t* s = page + static_cast<std::size_t>(y) * width;
    auto* d = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) + static_cast<std::ptrdiff_t>(y) * pitch);
    widen_row(s, width, 1, lookup, d);
  }
}

BOXRECT SCALEPAGE(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                  const BOXRECT& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch) {
  BOXRECT written;
  if (page == nullptr || lookup == nullptr || out == nullptr) return written;
  if (pagewidth < 1 || pageheight < 1 || box.W < 1 || box.H < 1 || box.X < 0 || box.Y < 0) return written;
  firstrow = std::max(firstrow, 0);
  lastrow = std::min(lastrow, pageheight - 1);
  if (firstrow > lastrow) return written;

  const int64_t pw = pagewidth, ph = pageheight, bw = box.W, bh = box.H;
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
    auto* d = reinterpret_cast<std::uint32_t*>(bytes + (box.Y + y) * static_cast<int64_t>(pitch)) + box.X;
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
  if (top >= 0) written = BOXRECT{box.X, static_cast<int32_t>(box.Y + top), box.W, static_cast<int32_t>(bottom - top + 1)};
  return written;
}

ROWSPAN CHANGEDROWS(const std::uint8_t* before, const std::uint8_t* after, int32_t width, int32_t height) {
  ROWSPAN span;
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
  span.FIRST = first;
  span.LAST = last;
  return span;
}

KEYDOWNRESULT MAPKEYDOWN(const KEYPRESS& press, KEYMAPSTATE& state) {
  KEYDOWNRESULT r;
  // Whatever text the previous press sent has arrived by now.
  state.DROPNEXTTEXT = false;
  switch (press.KEY) {
    case PKEY_ROWDIGIT:
    case PKEY_PADDIGIT:
      if (press.DIGIT >= 0 && press.DIGIT <= 9) {
        r.KEYS.push_back(std::string(1, static_cast<char>('0' + press.DIGIT)));
        state.DROPNEXTTEXT = true;
      }
      break;
    case PKEY_ENTER:
    case PKEY_PADENTER:
      if (press.ALT)
        r.TOGGLEFULLSCREEN = true;
      else
        r.KEYS.push_back(std::string(1, '\r'));
      break;
    case PKEY_ESCAPE:
      r.KEYS.push_back(std::string(1, '\x1B'));
      break;
    case PKEY_LEFT:
      r.KEYS.push_back(std::string("\xFF") + "K");
      break;
    case PKEY_RIGHT:
      r.KEYS.push_back(std::string("\xFF") + "M");
      break;
    case PKEY_UP:
      r.KEYS.push_back(std::string("\xFF") + "H");
      break;
    case PKEY_DOWN:
      r.KEYS.push_back(std::string("\xFF") + "P");
      break;
    case PKEY_F11:
      r.TOGGLEFULLSCREEN = true;
      break;
    case PKEY_OTHER:
      break;
  }
  return r;
}

std::vector<std::string> MAPTYPEDTEXT(std::string_view text, KEYMAPSTATE& state) {
  std::vector<std::string> keys;
  if (state.DROPNEXTTEXT) {
    state.DROPNEXTTEXT = false;
    return keys;
  }
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u <= 126) keys.push_back(std::string(1, c));
  }
  return keys;
}
