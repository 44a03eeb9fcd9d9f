// The elements of the options screen (drawn straight onto the screen) and
// the row of rod pictures (drawn into the frame).
#include "screens/widgets.h"

#include <string>

#include "assets/fonts.h"
#include "scene/bricks.h"
#include "screens/labels.h"
#include "screens/layout.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"

namespace {

constexpr int32_t FILL_COLOUR = PAPER_COLOUR;
constexpr int32_t FRAME_COLOUR = INK_COLOUR;
constexpr int32_t HIGHLIGHT_COLOUR = 47;   // brightest shade of hue 2
constexpr int32_t PRESSED_COLOUR = 13;     // UI ramp

float f(double v) { return static_cast<float>(v); }

void filled_box(Image target, double x1, double y1, double x2, double y2, int32_t colour) {
  DRAWLINE(target, f(x1), f(y1), f(x2), f(y2), colour, LINE_KIND_FILLED_BOX);
}

void box(Image target, double x1, double y1, double x2, double y2, int32_t colour) {
  DRAWLINE(target, f(x1), f(y1), f(x2), f(y2), colour, LINE_KIND_BOX);
}

void line(Image target, double x1, double y1, double x2, double y2, int32_t colour) {
  DRAWLINE(target, f(x1), f(y1), f(x2), f(y2), colour, LINE_KIND_LINE);
}

void text(Image target, double x, double y, const std::string& s, const std::uint8_t* font) {
  check_code(DRAWTEXT(target, f(x), f(y), s, font));
}

bool rod_valid(const GAMESTATE& game, int32_t value) { return ((game.VALIDRODS >> value) & 1) != 0; }


void draw_target_panel() {
  Image screen = screen_page();
  // TRANSLATORS: on the options screen, beside the target number (one line of
  // at most 350 pixels, about 30 letters).
  draw_label(screen, screen_text("target label", "Número a alcanzar (máx. 100):"), 240, 147, 0);
  filled_box(screen, 603, 135, 750, 182, FILL_COLOUR);
  // Three nested outlines, each shifted by one pixel, make a three-pixel
  // frame with cut corners.
  box(screen, 602, 132, 751, 185, FRAME_COLOUR);
  box(screen, 601, 133, 752, 184, FRAME_COLOUR);
  box(screen, 600, 134, 753, 183, FRAME_COLOUR);
  filled_box(screen, 627, 135, 628, 183, FRAME_COLOUR);
  filled_box(screen, 725, 135, 726, 183, FRAME_COLOUR);
}

void draw_target_number(const GAMESTATE& game) {
  Image screen = screen_page();
  filled_box(screen, 650, 143, 720, 174, FILL_COLOUR);
  text(screen, 650, 143, std::to_string(static_cast<unsigned>(game.TARGET)), LARGE_FONT);
}

void draw_arrow(int32_t code, int32_t state, const SCREENDEF& view) {
  Image screen = screen_page();
  const ScreenBox place = element_box(code, view);
  const auto x = static_cast<int32_t>(place.x1);
  const auto y = static_cast<int32_t>(place.y1);
  const bool up = code == ELEMENT_PLUS_TEN || code == ELEMENT_PLUS_ONE;
  const int32_t frame = (state & ELEMENT_HIGHLIGHT) != 0 ? HIGHLIGHT_COLOUR : FRAME_COLOUR;
  const int32_t fill = (state & ELEMENT_PRESSED) != 0 ? PRESSED_COLOUR : FILL_COLOUR;
  box(screen, place.x1, place.y1, place.x2, place.y2, frame);
  filled_box(screen, place.x1 + 1, place.y1 + 1, place.x2 - 1, place.y2 - 1, fill);
  // The triangle grows by one pixel per row, alternately on the right (even
  // rows) and on the left (odd rows), from its apex.
  // cppcheck-suppress duplicateAssignExpression ; both ends start at the apex
  int32_t left = x + 11;
  int32_t right = x + 11;
  for (int32_t k = 0; k < 12; ++k) {
    const int32_t r = up ? y + 6 + k : y + 17 - k;
    line(screen, left, r, right, r, frame);
    if (r % 2 == 0) {
      ++right;
    } else {
      --left;
    }
  }
}

void draw_starter_choice(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view) {
  Image screen = screen_page();
  // The two round choices stand 40 pixels apart in the starter panel.
  const double cx = element_box(code, view).x1 + 32;
  const int32_t cy = 40 * code - 422;
  const int32_t colour = (state & ELEMENT_HIGHLIGHT) != 0 ? HIGHLIGHT_COLOUR : FRAME_COLOUR;
  DRAWCIRCLE(screen, f(cx), f(cy), 10, colour);
  DRAWCIRCLE(screen, f(cx), f(cy), 8, FILL_COLOUR);
  const bool chosen = code == ELEMENT_PLAYER_STARTS ? game.STARTER == 0 : game.STARTER != 0;
  if (chosen) DRAWCIRCLE(screen, f(cx), f(cy), 2, colour);
}

// TRANSLATORS: the wide button of the options screen that shows the
// information pages (about 18 letters).
constexpr auto INFO_LABEL = screen_text("wide button", "Información");
// TRANSLATORS: the small button of the options screen that starts a game
// (about 9 letters).
constexpr auto PLAY_LABEL = screen_text("small button", "Jugar");
// TRANSLATORS: the small button that leaves the program (options screen) or
// gives up the game (play screen) (about 9 letters).
constexpr auto QUIT_LABEL = screen_text("small button", "Salir");

void draw_button(int32_t code, int32_t state, const SCREENDEF& view) {
  // The sprite, and the label 28 pixels below its top and label_x from its
  // left edge.
  const ScreenBox place = element_box(code, view);
  Image screen = screen_page();
  const bool wide = code == ELEMENT_INFO;
  const bool hover = (state & ELEMENT_HIGHLIGHT) != 0;
  const Image sprite = wide ? (hover ? WIDEBUTTONHOVER : WIDEBUTTON) : (hover ? SMALLBUTTONHOVER : SMALLBUTTON);
  check_code(BLITIMAGE(screen, f(place.x1), f(place.y1), sprite, BLIT_TRANSPARENT));
  const double y = place.y1 + 28;
  const double centre = place.x1 + (wide ? 120 : 70);
  if (code == ELEMENT_INFO) draw_label(screen, INFO_LABEL, place.x1 + 28, y, centre);
  if (code == ELEMENT_PLAY) draw_label(screen, PLAY_LABEL, place.x1 + 40, y, centre);
  if (code == ELEMENT_QUIT) draw_label(screen, QUIT_LABEL, place.x1 + 40, y, centre);
}

}  // namespace

