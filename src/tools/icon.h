// The game's icon, drawn by the game's own code: rods as lit bricks on the
// textured floor inside a rounded frame, and at the smallest sizes three
// bold rods alone.
#pragma once

#include <cstdint>
#include <vector>

// The sizes a desktop looks for, in pixels.
constexpr int32_t ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

// The web page's icons, as its manifest and index.html name them. They show
// the rods on a plain floor of its own colour (the textured one would make
// each of them a download larger than the page's own code). A maskable icon
// fills its whole square, the rods inside the middle circle that any
// system's mask keeps; a home screen of iOS takes one (it rounds the corners
// itself, and shows transparency as black).
struct WebIcon {
  const char* name;
  int32_t size;
  bool maskable;
};
constexpr WebIcon WEB_ICONS[] = {
    {"icon-192.png", 192, false},
    {"icon-512.png", 512, false},
    {"icon-maskable-512.png", 512, true},
    {"apple-touch-icon.png", 180, true},
};

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
// One of the web page's icons (prepare_icon_drawing first).
IconPicture draw_web_icon(const WebIcon& icon);
