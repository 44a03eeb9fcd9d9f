// The main loop: the options screen, a new game, its first frame, play; and
// again, until the player quits from the options screen.
#include "app/main_routine.h"

#include "app/play_loop.h"
#include "app/startup.h"
#include "game/evaluation.h"
#include "scene/scene_frame.h"
#include "screens/options_screen.h"

void ranvel_main() {
  GameRun& run = start_up();
  for (;;) {
    OPTIONSSCREEN(run.frame, run.texture, run.game, run.view);
    run.view.SCALE = PLAY_SCALE;
    NEWGAME(run.game);
    draw_scene_frame(run.frame, run.texture, run.font, run.game, run.view);
    play_game(run.frame, run.texture, run.font, run.game, run.view);
  }
}
