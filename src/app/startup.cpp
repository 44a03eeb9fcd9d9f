// The start-up sequence, run once before the main loop.
#include "app/startup.h"

#include <cstdio>

#include "assets/fonts.h"
#include "assets/info_texts.h"
#include "core/runtime_error.h"
#include "game/setup.h"
#include "game/teaching.h"
#include "scene/floor.h"
#include "scene/hints.h"
#include "scene/rods.h"
#include "screens/info_screen.h"
#include "screens/shown_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "sound/sounds.h"
#include "surface/input.h"
#include "surface/random.h"
#include "text/language.h"

namespace {

GameRun run;

// The information pages: the lines reserved for each, filled from its stored
// block.
void unpack_information_texts() {
  INFOTEXT1.resize(17);
  INFOTEXT2.resize(13);
  INFOTEXT3.resize(14);
  INFOTEXTEND.resize(8);
  DOMOVE(I_NFO1, I_NFO1_COUNT, INFOTEXT1);
  DOMOVE(I_NFO2, I_NFO2_COUNT, INFOTEXT2);
  DOMOVE(I_NFO3, I_NFO3_COUNT, INFOTEXT3);
  DOMOVE(I_NFOEND, I_NFOEND_COUNT, INFOTEXTEND);
  // In another language the pages are its translations of the Spanish ones.
  if (chosen_language() == LANGUAGE_SPANISH) return;
  for (TextList* page : {&INFOTEXT1, &INFOTEXT2, &INFOTEXT3, &INFOTEXTEND})
    *page = lines_of(translation("information page", joined_lines(*page)));
}

}  // namespace

std::optional<double> chosen_seed;

GameRun& start_up(std::FILE* trace) {
  std::fputs("Hello from Pelmora\n", trace);
  std::fputs("Hello after Endif\n", trace);
  // The run-time error handler (report_runtime_error) is in place from here on.
  std::fputs("Include ended.\n", trace);
  std::fflush(trace);

  LABELEDGES.resize(1);

  run.game = GAMESTATE{};
  apply_setup(starting_setup, run.game);
  run_report.game = &run.game;
  run.game.LIGHTDIR = light_direction();
  build_choice_rods(run.game.LIGHTDIR);

  run.font = MAPPEDFONT{};
  run.font.FONTDATA = DIGIT_FONT;
  INITFONT(run.font);

  unpack_information_texts();

  run.view = SCREENDEF{};
  run.view.CENTERX = VIEW_CENTRE_X;
  run.view.CENTERY = VIEW_CENTRE_Y;
  check_code(SETSCREENMODE(2 * run.view.CENTERX, 2 * run.view.CENTERY, 8, 1));

  FREEIMAGE(run.frame);
  FREEIMAGE(run.texture);
  run.frame = NEWIMAGE(2 * run.view.CENTERX, 2 * run.view.CENTERY);
  run.texture = NEWIMAGE(16, 16);

  make_sprites();
  make_hint_sprites();
  MAKEPAL16X16(BASE_COLORS);
  SETTEXTCOLORS(PAPER_COLOUR, INK_COLOUR);
  RANDOMSEED(chosen_seed.value_or(CLOCKSECONDS()));

  PREPARETEXTURE(run.texture, TEXTURE_WIDTH, TEXTURE_HEIGHT);

  run.font.LABELHEIGHT = LABEL_HEIGHT;
  run.font.INKCOLOR = INK_COLOUR;
  DEFINENUMBERS(LARGEST_LABEL, run.font);
  return run;
}

GameRun& current_run() { return run; }
