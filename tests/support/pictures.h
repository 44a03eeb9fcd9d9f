// Pictures a test writes for a person to look at (in the working directory,
// the build directory under ctest), each read back to check what was written.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "replay/page_png.h"
#include "surface/surface.h"

// NAME.png: the 800 x 600 image as an 8-bit paletted picture with the palette.
inline void write_picture(const std::string& name, Image image) {
  const ImageInfo info = IMAGEINFO(image);
  std::string error;
  ASSERT_TRUE(write_page_png(name + ".png", info.pixels, info.width, info.height, palette_data(), error)) << error;
  const PagePng back = read_page_png(name + ".png");
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.color_type, 3);
  ASSERT_EQ(back.pixels.size(), 800u * 600u);
  EXPECT_EQ(0, std::memcmp(back.pixels.data(), info.pixels, 800 * 600));
}
