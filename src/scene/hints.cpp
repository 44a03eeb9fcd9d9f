// The hints drawn into a scene frame (see hints.h).
#include "scene/hints.h"

#include <string>

#include "assets/fonts.h"
#include "core/runtime_error.h"
#include "game/teaching.h"
#include "scene/bricks.h"
#include "shade/rounded_box.h"
#include "text/language.h"

namespace {

// The markers, the status line and its legend take their colours from the
// texture ramp, like the options screen's panels: a message repaints the UI
// ramp in its own colour, and no rod's hover lights the texture ramp, so they
// keep their look whatever happens. A marker is dark olive with a black rim,
// which shows on the floor's light grain.
constexpr int32_t MARKER_FACE = 184;
constexpr int32_t MARKER_RIM = 176;
// A marker is a small square on the floor between the number line's ticks
// and the labels, centred on its number.
constexpr double MARKER_HALF = 0.24;
constexpr double MARKER_NEAR = -1.3;
constexpr double MARKER_FAR = -0.85;
// The boxes are the light end of the texture ramp.
constexpr int32_t BOX_BASE = 200;
// The legend's marker, and where its text starts.
constexpr int32_t LEGEND_MARK_LEFT = 16;
constexpr int32_t LEGEND_MARK_TOP = 11;
constexpr int32_t LEGEND_MARK_SIZE = 14;
constexpr int32_t LEGEND_TEXT_LEFT = 40;

Image status_box = nullptr;
Image legend_box = nullptr;

void draw_marker(Image frame, int32_t number, const SCREENDEF& view) {
  const double x = number;
  DRAWRECTANGLE(frame, x - MARKER_HALF - 0.06, MARKER_NEAR - 0.06, x + MARKER_HALF + 0.06, MARKER_FAR + 0.06, 0.0,
                view, MARKER_RIM);
  DRAWRECTANGLE(frame, x - MARKER_HALF, MARKER_NEAR, x + MARKER_HALF, MARKER_FAR, 0.0, view, MARKER_FACE);
}

void fill_box(Image frame, int32_t left, int32_t top, int32_t size, int32_t colour) {
  const auto f = [](int32_t v) { return static_cast<float>(v); };
  DRAWLINE(frame, f(left), f(top), f(left + size - 1), f(top + size - 1), colour, LINE_KIND_FILLED_BOX);
}

bool no_rod_fits(const GAMESTATE& game, int32_t total) {
  for (int32_t v = 1; v <= 10; ++v)
    if (((game.VALIDRODS >> v) & 1u) != 0 && total + v <= game.TARGET) return false;
  return true;
}

}  // namespace

std::string_view status_of_turn(const GAMESTATE& game) {
  // TRANSLATORS: the status line's second line (at most 262 pixels, about 24
  // letters) at the end of a game the computer won.
  static constexpr auto COMPUTER_WON = screen_text("status line", "Gana la computadora");
  // TRANSLATORS: the status line at the end of a game the player won.
  static constexpr auto PLAYER_WON = screen_text("status line", "¡Has ganado!");
  // TRANSLATORS: the status line at the end of a game the player lost by
  // laying a rod that passes the target.
  static constexpr auto PASSED = screen_text("status line", "Te pasaste de la meta");
  // TRANSLATORS: the status line when no rod fits any more: the game is a tie.
  static constexpr auto TIE = screen_text("status line", "Es un empate");
  // TRANSLATORS: the status line while the player may lay a rod.
  static constexpr auto PLAYERS_TURN = screen_text("status line", "Te toca");
  // TRANSLATORS: the status line while the computer lays its rod.
  static constexpr auto COMPUTERS_TURN = screen_text("status line", "Juega la computadora");
  const int32_t total = game.TOTALS[game.MOVECOUNT];
  // The side that laid the last rod is the one whose turn it is not.
  if (total == game.TARGET) return game.TURN == 0 ? translation(COMPUTER_WON) : translation(PLAYER_WON);
  if (total > game.TARGET) return translation(PASSED);
  if (no_rod_fits(game, total)) return translation(TIE);
  return game.TURN == 0 ? translation(PLAYERS_TURN) : translation(COMPUTERS_TURN);
}

void draw_status_line(Image frame, const GAMESTATE& game) {
  // TRANSLATORS: the status line's first line (at most 262 pixels): the
  // target, then the running total.
  static constexpr auto NUMBERS = screen_text("status line", "Meta: %d    Suma: %d");
  // TRANSLATORS: the one-line legend of the hints (at most 328 pixels, about
  // 30 letters), beside a marker like those on the floor: reaching the
  // marked totals wins the game.
  static constexpr auto LEGEND = screen_text("hint legend", "Llega a las marcas y ganarás");
  if (status_box == nullptr || legend_box == nullptr) return;
  const auto left = static_cast<float>(STATUS_LEFT);
  const auto top = static_cast<float>(STATUS_TOP);
  check_code(BLITIMAGE(frame, left, top, status_box, BLIT_TRANSPARENT));
  const std::string numbers = with_numbers(translation(NUMBERS), {game.TARGET, game.TOTALS[game.MOVECOUNT]});
  check_code(draw_text(frame, left + 16, top + 6, numbers, SMALL_TEXT_FONT));
  check_code(draw_text(frame, left + 16, top + 31, status_of_turn(game), SMALL_TEXT_FONT));

  const auto legend_left = static_cast<float>(LEGEND_LEFT);
  check_code(BLITIMAGE(frame, legend_left, top, legend_box, BLIT_TRANSPARENT));
  fill_box(frame, LEGEND_LEFT + LEGEND_MARK_LEFT - 1, STATUS_TOP + LEGEND_MARK_TOP - 1, LEGEND_MARK_SIZE + 2,
           MARKER_RIM);
  fill_box(frame, LEGEND_LEFT + LEGEND_MARK_LEFT, STATUS_TOP + LEGEND_MARK_TOP, LEGEND_MARK_SIZE, MARKER_FACE);
  check_code(draw_text(frame, legend_left + LEGEND_TEXT_LEFT, top + 6, translation(LEGEND), SMALL_TEXT_FONT));
}

void make_hint_sprites() {
  FREEIMAGE(status_box);
  FREEIMAGE(legend_box);
  status_box = ROUNDEDBOX8B(STATUS_WIDTH, STATUS_HEIGHT, 10, 20, 0, BOX_BASE);
  legend_box = ROUNDEDBOX8B(LEGEND_WIDTH, LEGEND_HEIGHT, 10, 18, 0, BOX_BASE);
}

void draw_hint_markers(Image frame, const GAMESTATE& game, const SCREENDEF& view) {
  const WinningTotals winning = winning_totals(game);
  for (int32_t t = 1; t <= game.TARGET; ++t)
    if (winning[t] != 0) draw_marker(frame, t, view);
}
