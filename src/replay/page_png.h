// The page as an 8-bit paletted PNG (colour type 3 with all 256 palette
// entries), so that both the colour indices and the colours can be read back;
// and pictures in colour with transparency (the game's icons).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height indices (rows top first, no padding) with the 256
// red, green, blue entries of the palette. False, with a reason, on failure.
bool write_page_png(const std::string& path, const std::uint8_t* pixels, int32_t width, int32_t height,
                  const std::uint8_t* palette, std::string& error);

// Writes a picture in colour: width x height pixels of red, green, blue and
// alpha bytes (rows top first, no padding).
bool write_rgba_png(const std::string& path, const std::uint8_t* rgba, int32_t width, int32_t height,
                    std::string& error);

struct PagePng {
  bool ok = false;
  int32_t width = 0;
  int32_t height = 0;
  int32_t color_type = -1;
  int32_t bit_depth = 0;
  std::vector<std::uint8_t> pixels;   // the indices, width x height
  std::vector<std::uint8_t> palette;  // 3 bytes per entry, as many as stored
};

// Reads a paletted 8-bit PNG back as it is stored (for checks and tests).
PagePng read_page_png(const std::string& path);
