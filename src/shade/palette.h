// The 16 x 16 palette layout and the lighting of bricks.
#pragma once

#include <array>
#include <cstdint>

#include "game/gamestate.h"

using ColorTable = std::array<uint32_t, 16>;

// The base colour table: hue v (1..10) is the colour of rods of value v.
extern const ColorTable BASE_COLORS;

void MAKEPAL16X16(const ColorTable& table);
void PALETTE0TO15(uint32_t colour);
void PALETTEFORTEXTURE(uint32_t colour);
void DEFINELIGHTING8B(BRICK& brick, const POINT3D& light, int32_t base);
