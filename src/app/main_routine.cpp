// Start-up and the main loop.
#include "app/main_routine.h"

#include <cmath>
#include <cstdio>

#include "screens/messages.h"
#include "app/play_loop.h"
#include "screens/shown_screen.h"
#include "core/runtime_error.h"
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
Image frameimage = nullptr;
Image textureimage = nullptr;
MAPPEDFONT mappedfont;

// Draws a whole scene frame into the frame image and copies it to the screen.
void draw_first_frame() {
  DEFINESCREEN(game.LOOKAT, game.TARGET, view);
  DRAWBG(frameimage, textureimage, mappedfont, game.TARGET, view);
  DRAWNUMBERLINE(frameimage, game.TARGET, view, 176);
  DRAWRODS(frameimage, game, view);
  check_code(BLITIMAGE(screen_page(), 0, 0, frameimage, BLIT_COPY));
}

}  // namespace

void ranvel_main() {
  std::puts("Hello from Pelmora");
  std::puts("Hello after Endif");
  // The run-time error handler (report_runtime_error) is in place from here on.
  std::puts("Include ended.");
  std::fflush(stdout);

  LABELEDGES.resize(1);

  game = GAMESTATE{};
  run_report.game = &game;
  game.LIGHTDIR.X = 0.5;
  game.LIGHTDIR.Y = 0.3;
  game.LIGHTDIR.Z = std::sqrt(1.0 - game.LIGHTDIR.X * game.LIGHTDIR.X - game.LIGHTDIR.Y * game.LIGHTDIR.Y);

  build_choice_rods(game.LIGHTDIR);

  mappedfont = MAPPEDFONT{};
  mappedfont.FONTDATA = DIGIT_FONT;
  INITFONT(mappedfont);

  set_messages();

  INFOTEXT1.resize(17);
  INFOTEXT2.resize(13);
  INFOTEXT3.resize(14);
  INFOTEXTEND.resize(8);
  DOMOVE(I_NFO1, I_NFO1_COUNT, INFOTEXT1);
  DOMOVE(I_NFO2, I_NFO2_COUNT, INFOTEXT2);
  DOMOVE(I_NFO3, I_NFO3_COUNT, INFOTEXT3);
  DOMOVE(I_NFOEND, I_NFOEND_COUNT, INFOTEXTEND);

  view = SCREENDEF{};
  view.CENTERX = 400;
  view.CENTERY = 300;
  check_code(SETSCREENMODE(2 * view.CENTERX, 2 * view.CENTERY, 8, 1));

  frameimage = NEWIMAGE(2 * view.CENTERX, 2 * view.CENTERY);
  textureimage = NEWIMAGE(16, 16);

  make_sprites();
  MAKEPAL16X16(BASE_COLORS);
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
    play_game(frameimage, textureimage, mappedfont, game, view);
  }
}
