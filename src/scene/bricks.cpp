// Bricks drawn as lit parallelograms with their edges, and floor rectangles.
#include "scene/bricks.h"

#include <algorithm>
#include <utility>

#include "core/runtime_error.h"

int32_t PAINTPARALLELOGRAM8B(Image image, int32_t x0, int32_t y0, int32_t ax, int32_t ay,
                             int32_t bx, int32_t by, int32_t colour) {
  const ImageInfo info = IMAGEINFO(check_ref(image));
  if (info.bytes_per_pixel != 1) return -1;
  const auto ink = static_cast<uint8_t>(colour & 0xFF);

  // Bounding box of the four corners. Sums are taken in 64 bits so that
  // far-off shapes cannot overflow; on-screen values are unaffected.
  const int64_t cx[4] = {x0, int64_t{x0} + ax, int64_t{x0} + bx, int64_t{x0} + ax + bx};
  const int64_t cy[4] = {y0, int64_t{y0} + ay, int64_t{y0} + by, int64_t{y0} + ay + by};
  int64_t xmin = *std::min_element(cx, cx + 4);
  int64_t xmax = *std::max_element(cx, cx + 4);
  int64_t ymin = *std::min_element(cy, cy + 4);
  int64_t ymax = *std::max_element(cy, cy + 4);
  if (xmin >= info.width || ymin >= info.height) return -2;
  xmin = std::max<int64_t>(xmin, 0);
  xmax = std::min<int64_t>(xmax, info.width - 1);
  ymin = std::max<int64_t>(ymin, 0);
  ymax = std::min<int64_t>(ymax, info.height - 1);

  // cppcheck-suppress redundantAssignment ; int64_t{ax} * by is a product, not a declaration of by
  const int64_t det = int64_t{ax} * by - int64_t{ay} * bx;
  if (det == 0) return -3;
  const auto ddet = static_cast<double>(det);

  // (s, t) of the clipped box's top-left pixel, and their steps one pixel
  // right and one row down. The steps are added up rather than recomputed,
  // in this order; the pixels on the border depend on it.
  const int64_t rx = xmin - x0;
  const int64_t ry = ymin - y0;
  double row_s = static_cast<double>(rx * by - ry * bx) / ddet;
  double row_t = static_cast<double>(ry * ax - rx * ay) / ddet;
  const double ds = static_cast<double>(by) / ddet;
  const double dt = static_cast<double>(-int64_t{ay}) / ddet;
  const double ds_row = static_cast<double>(-int64_t{bx}) / ddet;
  const double dt_row = static_cast<double>(ax) / ddet;

  for (int64_t y = ymin; y <= ymax; ++y) {
    uint8_t* pixel = info.pixels + y * info.width + xmin;
    double s = row_s;
    double t = row_t;
    for (int64_t x = xmin; x <= xmax; ++x, ++pixel) {
      // Open on all four sides: the border lines are left to the edges.
      if (s > 0.0 && s < 1.0 && t > 0.0 && t < 1.0) *pixel = ink;
      s += ds;
      t += dt;
    }
    row_s += ds_row;
    row_t += dt_row;
  }
  return 0;
}

BrickShape brick_on_screen(int32_t width, int32_t height, const BRICK& brick, const SCREENDEF& view) {
  const double s = view.SCALE;
  const double x1 = std::min(brick.CORNER1.X, brick.CORNER2.X);
  const double x2 = std::max(brick.CORNER1.X, brick.CORNER2.X);
  const double y1 = std::min(brick.CORNER1.Y, brick.CORNER2.Y);
  const double y2 = std::max(brick.CORNER1.Y, brick.CORNER2.Y);
  const double z1 = std::min(brick.CORNER1.Z, brick.CORNER2.Z);
  const double z2 = std::max(brick.CORNER1.Z, brick.CORNER2.Z);
  const bool x_turned = view.XAXISY < 0.0;
  const bool y_turned = view.YAXISY < 0.0;

  // The top face's corner nearest to the viewer.
  const double qx = x_turned ? x2 : x1;
  const double qy = y_turned ? y2 : y1;
  const double qz = z2;

  // Edge vectors from the near corner away from the viewer; screen y grows
  // downward, hence the turned second components.
  int32_t xvx = nearest((x2 - x1) * s * view.XAXISX);
  int32_t xvy = nearest((x2 - x1) * s * view.XAXISY);
  if (x_turned) {
    xvx = -xvx;
    xvy = -xvy;
  }
  int32_t yvx = nearest((y2 - y1) * s * view.YAXISX);
  int32_t yvy = nearest((y2 - y1) * s * view.YAXISY);
  if (y_turned) {
    yvx = -yvx;
    yvy = -yvy;
  }
  xvy = -xvy;
  yvy = -yvy;

  BrickShape shape;
  shape.ax = xvx;
  shape.ay = xvy;
  shape.bx = yvx;
  shape.by = yvy;
  if (shape.ax < 0) {
    std::swap(shape.ax, shape.bx);
    std::swap(shape.ay, shape.by);
  }
  shape.vx = 0;
  shape.vy = nearest(view.HEIGHTFACTOR * s * (z2 - z1));

  const double dx = qx - view.ORIGINX;
  const double dy = qy - view.ORIGINY;
  // The centre is the whole pixel (W div 2, H div 2).
  shape.ox = nearest(static_cast<double>(width / 2) + (dx * view.XAXISX + dy * view.YAXISX) * s);  // NOLINT(bugprone-integer-division)
  shape.oy = nearest(static_cast<double>(height / 2) -  // NOLINT(bugprone-integer-division)
                     (dx * view.XAXISY + dy * view.YAXISY + view.HEIGHTFACTOR * qz) * s);

  if (!x_turned) {
    shape.quadrant = y_turned ? 3 : 0;
  } else {
    shape.quadrant = y_turned ? 2 : 1;
  }
  return shape;
}

