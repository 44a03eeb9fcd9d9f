// The objects of a run as the game's start-up makes them, for tests that
// draw or play with them, and the views the game draws with.
#pragma once

#include "app/startup.h"
#include "platform/headless.h"
#include "scene/projection.h"
#include "screens/options_screen.h"
#include "shade/palette.h"

// Start-up runs once per test program. Every call puts the game record and
// the view back as start-up leaves them, the palette as the play screen has
// it, and resets the headless clock and input.
inline GameRun& test_run() {
  static GameRun* run = nullptr;
  if (run == nullptr) {
    headless_reset();
    run = &start_up();
  }
  headless_reset();
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
