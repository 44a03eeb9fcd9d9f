// The game's icon, drawn by the game's own code: rods as lit bricks on the
// textured floor inside a rounded frame, and at the smallest sizes three
// bold rods alone.
#pragma once

#include <cstdint>
#include <vector>

// The sizes a desktop looks for, in pixels.
constexpr int32_t ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

// A square picture of red, green, blue and alpha bytes, rows top first.
struct IconPicture {
  int32_t size = 0;
  std::vector<std::uint8_t> rgba;
};

// Prepares what the icon is drawn with: the screen the images need, the
// palette and the floor texture (once).
void prepare_icon_drawing();
// The icon at this size (prepare_icon_drawing first).
IconPicture draw_icon(int32_t size);
