// Bricks drawn as lit parallelograms with their edges, and floor rectangles.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Open fill of (x0, y0) + s*A + t*B, 0 < s, t < 1. 0 done, -1 not 8-bit,
// -2 bounding box starts beyond the right or bottom edge, -3 A and B parallel.
int32_t PAINTPARALLELOGRAM8B(Image image, int32_t x0, int32_t y0, int32_t ax, int32_t ay,
                             int32_t bx, int32_t by, int32_t colour);

// Where a brick lands on a width x height image: the near top corner O, the
// top-face edges A (the one running to the right) and B, the height V
// (pointing down the screen) and the view quadrant 0..3.
struct BrickShape {
  int32_t quadrant = 0;
  int32_t ox = 0;
  int32_t oy = 0;
  int32_t ax = 0;
  int32_t ay = 0;
  int32_t bx = 0;
  int32_t by = 0;
  int32_t vx = 0;
  int32_t vy = 0;
};
BrickShape brick_on_screen(int32_t width, int32_t height, const BRICK& brick, const SCREENDEF& view);
// The highest row of a width x height image that DRAWBRICK may touch for this
// brick: the top face's highest corner.
int32_t brick_top_row(int32_t width, int32_t height, const BRICK& brick, const SCREENDEF& view);

// Draws the brick's top face, the two side faces toward the viewer and nine
// edges, centred on the middle of the image.
void DRAWBRICK(Image image, const BRICK& brick, const SCREENDEF& view);
int32_t DRAWRECTANGLE(Image image, double x1, double y1, double x2, double y2, double height,
                      const SCREENDEF& view, int32_t colour);
