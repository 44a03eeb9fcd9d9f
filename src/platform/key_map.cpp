// Key presses and typed text turned into the game's key texts.
#include "platform/key_map.h"

namespace {

KeyStroke stroke(PhysicalKey key, int32_t digit = 0) {
  KeyStroke p;
  p.key = key;
  p.digit = digit;
  return p;
}

}  // namespace

KeyStroke key_of_usage(int32_t usage) {
  if (usage >= USAGE_ROW_1 && usage <= USAGE_ROW_0) return stroke(PKEY_ROW_DIGIT, (usage - USAGE_ROW_1 + 1) % 10);
  if (usage >= USAGE_PAD_1 && usage <= USAGE_PAD_0) return stroke(PKEY_PAD_DIGIT, (usage - USAGE_PAD_1 + 1) % 10);
  switch (usage) {
    case USAGE_ENTER: return stroke(PKEY_ENTER);
    case USAGE_PAD_ENTER: return stroke(PKEY_PAD_ENTER);
    case USAGE_ESCAPE: return stroke(PKEY_ESCAPE);
    case USAGE_LEFT: return stroke(PKEY_LEFT);
    case USAGE_RIGHT: return stroke(PKEY_RIGHT);
    case USAGE_UP: return stroke(PKEY_UP);
    case USAGE_DOWN: return stroke(PKEY_DOWN);
    case USAGE_F11: return stroke(PKEY_F11);
    default: return stroke(PKEY_OTHER);
  }
}

KeyStroke key_of_dom_code(std::string_view code) {
  const auto digit_after = [code](std::string_view prefix) {
    return code.size() == prefix.size() + 1 && code.starts_with(prefix) && code.back() >= '0' && code.back() <= '9';
  };
  if (digit_after("Digit")) return stroke(PKEY_ROW_DIGIT, code.back() - '0');
  if (digit_after("Numpad")) return stroke(PKEY_PAD_DIGIT, code.back() - '0');
  if (code == "Enter") return stroke(PKEY_ENTER);
  if (code == "NumpadEnter") return stroke(PKEY_PAD_ENTER);
  if (code == "Escape") return stroke(PKEY_ESCAPE);
  if (code == "ArrowLeft") return stroke(PKEY_LEFT);
  if (code == "ArrowRight") return stroke(PKEY_RIGHT);
  if (code == "ArrowUp") return stroke(PKEY_UP);
  if (code == "ArrowDown") return stroke(PKEY_DOWN);
  if (code == "F11") return stroke(PKEY_F11);
  return stroke(PKEY_OTHER);
}

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
