// The SDL2 backend: one resizable window that shows the page as large as fits
// at its own proportions, the keyboard queue, the mouse, sleeping and the
// clock.
//
// Drawing never touches SDL: the page and the palette live in the surface,
// which hands them over whenever the game polls or waits and either has
// changed; the page is then turned into the window's pixels through a
// 256-entry lookup table and shown. The game only polls between whole drawing
// steps, so a half-drawn frame is never shown, and nothing at all is done
// while nothing changes.
//
// The page is scaled here (window_layout.h: sharp at whole multiples and
// between them, averaged below the page's size) straight into the window's
// own pixels (under X11 a shared-memory image), and only the rows that
// changed are sent. A 3D renderer would do the same work through a texture
// upload and a draw, which costs many times more where the GL is itself in
// software (a virtual X server, a remote desktop). Where the window system
// has no such pixels (some Wayland and macOS set-ups), a renderer shows the
// page, scaled here all the same.
//
// Sounds are mixed on SDL's audio thread. The sound card is opened at the
// first sound, not before, and paused whenever nothing plays; where there is
// none the game plays on in silence, without a word and without trying again.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "core/runtime_error.h"
#include "platform/key_map.h"
#include "platform/platform.h"
#include "platform/pointer_latch.h"
#include "platform/sound_mixer.h"
#include "platform/window_input.h"
#include "platform/window_layout.h"
#ifdef RANVEL_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#endif
#ifdef RANVEL_PRESENT_STATS
#include "platform/present_stats.h"
#endif

