// A whole scene frame (see scene_frame.h).
#include "scene/scene_frame.h"

#include "core/runtime_error.h"
#include "game/teaching.h"
#include "scene/floor.h"
#include "scene/hints.h"
#include "scene/rods.h"
#include "shade/palette.h"

void draw_scene_frame(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, const GAMESTATE& game,
                      SCREENDEF& view) {
  DEFINESCREEN(game.LOOKAT, game.TARGET, view);
  DRAWBG(frame, texture, font, game.TARGET, view);
  DRAWNUMBERLINE(frame, game.TARGET, view, INK_COLOUR);
  // The hints a teacher may switch on, also while the game runs: markers
  // under the rods, the status line over everything.
  take_teacher_changes();
  const bool hints = teaching_aids.hints;
  if (hints) draw_hint_markers(frame, game, view);
  DRAWRODS(frame, game, view);
  if (hints) draw_status_line(frame, game);
  check_code(BLITIMAGE(screen_page(), 0, 0, frame, BLIT_COPY));
}
