// The hints drawn into a scene frame (see hints.h).
#include "scene/hints.h"

#include <string>

#include "assets/fonts.h"
#include "core/runtime_error.h"
#include "game/teaching.h"
#include "scene/bricks.h"
#include "shade/rounded_box.h"

namespace {

// The markers take the colours of the screen's buttons and the status line
// (the UI ramp): the button colour itself with a dark rim, so they show on
// the floor's light and dark grain. No rod's hover lights them up.
constexpr int32_t MARKER_FACE = 7;
constexpr int32_t MARKER_RIM = 1;
// A marker is a small square on the floor between the number line's ticks
// and the labels, centred on its number.
constexpr double MARKER_HALF = 0.24;
constexpr double MARKER_NEAR = -1.3;
constexpr double MARKER_FAR = -0.85;

Image status_box = nullptr;

void draw_marker(Image frame, int32_t number, const SCREENDEF& view) {
  const double x = number;
  DRAWRECTANGLE(frame, x - MARKER_HALF - 0.06, MARKER_NEAR - 0.06, x + MARKER_HALF + 0.06, MARKER_FAR + 0.06, 0.0,
                view, MARKER_RIM);
  DRAWRECTANGLE(frame, x - MARKER_HALF, MARKER_NEAR, x + MARKER_HALF, MARKER_FAR, 0.0, view, MARKER_FACE);
}

}  // namespace

void draw_status_line(Image frame, const GAMESTATE& game) {
  if (status_box == nullptr) return;
  const auto left = static_cast<float>(STATUS_LEFT);
  const auto top = static_cast<float>(STATUS_TOP);
  check_code(BLITIMAGE(frame, left, top, status_box, BLIT_TRANSPARENT));
  const std::string numbers = "Meta: " + std::to_string(game.TARGET) + "    Suma: " +
                              std::to_string(game.TOTALS[game.MOVECOUNT]);
  check_code(DRAWTEXT(frame, left + 16, top + 6, numbers, SMALL_FONT));
  check_code(DRAWTEXT(frame, left + 16, top + 31, game.TURN == 0 ? "Te toca" : "Juega la computadora", SMALL_FONT));
}

void make_hint_sprites() {
  FREEIMAGE(status_box);
  status_box = ROUNDEDBOX8B(STATUS_WIDTH, STATUS_HEIGHT, 10, 20, 0, 0);
}

void draw_hint_markers(Image frame, const GAMESTATE& game, const SCREENDEF& view) {
  const WinningTotals winning = winning_totals(game);
  for (int32_t t = 1; t <= game.TARGET; ++t)
    if (winning[t] != 0) draw_marker(frame, t, view);
}