namespace {

SDL_Window* window = nullptr;
// What the player asked for on the command line.
WindowChoice choice;
// The fallback: a renderer and a streaming texture of the size the page is
// shown at (the page is scaled here, as for the window's pixels).
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int32_t texture_width = 0;
int32_t texture_height = 0;
int32_t page_width = 0;
int32_t page_height = 0;

// What the window shows: the page last handed over, and the output it was
// drawn into, so that a present sends only what changed.
PageUpdate shown;
bool shown_valid = false;
const SDL_Surface* shown_surface = nullptr;
uint32_t shown_format = 0;
int32_t output_width = 0;
int32_t output_height = 0;

// The palette in the output's pixel format.
uint32_t lookup[256] = {};
// The page scaled at 32 bits, for window pixels of another format and for
// the renderer's texture.
std::vector<uint32_t> staging;

// Only whole multiples of the page (--integer-scale), instead of filling the
// window.
bool integer_scale_only = false;

ScaleRule scale_rule() { return integer_scale_only ? ScaleRule::WHOLE_MULTIPLES : ScaleRule::FILL; }

// The window needs drawing again even though the page did not change
// (exposed, resized, fullscreen toggled).
bool window_dirty = true;

// When the window system was last asked for events.
int64_t last_look_ns = 0;

// The keys, the pointer (in window coordinates) and the buttons.
WindowInput input;

// The sound: switched on or off (M, the command line), the device once it is
// open (0 before, and for ever when it could not be opened), whether it
// runs, and what it plays. The mixer belongs to the audio thread while the
// device runs; the game's thread touches it only with the device locked.
bool sound_on = true;
bool audio_tried = false;
SDL_AudioDeviceID audio_device = 0;
bool audio_running = false;
SoundMixer mixer;
// Set by the audio thread: something is still to be heard.
std::atomic<bool> audio_busy{false};
// Samples the audio thread mixes at a time. SDL's thread wakes for every
// such buffer even while the device is paused (it then sends silence), so
// this is what an idle screen pays once a sound has been played: 2048 (46 ms
// a buffer) halves the cost of 1024 and is still heard with the picture.
constexpr Uint16 AUDIO_BUFFER_SAMPLES = 2048;

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Measurement programs count the presents and time their two halves (the
// game itself is built without the counters).
#ifdef RANVEL_PRESENT_STATS
PresentStats stats;
const char* forced_renderer = nullptr;
int32_t forced_width = 0;
int32_t forced_height = 0;
void note_present(int64_t t0, int64_t t1, int64_t t2) {
  ++stats.presents;
  stats.convert_seconds += static_cast<double>(t1 - t0) * 1e-9;
  stats.show_seconds += static_cast<double>(t2 - t1) * 1e-9;
}
#else
void note_present(int64_t, int64_t, int64_t) {}
#endif

// A build for measuring the game itself (RANVEL_PRESENT_LOG) tells on
// standard error, once a second, how many frames were drawn and presented.
#ifdef RANVEL_PRESENT_LOG
void log_each_second() {
  static int64_t start_ns = 0, second_ns = 0;
  static PresentStats last;
  const int64_t now = now_ns();
  if (start_ns == 0) start_ns = second_ns = now;
  if (now - second_ns < 1000000000) return;
  if (stats.presents != last.presents || stats.frames != last.frames) {
    const double seconds = static_cast<double>(now - second_ns) * 1e-9;
    const int64_t presents = stats.presents - last.presents;
    std::fprintf(stderr, "%7.2f s: %5.1f frames/s drawn, %5.1f presents/s, %.2f ms converting and %.2f ms showing each\n",
                 static_cast<double>(now - start_ns) * 1e-9, static_cast<double>(stats.frames - last.frames) / seconds,
                 static_cast<double>(presents) / seconds,
                 presents > 0 ? 1e3 * (stats.convert_seconds - last.convert_seconds) / static_cast<double>(presents) : 0.0,
                 presents > 0 ? 1e3 * (stats.show_seconds - last.show_seconds) / static_cast<double>(presents) : 0.0);
  }
  last = stats;
  second_ns = now;
}
#else
void log_each_second() {}
#endif

// Four bytes a pixel, each byte one channel: the page may be scaled straight
// into such pixels, byte by byte.
bool channels_are_bytes(const SDL_PixelFormat* f) {
  auto one_byte = [](Uint32 mask) { return mask == 0xFFu || mask == 0xFF00u || mask == 0xFF0000u || mask == 0xFF000000u; };
  return f->BytesPerPixel == 4 && one_byte(f->Rmask) && one_byte(f->Gmask) && one_byte(f->Bmask);
}

// Shows the page in the window's own pixels: the changed rows, or all of
// them when the window was laid out anew or the palette changed.
void present_surface(const PageUpdate& update) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return;
  const std::uint8_t* page = update.pixels;
  const std::uint8_t* palette = update.palette;
  const bool relaid = window_dirty || !shown_valid || surface != shown_surface || surface->w != output_width ||
                      surface->h != output_height || surface->format->format != shown_format;
  const bool recoloured = relaid || update.palette_changed;
  const RowSpan rows = recoloured ? RowSpan{0, page_height - 1} : update.rows;
  if (rows.empty()) return;
  const int64_t t0 = now_ns();
  const int bytes = surface->format->BytesPerPixel;
  const bool direct = channels_are_bytes(surface->format);
  if (recoloured) {
    if (direct) {
      for (int i = 0; i < 256; ++i)
        lookup[i] = SDL_MapRGB(surface->format, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    } else {
      palette_to_lookup(palette, lookup);
    }
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  const BoxRect box = letterbox(surface->w, surface->h, page_width, page_height, scale_rule());
  if (relaid) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  BoxRect written;
  if (direct) {
    written = scale_page(page, page_width, page_height, lookup, box, rows.first, rows.last,
                        static_cast<uint32_t*>(surface->pixels), surface->pitch);
  } else {
    // Scaled at 32 bits first, then turned into the window's depth.
    staging.resize(static_cast<std::size_t>(box.w) * static_cast<std::size_t>(box.h));
    const BoxRect inner =
        scale_page(page, page_width, page_height, lookup, BoxRect{0, 0, box.w, box.h}, rows.first, rows.last,
                  staging.data(), box.w * 4);
    if (inner.h > 0) {
      auto* target = static_cast<std::uint8_t*>(surface->pixels) +
                     static_cast<std::ptrdiff_t>(box.y + inner.y) * surface->pitch +
                     static_cast<std::ptrdiff_t>(box.x) * bytes;
      SDL_ConvertPixels(inner.w, inner.h, SDL_PIXELFORMAT_ARGB8888,
                        staging.data() + static_cast<std::size_t>(inner.y) * static_cast<std::size_t>(box.w),
                        box.w * 4, surface->format->format, target, surface->pitch);
      written = BoxRect{box.x, box.y + inner.y, inner.w, inner.h};
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  shown_valid = true;
  shown_surface = surface;
  shown_format = surface->format->format;
  output_width = surface->w;
  output_height = surface->h;
  window_dirty = false;

  const int64_t t1 = now_ns();
  if (relaid) {
    SDL_UpdateWindowSurface(window);
  } else if (written.w > 0 && written.h > 0) {
    const SDL_Rect rect{written.x, written.y, written.w, written.h};
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
  }
  note_present(t0, t1, now_ns());
}

// A streaming texture of this size for the renderer; false when there is
// none.
bool make_texture(int32_t w, int32_t h) {
  if (texture != nullptr && texture_width == w && texture_height == h) return true;
  if (texture != nullptr) SDL_DestroyTexture(texture);
  texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
  texture_width = texture != nullptr ? w : 0;
  texture_height = texture != nullptr ? h : 0;
  if (texture != nullptr)
    SDL_SetTextureScaleMode(texture, w == page_width && h == page_height ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  return texture != nullptr;
}

// Shows the page through the renderer: the changed rows scaled into the
// staging pixels and sent to a texture of the shown size, which is drawn
// into the window unscaled. A renderer that allows no texture that large
// is given the page at its own size, and scales it itself.
void present_renderer(const PageUpdate& update) {
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  const bool relaid = window_dirty || !shown_valid || ow != output_width || oh != output_height;
  const bool recoloured = relaid || update.palette_changed;
  const RowSpan rows = recoloured ? RowSpan{0, page_height - 1} : update.rows;
  if (rows.empty()) return;
  const BoxRect box = letterbox(ow, oh, page_width, page_height, scale_rule());
  if (box.w < 1 || box.h < 1) return;
  if (relaid && !make_texture(box.w, box.h) && !make_texture(page_width, page_height)) return;
  const int64_t t0 = now_ns();
  if (recoloured) palette_to_lookup(update.palette, lookup);
  const auto tw = static_cast<std::size_t>(texture_width);
  staging.resize(tw * static_cast<std::size_t>(texture_height));
  const BoxRect inner = scale_page(update.pixels, page_width, page_height, lookup,
                                   BoxRect{0, 0, texture_width, texture_height}, rows.first, rows.last, staging.data(),
                                   texture_width * 4);
  if (inner.h > 0) {
    const SDL_Rect changed{0, inner.y, texture_width, inner.h};
    SDL_UpdateTexture(texture, &changed, staging.data() + static_cast<std::size_t>(inner.y) * tw, texture_width * 4);
  }
  shown_valid = true;
  output_width = ow;
  output_height = oh;
  window_dirty = false;

  const int64_t t1 = now_ns();
  const SDL_Rect dest{box.x, box.y, box.w, box.h};
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, &dest);
  SDL_RenderPresent(renderer);
  note_present(t0, t1, now_ns());
}

void present(const PageUpdate& update) {
  if (window == nullptr || update.pixels == nullptr || update.palette == nullptr) return;
  if (update.width != page_width || update.height != page_height) return;
  if (renderer != nullptr)
    present_renderer(update);
  else
    present_surface(update);
}

// The window was uncovered, resized or switched to full screen: the page
// last handed over is shown again whole.
void present_again_if_needed() {
  if (window_dirty && shown.pixels != nullptr) present(shown);
}

// Whole multiples of the page only (true), or the window filled (false, the
// default). The command line's --integer-scale sets it through
// platform_configure; it may be set before or after the window opens.
void set_integer_scale_only(bool on) {
  integer_scale_only = on;
  window_dirty = true;
}

void toggle_fullscreen() {
  const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  window_dirty = true;
}

// SDL's scancodes are the keys' USB usage numbers.
static_assert(SDL_SCANCODE_1 == USAGE_ROW_1 && SDL_SCANCODE_0 == USAGE_ROW_0 && SDL_SCANCODE_KP_1 == USAGE_PAD_1 &&
              SDL_SCANCODE_KP_0 == USAGE_PAD_0);
static_assert(SDL_SCANCODE_RETURN == USAGE_ENTER && SDL_SCANCODE_KP_ENTER == USAGE_PAD_ENTER &&
              SDL_SCANCODE_ESCAPE == USAGE_ESCAPE && SDL_SCANCODE_F11 == USAGE_F11);
static_assert(SDL_SCANCODE_LEFT == USAGE_LEFT && SDL_SCANCODE_RIGHT == USAGE_RIGHT && SDL_SCANCODE_UP == USAGE_UP &&
              SDL_SCANCODE_DOWN == USAGE_DOWN);

KeyStroke key_of(const SDL_KeyboardEvent& e) {
  KeyStroke p = key_of_usage(e.keysym.scancode);
  p.alt = (e.keysym.mod & KMOD_ALT) != 0;
  p.repeat = e.repeat != 0;
  return p;
}

#ifdef RANVEL_X11
// Another program may destroy the window outright (`xdotool windowclose`, a
// desktop's tools, with no window manager to ask the game first). That is a
// close like any other: the game ends with exit code 0 and says nothing.
// The window system reports the destruction as an event; SDL, meanwhile, may
// still ask it about the window, and Xlib's own answer to each refusal
// (BadWindow) would be a message and exit code 1.
Window x_window = 0;
bool x_window_lost = false;
XErrorHandler earlier_error_handler = nullptr;

// Xlib calls this in the middle of whatever SDL was doing, so it only takes
// note; the game ends from the event loop. Other refusals are handled as
// before.
int note_refused_request(Display* display, XErrorEvent* error) {
  if (x_window != 0 && error->resourceid == x_window &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    x_window_lost = true;
    return 0;
  }
  return earlier_error_handler != nullptr ? earlier_error_handler(display, error) : 0;
}
#endif

// Once the window is made (and again if SDL made it anew): which X window is
// ours, and the window system's own events asked for, to hear of its
// destruction.
void note_x_window() {
#ifdef RANVEL_X11
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  x_window = info.info.x11.window;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
#endif
}

bool tells_window_destroyed(const SDL_Event& e) {
#ifdef RANVEL_X11
  const SDL_SysWMmsg* m = e.syswm.msg;
  return x_window != 0 && m != nullptr && m->subsystem == SDL_SYSWM_X11 && m->msg.x11.event.type == DestroyNotify &&
         m->msg.x11.event.xdestroywindow.window == x_window;
#else
  static_cast<void>(e);
  return false;
#endif
}

void end_if_window_lost() {
#ifdef RANVEL_X11
  if (x_window_lost) end_program(0);
#endif
}

// SDL's audio thread asks for the next samples.
void mix_audio(void*, Uint8* stream, int bytes) {
  const bool busy = mixer_fill(mixer, reinterpret_cast<std::int16_t*>(stream), bytes / 2);
  audio_busy.store(busy);
}

// Runs f with standard error sent nowhere: with no sound card the sound
// libraries under SDL write their complaints straight to it.
template <class F>
void with_standard_error_silenced(F f) {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
  f();
  std::fflush(stderr);
  if (saved >= 0) {
    dup2(saved, STDERR_FILENO);
    close(saved);
  }
  if (nowhere >= 0) close(nowhere);
}

// Opens the sound card once; false when there is none, now and from then on.
bool audio_open() {
  if (audio_tried) return audio_device != 0;
  audio_tried = true;
  bool started = false;
  with_standard_error_silenced([&started] {
    started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!started) return;
    SDL_AudioSpec wanted{};
    wanted.freq = SOUND_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = AUDIO_BUFFER_SAMPLES;
    wanted.callback = mix_audio;
    // SDL converts to whatever the card takes.
    audio_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  });
  // With no card, SDL's sound is shut down again, so that nothing of it
  // keeps watching for one. That waits for SDL's watcher to notice (up to a
  // tenth of a second), so it is done beside the game, which goes on.
  if (started && audio_device == 0) std::thread([] { SDL_QuitSubSystem(SDL_INIT_AUDIO); }).detach();
  return audio_device != 0;
}

// Nothing is left to hear: the device rests until the next sound.
void audio_pause_when_done() {
  if (audio_running && !audio_busy.load()) {
    SDL_PauseAudioDevice(audio_device, 1);
    audio_running = false;
  }
}

void toggle_sound() {
  sound_on = !sound_on;
  if (!sound_on && audio_device != 0) {
    SDL_LockAudioDevice(audio_device);
    mixer_stop_all(mixer);
    audio_busy.store(false);
    SDL_UnlockAudioDevice(audio_device);
  }
}

void take_keys(const KeyResult& r) {
  for (const std::string& k : r.keys) input.keys.push_back(k);
  if (r.toggles_sound) toggle_sound();
}

void note_pointer(int32_t x, int32_t y) {
  input.pointer_x = x;
  input.pointer_y = y;
  input.pointer_inside = true;
}

void handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      // Nothing is kept between runs, so closing the window loses nothing.
      end_program(0);
    case SDL_SYSWMEVENT:
      if (tells_window_destroyed(e)) end_program(0);
      break;
    case SDL_KEYDOWN: {
      const KeyResult r = map_key_down(key_of(e.key), input.key_state);
      take_keys(r);
      if (r.toggles_fullscreen && e.key.repeat == 0) toggle_fullscreen();
      break;
    }
    case SDL_TEXTINPUT:
      take_keys(map_typed_text(e.text.text, input.key_state));
      break;
    case SDL_MOUSEMOTION:
      note_pointer(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      note_pointer(e.button.x, e.button.y);
      note_button_down(input.buttons, SDL_BUTTON(e.button.button), e.button.x, e.button.y, e.button.timestamp);
      break;
    case SDL_MOUSEBUTTONUP:
      note_pointer(e.button.x, e.button.y);
      note_button_up(input.buttons, SDL_BUTTON(e.button.button));
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_ENTER:
          input.pointer_inside = true;
          break;
        case SDL_WINDOWEVENT_LEAVE:
          input.pointer_inside = false;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // A release may never reach us once the focus is gone.
          clear_buttons(input.buttons);
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
  end_if_window_lost();
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(e);
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

void platform_configure(const WindowChoice& chosen) {
  choice = chosen;
  set_integer_scale_only(chosen.integer_scale);
  sound_on = !chosen.sound_off;
}

bool platform_open(int32_t width, int32_t height) {
  if (window != nullptr) return true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // The window's pixels are filled here; SDL is asked not to put a 3D
  // renderer between them and the window (a player's environment may still
  // say otherwise).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
#ifdef RANVEL_X11
  XSetIOErrorHandler(end_on_lost_display);
  earlier_error_handler = XSetErrorHandler(note_refused_request);
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
  const int32_t scale = choice.scale > 0 ? choice.scale : choose_window_scale(desk.w, desk.h, width, height);
  int32_t window_width = width * scale, window_height = height * scale;
#ifdef RANVEL_PRESENT_STATS
  if (forced_width > 0 && forced_height > 0) {
    window_width = forced_width;
    window_height = forced_height;
  }
#endif

  // Started in full screen, the window still has its size for when the
  // player leaves it (F11).
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (choice.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window = SDL_CreateWindow("Ranvel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, window_width, window_height,
                            flags);
  if (window == nullptr) {
    std::fprintf(stderr, "Ranvel: cannot open a window: %s\n", SDL_GetError());
    SDL_Quit();
    return false;
  }
  SDL_SetWindowMinimumSize(window, width / 4, height / 4);
  shown_valid = false;
  note_x_window();

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
  if (renderer == nullptr || !make_texture(width, height)) {
    std::fprintf(stderr, "Ranvel: cannot draw in the window: %s\n", SDL_GetError());
    return false;
  }
  SDL_StartTextInput();
  window_dirty = true;
  note_x_window();
  return true;
}

void platform_present(const PageUpdate& update) {
  shown = update;
  present(update);
}

void platform_pump() {
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
  present_again_if_needed();
  audio_pause_when_done();
  log_each_second();
}

void platform_sleep(int32_t ms) {
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
    end_if_window_lost();
    if (got) {
      handle(e);
      drain_events();
      present_again_if_needed();
    }
  }
}

double platform_clock() {
  // The steady clock counts from a point fixed for the run (the machine's
  // start) and never goes back.
  return static_cast<double>(now_ns()) / 1.0e9;
}

bool platform_key_waiting() { return !input.keys.empty(); }

std::string platform_take_key() { return take_oldest_key(input.keys); }

// The window has no controls of its own: the settings come from the command
// line alone.
SettingsChange platform_take_settings() { return SettingsChange{}; }

PlatformMouse platform_mouse() {
  PlatformMouse m;
  if (window == nullptr) return m;
  // A press is reported where it went down, even when the button is already
  // up again or the pointer has left the window since.
  const ButtonReading b = read_buttons(input.buttons, SDL_GetTicks());
  if (!b.at_press && !input.pointer_inside) return m;
  // The pointer is in window coordinates, the page is shown in the output's
  // pixels, which may be more (HiDPI): mapped through what is shown.
  int ww = 0, wh = 0, ow = output_width, oh = output_height;
  SDL_GetWindowSize(window, &ww, &wh);
  if (renderer != nullptr)
    SDL_GetRendererOutputSize(renderer, &ow, &oh);
  else if (!shown_valid)
    SDL_GetWindowSizeInPixels(window, &ow, &oh);
  const PagePoint p = window_to_page(b.at_press ? b.x : input.pointer_x, b.at_press ? b.y : input.pointer_y, ww, wh, ow, oh,
                                     page_width, page_height, scale_rule());
  if (!p.inside) return m;
  m.x = p.x;
  m.y = p.y;
  m.buttons = static_cast<int32_t>(b.buttons);
  return m;
}

#ifdef RANVEL_PRESENT_STATS
void platform_full_frame() { ++stats.frames; }

PresentStats platform_present_stats() {
  PresentStats s = stats;
  s.renderer = renderer != nullptr;
  return s;
}

void platform_reset_present_stats() { stats = PresentStats{}; }

void platform_force_renderer(const char* driver) { forced_renderer = driver; }

void platform_force_window_size(int32_t width, int32_t height) {
  forced_width = width;
  forced_height = height;
}
#else
void platform_full_frame() {}
#endif

void platform_play_sound(const SoundClip& clip) {
  if (!sound_on || !audio_open()) return;
  SDL_LockAudioDevice(audio_device);
  mixer_start(mixer, clip);
  audio_busy.store(true);
  SDL_UnlockAudioDevice(audio_device);
  if (!audio_running) {
    SDL_PauseAudioDevice(audio_device, 0);
    audio_running = true;
  }
}

void platform_error_report(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
