// The hints a teacher can switch on, drawn into every scene frame: a marker
// on the floor at each winning total, and a status line with the target, the
// total and whose turn it is.
#pragma once

#include <string_view>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"

// Makes the status line's box (once, at start-up: a teacher may switch the
// hints on at any time).
void make_hint_sprites();
// Draws a marker at every winning total into the frame (under the rods).
void draw_hint_markers(Image frame, const GAMESTATE& game, const SCREENDEF& view);
// Draws the status line and the markers' legend into the frame (over
// everything).
void draw_status_line(Image frame, const GAMESTATE& game);
// The status line's second line: whose turn it is, or how the game ended
// (the target reached by either side, passed by the player, or no rod that
// fits any more), as the game record tells it.
std::string_view status_of_turn(const GAMESTATE& game);

// Where the status line's box stands, and its size.
constexpr int32_t STATUS_LEFT = 6;
constexpr int32_t STATUS_TOP = 4;
constexpr int32_t STATUS_WIDTH = 290;
constexpr int32_t STATUS_HEIGHT = 62;
// The legend of the markers, one line at the top right.
constexpr int32_t LEGEND_WIDTH = 380;
constexpr int32_t LEGEND_HEIGHT = 36;
constexpr int32_t LEGEND_LEFT = 800 - 6 - LEGEND_WIDTH;