int32_t brick_top_row(int32_t width, int32_t height, const BRICK& brick, const SCREENDEF& view) {
  const BrickShape b = brick_on_screen(width, height, brick, view);
  return std::min({b.oy, b.oy + b.ay, b.oy + b.by, b.oy + b.ay + b.by});
}

void DRAWBRICK(Image image, const BRICK& brick, const SCREENDEF& view) {
  const ImageInfo info = IMAGEINFO(check_ref(image));
  const BrickShape b = brick_on_screen(info.width, info.height, brick, view);
  const auto& c = brick.FACECOLORS;

  // The brick's own sides, listed counter-clockwise from the left; the view
  // quadrant says which of them lies where on the screen.
  static constexpr FaceSlot top_edges[4] = {LEFTTOPEDGE, BACKTOPEDGE, RIGHTTOPEDGE, FRONTTOPEDGE};
  static constexpr FaceSlot upright_edges[4] = {LEFTFRONTEDGE, LEFTBACKEDGE, RIGHTBACKEDGE,
                                                RIGHTFRONTEDGE};
  static constexpr FaceSlot bottom_edges[4] = {LEFTBOTTOMEDGE, BACKBOTTOMEDGE, RIGHTBOTTOMEDGE,
                                               FRONTBOTTOMEDGE};
  static constexpr FaceSlot side_faces[4] = {LEFTCOLOR, BACKCOLOR, RIGHTCOLOR, FRONTCOLOR};
  int32_t t[4], e[4], u[4], f[4];
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t at = (b.quadrant + k) % 4;
    t[at] = c[top_edges[k]];
    e[at] = c[upright_edges[k]];
    u[at] = c[bottom_edges[k]];
    f[at] = c[side_faces[k]];
  }

  // Faces first, open, so that the edges drawn after them form the outline.
  PAINTPARALLELOGRAM8B(image, b.ox, b.oy, b.ax, b.ay, b.bx, b.by, c[TOPCOLOR]);
  PAINTPARALLELOGRAM8B(image, b.ox, b.oy, b.ax, b.ay, b.vx, b.vy, f[3]);
  PAINTPARALLELOGRAM8B(image, b.ox, b.oy, b.bx, b.by, b.vx, b.vy, f[0]);

  const auto line = [image](int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
    DRAWLINE(image, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour, LINE_KIND_LINE);
  };
  const int32_t ox = b.ox, oy = b.oy;
  const int32_t axx = ox + b.ax, ayy = oy + b.ay;  // O + A
  const int32_t bxx = ox + b.bx, byy = oy + b.by;  // O + B
  const int32_t vxx = ox + b.vx, vyy = oy + b.vy;  // O + V
  line(ox, oy, axx, ayy, t[3]);
  line(ox, oy, bxx, byy, t[0]);
  line(ox, oy, vxx, vyy, e[0]);
  line(axx, ayy, axx + b.bx, ayy + b.by, t[2]);
  line(axx, ayy, axx + b.vx, ayy + b.vy, e[3]);
  line(bxx, byy, bxx + b.ax, byy + b.ay, t[1]);
  line(bxx, byy, bxx + b.vx, byy + b.vy, e[1]);
  line(vxx, vyy, vxx + b.ax, vyy + b.ay, u[3]);
  line(vxx, vyy, vxx + b.bx, vyy + b.by, u[0]);
}

int32_t DRAWRECTANGLE(Image image, double x1, double y1, double x2, double y2, double height,
                      const SCREENDEF& view, int32_t colour) {
  int32_t p1x = 0, p1y = 0, p2x = 0, p2y = 0, p3x = 0, p3y = 0;
  FLOORTOSCREENCOORD(x1, y1, view, p1x, p1y);
  FLOORTOSCREENCOORD(x2, y1, view, p2x, p2y);
  FLOORTOSCREENCOORD(x1, y2, view, p3x, p3y);
  const int32_t cornery =
      nearest(static_cast<double>(p1y) - view.HEIGHTFACTOR * height * view.SCALE);
  PAINTPARALLELOGRAM8B(image, p1x, cornery, p2x - p1x, p2y - p1y, p3x - p1x, p3y - p1y, colour);
  return 0;
}
