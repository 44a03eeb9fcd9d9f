// A whole scene frame: the floor, the number line and the rods drawn into
// the frame image, then copied onto the screen in one copy, so the screen
// never shows a half-drawn scene.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

// Sets the view from the game's camera position and draws the frame.
void draw_scene_frame(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, const GAMESTATE& game,
                      SCREENDEF& view);
