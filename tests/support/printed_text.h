// Reads back text that PRINTTEXT drew on the screen, for the tests of the
// error report.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "surface/print_font.h"
#include "surface/surface.h"

// Reads back what PRINTTEXT wrote on the screen: its characters sit in 16 x 16
// cells on a grid from (8, 8), each font pixel drawn as 2 x 2 screen pixels
// in the foreground on the background colour. Cells that hold anything else
// are skipped; each grid row ends with a new line.
inline std::string printed_text(std::uint8_t fg, std::uint8_t bg, bool* only_text_colours = nullptr) {
  const ImageInfo info = IMAGEINFO(screen_page());
  std::string out;
  if (only_text_colours != nullptr) *only_text_colours = true;
  for (int cy = 8; cy + 16 <= 600; cy += 16) {
    std::string row;
    for (int cx = 8; cx + 16 <= 800; cx += 16) {
      bool cell = true;
      std::uint8_t bits[8] = {};
      for (int y = 0; y < 16 && cell; ++y)
        for (int x = 0; x < 16; ++x) {
          const std::uint8_t p = info.pixels[(cy + y) * 800 + cx + x];
          if (p != fg && p != bg) {
            cell = false;
            break;
          }
          if (p == fg) bits[y / 2] |= static_cast<std::uint8_t>(0x80 >> (x / 2));
        }
      if (!cell) continue;
      char found = '?';
      for (int ch = 32; ch < 127; ++ch)
        if (std::memcmp(PRINT_FONT[ch - 32], bits, 8) == 0) {
          found = static_cast<char>(ch);
          break;
        }
      if (found == '?' && only_text_colours != nullptr) *only_text_colours = false;
      row.push_back(found);
    }
    if (!row.empty()) out.append(row).push_back('\n');
  }
  return out;
}

