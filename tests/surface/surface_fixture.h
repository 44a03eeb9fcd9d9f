// Opens the screen once for every test that draws.
#pragma once
#include <gtest/gtest.h>

#include "surface/headless.h"
#include "surface/surface.h"

inline void OPENTESTSCREEN() {
  if (!SCREENOPEN()) {
    ASSERT_EQ(SETSCREENMODE(800, 600, 8, 1), 0);
  }
}
