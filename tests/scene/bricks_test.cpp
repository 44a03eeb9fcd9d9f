#include "scene/bricks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "tests/support/run.h"
#include "tests/support/screen.h"

namespace {

PixelSet box(int x1, int x2, int y1, int y2) {
  PixelSet out;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) out.insert({x, y});
  return out;
}

struct Fill {
  int32_t status;
  PixelSet pixels;
};

Fill fill(int x0, int y0, int ax, int ay, int bx, int by, int w = 800, int h = 600) {
  Image img = NEWIMAGE(w, h);
  const int32_t status = PAINTPARALLELOGRAM8B(img, x0, y0, ax, ay, bx, by, 0x305);
  Fill out{status, painted(img)};
  FREEIMAGE(img);
  return out;
}

uint8_t pixel_at(Image img, int x, int y) {
  const ImageInfo info = IMAGEINFO(img);
  return info.pixels[y * info.width + x];
}


// Every slot gets a colour of its own: 100 + slot.
BRICK marked_brick(POINT3D a, POINT3D b) {
  BRICK brick;
  brick.CORNER1 = a;
  brick.CORNER2 = b;
  for (int i = 0; i < 18; ++i) brick.FACECOLORS[i] = 100 + i;
  return brick;
}

std::set<int> colours_in(Image img) {
  std::set<int> out;
  const ImageInfo info = IMAGEINFO(img);
  for (int i = 0; i < info.width * info.height; ++i)
    if (info.pixels[i] != 0) out.insert(info.pixels[i]);
  return out;
}

}  // namespace

TEST(Parallelogram, OpenFillLeavesTheBorderOut) {
  open_test_screen();
  const Fill square = fill(10, 10, 4, 0, 0, 4);
  EXPECT_EQ(square.status, 0);
  EXPECT_EQ(square.pixels, box(11, 13, 11, 13));

  // Ten steps of 0.1 stay below 1, five steps of 0.2 reach it exactly.
  const Fill wide = fill(10, 10, 10, 0, 0, 5);
  EXPECT_EQ(wide.status, 0);
  EXPECT_EQ(wide.pixels, box(11, 20, 11, 14));
  EXPECT_EQ(wide.pixels.size(), 40u);

  // The same shape with the edge vectors exchanged.
  EXPECT_EQ(fill(10, 10, 0, 5, 10, 0).pixels, wide.pixels);
  EXPECT_EQ(fill(10, 10, 0, 4, 4, 0).pixels, square.pixels);
}

TEST(Parallelogram, ColourIsItsLowByte) {
  open_test_screen();
  Image img = NEWIMAGE(20, 20);
  PAINTPARALLELOGRAM8B(img, 2, 2, 4, 0, 0, 4, 0x1A7);
  EXPECT_EQ(pixel_at(img, 3, 3), 0xA7);
  FREEIMAGE(img);
}

TEST(Parallelogram, SlantedShapeStaysInsideItsEdges) {
  open_test_screen();
  const Fill slant = fill(100, 100, 40, -10, -12, -30);
  EXPECT_EQ(slant.status, 0);
  // Every painted pixel lies inside (on a border only where the repeated
  // additions have drifted across it), and the middle is painted.
  const double det = 40.0 * -30 - -10.0 * -12;
  for (auto [x, y] : slant.pixels) {
    const double s = ((x - 100) * -30.0 - (y - 100) * -12.0) / det;
    const double t = ((y - 100) * 40.0 - (x - 100) * -10.0) / det;
    ASSERT_GT(s, -1e-12);
    ASSERT_LT(s, 1.0 + 1e-12);
    ASSERT_GT(t, -1e-12);
    ASSERT_LT(t, 1.0 + 1e-12);
  }
  EXPECT_TRUE(slant.pixels.count({114, 80}));
  // Area of the parallelogram, give or take its border.
  EXPECT_NEAR(static_cast<double>(slant.pixels.size()), 1320.0, 80.0);
}

