// The SDL2 backend: one resizable window that shows the page letter-boxed and
// scaled without blur, the keyboard queue, the mouse, sleeping and the clock.
//
// Drawing never touches SDL: the page and the palette live in the surface.
// Whenever the game polls or waits, the window's events are gathered and, if
// the page or the palette changed since the last present, the page is turned
// into the window's pixels through a 256-entry lookup table and shown. The
// game only polls between whole drawing steps, so a half-drawn frame is
// never shown, and nothing at all is done while nothing changes.
//
// The page is scaled here, by whole multiples, straight into the window's own
// pixels (under X11 a shared-memory image), and only the rows that changed
// are sent. A 3D renderer would do the same work through a texture upload and
// a draw, which costs many times more where the GL is itself in software
// (a virtual X server, a remote desktop). Where the window system has no
// such pixels (some Wayland and macOS set-ups), a renderer shows the page.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

#include "app/runtime_error.h"
#include "surface/platform.h"
#include "surface/surface.h"
#include "surface/window_math.h"
#ifdef RANVEL_X11
#include <X11/Xlib.h>
#endif
#ifdef RANVEL_PRESENT_STATS
#include "surface/present_stats.h"
#endif

namespace {

SDL_Window* window = nullptr;
// The fallback: a renderer and a streaming texture of the page's size.
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int32_t page_width = 0;
int32_t page_height = 0;

// What the window shows: the page and the palette as last presented, and
// the output it was drawn into, so that a present sends only what changed.
std::vector<std::uint8_t> shown_page;
std::uint8_t shown_palette[256 * 3] = {};
bool shown_valid = false;
const SDL_Surface* shown_surface = nullptr;
uint32_t shown_format = 0;
int32_t output_width = 0;
int32_t output_height = 0;

// The palette in the output's pixel format.
uint32_t lookup[256] = {};
// A page scaled to 32 bits, for window pixels of another depth.
std::vector<uint32_t> staging;

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

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Measurement programs count the presents and time their two halves (the
// game itself is built without the counters).
#ifdef RANVEL_PRESENT_STATS
PRESENTSTATS stats;
const char* forced_renderer = nullptr;
void note_present(int64_t t0, int64_t t1, int64_t t2) {
  ++stats.PRESENTS;
  stats.CONVERTSECONDS += static_cast<double>(t1 - t0) * 1e-9;
  stats.SHOWSECONDS += static_cast<double>(t2 - t1) * 1e-9;
}
void note_unchanged() { ++stats.UNCHANGED; }
#else
void note_present(int64_t, int64_t, int64_t) {}
void note_unchanged() {}
#endif

// A build for measuring the game itself (RANVEL_PRESENT_LOG) tells on
// standard error, once a second, how many frames were drawn and presented.
#ifdef RANVEL_PRESENT_LOG
void log_each_second() {
  static int64_t start_ns = 0, second_ns = 0;
  static PRESENTSTATS last;
  const int64_t now = now_ns();
  if (start_ns == 0) start_ns = second_ns = now;
  if (now - second_ns < 1000000000) return;
  if (stats.PRESENTS != last.PRESENTS || stats.FRAMES != last.FRAMES) {
    const double seconds = static_cast<double>(now - second_ns) * 1e-9;
    const int64_t presents = stats.PRESENTS - last.PRESENTS;
    std::fprintf(stderr, "%7.2f s: %5.1f frames/s drawn, %5.1f presents/s, %.2f ms converting and %.2f ms showing each\n",
                 static_cast<double>(now - start_ns) * 1e-9, static_cast<double>(stats.FRAMES - last.FRAMES) / seconds,
                 static_cast<double>(presents) / seconds,
                 presents > 0 ? 1e3 * (stats.CONVERTSECONDS - last.CONVERTSECONDS) / static_cast<double>(presents) : 0.0,
                 presents > 0 ? 1e3 * (stats.SHOWSECONDS - last.SHOWSECONDS) / static_cast<double>(presents) : 0.0);
  }
  last = stats;
  second_ns = now;
}
#else
void log_each_second() {}
#endif

// Notes the page and palette that the window now shows (rows first..last).
void remember_shown(const std::uint8_t* page, const std::uint8_t* palette, const ROWSPAN& rows) {
  const std::size_t w = static_cast<std::size_t>(page_width);
  std::memcpy(shown_page.data() + rows.FIRST * w, page + rows.FIRST * w, (rows.LAST - rows.FIRST + 1) * w);
  std::memcpy(shown_palette, palette, sizeof shown_palette);
  shown_valid = true;
}

// Shows the page in the window's own pixels.
void present_surface(const std::uint8_t* page, const std::uint8_t* palette) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return;
  const bool relaid = window_dirty || !shown_valid || surface != shown_surface || surface->w != output_width ||
                      surface->h != output_height || surface->format->format != shown_format;
  const bool recoloured = relaid || std::memcmp(shown_palette, palette, sizeof shown_palette) != 0;
  ROWSPAN rows{0, page_height - 1};
  if (!recoloured) {
    // Only the rows that differ from what is shown; none when the page was
    // drawn again just as it was.
    rows = CHANGEDROWS(shown_page.data(), page, page_width, page_height);
    if (rows.EMPTY()) {
      note_unchanged();
      return;
    }
  }
  const int64_t t0 = now_ns();
  const int bytes = surface->format->BytesPerPixel;
  if (recoloured) {
    if (bytes == 4) {
      for (int i = 0; i < 256; ++i)
        lookup[i] = SDL_MapRGB(surface->format, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    } else {
      PALETTETOLOOKUP(palette, lookup);
    }
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  const BOXRECT box = LETTERBOX(surface->w, surface->h, page_width, page_height);
  if (relaid) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  BOXRECT written;
  if (bytes == 4) {
    written = SCALEPAGE(page, page_width, page_height, lookup, box, rows.FIRST, rows.LAST,
                        static_cast<uint32_t*>(surface->pixels), surface->pitch);
  } else {
    // Scaled at 32 bits first, then turned into the window's depth.
    staging.resize(static_cast<std::size_t>(box.W) * static_cast<std::size_t>(box.H));
    const BOXRECT inner =
        SCALEPAGE(page, page_width, page_height, lookup, BOXRECT{0, 0, box.W, box.H}, rows.FIRST, rows.LAST,
                  staging.data(), box.W * 4);
    if (inner.H > 0) {
      auto* target = static_cast<std::uint8_t*>(surface->pixels) +
                     static_cast<std::ptrdiff_t>(box.Y + inner.Y) * surface->pitch +
                     static_cast<std::ptrdiff_t>(box.X) * bytes;
      SDL_ConvertPixels(inner.W, inner.H, SDL_PIXELFORMAT_ARGB8888,
                        staging.data() + static_cast<std::size_t>(inner.Y) * static_cast<std::size_t>(box.W),
                        box.W * 4, surface->format->format, target, surface->pitch);
      written = BOXRECT{box.X, box.Y + inner.Y, inner.W, inner.H};
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  remember_shown(page, palette, rows);
  shown_surface = surface;
  shown_format = surface->format->format;
  output_width = surface->w;
  output_height = surface->h;
  window_dirty = false;

  const int64_t t1 = now_ns();
  if (relaid) {
    SDL_UpdateWindowSurface(window);
  } else if (written.W > 0 && written.H > 0) {
    const SDL_Rect rect{written.X, written.Y, written.W, written.H};
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
  }
  note_present(t0, t1, now_ns());
}

// Shows the page through the renderer: the whole page into the texture, the
// texture drawn into the letter-box.
void present_renderer(const std::uint8_t* page, const std::uint8_t* palette) {
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  const bool relaid = window_dirty || !shown_valid || ow != output_width || oh != output_height;
  const bool recoloured = relaid || std::memcmp(shown_palette, palette, sizeof shown_palette) != 0;
  if (!recoloured && CHANGEDROWS(shown_page.data(), page, page_width, page_height).EMPTY()) {
    note_unchanged();
    return;
  }
  const int64_t t0 = now_ns();
  if (recoloured) PALETTETOLOOKUP(palette, lookup);
  void* dst = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &dst, &pitch) != 0) return;
  CONVERTPAGE(page, page_width, page_height, lookup, static_cast<uint32_t*>(dst), pitch);
  SDL_UnlockTexture(texture);
  remember_shown(page, palette, ROWSPAN{0, page_height - 1});
  output_width = ow;
  output_height = oh;
  window_dirty = false;

  const int64_t t1 = now_ns();
  const BOXRECT box = LETTERBOX(ow, oh, page_width, page_height);
  const SDL_Rect dest{box.X, box.Y, box.W, box.H};
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, &dest);
  SDL_RenderPresent(renderer);
  note_present(t0, t1, now_ns());
}

void present() {
  const IMAGE screen = SCREEN();
  if (window == nullptr || screen == nullptr) return;
  if (renderer != nullptr)
    present_renderer(IMAGEINFO(screen).PIXELS, PALETTEDATA());
  else
    present_surface(IMAGEINFO(screen).PIXELS, PALETTEDATA());
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

#ifdef RANVEL_X11
// The X server has gone away under the window (stopped, or the connection
// broke). Xlib would end the program with exit code 1, after running the
// program's exit handlers against a server that no longer answers. Nothing
// is kept between runs, so the game ends as it does when its window is
// closed: at once, with exit code 0, asking nothing more of the display.
int end_on_lost_display(Display*) {
  std::fputs("Ranvel: the connection to the display was lost; the game ends.\n", stderr);
  std::fflush(stdout);
  std::_Exit(0);
}
#endif

}  // namespace

bool PLATFORMOPEN(int32_t width, int32_t height) {
  if (window != nullptr) return true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // The window's pixels are filled here; SDL is asked not to put a 3D
  // renderer between them and the window (a player's environment may still
  // say otherwise).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
#ifdef RANVEL_X11
  XSetIOErrorHandler(end_on_lost_display);
#endif
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "Ranvel: cannot open a window: %s\n", SDL_GetError());
    return false;
  }
  // With no display to reach, SDL falls back to drivers that draw nowhere
  // ("offscreen", "dummy"): the game would wait for a player who cannot see
  // it. Those are used only when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    std::fprintf(stderr, "Ranvel: cannot open a window: no display to show it on (is DISPLAY or WAYLAND_DISPLAY set?)\n");
    SDL_Quit();
    return false;
  }
  // SDL is not shut down when the game ends: the window system takes the
  // window back with the connection. Shutting down would talk to the display
  // after the game has decided to end: under X11 it destroys the window while
  // SDL's own wake-up message to it may still be on its way over a second
  // connection, and closing that connection then meets the server's refusal
  // of the message (BadWindow), which Xlib answers by ending the program with
  // exit code 1; with the server gone it waits for it for ever.
  page_width = width;
  page_height = height;

  SDL_Rect desk{0, 0, width, height};
  if (SDL_GetDisplayUsableBounds(0, &desk) != 0) SDL_GetDisplayBounds(0, &desk);
  const int32_t scale = CHOOSEWINDOWSCALE(desk.w, desk.h, width, height);

  window = SDL_CreateWindow("Ranvel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale, height * scale,
                            SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window == nullptr) {
    std::fprintf(stderr, "Ranvel: cannot open a window: %s\n", SDL_GetError());
    SDL_Quit();
    return false;
  }
  SDL_SetWindowMinimumSize(window, width / 4, height / 4);
  shown_page.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  shown_valid = false;

  // The window's own pixels where the window system offers them; a
  // measurement build may ask for a renderer instead.
