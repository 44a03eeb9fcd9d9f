// The parallel projection between the floor and the screen, and the camera.
//
// Every formula is evaluated in double precision in the order it is written,
// with each intermediate stored as a double: a rounded pixel must not move
// with the compiler or the machine.
#include "scene/projection.h"

#include <cmath>
#include <limits>

int32_t nearest(double v) {
  // The default rounding mode rounds halves to even.
  const double r = std::nearbyint(v);
  // Far-off points (and a broken view) must not overflow the conversion.
  if (!(r >= static_cast<double>(std::numeric_limits<int32_t>::min()))) {
    return std::isnan(r) ? 0 : std::numeric_limits<int32_t>::min();
  }
  if (r > static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(r);
}

void FLOORTOSCREENCOORD(double fx, double fy, const SCREENDEF& view, int32_t& sx, int32_t& sy) {
  const double dx = fx - view.ORIGINX;
  const double dy = fy - view.ORIGINY;
  const double across = view.XAXISX * dx + view.YAXISX * dy;
  const double up = view.XAXISY * dx + view.YAXISY * dy;
  sx = nearest(static_cast<double>(view.CENTERX) + across * view.SCALE);
  sy = nearest(static_cast<double>(view.CENTERY) - up * view.SCALE);
}

bool VECTORDECOMP2D(double ox, double oy, double ax, double ay, double bx, double by, double px,
                    double py, double& first, double& second) {
  const double det = ax * by - ay * bx;
  if (det == 0.0) return true;
  const double rx = px - ox;
  const double ry = py - oy;
  first = (rx * by - ry * bx) / det;
  second = (rx * ay - ry * ax) / det;
  return false;
}

void SCREENTOFLOORCOORD(int32_t sx, int32_t sy, const SCREENDEF& view, double& fx, double& fy) {
  double first = 0.0;
  double second = 0.0;
  // The views set up by TURNCOORDS have a determinant of minus the tilt, never 0.
  VECTORDECOMP2D(static_cast<double>(view.CENTERX), static_cast<double>(view.CENTERY), view.XAXISX,
                 -view.XAXISY, view.YAXISX, -view.YAXISY, static_cast<double>(sx),
                 static_cast<double>(sy), first, second);
  // The second coefficient comes back with its sign turned; dividing by
  // -SCALE turns it back.
  fx = first / view.SCALE + view.ORIGINX;
  fy = second / (-view.SCALE) + view.ORIGINY;
}

void TURNCOORDS(double angle, double tilt, SCREENDEF& view) {
  double cs = std::cos(angle);
  double sn = std::sin(angle);
  // No axis component may be exactly 0: the brick drawing reads their signs.
  if (sn == 0.0) sn = cs < 0.0 ? -0.001 : 0.001;
  if (cs == 0.0) cs = sn > 0.0 ? -0.001 : 0.001;
  view.XAXISX = cs;
  view.XAXISY = tilt * sn;
  view.YAXISX = -sn;
  view.YAXISY = tilt * cs;
}

void DEFINESCREEN(double lookat, uint8_t target, SCREENDEF& view) {
  const int32_t n = target;
  const int32_t k = 5 * n;
  const double kd = static_cast<double>(k);
  view.ORIGINY = -6.0;
  // 1.2 + (1 - 1.2 / N) * L: keeps the point (L, 0) on the centre column.
  view.ORIGINX = (6.0 * n) / kd + (1.0 - 6.0 / kd) * lookat;
  const double angle = -std::atan((static_cast<double>(n) - lookat) / kd);
  TURNCOORDS(angle, 0.8, view);
}

double clamp_look_at(double position, uint8_t target) {
  double p = position;
  const double highest = static_cast<double>(target) - 12.0;
  if (p > highest) p = highest;
  // The lower bound wins for targets below 24.
  if (p < 12.0) p = 12.0;
  return p;
}

void DEFINELOOKAT(int32_t position, GAMESTATE& state) {
  state.LOOKAT = clamp_look_at(static_cast<double>(position), state.TARGET);
}