TEST(Parallelogram, FailuresAndClipping) {
  open_test_screen();
  const Fill parallel = fill(10, 10, 5, 5, 10, 10);
  EXPECT_EQ(parallel.status, -3);
  EXPECT_TRUE(parallel.pixels.empty());

  const Fill outside = fill(-5, -5, 3, 0, 0, 3);
  EXPECT_EQ(outside.status, 0);
  EXPECT_TRUE(outside.pixels.empty());

  const Fill beyond = fill(800, 10, 5, 0, 0, 5);
  EXPECT_EQ(beyond.status, -2);
  EXPECT_TRUE(beyond.pixels.empty());
  EXPECT_EQ(fill(10, 600, 5, 0, 0, 5).status, -2);

  const Fill edge = fill(800, 10, -5, 0, 0, 5);
  EXPECT_EQ(edge.status, 0);
  EXPECT_EQ(edge.pixels, box(796, 799, 11, 14));

  // Partly above and left of the image: clipped, nothing written outside.
  const Fill corner = fill(-3, -3, 8, 0, 0, 8, 10, 10);
  EXPECT_EQ(corner.status, 0);
  EXPECT_EQ(corner.pixels, box(0, 4, 0, 4));
}

TEST(Parallelogram, NotAnEightBitImage) {
  // A hand-made block of 2 bytes per pixel, 4 x 4.
  std::vector<uint8_t> block(4 + 4 * 4 * 2, 0);
  block[0] = static_cast<uint8_t>((4 << 3) | 2);
  block[2] = 4;
  EXPECT_EQ(PAINTPARALLELOGRAM8B(block.data(), 0, 0, 3, 0, 0, 3, 9), -1);
  for (size_t i = 4; i < block.size(); ++i) EXPECT_EQ(block[i], 0);
}

TEST(Brick, PlacementInTheGameView) {
  const SCREENDEF view = game_view(12.0, 100);
  const BRICK brick = marked_brick({0, 0, 0, 0}, {3, 1, 1, 0});
  const BrickShape b = brick_on_screen(800, 600, brick, view);
  EXPECT_EQ(b.quadrant, 1);
  EXPECT_EQ(b.ox, 116);
  EXPECT_EQ(b.oy, 72);
  EXPECT_EQ(b.ax, 6);
  EXPECT_EQ(b.ay, -25);
  EXPECT_EQ(b.bx, -95);
  EXPECT_EQ(b.by, -13);
  EXPECT_EQ(b.vx, 0);
  EXPECT_EQ(b.vy, 32);
}

TEST(Brick, QuadrantsFollowTheAxisSigns) {
  SCREENDEF view = game_view(12.0, 100);
  const BRICK brick = marked_brick({0, 0, 0, 0}, {1, 1, 1, 0});
  const double signs[4][2] = {{0.1, 0.8}, {-0.1, 0.8}, {-0.1, -0.8}, {0.1, -0.8}};
  for (int r = 0; r < 4; ++r) {
    view.XAXISY = signs[r][0];
    view.YAXISY = signs[r][1];
    EXPECT_EQ(brick_on_screen(800, 600, brick, view).quadrant, r);
  }
  // The brick sits relative to the image's middle, not to CENTERX/CENTERY.
  view = game_view(12.0, 100);
  const BrickShape big = brick_on_screen(800, 600, brick, view);
  const BrickShape small = brick_on_screen(200, 100, brick, view);
  EXPECT_EQ(small.ox, big.ox - 300);
  EXPECT_EQ(small.oy, big.oy - 250);
}

TEST(Brick, GameViewShowsTopRightAndFront) {
  open_test_screen();
  const SCREENDEF view = game_view(12.0, 100);
  Image img = NEWIMAGE(800, 600);
  DRAWBRICK(img, marked_brick({0, 0, 0, 0}, {3, 1, 1, 0}), view);

  const std::set<int> expected = {
      100 + TOPCOLOR,      100 + RIGHTCOLOR,     100 + FRONTCOLOR,      100 + RIGHTTOPEDGE,
      100 + FRONTTOPEDGE,  100 + BACKTOPEDGE,    100 + LEFTTOPEDGE,     100 + RIGHTFRONTEDGE,
      100 + RIGHTBACKEDGE, 100 + LEFTFRONTEDGE,  100 + RIGHTBOTTOMEDGE, 100 + FRONTBOTTOMEDGE,
  };
  EXPECT_EQ(colours_in(img), expected);

  // Inside each face, away from its edges (O = (116, 72), A = (6, -25),
  // B = (-95, -13), V = (0, 32)).
  EXPECT_EQ(pixel_at(img, 71, 53), 100 + TOPCOLOR);
  EXPECT_EQ(pixel_at(img, 119, 75), 100 + RIGHTCOLOR);
  EXPECT_EQ(pixel_at(img, 68, 81), 100 + FRONTCOLOR);
  // Corners: the far ends of the edges drawn last through them.
  EXPECT_EQ(pixel_at(img, 116, 104), 100 + FRONTBOTTOMEDGE);   // O + V
  EXPECT_EQ(pixel_at(img, 122, 79), 100 + RIGHTBOTTOMEDGE);    // O + V + A
  EXPECT_EQ(pixel_at(img, 21, 91), 100 + FRONTBOTTOMEDGE);     // O + V + B
  EXPECT_EQ(pixel_at(img, 27, 34), 100 + LEFTTOPEDGE);         // O + A + B
  // Nothing outside the brick's outline.
  EXPECT_EQ(pixel_at(img, 116, 106), 0);
  EXPECT_EQ(pixel_at(img, 124, 60), 0);
  FREEIMAGE(img);
}

