#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/key_map.h"

namespace {

std::vector<std::string> press(PhysicalKey key, int digit, KeyMapState& state, bool alt = false,
                               bool* toggle = nullptr) {
  KeyStroke p;
  p.key = key;
  p.digit = digit;
  p.alt = alt;
  const KeyResult r = map_key_down(p, state);
  if (toggle != nullptr) *toggle = r.toggles_fullscreen;
  return r.keys;
}

using keys = std::vector<std::string>;

keys typed(std::string_view text, KeyMapState& state) { return map_typed_text(text, state).keys; }

}  // namespace

TEST(KeyMapping, ControlKeysComeFromKeyEvents) {
  KeyMapState s;
  EXPECT_EQ(press(PKEY_ENTER, 0, s), keys{"\r"});
  EXPECT_EQ(press(PKEY_PAD_ENTER, 0, s), keys{"\r"});
  EXPECT_EQ(press(PKEY_ESCAPE, 0, s), keys{"\x1B"});
  EXPECT_EQ(press(PKEY_LEFT, 0, s), keys{std::string("\xFF") + "K"});
  EXPECT_EQ(press(PKEY_RIGHT, 0, s), keys{std::string("\xFF") + "M"});
  EXPECT_EQ(press(PKEY_UP, 0, s), keys{std::string("\xFF") + "H"});
  EXPECT_EQ(press(PKEY_DOWN, 0, s), keys{std::string("\xFF") + "P"});
  EXPECT_EQ(press(PKEY_LEFT, 0, s)[0].size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(press(PKEY_LEFT, 0, s)[0][0]), 255);
  EXPECT_TRUE(press(PKEY_OTHER, 0, s).empty());
}

TEST(KeyMapping, F11AndAltEnterToggleFullscreenWithoutAKey) {
  KeyMapState s;
  bool toggle = false;
  EXPECT_TRUE(press(PKEY_F11, 0, s, false, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_TRUE(press(PKEY_ENTER, 0, s, true, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_TRUE(press(PKEY_PAD_ENTER, 0, s, true, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_EQ(press(PKEY_ENTER, 0, s, false, &toggle), keys{"\r"});
  EXPECT_FALSE(toggle);
}

TEST(KeyMapping, LettersAndSignsComeFromTypedText) {
  KeyMapState s;
  // Shift+X types "X"; the colon key types ":" whatever the layout.
  EXPECT_EQ(typed("X", s), keys{"X"});
  EXPECT_EQ(typed(":", s), keys{":"});
  EXPECT_EQ(typed("s", s), keys{"s"});
  EXPECT_EQ(typed(" ", s), keys{" "});
  EXPECT_EQ(typed("ab", s), (keys{"a", "b"}));
  // Characters beyond ASCII never match a key text of the game: dropped.
  EXPECT_EQ(typed("\xC3\xB1", s), keys{});
}

TEST(KeyMapping, DigitsComeFromTheKeyAndTheirTextIsNotQueuedTwice) {
  KeyMapState s;
  // US layout: the 3 key, then its text "3".
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 3, s), keys{"3"});
  EXPECT_TRUE(typed("3", s).empty());
  // AZERTY: the same key types an accented letter without Shift; the digit
  // still comes by the key's place.
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 2, s), keys{"2"});
  EXPECT_TRUE(typed("\xC3\xA9", s).empty());
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 0, s), keys{"0"});
  EXPECT_TRUE(typed("!", s).empty());
  // Keypad digits, and their text.
  EXPECT_EQ(press(PKEY_PAD_DIGIT, 7, s), keys{"7"});
  EXPECT_TRUE(typed("7", s).empty());
  // Only the one text of that press is dropped.
  EXPECT_EQ(typed("x", s), keys{"x"});
  // A digit press with no text (Ctrl held): the next key's text still counts.
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 5, s), keys{"5"});
  EXPECT_TRUE(press(PKEY_OTHER, 0, s).empty());
  EXPECT_EQ(typed("X", s), keys{"X"});
  // Key repeat: every repeat of a digit is a digit again.
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 9, s), keys{"9"});
  EXPECT_TRUE(typed("9", s).empty());
  EXPECT_EQ(press(PKEY_ROW_DIGIT, 9, s), keys{"9"});
  EXPECT_TRUE(typed("9", s).empty());
}

TEST(KeyMapping, MSwitchesTheSoundOnceWhenHeldAndIsNeverAKey) {
  KeyMapState s;
  KeyStroke m;  // the M key goes down: no key text of its own
  for (const auto& [text, repeat, toggles] : {std::tuple{"m", false, true}, {"M", false, true}, {"m", true, false}}) {
    m.repeat = repeat;
    EXPECT_TRUE(map_key_down(m, s).keys.empty());
    const KeyResult r = map_typed_text(text, s);
    EXPECT_TRUE(r.keys.empty());
    EXPECT_EQ(r.toggles_sound, toggles) << text << repeat;
  }
  // Other letters in the same text count; the right arrow ("\xFF" "M") is no M.
  EXPECT_EQ(map_typed_text("xMy", s).keys, (keys{"x", "y"}));
  EXPECT_FALSE(is_sound_key(std::string("\xFF") + "M"));
}

// The keys as each backend receives them: SDL's scancodes (USB usage
// numbers) and the browser's KeyboardEvent.code; every digit of the number
// row and of the keypad, the control keys, and neighbours of the digit runs.
TEST(KeyMapping, BothBackendsTellEveryDigitKeyByItsPlace) {
  const int32_t row[10] = {39, 30, 31, 32, 33, 34, 35, 36, 37, 38}, pad[10] = {98, 89, 90, 91, 92, 93, 94, 95, 96, 97};
  for (int32_t d = 0; d <= 9; ++d) {
    for (const KeyStroke k : {key_of_usage(row[d]), key_of_dom_code("Digit" + std::to_string(d))})
      EXPECT_TRUE(k.key == PKEY_ROW_DIGIT && k.digit == d) << "row " << d;
    for (const KeyStroke k : {key_of_usage(pad[d]), key_of_dom_code("Numpad" + std::to_string(d))})
      EXPECT_TRUE(k.key == PKEY_PAD_DIGIT && k.digit == d) << "keypad " << d;
  }
  const std::tuple<int32_t, const char*, PhysicalKey> others[] = {
      {40, "Enter", PKEY_ENTER}, {88, "NumpadEnter", PKEY_PAD_ENTER}, {41, "Escape", PKEY_ESCAPE}, {68, "F11", PKEY_F11},
      {80, "ArrowLeft", PKEY_LEFT}, {79, "ArrowRight", PKEY_RIGHT}, {82, "ArrowUp", PKEY_UP}, {81, "ArrowDown", PKEY_DOWN},
      {29, "Numpad10", PKEY_OTHER}, {99, "NumpadDecimal", PKEY_OTHER}, {87, "Digit", PKEY_OTHER}};
  for (const auto& [usage, code, key] : others) {
    EXPECT_EQ(key_of_usage(usage).key, key) << usage;
    EXPECT_EQ(key_of_dom_code(code).key, key) << code;
  }
}
