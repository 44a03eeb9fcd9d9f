// The code page of the game's text fonts, and the conversion of a UTF-8 text
// into it for the languages other than Spanish.
//
// Bytes 32..126 draw their ASCII characters, except the ten codes below that
// draw the Spanish letters and signs of the game's own texts (127 draws the
// eleventh). Bytes 160..255 draw, from the fonts' supplements, the Latin-1
// character of the same code, so a translated text keeps ASCII as it is and
// writes every other letter as its Latin-1 code.
#pragma once

#include <string>
#include <string_view>

#include "core/text_marks.h"

// Whether the supplements draw this character (at the code equal to it): the
// printable Latin-1 characters from U+00A0 on, but the soft hyphen.
constexpr bool supplement_draws(char32_t codepoint) {
  return codepoint >= 0xA0 && codepoint <= 0xFF && codepoint != 0xAD;
}

struct CodePageText {
  std::string text;   // the text in the fonts' code page, when error is empty
  std::string error;  // otherwise what is wrong, naming the character
};

// Converts a UTF-8 text of another language. A character the fonts cannot
// draw from its own code is an error: a control character, one of the ten
// signs whose codes draw Spanish letters, a character outside Latin-1 (or the
// soft hyphen), and bytes that are not UTF-8.
CodePageText to_code_page(std::string_view utf8);
