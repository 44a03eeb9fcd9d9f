// Counters of the window backend for measurement programs. They exist only
// where platform_sdl.cpp is compiled with RANVEL_PRESENT_STATS; the game is
// built without them.
#pragma once

#include <cstdint>

struct PresentStats {
  int64_t frames = 0;         // whole frames copied onto the screen
  int64_t presents = 0;       // times the window was given new pixels
  double convert_seconds = 0;  // turning the page into the window's pixels
  double show_seconds = 0;     // handing them to the window system
  bool renderer = false;      // shown through a renderer, not the window's pixels
};

PresentStats platform_present_stats();
void platform_reset_present_stats();
// Before the window opens: show it through a renderer with this driver
// ("opengl", "software", ...) instead of the window's own pixels.
void platform_force_renderer(const char* driver);
// Before the window opens: open it at this size (window points) instead of
// the largest whole multiple of the page that fits the desktop.
void platform_force_window_size(int32_t width, int32_t height);
