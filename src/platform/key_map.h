// The key texts that a key press or a piece of typed text gives, kept apart
// from the window library so that the mapping can be checked without a
// display.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The keys the game cares about, named by where they are on the keyboard;
// the window backend turns its own key codes into these.
enum PhysicalKey : int32_t {
  PKEY_OTHER = 0,
  PKEY_ROW_DIGIT,     // a key of the number row; digit says which
  PKEY_PAD_DIGIT,     // a digit key of the keypad; digit says which
  PKEY_ENTER,
  PKEY_PAD_ENTER,
  PKEY_ESCAPE,
  PKEY_LEFT,
  PKEY_RIGHT,
  PKEY_UP,
  PKEY_DOWN,
  PKEY_F11,
};

struct KeyStroke {
  PhysicalKey key = PKEY_OTHER;
  int32_t digit = 0;  // 0..9 for the two digit kinds
  bool alt = false;
  bool repeat = false;  // the keyboard repeating a key held down
};

// The keys by their usage number on the USB keyboard page, which is what SDL
// calls a scancode (the desktop backend checks that its names agree). The
// number row runs 1..9 then 0, and so does the keypad.
constexpr int32_t USAGE_ROW_1 = 30;
constexpr int32_t USAGE_ROW_0 = 39;
constexpr int32_t USAGE_ENTER = 40;
constexpr int32_t USAGE_ESCAPE = 41;
constexpr int32_t USAGE_F11 = 68;
constexpr int32_t USAGE_RIGHT = 79;
constexpr int32_t USAGE_LEFT = 80;
constexpr int32_t USAGE_DOWN = 81;
constexpr int32_t USAGE_UP = 82;
constexpr int32_t USAGE_PAD_ENTER = 88;
constexpr int32_t USAGE_PAD_1 = 89;
constexpr int32_t USAGE_PAD_0 = 98;
// The key of a usage number (alt not set).
KeyStroke key_of_usage(int32_t usage);
// The key of a browser's KeyboardEvent.code ("Digit3", "Numpad3", "Enter"),
// alt not set.
KeyStroke key_of_dom_code(std::string_view code);

// What the keyboard mapping remembers between events: a digit key queues its
// digit at once, so the character the same press also sends as typed text
// must be dropped; the text of a repeated press switches no sound.
struct KeyMapState {
  bool drop_next_text = false;
  bool repeating = false;
};

struct KeyResult {
  std::vector<std::string> keys;
  bool toggles_fullscreen = false;
  bool toggles_sound = false;
};

// M (either case) switches the sound off and on, on every screen and while
// the game animates: it is taken here, before the key queue, and means
// nothing else anywhere.
bool is_sound_key(std::string_view text);

// A key going down (or repeating). Letters and signs are not queued here:
// they come from typed text, so the player's layout is respected.
KeyResult map_key_down(const KeyStroke& press, KeyMapState& state);
// Typed text (UTF-8): every printable ASCII character becomes a key, but M,
// which switches the sound (once for a key held down); other characters are
// dropped, since the game compares only ASCII key texts.
KeyResult map_typed_text(std::string_view text, KeyMapState& state);

// A backend's keyboard queue: key texts in the order typed.
using KeyQueue = std::deque<std::string>;
// The oldest key text, removed; empty when none waits.
std::string take_oldest_key(KeyQueue& keys);
