#include "text/code_page.h"

#include <cstdio>

namespace {

// Decodes the character that starts at byte i; its length in bytes, or 0
// when the bytes there are not UTF-8 (cut short, overlong, a surrogate).
std::size_t decode(std::string_view s, std::size_t i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(s[i]);
  std::size_t length;
  char32_t least;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  if (lead >= 0xC0 && lead < 0xE0) {
    length = 2, cp = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3, cp = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4, cp = lead & 0x07u, least = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (next & 0x3Fu);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

std::string code_point_name(char32_t cp) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
  return name;
}

// The character as written, in quotes, and its code point.
std::string quoted(std::string_view utf8, char32_t cp) {
  std::string s = "\"";
  s.append(utf8).append("\" (").append(code_point_name(cp)).append(")");
  return s;
}

std::string utf8_of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s.push_back(static_cast<char>(cp));
  } else {
    s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return s;
}

}  // namespace

CodePageText to_code_page(std::string_view utf8) {
  CodePageText out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = decode(utf8, i, cp);
    if (length == 0) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(utf8[i]));
      return {{}, "not UTF-8 at byte " + std::to_string(i + 1) + " (" + byte + ")"};
    }
    const std::string_view written = utf8.substr(i, length);
    i += length;
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return {{}, "control character " + code_point_name(cp)};
    for (const SpanishLetterCode& s : SPANISH_LETTER_CODES)
      if (cp == s.code)
        return {{}, quoted(written, cp) + " cannot be written: its code draws \"" + utf8_of(s.codepoint) + "\""};
    if (cp >= 0x80 && !supplement_draws(cp)) return {{}, quoted(written, cp) + " is not in the fonts"};
    out.text.push_back(static_cast<char>(cp));
  }
  return out;
}
