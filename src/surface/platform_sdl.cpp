// The SDL2 backend: one resizable window that shows the page letter-boxed and
// scaled without blur, the keyboard queue, the mouse, sleeping and the clock.
//
// Drawing never touches SDL: the page and the palette live in the surface.
// Whenever the game polls or waits, the window's events are gathered and, if
// the page or the palette changed since the last present, the page is turned
// into 32-bit pixels through a 256-entry lookup table and presented. The
// game only polls between whole drawing steps, so a half-drawn frame is
// never shown, and nothing at all is done while nothing changes.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>

#include "app/runtime_error.h"
#include "surface/platform.h"
#include "surface/surface.h"
#include "surface/window_math.h"

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int32_t page_width = 0;
int32_t page_height = 0;

// The palette as 0xAARRGGBB, rebuilt only when the palette bytes change.
uint32_t lookup[256] = {};
std::uint8_t lookup_source[256 * 3] = {};
bool lookup_valid = false;

// The window needs drawing again even though the page did not change
// (exposed, resized, fullscreen toggled).
bool window_dirty = true;

// When the window system was last asked for events.
int64_t last_look_ns = 0;

std::deque<std::string> keys;
KEYMAPSTATE key_state;

// The pointer from the last mouse event, in window coordinates.
bool pointer_inside = false;
int32_t pointer_x = 0;
int32_t pointer_y = 0;
// The buttons, with the presses the game has not seen yet.
BUTTONLATCH buttons;

void rebuild_lookup(const std::uint8_t* palette) {
  PALETTETOLOOKUP(palette, lookup);
  std::memcpy(lookup_source, palette, sizeof lookup_source);
  lookup_valid = true;
}

// Converts the page into the streaming texture and shows it.
void present() {
  const IMAGE screen = SCREEN();
  if (renderer == nullptr || texture == nullptr || screen == nullptr) return;
  const std::uint8_t* palette = PALETTEDATA();
  if (!lookup_valid || std::memcmp(lookup_source, palette, sizeof lookup_source) != 0) rebuild_lookup(palette);

  void* dst = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &dst, &pitch) == 0) {
    CONVERTPAGE(IMAGEINFO(screen).PIXELS, page_width, page_height, lookup, static_cast<uint32_t*>(dst), pitch);
    SDL_UnlockTexture(texture);
  }

  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  const BOXRECT box = LETTERBOX(ow, oh, page_width, page_height);
  const SDL_Rect dest{box.X, box.Y, box.W, box.H};
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, &dest);
  SDL_RenderPresent(renderer);
  window_dirty = false;
}

void toggle_fullscreen() {
  const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  window_dirty = true;
}

KEYPRESS key_of(const SDL_KeyboardEvent& e) {
  KEYPRESS p;
  p.ALT = (e.keysym.mod & KMOD_ALT) != 0;
  const SDL_Scancode sc = e.keysym.scancode;
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) {
    p.KEY = PKEY_ROWDIGIT;
    p.DIGIT = 1 + (sc - SDL_SCANCODE_1);
  } else if (sc == SDL_SCANCODE_0) {
    p.KEY = PKEY_ROWDIGIT;
    p.DIGIT = 0;
  } else if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    p.KEY = PKEY_PADDIGIT;
    p.DIGIT = 1 + (sc - SDL_SCANCODE_KP_1);
  } else if (sc == SDL_SCANCODE_KP_0) {
    p.KEY = PKEY_PADDIGIT;
    p.DIGIT = 0;
  } else {
    switch (sc) {
      case SDL_SCANCODE_RETURN: p.KEY = PKEY_ENTER; break;
      case SDL_SCANCODE_KP_ENTER: p.KEY = PKEY_PADENTER; break;
      case SDL_SCANCODE_ESCAPE: p.KEY = PKEY_ESCAPE; break;
      case SDL_SCANCODE_LEFT: p.KEY = PKEY_LEFT; break;
      case SDL_SCANCODE_RIGHT: p.KEY = PKEY_RIGHT; break;
      case SDL_SCANCODE_UP: p.KEY = PKEY_UP; break;
      case SDL_SCANCODE_DOWN: p.KEY = PKEY_DOWN; break;
      case SDL_SCANCODE_F11: p.KEY = PKEY_F11; break;
      default: break;
    }
  }
  return p;
}

void note_pointer(int32_t x, int32_t y) {
  pointer_x = x;
  pointer_y = y;
  pointer_inside = true;
}

void handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      // Nothing is kept between runs, so closing the window loses nothing.
      ENDPROGRAM(0);
    case SDL_KEYDOWN: {
      const KEYDOWNRESULT r = MAPKEYDOWN(key_of(e.key), key_state);
      for (const std::string& k : r.KEYS) keys.push_back(k);
      if (r.TOGGLEFULLSCREEN && e.key.repeat == 0) toggle_fullscreen();
      break;
    }
    case SDL_TEXTINPUT:
      for (const std::string& k : MAPTYPEDTEXT(e.text.text, key_state)) keys.push_back(k);
      break;
    case SDL_MOUSEMOTION:
      note_pointer(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      note_pointer(e.button.x, e.button.y);
      NOTEBUTTONDOWN(buttons, SDL_BUTTON(e.button.button), e.button.x, e.button.y, e.button.timestamp);
      break;
    case SDL_MOUSEBUTTONUP:
      note_pointer(e.button.x, e.button.y);
      NOTEBUTTONUP(buttons, SDL_BUTTON(e.button.button));
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_ENTER:
          pointer_inside = true;
          break;
        case SDL_WINDOWEVENT_LEAVE:
          pointer_inside = false;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // A release may never reach us once the focus is gone.
          CLEARBUTTONS(buttons);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          window_dirty = true;
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

void drain_events() {
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(e);
}

void present_if_needed() {
  const bool page_changed = SURFACETAKECHANGED();
  if (page_changed || window_dirty) present();
}

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool PLATFORMOPEN(int32_t width, int32_t height) {
  if (window != nullptr) return true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "Ranvel: cannot open a window: %s\n", SDL_GetError());
    return false;
  }
  std::atexit(SDL_Quit);  // NOLINT(cert-err33-c): if it cannot be registered, SDL is merely not shut down
  page_width = width;
  page_height = height;

  SDL_Rect desk{0, 0, width, height};
  if (SDL_GetDisplayUsableBounds(0, &desk) != 0) SDL_GetDisplayBounds(0, &desk);
  const int32_t scale = CHOOSEWINDOWSCALE(desk.w, desk.h, width, height);

  window = SDL_CreateWindow("Ranvel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale, height * scale,
                            SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window == nullptr) {
    std::fprintf(stderr, "Ranvel: cannot open a window: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(window, width / 4, height / 4);
  renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer != nullptr)
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (renderer == nullptr || texture == nullptr) {
    std::fprintf(stderr, "Ranvel: cannot draw in the window: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
  SDL_StartTextInput();
  window_dirty = true;
  return true;
}

void PLATFORMPUMP() {
  if (window == nullptr) return;
  // One look at the window system, then the queue is drained without looking
  // again (SDL_PollEvent would look once per event). The game polls the keys
  // and the mouse right after every wait, which has just looked, so a look
  // less than 2 ms after the last one is skipped: that is most of the work
  // of an idle screen.
  const int64_t now = now_ns();
  if (now - last_look_ns >= 2000000) {
    SDL_PumpEvents();
    last_look_ns = now;
  }
  drain_events();
  present_if_needed();
}

void PLATFORMSLEEP(int32_t ms) {
  if (ms <= 0) return;
  const int64_t deadline = now_ns() + static_cast<int64_t>(ms) * 1000000;
  if (window == nullptr) {
    SDL_Delay(static_cast<Uint32>(ms));
    return;
  }
  // Sleep in the event wait itself, so input is taken in as it comes and
  // the processor is left alone in between. The caller has just pumped.
  for (;;) {
    const int64_t left_ns = deadline - now_ns();
    if (left_ns <= 0) break;
    const int left_ms = static_cast<int>(std::max<int64_t>(1, (left_ns + 999999) / 1000000));
    SDL_Event e;
    const int got = SDL_WaitEventTimeout(&e, left_ms);
    last_look_ns = now_ns();
    if (got) {
      handle(e);
      drain_events();
      present_if_needed();
    }
  }
}

double PLATFORMCLOCK() {
  // The steady clock counts from a point fixed for the run (the machine's
  // start) and never goes back.
  return static_cast<double>(now_ns()) / 1.0e9;
}

bool PLATFORMKEYWAITING() { return !keys.empty(); }

std::string PLATFORMTAKEKEY() {
  if (keys.empty()) return std::string();
  std::string k = keys.front();
  keys.pop_front();
  return k;
}

PLATFORMMOUSE PLATFORMMOUSESTATE() {
  PLATFORMMOUSE m;
  if (window == nullptr || renderer == nullptr) return m;
  // A press is reported where it went down, even when the button is already
  // up again or the pointer has left the window since.
  const BUTTONREADING b = READBUTTONS(buttons, SDL_GetTicks());
  if (!b.ATPRESS && !pointer_inside) return m;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  const PAGEPOINT p = WINDOWTOPAGE(b.ATPRESS ? b.X : pointer_x, b.ATPRESS ? b.Y : pointer_y, ww, wh, ow, oh,
                                   page_width, page_height);
  if (!p.INSIDE) return m;
  m.X = p.X;
  m.Y = p.Y;
  m.BUTTONS = static_cast<int32_t>(b.BUTTONS);
  return m;
}

void PLATFORMFULLFRAME() {}

void PLATFORMERRORREPORT(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
