// The web backend (Emscripten): the page shown in a canvas of the web page,
// the keyboard, the pointer (mouse, pen and touch alike), sleeping and the
// clock. Its JavaScript half is platform_web.js; the page around the canvas
// (scaling, the pointer's position, buttons) is web/page.js.
//
// The surface hands over the page, its palette and the rows that changed;
// only those rows are turned into RGBA through a 256-entry lookup table and
// put into the canvas. The game's blocking loops stay as they are: a sleep
// hands the browser back its thread (Asyncify) until the time is up, and the
// input arrives meanwhile.
//
// Sounds are played through Web Audio by the JavaScript half; it makes the
// audio context at the player's first key or press, as browsers require, and
// drops the sounds before that. The sound is switched off and on here (M, the
// command line's choice) and by the page (web_change_settings).
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/key_map.h"
#include "platform/platform.h"
#include "platform/pointer_latch.h"
#include "platform/web.h"
#include "platform/window_input.h"

extern "C" {
// platform_web.js
int web_open(int width, int height);
void web_show_rows(const std::uint32_t* pixels, int width, int height, int first, int count);
void web_sleep(int ms);
void web_report_error(const char* text);
void web_game_ended(int code);
void web_settings_shown(int level, int hints);
void web_play_sound(int number, const std::int16_t* samples, int count, int rate);
void web_sound_switched(int on);
}

namespace {

int32_t page_width = 0;
int32_t page_height = 0;
bool opened = false;

// What the canvas shows, as indices and palette (for the page's tests), and
// as the canvas holds it: RGBA words, red in the lowest byte.
std::vector<std::uint8_t> shown_page;
std::uint8_t shown_palette[256 * 3] = {};
std::uint32_t lookup[256] = {};
std::vector<std::uint32_t> rgba;

// What the page's controls changed and the game has not yet taken.
SettingsChange settings;

// The keys, the pointer (in page pixels: positions arrive already mapped
// from the size the page is shown at, web/page.js) and the buttons.
WindowInput input;

int64_t frames = 0;

bool sound_on = true;

int64_t now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

void palette_to_rgba(const std::uint8_t* palette) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = 0xFF000000u | static_cast<std::uint32_t>(palette[3 * i]) |
                (static_cast<std::uint32_t>(palette[3 * i + 1]) << 8) |
                (static_cast<std::uint32_t>(palette[3 * i + 2]) << 16);
}

KeyStroke key_of(const EmscriptenKeyboardEvent& e) {
  KeyStroke p = key_of_dom_code(e.code);
  p.alt = e.altKey;
  p.repeat = e.repeat;
  return p;
}

void set_sound(bool on) {
  if (on == sound_on) return;
  sound_on = on;
  web_sound_switched(on ? 1 : 0);
}

// Keys the game knows come by where they are on the keyboard, as on the
// desktop; letters and signs by the character the key gives (the browser
// hands it over with the key itself, so there is no separate text event).
// The browser's own shortcuts (with Ctrl or Cmd) are left alone.
EM_BOOL on_key_down(int, const EmscriptenKeyboardEvent* e, void*) {
  if (e->ctrlKey || e->metaKey) return EM_FALSE;
  const KeyStroke press = key_of(*e);
  const KeyResult r = map_key_down(press, input.key_state);
  for (const std::string& k : r.keys) input.keys.push_back(k);
  // Full screen is the page's (web/page.js): a browser grants it only from
  // the page's own event handler.
  if (r.toggles_fullscreen || press.key == PKEY_F11) return EM_FALSE;
  if (!r.keys.empty()) return EM_TRUE;
  if (std::strlen(e->key) == 1) {
    input.key_state.drop_next_text = false;
    const KeyResult typed = map_typed_text(e->key, input.key_state);
    for (const std::string& k : typed.keys) input.keys.push_back(k);
    if (typed.toggles_sound) set_sound(!sound_on);
    return typed.keys.empty() && !is_sound_key(e->key) ? EM_FALSE : EM_TRUE;
  }
  return EM_FALSE;
}

bool on_page(int32_t x, int32_t y) { return x >= 0 && y >= 0 && x < page_width && y < page_height; }

// A button number of the DOM (0 main, 1 middle, 2 secondary, 3, 4) as the
// bit the game reads.
bool button_mask(int32_t button, uint32_t& mask) {
  if (button < 0 || button > 15) return false;
  mask = 1u << static_cast<uint32_t>(button);
  return true;
}

}  // namespace