TEST(Brick, CornerOrderDoesNotMatter) {
  open_test_screen();
  const SCREENDEF view = game_view(12.0, 100);
  Image first = NEWIMAGE(800, 600);
  Image second = NEWIMAGE(800, 600);
  Image third = NEWIMAGE(800, 600);
  DRAWBRICK(first, marked_brick({4.5, -2, 0, 0}, {9, 1, 1.5, 0}), view);
  DRAWBRICK(second, marked_brick({9, 1, 1.5, 0}, {4.5, -2, 0, 0}), view);
  DRAWBRICK(third, marked_brick({4.5, 1, 1.5, 0}, {9, -2, 0, 0}), view);
  EXPECT_FALSE(colours_in(first).empty());
  EXPECT_EQ(std::memcmp(first, second, 4 + 800 * 600), 0);
  EXPECT_EQ(std::memcmp(first, third, 4 + 800 * 600), 0);
  FREEIMAGE(first);
  FREEIMAGE(second);
  FREEIMAGE(third);
}

TEST(Brick, FlatBrickKeepsTopAndEdges) {
  open_test_screen();
  const SCREENDEF view = game_view(12.0, 100);
  Image img = NEWIMAGE(800, 600);
  DRAWBRICK(img, marked_brick({0, 0, 0, 0}, {3, 1, 0, 0}), view);
  const std::set<int> seen = colours_in(img);
  EXPECT_TRUE(seen.count(100 + TOPCOLOR));
  EXPECT_FALSE(seen.count(100 + RIGHTCOLOR));
  EXPECT_FALSE(seen.count(100 + FRONTCOLOR));
  FREEIMAGE(img);
}

TEST(Rectangle, FloorRectangleIsAnOpenParallelogram) {
  open_test_screen();
  SCREENDEF view;
  view.CENTERX = 400;
  view.CENTERY = 300;
  view.SCALE = 32.0;
  TURNCOORDS(0.0, 0.8, view);  // nearly axis-aligned
  view.ORIGINX = 0.0;
  view.ORIGINY = 0.0;
  Image img = NEWIMAGE(800, 600);
  // Floor x 0..1 is 32 pixels wide; floor y 0..1 is 25.6 pixels up.
  EXPECT_EQ(DRAWRECTANGLE(img, 0.0, 0.0, 1.0, 1.0, 0.0, view, 176), 0);
  const PixelSet p = painted(img);
  EXPECT_TRUE(p.count({416, 288}));
  EXPECT_FALSE(p.count({400, 290}));  // left border
  EXPECT_FALSE(p.count({432, 290}));  // right border
  for (auto [x, y] : p) {
    ASSERT_GE(x, 400);
    ASSERT_LE(x, 432);
    ASSERT_GE(y, 274);
    ASSERT_LE(y, 300);
  }
  // Lifted by one unit of height: 32 pixels higher.
  Image lifted = NEWIMAGE(800, 600);
  DRAWRECTANGLE(lifted, 0.0, 0.0, 1.0, 1.0, 1.0, view, 176);
  PixelSet shifted;
  for (auto [x, y] : painted(lifted)) shifted.insert({x, y + 32});
  EXPECT_EQ(shifted, p);
  // A rectangle on a view that would make it parallel still answers 0.
  EXPECT_EQ(DRAWRECTANGLE(img, 0.0, 0.0, 1.0, 0.0, 0.0, view, 176), 0);
  FREEIMAGE(img);
  FREEIMAGE(lifted);
}
