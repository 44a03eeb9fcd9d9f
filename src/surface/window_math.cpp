// The arithmetic of the game window (see window_math.h).
#include "surface/window_math.h"

#include <algorithm>
#include <cstddef>

int32_t CHOOSEWINDOWSCALE(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight) {
  if (pagewidth < 1 || pageheight < 1) return 1;
  const int32_t across = desktopwidth / pagewidth;
  const int32_t down = desktopheight / pageheight;
  return std::max(1, std::min(across, down));
}

BOXRECT LETTERBOX(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight) {
  BOXRECT r;
  if (outputwidth < 1 || outputheight < 1 || pagewidth < 1 || pageheight < 1) return r;
  const int64_t ow = outputwidth, oh = outputheight, pw = pagewidth, ph = pageheight;
  if (ow * ph <= oh * pw) {
    // The width is what limits: bars above and below.
    r.W = outputwidth;
    r.H = static_cast<int32_t>(std::max<int64_t>(1, ow * ph / pw));
  } else {
    r.H = outputheight;
    r.W = static_cast<int32_t>(std::max<int64_t>(1, oh * pw / ph));
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
    for (int32_t x = 0; x < width; ++x) d[x] = lookup[s[x]];
  }
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