// The pointer, from web/page.js, in page pixels; a position off the page
// counts as outside. A touch that ends leaves the pointer outside (touch has
// no hover), so nothing stays lit after a tap.
extern "C" EMSCRIPTEN_KEEPALIVE void web_pointer_move(int32_t x, int32_t y) {
  input.pointer_inside = on_page(x, y);
  if (input.pointer_inside) {
    input.pointer_x = x;
    input.pointer_y = y;
  }
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_pointer_down(int32_t x, int32_t y, int32_t button) {
  web_pointer_move(x, y);
  uint32_t mask = 0;
  if (input.pointer_inside && button_mask(button, mask)) note_button_down(input.buttons, mask, x, y, now_ms());
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_pointer_up(int32_t button) {
  uint32_t mask = 0;
  if (button_mask(button, mask)) note_button_up(input.buttons, mask);
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_pointer_leave() { input.pointer_inside = false; }

// The page lost the focus, or the browser took the pointer away: a release
// may never come.
extern "C" EMSCRIPTEN_KEEPALIVE void web_pointer_clear() { clear_buttons(input.buttons); }

// A teacher changed a control of the page (-1: that one did not change).
// The game takes the level and the hints at its next turn or frame; the
// sound, switched on (1) or off (0), changes at once here, where it is
// mixed, as with M (the page is told through Module.on_sound_switched).
extern "C" EMSCRIPTEN_KEEPALIVE void web_change_settings(int32_t level, int32_t hints, int32_t sound) {
  if (level >= 0) settings.level = level;
  if (hints >= 0) settings.hints = hints;
  if (sound >= 0) set_sound(sound != 0);
}
// Whether the sound is on, for the page's switch.
extern "C" EMSCRIPTEN_KEEPALIVE int web_sound_on() { return sound_on ? 1 : 0; }

// For the page's tests and measurements: the page as shown last and its
// palette, and how many whole frames the game has drawn.
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint8_t* web_shown_page() { return shown_page.data(); }
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint8_t* web_shown_palette() { return shown_palette; }
extern "C" EMSCRIPTEN_KEEPALIVE double web_frame_count() { return static_cast<double>(frames); }

// The page lays itself out in the browser window and cannot start in full
// screen (a browser grants that only to the player's own gesture): of the
// command line's choices only the sound counts here.
void platform_configure(const WindowChoice& choice) { set_sound(!choice.sound_off); }

bool platform_open(int32_t width, int32_t height) {
  if (opened) return true;
  if (width < 1 || height < 1 || web_open(width, height) == 0) {
    web_report_error("Ranvel: the page has no canvas to draw in");
    return false;
  }
  page_width = width;
  page_height = height;
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  shown_page.assign(size, 0);
  rgba.assign(size, 0xFF000000u);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, on_key_down);
  opened = true;
  return true;
}

void platform_present(const PageUpdate& update) {
  if (!opened || update.pixels == nullptr || update.palette == nullptr || update.width != page_width ||
      update.height != page_height)
    return;
  RowSpan rows = update.palette_changed ? RowSpan{0, page_height - 1} : update.rows;
  rows.first = std::max(rows.first, 0);
  rows.last = std::min(rows.last, page_height - 1);
  if (rows.empty()) return;
  if (update.palette_changed) {
    palette_to_rgba(update.palette);
    std::memcpy(shown_palette, update.palette, sizeof shown_palette);
  }
  const std::size_t w = static_cast<std::size_t>(page_width);
  const std::size_t from = static_cast<std::size_t>(rows.first) * w;
  const std::size_t to = static_cast<std::size_t>(rows.last + 1) * w;
  for (std::size_t i = from; i < to; ++i) rgba[i] = lookup[update.pixels[i]];
  std::memcpy(shown_page.data() + from, update.pixels + from, to - from);
  web_show_rows(rgba.data(), page_width, page_height, rows.first, rows.last - rows.first + 1);
}

// Input arrives through the page's event handlers while the game sleeps.
void platform_pump() {}

void platform_sleep(int32_t ms) {
  if (ms > 0) web_sleep(ms);
}

double platform_clock() { return emscripten_get_now() / 1000.0; }

bool platform_key_waiting() { return !input.keys.empty(); }

std::string platform_take_key() { return take_oldest_key(input.keys); }

PlatformMouse platform_mouse() {
  PlatformMouse m;
  if (!opened) return m;
  // A press is reported where it went down, even when it has been released
  // or the pointer has left since.
  const ButtonReading b = read_buttons(input.buttons, now_ms());
  if (!b.at_press && !input.pointer_inside) return m;
  m.x = b.at_press ? b.x : input.pointer_x;
  m.y = b.at_press ? b.y : input.pointer_y;
  m.buttons = static_cast<int32_t>(b.buttons);
  return m;
}

SettingsChange platform_take_settings() {
  const SettingsChange taken = settings;
  settings = SettingsChange{};
  return taken;
}

void platform_full_frame() { ++frames; }

void platform_play_sound(const SoundClip& clip) {
  if (sound_on && clip.samples != nullptr && clip.count > 0)
    web_play_sound(clip.number, clip.samples, clip.count, SOUND_RATE);
}

void platform_error_report(const std::string& text) { web_report_error(text.c_str()); }

void web_show_settings(int32_t level, int32_t hints) { web_settings_shown(level, hints); }

void web_game_over(int code) {
  // The page's own controls have the keyboard from now on.
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
  web_game_ended(code);
}
