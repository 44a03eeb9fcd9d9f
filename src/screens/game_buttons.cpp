// The two buttons of the play screen, "Es empate" and "Salir".
#include "screens/game_buttons.h"

#include "screens/labels.h"
#include "screens/widgets.h"
#include "shade/rounded_box.h"
#include "surface/surface.h"

namespace {

// TRANSLATORS: the wide button of the play screen that claims a tie (about 18
// letters).
constexpr auto TIE_LABEL = screen_text("wide button", "Es empate");

}  // namespace

int32_t DRAWGAMEBTN(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view) {
  const bool hover = (state & ELEMENT_HIGHLIGHT) != 0;
  if (code == TIEBUTTON) {
    // Drawn transparently over the frame, so the rounded corners keep the floor.
    const ScreenBox place = game_button_box(TIEBUTTON);
    const auto x = static_cast<float>(place.x1);
    const auto y = static_cast<float>(place.y1);
    check_code(BLITIMAGE(screen_page(), x, y, hover ? WIDEBUTTONHOVER : WIDEBUTTON, BLIT_TRANSPARENT));
    draw_label(screen_page(), TIE_LABEL, x + 40, y + 28, place.x1 + 120);
  } else if (code == QUITBUTTON) {
    // The same "Salir" button as on the options screen, at the same place.
    DRAWOPTIONSELEMENT(ELEMENT_QUIT, state, game, view);
  }
  return 0;
}
