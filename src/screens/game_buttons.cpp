// The two buttons of the play screen, "Es empate" and "Salir".
#include "screens/messages.h"
#include "assets/fonts.h"
#include "screens/widgets.h"
#include "shade/rounded_box.h"
#include "surface/surface.h"

int32_t DRAWGAMEBTN(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view) {
  const bool hover = (state & ELEMENT_HIGHLIGHT) != 0;
  if (code == TIEBUTTON) {
    // Drawn transparently over the frame, so the rounded corners keep the floor.
    check_code(BLITIMAGE(screen_page(), 24, 500, hover ? WIDEBUTTONHOVER : WIDEBUTTON, BLIT_TRANSPARENT));
    check_code(DRAWTEXT(screen_page(), 64, 528, "Es empate", SMALL_FONT));
  } else if (code == QUITBUTTON) {
    // The same "Salir" button as on the options screen, at the same place.
    DRAWOPTIONSELEMENT(21, state, game, view);
  }
  return 0;
}
