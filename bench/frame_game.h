// The game position the frame benchmarks draw: target 100, twenty rods laid
// (60 in all), the camera at 50.
#pragma once

#include "game/gamestate.h"
#include "scene/rods.h"

inline GAMESTATE frame_game(const GAMESTATE& start) {
  GAMESTATE state = start;
  state.TARGET = 100;
  for (int32_t i = 0; i < 20; ++i) {
    const int32_t v = 1 + i % 5;
    LAYROD(v, state, 16 * v);
  }
  state.LOOKAT = 50.0;
  return state;
}
