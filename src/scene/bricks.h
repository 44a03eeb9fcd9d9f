// Bricks drawn as lit parallelograms with their edges, and floor rectangles.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Open fill of (x0, y0) + s*A + t*B, 0 < s, t < 1. 0 done, -1 not 8-bit,
// -2 bounding box starts beyond the right or bottom edge, -3 A and B parallel.
int32_t PAINTPARALLELOGRAM8B(IMAGE image, int32_t x0, int32_t y0, int32_t ax, int32_t ay,
                             int32_t bx, int32_t by, int32_t colour);
void DRAWBRICK(IMAGE image, const BRICK& brick, const SCREENDEF& view);
int32_t DRAWRECTANGLE(IMAGE image, double x1, double y1, double x2, double y2, double height,
                      const SCREENDEF& view, int32_t colour);
