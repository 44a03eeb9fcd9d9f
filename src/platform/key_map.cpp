// Key presses and typed text turned into the game's key texts.
#include "platform/key_map.h"

bool is_sound_key(std::string_view text) { return text == "m" || text == "M"; }

KeyResult map_key_down(const KeyStroke& press, KeyMapState& state) {
  KeyResult r;
  // Whatever text the previous press sent has arrived by now.
  state.drop_next_text = false;
  state.repeating = press.repeat;
  switch (press.key) {
    case PKEY_ROW_DIGIT:
    case PKEY_PAD_DIGIT:
      if (press.digit >= 0 && press.digit <= 9) {
        r.keys.push_back(std::string(1, static_cast<char>('0' + press.digit)));
        state.drop_next_text = true;
      }
      break;
    case PKEY_ENTER:
    case PKEY_PAD_ENTER:
      if (press.alt)
        r.toggles_fullscreen = true;
      else
        r.keys.push_back(std::string(1, '\r'));
      break;
    case PKEY_ESCAPE:
      r.keys.push_back(std::string(1, '\x1B'));
      break;
    case PKEY_LEFT:
      r.keys.push_back(std::string("\xFF") + "K");
      break;
    case PKEY_RIGHT:
      r.keys.push_back(std::string("\xFF") + "M");
      break;
    case PKEY_UP:
      r.keys.push_back(std::string("\xFF") + "H");
      break;
    case PKEY_DOWN:
      r.keys.push_back(std::string("\xFF") + "P");
      break;
    case PKEY_F11:
      r.toggles_fullscreen = true;
      break;
    case PKEY_OTHER:
      break;
  }
  return r;
}

KeyResult map_typed_text(std::string_view text, KeyMapState& state) {
  KeyResult r;
  if (state.drop_next_text) {
    state.drop_next_text = false;
    return r;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    if (is_sound_key(text.substr(i, 1))) {
      if (!state.repeating) r.toggles_sound = !r.toggles_sound;
    } else if (u >= 32 && u <= 126) {
      r.keys.push_back(std::string(1, text[i]));
    }
  }
  return r;
}

std::string take_oldest_key(KeyQueue& keys) {
  if (keys.empty()) return std::string();
  std::string k = keys.front();
  keys.pop_front();
  return k;
}
