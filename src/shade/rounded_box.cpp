// Shaded rounded-box sprites: a face of shade 13 inside a rim lit from the
// upper left (or, mirrored, from the lower right), dithered to whole shades.
#include "shade/rounded_box.h"

#include <cmath>
#include <initializer_list>

IMAGE SMALLBUTTON = nullptr;
IMAGE SMALLBUTTONHOVER = nullptr;
IMAGE WIDEBUTTON = nullptr;
IMAGE WIDEBUTTONHOVER = nullptr;
IMAGE STARTERPANEL = nullptr;
IMAGE WIDEPANEL = nullptr;
IMAGE MESSAGEBOX = nullptr;
IMAGE FULLPANEL = nullptr;

// The rim shades take the depth t into the rim: 0 on its inner edge, the
// margin on its outer edge, negative inside the face, beyond the margin
// outside the shape (transparent).

double LIGHTMARGINCOLOR(double t, int32_t margin) {
  if (t < 0.0) return 13.0;
  if (t > margin) return 0.0;
  const double r = t / margin;
  if (r < 0.5) return 13.0 - 8.0 * r;
  return 9.0;
}

double DARKMARGINCOLOR(double t, int32_t margin) {
  if (t < 0.0) return 13.0;
  if (t > margin) return 0.0;
  const double r = t / margin;
  if (r < 0.5) return 13.0 - 24.0 * r;
  return 1.0;
}

// The highlight ridge of the upper-left corner: brightest a quarter of the
// way into the rim.
double LIGHTEDGECOLOR(double t, int32_t margin) {
  if (t < 0.0) return 13.0;
  if (t > margin) return 0.0;
  const double r = t / margin;
  if (r < 0.5) {
    const double q = r - 0.25;
    return 15.0 - 32.0 * (q * q);
  }
  return 13.0;
}

double GETDISTANCE(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double& angle) {
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y1) - y2;  // screen y grows downward
  angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
  return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

// A shade that lies within a quarter of the middle between two whole shades
// becomes the lower and the upper one on alternate pixels.
int32_t CHECKERCOLOR(double v, int32_t x, int32_t y) {
  const auto n = static_cast<int64_t>(std::floor(2.0 * v + 0.5));
  if (n % 2 == 0) return static_cast<int32_t>(n / 2);
  if ((static_cast<int64_t>(x) + y) % 2 != 0) return static_cast<int32_t>((n - 1) / 2);
  return static_cast<int32_t>((n + 1) / 2);
}

namespace {

struct box_painter {
  IMAGE image;
  int32_t width;
  int32_t height;
  int32_t base;
  bool mirror_x;
  bool mirror_y;

  // Writes the dithered shade of the unmirrored pixel (x, y); mirrored
  // coordinates are W - x and H - y, so the outermost column or row of the
  // pattern falls just outside the image.
  void put(int32_t x, int32_t y, double v, bool flip_x, bool flip_y) const {
    const int32_t s = CHECKERCOLOR(v, x, y);
    const int32_t index = s == 0 ? 0 : base + s;
    const int32_t px = flip_x && mirror_x ? width - x : x;
    const int32_t py = flip_y && mirror_y ? height - y : y;
    PUTPIXEL(image, static_cast<float>(px), static_cast<float>(py), index);
  }
};

}  // namespace

IMAGE ROUNDEDBOX8B(int32_t width, int32_t height, int32_t margin, int32_t radius, int32_t flags,
                   int32_t base) {
  IMAGE image = NEWIMAGE(width, height);
  const int32_t w = width;
  const int32_t h = height;
  const int32_t m = margin;
  const int32_t r = radius;
  const box_painter painter{image, w, h, base, (flags & 1) != 0, (flags & 2) != 0};

  // Corner centres.
  const int32_t left = r;
  const int32_t right = w - 1 - r;
  const int32_t top = r;
  const int32_t bottom = h - 1 - r;
  const int32_t inner = r - m;  // distance from a corner centre to the rim's inner edge

  // Top rows.
  for (int32_t y = 0; y <= r; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(left, top, x, y, a) - inner;
      const double wgt = 1.0 - std::fabs(3.0 - 1.2732395 * a);
      const double light = LIGHTMARGINCOLOR(t, m);
      const double edge = LIGHTEDGECOLOR(t, m);
      painter.put(x, y, light + (edge - light) * wgt, true, true);
    }
    for (int32_t x = r + 1; x <= w - r - 1; ++x)
      painter.put(x, y, LIGHTMARGINCOLOR(m - y, m), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(right, top, x, y, a) - inner;
      const double wgt = 0.6366197 * a;
      const double dark = DARKMARGINCOLOR(t, m);
      const double light = LIGHTMARGINCOLOR(t, m);
      painter.put(x, y, dark + (light - dark) * wgt, true, true);
    }
  }

  // Middle rows: the left and right bands, and the face as one box.
  for (int32_t y = r + 1; y <= h - r - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) painter.put(x, y, LIGHTMARGINCOLOR(m - x, m), true, false);
    for (int32_t x = w - r; x <= w - 1; ++x)
      painter.put(x, y, DARKMARGINCOLOR(x - w + m + 1, m), true, false);
  }
  DRAWLINE(image, static_cast<float>(r + 1), static_cast<float>(r + 1), static_cast<float>(w - r - 1),
           static_cast<float>(h - r - 1), base + 13, LINEKIND_FILLEDBOX);

  // Bottom rows.
  for (int32_t y = h - r; y <= h - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(left, bottom, x, y, a) - inner;
      const double wgt = 0.6366197 * a + 2.0;
      const double light = LIGHTMARGINCOLOR(t, m);
      const double dark = DARKMARGINCOLOR(t, m);
      painter.put(x, y, light + (dark - light) * wgt, true, true);
    }
    for (int32_t x = r + 1; x <= w - r - 1; ++x)
      painter.put(x, y, DARKMARGINCOLOR(y - h + m + 1, m), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = GETDISTANCE(right, bottom, x, y, a) - inner;
      painter.put(x, y, DARKMARGINCOLOR(t, m), true, true);
    }
  }
  return image;
}

void MAKESPRITES() {
  // Made once at start-up; a second call (tests) replaces the first set.
  for (IMAGE* sprite : {&SMALLBUTTON, &SMALLBUTTONHOVER, &WIDEBUTTON, &WIDEBUTTONHOVER, &STARTERPANEL,
                        &WIDEPANEL, &MESSAGEBOX, &FULLPANEL})
    FREEIMAGE(*sprite);
  SMALLBUTTON = ROUNDEDBOX8B(140, 80, 16, 32, 0, 0);
  SMALLBUTTONHOVER = ROUNDEDBOX8B(140, 80, 16, 32, 3, 0);
  WIDEBUTTON = ROUNDEDBOX8B(240, 80, 16, 32, 0, 0);
  WIDEBUTTONHOVER = ROUNDEDBOX8B(240, 80, 16, 32, 3, 0);
  STARTERPANEL = ROUNDEDBOX8B(320, 120, 16, 32, 0, 240);
  WIDEPANEL = ROUNDEDBOX8B(600, 96, 16, 32, 0, 232);
  MESSAGEBOX = ROUNDEDBOX8B(400, 300, 20, 40, 0, 0);
  FULLPANEL = ROUNDEDBOX8B(800, 600, 20, 40, 0, 0);
}
