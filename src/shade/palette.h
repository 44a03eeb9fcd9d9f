// The 16 x 16 palette layout and the lighting of bricks.
#pragma once

#include <array>
#include <cstdint>

#include "game/gamestate.h"

using ColorTable = std::array<uint32_t, 16>;

// Entries of the texture ramp with a use of their own: black (the number
// line, the ink of labels and text, the frames of the options elements) and
// near white.
constexpr int32_t INK_COLOUR = 176;
constexpr int32_t PAPER_COLOUR = 255;
// The UI ramp's colour on the options and play screens (their buttons), and
// the texture ramp's colour of the floor on each.
constexpr uint32_t SCREEN_UI_COLOUR = 0x40A0FF;
constexpr uint32_t OPTIONS_TEXTURE_COLOUR = 0xA05000;
constexpr uint32_t PLAY_TEXTURE_COLOUR = 0xC0C040;

// The base colour table: hue v (1..10) is the colour of rods of value v.
extern const ColorTable BASE_COLORS;

void MAKEPAL16X16(const ColorTable& table);
void PALETTE0TO15(uint32_t colour);
void PALETTEFORTEXTURE(uint32_t colour);
void DEFINELIGHTING8B(BRICK& brick, const POINT3D& light, int32_t base);
