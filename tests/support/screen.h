// The screen for tests that draw, and what they read back of images.
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/headless.h"
#include "surface/surface.h"

inline void open_test_screen() {
  if (!screen_open()) {
    ASSERT_EQ(SETSCREENMODE(800, 600, 8, 1), 0);
  }
}

// The pixels of an image that are not 0, as (x, y).
using PixelSet = std::set<std::pair<int, int>>;
inline PixelSet painted(Image img) {
  PixelSet out;
  const ImageInfo info = IMAGEINFO(img);
  for (int y = 0; y < info.height; ++y)
    for (int x = 0; x < info.width; ++x)
      if (info.pixels[y * info.width + x] != 0) out.insert({x, y});
  return out;
}
