// Counters of the window backend for measurement programs. They exist only
// where platform_sdl.cpp is compiled with RANVEL_PRESENT_STATS; the game is
// built without them.
#pragma once

#include <cstdint>

struct PRESENTSTATS {
  int64_t FRAMES = 0;         // whole frames copied onto the screen
  int64_t PRESENTS = 0;       // times the window was given new pixels
  int64_t UNCHANGED = 0;      // presents skipped: the page was drawn again as it was
  double CONVERTSECONDS = 0;  // turning the page into the window's pixels
  double SHOWSECONDS = 0;     // handing them to the window system
  bool RENDERER = false;      // shown through a renderer, not the window's pixels
};

PRESENTSTATS PLATFORMPRESENTSTATS();
void PLATFORMRESETPRESENTSTATS();
// Before the window opens: show it through a renderer with this driver
// ("opengl", "software", ...) instead of the window's own pixels.
void PLATFORMFORCERENDERER(const char* driver);
