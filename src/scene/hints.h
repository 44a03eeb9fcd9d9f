// The hints a teacher can switch on, drawn into every scene frame: a marker
// on the floor at each winning total, and a status line with the target, the
// total and whose turn it is.
#pragma once

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Makes the status line's box (once, at start-up: a teacher may switch the
// hints on at any time).
void make_hint_sprites();
// Draws a marker at every winning total into the frame (under the rods).
void draw_hint_markers(Image frame, const GAMESTATE& game, const SCREENDEF& view);
// Draws the status line into the frame (over everything).
void draw_status_line(Image frame, const GAMESTATE& game);

// Where the status line's box stands, and its size.
constexpr int32_t STATUS_LEFT = 6;
constexpr int32_t STATUS_TOP = 4;
constexpr int32_t STATUS_WIDTH = 290;
constexpr int32_t STATUS_HEIGHT = 62;
