// The information texts: unscrambling the stored blocks into text lists.
//
// A stored block holds, byte by byte, the number of lines minus one, then for
// every line its length and its characters. Each byte is kept shifted by its
// position and rotated by one bit; HALFVALUE undoes that.
#include <string>

#include "screens/info_screen.h"

TextList INFOTEXT1;
TextList INFOTEXT2;
TextList INFOTEXT3;
TextList INFOTEXTEND;

uint8_t HALFVALUE(uint8_t b, int32_t position) {
  uint32_t v = static_cast<uint32_t>(b - position) & 255u;
  if (v & 1u) v += 255u;
  return static_cast<uint8_t>((v >> 1) & 255u);
}

// The count is the last position that may be read: no byte past it is ever
// touched, so a block that ends early leaves the rest of its lines blank or
// empty rather than reading beyond its end.
int32_t DOMOVE(const std::uint8_t* source, int32_t count, TextList& destination) {
  const std::uint8_t* block = check_ref(source);
  const int32_t n = HALFVALUE(block[0], 0);
  destination.resize(static_cast<long long>(n) + 1);
  int32_t k = 1;
  for (int32_t line = 0; line <= n; ++line) {
    if (k > count) return 0;
    const int32_t m = HALFVALUE(block[k], k);
    ++k;
    std::string& text = destination[line];
    text.assign(static_cast<std::size_t>(m), ' ');
    for (int32_t j = 0; j < m; ++j) {
      if (k > count) return 0;
      text[static_cast<std::size_t>(j)] = static_cast<char>(HALFVALUE(block[k], k));
      ++k;
      if (k > count) return 0;
    }
  }
  return 0;
}
