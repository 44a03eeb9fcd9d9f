// Start-up and the main loop.
#include "app/main_routine.h"

#include <cmath>
#include <cstdio>

#include "app/messages.h"
#include "app/play_loop.h"
#include "app/run_report.h"
#include "app/runtime_error.h"
#include "assets/fonts.h"
#include "assets/info_texts.h"
#include "game/evaluation.h"
#include "game/gamestate.h"
#include "scene/floor.h"
#include "scene/projection.h"
#include "scene/rods.h"
#include "screens/info_screen.h"
#include "screens/options_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

namespace {

// The objects of the run: made once here, alive until the program ends.
GAMESTATE game;
SCREENDEF view;
IMAGE frameimage = nullptr;
IMAGE textureimage = nullptr;
MAPPEDFONT mappedfont;

// Draws a whole scene frame into the frame image and copies it to the screen.
void draw_first_frame() {
  DEFINESCREEN(game.LOOKAT, game.TARGET, view);
  DRAWBG(frameimage, textureimage, mappedfont, game.TARGET, view);
  DRAWNUMBERLINE(frameimage, game.TARGET, view, 176);
  DRAWRODS(frameimage, game, view);
  CHECKCODE(BLITIMAGE(SCREEN(), 0, 0, frameimage, BLITCOPY));
}

}  // namespace

void RANVELMAIN() {
  std::puts("Hello from Pelmora");
  std::puts("Hello after Endif");
  // The run-time error handler (RUNTIMEERROR) is in place from here on.
  std::puts("Include ended.");
  std::fflush(stdout);

  LABELEDGES.RESIZE(1);

  game = GAMESTATE{};
  REPORT.GAME = &game;
  game.LIGHTDIR.X = 0.5;
  game.LIGHTDIR.Y = 0.3;
  game.LIGHTDIR.Z = std::sqrt(1.0 - game.LIGHTDIR.X * game.LIGHTDIR.X - game.LIGHTDIR.Y * game.LIGHTDIR.Y);

  BUILDCHOICERODS(game.LIGHTDIR);

  mappedfont = MAPPEDFONT{};
  mappedfont.FONTDATA = DIGITFONT;
  INITFONT(mappedfont);

  SETMESSAGES();

  INFOTEXT1.RESIZE(17);
  INFOTEXT2.RESIZE(13);
  INFOTEXT3.RESIZE(14);
  INFOTEXTEND.RESIZE(8);
  DOMOVE(I_NFO1, I_NFO1COUNT, INFOTEXT1);
  DOMOVE(I_NFO2, I_NFO2COUNT, INFOTEXT2);
  DOMOVE(I_NFO3, I_NFO3COUNT, INFOTEXT3);
  DOMOVE(I_NFOEND, I_NFOENDCOUNT, INFOTEXTEND);

  view = SCREENDEF{};
  view.CENTERX = 400;
  view.CENTERY = 300;
  CHECKCODE(SETSCREENMODE(2 * view.CENTERX, 2 * view.CENTERY, 8, 1));

  frameimage = NEWIMAGE(2 * view.CENTERX, 2 * view.CENTERY);
  textureimage = NEWIMAGE(16, 16);

  MAKESPRITES();
  MAKEPAL16X16(BASECOLORS);
  SETTEXTCOLORS(255, 176);
  RANDOMSEED(CLOCKSECONDS());

  PREPARETEXTURE(textureimage, 1330, 430);

  mappedfont.LABELHEIGHT = 0.5;
  mappedfont.INKCOLOR = 176;
  DEFINENUMBERS(100, mappedfont);

  // Main loop: options, a new game, its first frame, play; and again.
  for (;;) {
    OPTIONSSCREEN(frameimage, textureimage, game, view);
    view.SCALE = 32.0;
    NEWGAME(game);
    draw_first_frame();
    PLAYGAME(frameimage, textureimage, mappedfont, game, view);
  }
}
