#include "text/code_page.h"

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

// Upper-case hexadecimal digits, at least `digits` of them.
std::string hex(unsigned value, int digits) {
  std::string s;
  for (; value != 0 || digits > 0; value >>= 4, --digits) s.insert(s.begin(), "0123456789ABCDEF"[value & 15]);
  return s;
}

std::string code_point_name(char32_t cp) { return "U+" + hex(cp, 4); }

// The character as written, in quotes, and its code point.
std::string quoted(std::string_view utf8, char32_t cp) {
  std::string s = "\"";
  s.append(utf8).append("\" (").append(code_point_name(cp)).append(")");
  return s;
}

// A Latin-1 character (below U+0100) as UTF-8.
std::string latin1_as_utf8(char32_t cp) {
  if (cp < 0x80) return std::string(1, static_cast<char>(cp));
  return {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
}

}  // namespace

CodePageText to_code_page(std::string_view utf8) {
  CodePageText out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = decode(utf8, i, cp);
    if (length == 0) {
      const unsigned byte = static_cast<unsigned char>(utf8[i]);
      return {{}, "not UTF-8 at byte " + std::to_string(i + 1) + " (0x" + hex(byte, 2) + ")"};
    }
    const std::string_view written = utf8.substr(i, length);
    i += length;
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return {{}, "control character " + code_point_name(cp)};
    for (const SpanishLetterCode& s : SPANISH_LETTER_CODES)
      if (cp == s.code)
        return {{}, quoted(written, cp) + " cannot be written: its code draws \"" + latin1_as_utf8(s.codepoint) + "\""};
    if (cp >= 0x80 && !supplement_draws(cp)) return {{}, quoted(written, cp) + " is not in the fonts"};
    out.text.push_back(static_cast<char>(cp));
  }
  return out;
}
