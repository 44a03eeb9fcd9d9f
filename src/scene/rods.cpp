// The number line, laid rods, choice rods, hover highlight and the
// computer's sliding rod.
#include "scene/rods.h"

#include <algorithm>
#include <limits>

#include "scene/bricks.h"
#include "surface/input.h"
#include "surface/random.h"

CheckedArray<BRICK, CHOICE_ROD_COUNT> CHOICERODS;

namespace {

// Halving that rounds toward minus infinity, as an arithmetic shift does.
int32_t half_down(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// Screen boxes are 16-bit; a far-off corner is pinned to the edge of that
// range instead of wrapping round onto the screen.
int16_t box_coord(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

// Whether the value of choice rod j may be laid.
bool rod_valid(const GAMESTATE& state, int32_t j) { return ((state.VALIDRODS >> ((j % 10) + 1)) & 1u) != 0; }

}  // namespace

void build_choice_rods(const POINT3D& light) {
  for (int32_t i = 0; i < CHOICE_ROD_COUNT; ++i) {
    const int32_t v = (i % 10) + 1;
    BRICK& rod = CHOICERODS[i];
    rod.CORNER1 = POINT3D{2.0 * i + 1.0, -15.0, 0.0, 0.0};
    rod.CORNER2 = POINT3D{2.0 * i + 2.0, static_cast<double>(i % 10) - 14.0, 1.0, 0.0};
    DEFINELIGHTING8B(rod, light, 16 * v);
  }
}

ChoiceWindow choice_window_for(int32_t total, int32_t target) {
  ChoiceWindow w;
  w.first = std::max(half_down(total - 16), 0);
  w.last = std::min(half_down(total + 16), half_down(target - 1));
  w.last = std::max(w.last, 10);
  // At least ten rods wide, so that every value is offered (near the target
  // the window would otherwise lose the low values the player may need).
  w.first = std::max(std::min(w.first, w.last - 9), 0);
  return w;
}

void DRAWNUMBERLINE(Image image, uint8_t target, const SCREENDEF& view, int32_t colour) {
  const double n = target;
  DRAWRECTANGLE(image, 0.0, -0.04, n, 0.04, 0.0, view, colour);
  for (int32_t i = 0; i <= target; ++i) {
    const double x = i;
    DRAWRECTANGLE(image, x - 0.04, -0.5, x + 0.04, 0.5, 0.0, view, colour);
  }
}

void LAYROD(int32_t value, GAMESTATE& state, int32_t colour) {
  const int32_t k = state.MOVECOUNT;
  state.RODS[k] = static_cast<uint8_t>(value);
  // TOTALS has room for the total after the hundredth rod too, so a game
  // that reaches its target with rod 100 ends like any other.
  if (k < MAX_RODS) state.TOTALS[k + 1] = static_cast<uint8_t>(state.TOTALS[k] + value);
  BRICK& brick = state.BRICKS[k];
  const double from = state.TOTALS[k];
  brick.CORNER1 = POINT3D{from, 0.0, 0.0, 0.0};
  brick.CORNER2 = POINT3D{from + value, 1.0, 1.0, 0.0};
  DEFINELIGHTING8B(brick, state.LIGHTDIR, colour);
  state.MOVECOUNT = static_cast<uint8_t>(k + 1);
  state.TURN ^= 1;
}

void DRAWRODS(Image image, const GAMESTATE& state, const SCREENDEF& view) {
  // Painter's order: the laid rods as they were laid, then the choice row,
  // which is nearer to the viewer, from left to right.
  for (int32_t k = 0; k < state.MOVECOUNT; ++k) DRAWBRICK(image, state.BRICKS[k], view);

  const ChoiceWindow w = choice_window_for(state.TOTALS[state.MOVECOUNT], state.TARGET);
  for (int32_t j = w.first; j <= w.last; ++j)
    if (rod_valid(state, j)) DRAWBRICK(image, CHOICERODS[j], view);
}

ChoiceBoxList CHOICEBOXES(const GAMESTATE& state, const SCREENDEF& view) {
  ChoiceBoxList boxes;
  for (ChoiceBox& box : boxes) box = ChoiceBox{1, 1, 0, 0};  // contains no point
  const ChoiceWindow w = choice_window_for(state.TOTALS[state.MOVECOUNT], state.TARGET);
  for (int32_t j = w.first; j <= w.last; ++j) {
    if (!rod_valid(state, j)) continue;
    const BRICK& rod = CHOICERODS[j];
    int32_t ax = 0, ay = 0, bx = 0, by = 0;
    FLOORTOSCREENCOORD(rod.CORNER1.X, rod.CORNER1.Y, view, ax, ay);
    FLOORTOSCREENCOORD(rod.CORNER2.X, rod.CORNER2.Y, view, bx, by);
    ChoiceBox& box = boxes[j];
    box.X1 = box_coord(ax);
    box.Y1 = box_coord(nearest(static_cast<double>(by) - view.SCALE));
    box.X2 = box_coord(bx);
    box.Y2 = box_coord(ay);
  }
  return boxes;
}

bool inside_choice_box(const ChoiceBox& box, int32_t x, int32_t y) {
  return box.X1 <= x && x <= box.X2 && box.Y1 <= y && y <= box.Y2;
}

void HIGHLIGHTROD(int32_t value, const ColorTable& table, int32_t on) {
  if (value < 0 || value >= static_cast<int32_t>(table.size())) index_error(Idx(value));
  const uint32_t colour = table[static_cast<std::size_t>(value)];
  int32_t r = static_cast<int32_t>((colour >> 16) & 255u);
  int32_t g = static_cast<int32_t>((colour >> 8) & 255u);
  int32_t b = static_cast<int32_t>(colour & 255u);
  if (on != 0) {
    r = std::min(r + 80, 255);
    g = std::min(g + 80, 255);
    b = std::min(b + 80, 255);
  }
  // The same shade rule as the palette layout, so that 0 restores the row.
  for (int32_t i = 0; i < 16; ++i) {
    SETPALETTE(16 * value + i, r / 2 + (i * r) / 32, g / 2 + (i * g) / 32, b / 2 + (i * b) / 32);
  }
}

void BRINGCOMPUROD(Image frame, int32_t value, const GAMESTATE& state, const SCREENDEF& view) {
  Image scratch = NEWIMAGE(2 * view.CENTERX, 2 * view.CENTERY);
  check_ref(scratch);

  // The rod starts under the middle of the screen's top row.
  double fx0 = 0.0, fy0 = 0.0;
  SCREENTOFLOORCOORD(view.CENTERX, 0, view, fx0, fy0);
  BRICK rod;
  rod.CORNER1 = POINT3D{fx0, fy0, 0.0, 0.0};
  rod.CORNER2 = POINT3D{fx0 + value, fy0 + 1.0, 1.0, 0.0};
  DEFINELIGHTING8B(rod, state.LIGHTDIR, 16 * value);

  const double duration = RANDOMUNIT() * 2.5 + 0.2;
  const double target_x = state.TOTALS[state.MOVECOUNT];
  double t0 = CLOCKSECONDS();

  // Each frame is the finished scene with only the moving rod drawn over it,
  // so the frame image itself is never touched.
  const auto show = [&]() {
    check_code(BLITIMAGE(scratch, 0.0f, 0.0f, frame, BLIT_COPY));
    DRAWBRICK(scratch, rod, view);
  };
  double p = 0.0;
  do {
    if (CLOCKSECONDS() < 1.0) t0 = 0.0;  // a clock that has just started
    show();
    WAITMS(2);
    check_code(BLITIMAGE(screen_page(), 0.0f, 0.0f, scratch, BLIT_COPY));
    p = std::min((CLOCKSECONDS() - t0) / duration, 1.0);
    rod.CORNER1.X = (target_x - fx0) * p + fx0;
    rod.CORNER1.Y = fy0 - fy0 * p;
    rod.CORNER2.X = rod.CORNER1.X + value;
    rod.CORNER2.Y = 1.0 + rod.CORNER1.Y;
  } while (p < 1.0);

  // The last frame shows the rod exactly where LAYROD will put it; the
  // interpolation can miss that place by a rounding error.
  rod.CORNER1.X = target_x;
  rod.CORNER1.Y = 0.0;
  rod.CORNER2.X = target_x + value;
  rod.CORNER2.Y = 1.0;
  show();
  check_code(BLITIMAGE(screen_page(), 0.0f, 0.0f, scratch, BLIT_COPY));

  FREEIMAGE(scratch);
  drop_waiting_keys();
}