#ifdef RANVEL_PRESENT_STATS
  const bool use_surface = forced_renderer == nullptr;
  if (!use_surface) SDL_SetHint(SDL_HINT_RENDER_DRIVER, forced_renderer);
#else
  constexpr bool use_surface = true;
#endif
  if (use_surface && SDL_GetWindowSurface(window) != nullptr) {
    SDL_StartTextInput();
    window_dirty = true;
    return true;
  }
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
  log_each_second();
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
  if (window == nullptr) return m;
  // A press is reported where it went down, even when the button is already
  // up again or the pointer has left the window since.
  const BUTTONREADING b = READBUTTONS(buttons, SDL_GetTicks());
  if (!b.ATPRESS && !pointer_inside) return m;
  // The pointer is in window coordinates, the page is shown in the output's
  // pixels, which may be more (HiDPI): mapped through what is shown.
  int ww = 0, wh = 0, ow = output_width, oh = output_height;
  SDL_GetWindowSize(window, &ww, &wh);
  if (renderer != nullptr)
    SDL_GetRendererOutputSize(renderer, &ow, &oh);
  else if (!shown_valid)
    SDL_GetWindowSizeInPixels(window, &ow, &oh);
  const PAGEPOINT p = WINDOWTOPAGE(b.ATPRESS ? b.X : pointer_x, b.ATPRESS ? b.Y : pointer_y, ww, wh, ow, oh,
                                   page_width, page_height);
  if (!p.INSIDE) return m;
  m.X = p.X;
  m.Y = p.Y;
  m.BUTTONS = static_cast<int32_t>(b.BUTTONS);
  return m;
}

#ifdef RANVEL_PRESENT_STATS
void PLATFORMFULLFRAME() { ++stats.FRAMES; }

PRESENTSTATS PLATFORMPRESENTSTATS() {
  PRESENTSTATS s = stats;
  s.RENDERER = renderer != nullptr;
  return s;
}

void PLATFORMRESETPRESENTSTATS() { stats = PRESENTSTATS{}; }

void PLATFORMFORCERENDERER(const char* driver) { forced_renderer = driver; }
#else
void PLATFORMFULLFRAME() {}
#endif

void PLATFORMERRORREPORT(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