int32_t DRAWOPTIONSELEMENT(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view) {
  if (code >= ELEMENT_FIRST_ROD && code <= ELEMENT_LAST_ROD) return DRAWOPTIONSCHECKBOX(code, state, game, view);
  switch (code) {
    case ELEMENT_TARGET_PANEL:
      draw_target_panel();
      break;
    case ELEMENT_TARGET:
      draw_target_number(game);
      break;
    case ELEMENT_PLUS_TEN:
    case ELEMENT_MINUS_TEN:
    case ELEMENT_PLUS_ONE:
    case ELEMENT_MINUS_ONE:
      draw_arrow(code, state, view);
      break;
    case ELEMENT_PLAYER_STARTS:
    case ELEMENT_COMPUTER_STARTS:
      draw_starter_choice(code, state, game, view);
      break;
    case ELEMENT_INFO:
    case ELEMENT_PLAY:
    case ELEMENT_QUIT:
      draw_button(code, state, view);
      break;
    default:
      break;
  }
  return 0;
}

int32_t DRAWOPTIONSCHECKBOX(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view) {
  if (code < ELEMENT_FIRST_ROD || code > ELEMENT_LAST_ROD) return 0;
  Image screen = screen_page();
  const ScreenBox place = element_box(code, view);
  const double l = place.x1;
  const double t = place.y1;
  const int32_t frame = (state & ELEMENT_HIGHLIGHT) != 0 ? HIGHLIGHT_COLOUR : FRAME_COLOUR;
  filled_box(screen, l, t, l + 23, t + 23, frame);
  filled_box(screen, l + 2, t + 2, l + 21, t + 21, FILL_COLOUR);
  if (rod_valid(game, code)) {
    line(screen, l + 4, t + 12, l + 8, t + 19, frame);
    line(screen, l + 5, t + 12, l + 9, t + 19, frame);
    line(screen, l + 8, t + 19, l + 18, t + 4, frame);
    line(screen, l + 9, t + 19, l + 19, t + 4, frame);
  }
  return 0;
}

int32_t DRAWOPTIONSRODS(Image frame, const OptionRodList& rods, const GAMESTATE& game, const SCREENDEF& view) {
  // Screen step of one floor unit along y, and the width of one rod.
  const double dx = view.YAXISX * view.SCALE;
  const double dy = -view.SCALE * view.YAXISY;
  const double w = view.SCALE;
  for (int32_t i = 1; i <= 10; ++i) {
    if (rod_valid(game, i)) {
      DRAWBRICK(frame, rods[i], view);
    } else {
      // A rod that may not be used shows only its outline on the floor.
      int32_t sxi = 0;
      int32_t syi = 0;
      FLOORTOSCREENCOORD(rods[i].CORNER1.X, rods[i].CORNER1.Y, view, sxi, syi);
      const double sx = sxi;
      const double sy = syi;
      const double ex = sx + i * dx;
      const double ey = sy + i * dy;
      const int32_t hue = 16 * i;
      line(frame, sx, sy, sx + w, sy, FILL_COLOUR);
      line(frame, sx + 1, sy - 1, sx + w - 1, sy - 1, FILL_COLOUR);
      line(frame, sx, sy, ex, ey, hue);
      line(frame, sx + 1, sy - 1, ex + 1, ey + 1, hue);
      line(frame, ex, ey, ex + w, ey, hue);
      line(frame, ex, ey + 1, ex + w - 1, ey + 1, hue);
      line(frame, sx + w, sy, ex + w, ey, FILL_COLOUR);
      line(frame, sx + w - 1, sy - 1, ex + w - 1, ey - 1, FILL_COLOUR);
    }
    // The value under its rod picture, left-aligned with the check box.
    text(frame, element_box(i, view).x1, view.CENTERY + 224, std::to_string(i), LARGE_FONT);
  }
  return 0;
}
