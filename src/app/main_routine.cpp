// Start-up and the main loop.
#include "app/main_routine.h"

#include <cmath>
#include <cstdio>

#include "app/run_report.h"
#include "app/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

// The objects of the run: made once here, alive until the program ends.
GAMESTATE game;
SCREENDEF view;
IMAGE frameimage = nullptr;
IMAGE textureimage = nullptr;

}  // namespace

void RANVELMAIN() {
  std::puts("Hello from Pelmora");
  std::puts("Hello after Endif");
  // The run-time error handler is in place from here on (RUNTIMEERROR).
  std::puts("Include ended.");
  std::fflush(stdout);

  game = GAMESTATE{};
  REPORT.GAME = &game;
  game.LIGHTDIR.X = 0.5;
  game.LIGHTDIR.Y = 0.3;
  game.LIGHTDIR.Z = std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3);

  view = SCREENDEF{};
  view.CENTERX = 400;
  view.CENTERY = 300;
  CHECKCODE(SETSCREENMODE(2 * view.CENTERX, 2 * view.CENTERY, 8, 1));

  frameimage = NEWIMAGE(800, 600);
  textureimage = NEWIMAGE(16, 16);

  SETTEXTCOLORS(255, 176);
  RANDOMSEED(CLOCKSECONDS());

  // Main loop.
  for (;;) {
    WAITMS(20);
    POLLKEY();
  }
}
