// The game's icon (see icon.h).
//
// Each picture is drawn in the game's 8-bit palette at several times its
// size, in the middle of a page, with the game's floor (the options
// screen's), bricks and rounded box, and then reduced: each
// icon pixel is the mean colour of the drawn pixels under it, and its alpha
// the share of them that the picture covers, so edges and the rounded
// corners come out smooth.
#include "tools/icon.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "core/runtime_error.h"
#include "scene/bricks.h"
#include "scene/floor.h"
#include "screens/options_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/surface.h"

namespace {

// What lies under the rods.
enum class Ground {
  NONE,           // nothing: the rods alone
  FLOOR,          // the textured floor in a rounded frame
  PLAIN_ROUNDED,  // the floor's colour, plain, in a square with rounded corners
  PLAIN,          // the floor's colour to the picture's edges
};

// What one icon shows.
struct IconScene {
  int32_t size;                    // up to this many pixels
  std::span<const int32_t> rods;   // the rods' values, left to right
  double spacing;                  // floor units from one rod to the next
  Ground ground;
  double fill;                     // the share of the picture the rods take
};

constexpr int32_t BOLD_RODS[] = {2, 3, 4};
constexpr int32_t FEW_RODS[] = {2, 4, 6, 8, 10};
constexpr int32_t ALL_RODS[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

constexpr IconScene SCENES[] = {
    {32, BOLD_RODS, 1.2, Ground::NONE, 0.96},
    {64, FEW_RODS, 1.4, Ground::FLOOR, 0.74},
    {256, ALL_RODS, 1.4, Ground::FLOOR, 0.76},
};
// The web page's: a maskable icon keeps the rods inside the circle of 0.4
// times its side around the middle.
constexpr IconScene WEB_SCENE = {512, ALL_RODS, 1.4, Ground::PLAIN_ROUNDED, 0.76};
constexpr IconScene MASKABLE_SCENE = {512, ALL_RODS, 1.4, Ground::PLAIN, 0.6};

// The plain floor's colour: the texture ramp's entry that the textured floor
// shows most.
constexpr int32_t PLAIN_FLOOR_COLOUR = 238;

// Each picture is drawn at this many times its size, or as many as fit the
// page's height (the desktop's, drawn on the page) or this side (the plain
// ones, drawn on a square of their own).
constexpr int32_t SUPERSAMPLE_MOST = 8;
constexpr int32_t PLAIN_SIDE_MOST = 4096;

// The frame around the floor, in parts of the picture's side: the rim and
// the corners' radius.
constexpr double FRAME_RIM = 0.045;
constexpr double FRAME_RADIUS = 0.17;

Image texture = nullptr;

const IconScene& scene_for(int32_t size) {
  for (const IconScene& s : SCENES)
    if (size <= s.size) return s;
  return SCENES[std::size(SCENES) - 1];
}

BRICK rod_brick(int32_t value, int32_t position, double spacing) {
  BRICK rod;
  const double x = spacing * position;
  rod.CORNER1 = POINT3D{x, 0.0, 0.0, 0.0};
  rod.CORNER2 = POINT3D{x + 1.0, static_cast<double>(value), 1.0, 0.0};
  DEFINELIGHTING8B(rod, light_direction(), 16 * value);
  return rod;
}

// The options screen's camera, scaled and moved so that the rods fill the
// given share of a square of side `side` in the middle of a picture of
// width x height.
SCREENDEF view_for(const IconScene& scene, int32_t side, int32_t width, int32_t height) {
  SCREENDEF view;
  set_options_camera(view);
  view.CENTERX = width / 2;
  view.CENTERY = height / 2;
  // The rods' corners on the screen at one pixel per unit, seen from the
  // floor's origin: the box around them all, and the middle of each rod's
  // own box weighted by its area.
  double left = std::numeric_limits<double>::max(), right = -left, top = left, bottom = -left;
  double area = 0.0, middle_x = 0.0, middle_y = 0.0;
  for (std::size_t i = 0; i < scene.rods.size(); ++i) {
    const BRICK rod = rod_brick(scene.rods[i], static_cast<int32_t>(i), scene.spacing);
    double l = std::numeric_limits<double>::max(), r = -l, t = l, b = -l;
    for (const double x : {rod.CORNER1.X, rod.CORNER2.X})
      for (const double y : {rod.CORNER1.Y, rod.CORNER2.Y})
        for (const double z : {rod.CORNER1.Z, rod.CORNER2.Z}) {
          const double sx = view.XAXISX * x + view.YAXISX * y;
          const double sy = -(view.XAXISY * x + view.YAXISY * y + view.HEIGHTFACTOR * z);
          l = std::min(l, sx);
          r = std::max(r, sx);
          t = std::min(t, sy);
          b = std::max(b, sy);
        }
    const double a = (r - l) * (b - t);
    area += a;
    middle_x += a * (l + r) / 2.0;
    middle_y += a * (t + b) / 2.0;
    left = std::min(left, l);
    right = std::max(right, r);
    top = std::min(top, t);
    bottom = std::max(bottom, b);
  }
  view.SCALE = scene.fill * side / std::max(right - left, bottom - top);
  // The floor point shown at the centre: half-way between the middle of the
  // box and the rods' own middle, so that a staircase, heavier at one
  // corner, looks centred.
  const double cx = ((left + right) / 2.0 + middle_x / area) / 2.0;
  const double cy = -((top + bottom) / 2.0 + middle_y / area) / 2.0;
  const double det = view.XAXISX * view.YAXISY - view.YAXISX * view.XAXISY;
  view.ORIGINX = (cx * view.YAXISY - view.YAXISX * cy) / det;
  view.ORIGINY = (view.XAXISX * cy - view.XAXISY * cx) / det;
  return view;
}

// Whether pixel (x, y) of a side x side rounded box lies inside its face,
// the rim of width `rim` and the corners of radius `radius` left out.
bool inside_face(int32_t x, int32_t y, int32_t side, int32_t rim, int32_t radius) {
  const int32_t cx = x < radius ? radius : (x > side - 1 - radius ? side - 1 - radius : x);
  const int32_t cy = y < radius ? radius : (y > side - 1 - radius ? side - 1 - radius : y);
  if (cx == x || cy == y) return x > rim && y > rim && x < side - 1 - rim && y < side - 1 - rim;
  const double dx = x - cx, dy = y - cy;
  return std::sqrt(dx * dx + dy * dy) < radius - rim;
}

IconPicture draw_scene(const IconScene& scene, int32_t size) {
  const bool plain = scene.ground == Ground::PLAIN_ROUNDED || scene.ground == Ground::PLAIN;
  const int32_t k = std::min(SUPERSAMPLE_MOST, (plain ? PLAIN_SIDE_MOST : PAGE_HEIGHT) / size);
  const int32_t side = size * k;
  const int32_t width = plain ? side : PAGE_WIDTH;
  const int32_t height = plain ? side : PAGE_HEIGHT;
  const SCREENDEF view = view_for(scene, side, width, height);

  // The icon's square in the middle of the picture.
  Image picture = check_ref(NEWIMAGE(width, height));
  std::uint8_t* square = IMAGEINFO(picture).pixels + static_cast<std::size_t>((height - side) / 2) * width +
                         (width - side) / 2;
  const auto rim = static_cast<int32_t>(std::lround(FRAME_RIM * side));
  const auto radius = static_cast<int32_t>(std::lround(FRAME_RADIUS * side));
  Image frame = nullptr;
  if (scene.ground == Ground::FLOOR) {
    draw_options_floor(picture, texture, view);
    frame = check_ref(ROUNDEDBOX8B(side, side, rim, radius, 0, 0));
    const std::uint8_t* box = IMAGEINFO(frame).pixels;
    // The frame's rim, and nothing outside its rounded corners.
    for (int32_t y = 0; y < side; ++y)
      for (int32_t x = 0; x < side; ++x) {
        const std::uint8_t b = box[static_cast<std::size_t>(y) * side + x];
        if (b == 0 || !inside_face(x, y, side, rim, radius)) square[static_cast<std::size_t>(y) * width + x] = b;
      }
  } else if (plain) {
    for (int32_t y = 0; y < side; ++y)
      for (int32_t x = 0; x < side; ++x)
        if (scene.ground == Ground::PLAIN || inside_face(x, y, side, 0, radius))
          square[static_cast<std::size_t>(y) * width + x] = PLAIN_FLOOR_COLOUR;
  }
  for (std::size_t i = 0; i < scene.rods.size(); ++i)
    DRAWBRICK(picture, rod_brick(scene.rods[i], static_cast<int32_t>(i), scene.spacing), view);

  // Index 0 is left only where nothing was drawn.
  IconPicture icon;
  icon.size = size;
  icon.rgba.assign(static_cast<std::size_t>(size) * size * 4, 0);
  const std::uint8_t* palette = palette_data();
  for (int32_t y = 0; y < size; ++y)
    for (int32_t x = 0; x < size; ++x) {
      int32_t covered = 0, red = 0, green = 0, blue = 0;
      for (int32_t j = 0; j < k; ++j)
        for (int32_t i = 0; i < k; ++i) {
          const int32_t index = square[static_cast<std::size_t>(y * k + j) * width + x * k + i];
          if (index == 0) continue;
          ++covered;
          red += palette[3 * index];
          green += palette[3 * index + 1];
          blue += palette[3 * index + 2];
        }
      if (covered == 0) continue;
      std::uint8_t* out = &icon.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      out[0] = static_cast<std::uint8_t>((red + covered / 2) / covered);
      out[1] = static_cast<std::uint8_t>((green + covered / 2) / covered);
      out[2] = static_cast<std::uint8_t>((blue + covered / 2) / covered);
      out[3] = static_cast<std::uint8_t>((255 * covered + k * k / 2) / (k * k));
    }
  FREEIMAGE(frame);
  FREEIMAGE(picture);
  return icon;
}

}  // namespace

void prepare_icon_drawing() {
  if (texture != nullptr) return;
  check_code(SETSCREENMODE(PAGE_WIDTH, PAGE_HEIGHT, 8, 1));
  MAKEPAL16X16(BASE_COLORS);
  PALETTE0TO15(SCREEN_UI_COLOUR);
  PALETTEFORTEXTURE(PLAY_TEXTURE_COLOUR);
  texture = NEWIMAGE(16, 16);
  PREPARETEXTURE(texture, TEXTURE_WIDTH, TEXTURE_HEIGHT);
}

IconPicture draw_icon(int32_t size) { return draw_scene(scene_for(size), size); }

IconPicture draw_web_icon(const WebIcon& icon) {
  return draw_scene(icon.maskable ? MASKABLE_SCENE : WEB_SCENE, icon.size);
}
