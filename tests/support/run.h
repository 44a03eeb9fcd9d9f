// The objects of a run as the game's start-up makes them, for tests that
// draw or play with them, and the views the game draws with.
#pragma once

#include "app/startup.h"
#include "platform/headless.h"
#include "scene/projection.h"
#include "screens/options_screen.h"
#include "shade/palette.h"
#include "surface/input.h"

// Start-up runs once per test program. Every call puts the game record and
// the view back as start-up leaves them, the palette as the play screen has
// it, and resets the headless clock and input (and what the input layer
// keeps of an earlier test's clicks, which lies in the reset clock's future).
inline GameRun& test_run() {
  static GameRun* run = nullptr;
  if (run == nullptr) {
    headless_reset();
    run = &start_up();
  }
  headless_reset();
  ignore_quick_presses(-1.0);
  run->game = GAMESTATE{};
  run->game.LIGHTDIR = light_direction();
  run->view = SCREENDEF{};
  run->view.CENTERX = VIEW_CENTRE_X;
  run->view.CENTERY = VIEW_CENTRE_Y;
  MAKEPAL16X16(BASE_COLORS);
  PALETTEFORTEXTURE(PLAY_TEXTURE_COLOUR);
  PALETTE0TO15(SCREEN_UI_COLOUR);
  return *run;
}

// The play view with the camera at lookat.
inline SCREENDEF game_view(double lookat, uint8_t target) {
  SCREENDEF view;
  view.CENTERX = VIEW_CENTRE_X;
  view.CENTERY = VIEW_CENTRE_Y;
  view.SCALE = PLAY_SCALE;
  DEFINESCREEN(lookat, target, view);
  return view;
}

// The options screen's view.
inline SCREENDEF options_view() {
  SCREENDEF view;
  view.CENTERX = VIEW_CENTRE_X;
  view.CENTERY = VIEW_CENTRE_Y;
  set_options_camera(view);
  return view;
}

// A straight-on view (no slant), 32 pixels a floor unit, whose centre row
// lies exactly on the labels' lower edge at floor x 5: one row lower is floor
// y = -2.03125.
inline SCREENDEF straight_view(int32_t centre_x = VIEW_CENTRE_X) {
  SCREENDEF view;
  view.CENTERX = centre_x;
  view.CENTERY = VIEW_CENTRE_Y;
  view.SCALE = PLAY_SCALE;
  view.ORIGINX = 5.0;
  view.ORIGINY = -2.0;
  view.XAXISX = 1.0;
  view.XAXISY = 0.0;
  view.YAXISX = 0.0;
  view.YAXISY = 1.0;
  return view;
}

// The game's clock never runs backwards: when an earlier test in this process
// went further, virtual time catches up with it. Returns the time reached.
inline int64_t catch_up_clock() {
  while (CLOCKSECONDS() * 1000.0 > static_cast<double>(headless_now_ms())) WAITMS(50);
  return headless_now_ms();
}
