// The game's own texts are written here in UTF-8 Spanish and marked for the
// translators' catalogue (po/ranvel.pot, which xgettext makes from these
// marks: see po/README.md). A mark names where the text is shown, its
// context, and holds the text; xgettext takes a comment starting with
// "TRANSLATORS:" just before it along, to tell the translator how much room
// the text has.
//
//   screen_text("message", "Bien, tenemos un empate.")
//       a text drawn with the game's fonts. It becomes, at compile time, the
//       fonts' code page: the Spanish letters and signs are the codes listed
//       below, and a character the fonts cannot draw stops the build.
//   plain_text("command line", "muestra esta ayuda y termina")
//       a text printed as it is (UTF-8): the terminal's, the web page's.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The codes of the two text fonts that draw the Spanish letters and signs,
// in place of the ASCII signs of the same codes.
struct SpanishLetterCode {
  unsigned char code;
  char32_t codepoint;
};
inline constexpr std::array<SpanishLetterCode, 11> SPANISH_LETTER_CODES{{{'[', U'\u00E1'},
                                                                         {'\\', U'\u00ED'},
                                                                         {']', U'\u00E9'},
                                                                         {'^', U'\u00F1'},
                                                                         {'_', U'\u00FA'},
                                                                         {'`', U'\u00F3'},
                                                                         {'{', U'\u00D1'},
                                                                         {'|', U'\u00A1'},
                                                                         {'}', U'\u00FC'},
                                                                         {'~', U'\u00C9'},
                                                                         {127, U'\u00BF'}}};

// Converts a UTF-8 Spanish text into the fonts' code page, handing each
// byte to put(); a line break stays a line break. The first character it
// cannot write (any other letter outside ASCII, a control character, one of
// the signs whose codes draw the Spanish letters) stops it: it returns the
// byte offset of that character, or -1 when the whole text was written.
template <class Put>
constexpr std::ptrdiff_t spanish_code_page(std::string_view utf8, Put put) {
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      if (c < 0x20 && c != '\n') return static_cast<std::ptrdiff_t>(i);
      for (const SpanishLetterCode& s : SPANISH_LETTER_CODES)
        if (s.code == c) return static_cast<std::ptrdiff_t>(i);
      put(static_cast<char>(c));
      ++i;
      continue;
    }
    // Every Spanish letter and sign lies below U+0800: two bytes.
    if ((c & 0xE0u) != 0xC0u || i + 1 >= utf8.size()) return static_cast<std::ptrdiff_t>(i);
    const char32_t cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
    char code = 0;
    for (const SpanishLetterCode& s : SPANISH_LETTER_CODES)
      if (s.codepoint == cp) code = static_cast<char>(s.code);
    if (code == 0) return static_cast<std::ptrdiff_t>(i);
    put(code);
    i += 2;
  }
  return -1;
}

// A text for the screen, kept in the fonts' code page.
template <std::size_t N>
struct ScreenText {
  std::string_view context;
  std::array<char, N> bytes{};
  std::size_t size = 0;
  constexpr std::string_view text() const { return {bytes.data(), size}; }
};

template <std::size_t N>
consteval ScreenText<N> screen_text(std::string_view context, const char (&utf8)[N]) {
  ScreenText<N> t{context};
  const std::ptrdiff_t bad =
      spanish_code_page(std::string_view(utf8, N - 1), [&t](char c) { t.bytes[t.size++] = c; });
  if (bad >= 0) throw "a screen text holds a character the game's fonts do not draw";
  return t;
}

constexpr std::string_view plain_text(std::string_view /*context*/, std::string_view text) { return text; }
