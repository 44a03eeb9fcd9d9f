// Opens the screen once for every test that draws.
#pragma once
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "surface/surface.h"

inline void open_test_screen() {
  if (!screen_open()) {
    ASSERT_EQ(SETSCREENMODE(800, 600, 8, 1), 0);
  }
}
