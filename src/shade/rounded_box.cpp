// Shaded rounded-box sprites: a face of shade 13 inside a rim lit from the
// upper left (or, mirrored, from the lower right), dithered to whole shades.
#include "shade/rounded_box.h"

#include <cmath>
#include <initializer_list>
#include <vector>

Image SMALLBUTTON = nullptr;
Image SMALLBUTTONHOVER = nullptr;
Image WIDEBUTTON = nullptr;
Image WIDEBUTTONHOVER = nullptr;
Image STARTERPANEL = nullptr;
Image WIDEPANEL = nullptr;
Image MESSAGEBOX = nullptr;
Image FULLPANEL = nullptr;

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

// The corners' geometry: distance and angle from the corner centre for every
// pixel of each corner square, in the order the corners are drawn. Pixel
// (x, y) of a corner with centre (cx, cy) lies at dx = x - cx, dy = cy - y
// (up is positive), and whatever the box's size, the top-left square covers
// dx -r..0 and dy 0..r, the top-right dx 1..r and dy 0..r, the bottom-left
// dx -r..0 and dy -r..-1, the bottom-right dx 1..r and dy -r..-1. So the
// geometry depends only on the radius; most sprites share one, and it is kept
// for the next box (start-up builds six of radius 32, then two of radius 40).
struct CornerGeometry {
  int32_t radius = -1;
  std::vector<double> distance[4];
  std::vector<double> angle[4];
};

int32_t corner_first_dx(int k, int32_t r) { return k == 1 || k == 3 ? 1 : -r; }
int32_t corner_first_dy(int k, int32_t r) { return k >= 2 ? -r : 0; }

const CornerGeometry& corners_for(int32_t r) {
  static CornerGeometry g;
  if (g.radius == r) return g;
  const std::size_t side = static_cast<std::size_t>(r) + 1;
  for (int k = 0; k < 4; ++k) {
    const int32_t columns = k == 1 || k == 3 ? r : r + 1;
    const int32_t rows = k >= 2 ? r : r + 1;
    g.distance[k].assign(side * side, 0.0);
    g.angle[k].assign(side * side, 0.0);
    for (int32_t j = 0; j < rows; ++j)
      for (int32_t i = 0; i < columns; ++i) {
        const int32_t dx = corner_first_dx(k, r) + i;
        const int32_t dy = corner_first_dy(k, r) + j;
        double a = 0.0;
        // GETDISTANCE measures from (x1, y1) to (x2, y2) as x2 - x1, y1 - y2.
        const std::size_t at = static_cast<std::size_t>(j) * side + static_cast<std::size_t>(i);
        g.distance[k][at] = GETDISTANCE(0, dy, dx, 0, a);
        g.angle[k][at] = a;
      }
  }
  g.radius = r;
  return g;
}

struct BoxPainter {
  std::uint8_t* pixels;
  int32_t width;
  int32_t height;
  int32_t base;
  bool mirror_x;
  bool mirror_y;

  // The sprite index of a whole shade: shade 0 stays transparent.
  int32_t index_of(int32_t shade) const { return shade == 0 ? 0 : base + shade; }

  // Writes the index at the unmirrored pixel (x, y); mirrored coordinates
  // are W - x and H - y, so the outermost column or row of the pattern falls
  // just outside the image and is dropped, as everything outside is.
  void put_index(int32_t x, int32_t y, int32_t index, bool flip_x, bool flip_y) const {
    const int32_t px = flip_x && mirror_x ? width - x : x;
    const int32_t py = flip_y && mirror_y ? height - y : y;
    if (px >= 0 && py >= 0 && px < width && py < height)
      pixels[static_cast<std::size_t>(py) * width + px] = static_cast<std::uint8_t>(index);
  }

  // Writes the dithered shade of the unmirrored pixel (x, y).
  void put(int32_t x, int32_t y, double v, bool flip_x, bool flip_y) const {
    put_index(x, y, index_of(CHECKERCOLOR(v, x, y)), flip_x, flip_y);
  }
};

// The indices of a shade that is the same along a row or a column: one for
// pixels whose x + y is even, one for odd.
struct Dithered {
  int32_t even;
  int32_t odd;
  int32_t at(int32_t x, int32_t y) const { return ((x + y) & 1) == 0 ? even : odd; }
};

Dithered dither(const BoxPainter& p, double v) { return {p.index_of(CHECKERCOLOR(v, 0, 0)), p.index_of(CHECKERCOLOR(v, 1, 0))}; }

}  // namespace

// Every pixel is computed in the same order and with the same arithmetic as
// plotting the shapes one pixel at a time; what is saved is the work that
// does not change from pixel to pixel (a band's shade along a row or a
// column, the corners' distances and angles).
Image ROUNDEDBOX8B(int32_t width, int32_t height, int32_t margin, int32_t radius, int32_t flags,
                   int32_t base) {
  Image image = NEWIMAGE(width, height);
  if (image == nullptr) return image;
  const int32_t w = width;
  const int32_t h = height;
  const int32_t m = margin;
  const int32_t r = radius;
  const BoxPainter painter{IMAGEINFO(image).pixels, w, h, base, (flags & 1) != 0, (flags & 2) != 0};

  // Corner centres.
  const int32_t left = r;
  const int32_t right = w - 1 - r;
  const int32_t top = r;
  const int32_t bottom = h - 1 - r;
  const int32_t inner = r - m;  // distance from a corner centre to the rim's inner edge

  // A negative radius draws no corner and no band row.
  static const CornerGeometry none;
  const CornerGeometry& corners = r >= 0 ? corners_for(r) : none;
  const std::size_t side = static_cast<std::size_t>(r) + 1;
  // Corner k at pixel (x, y): the stored geometry of offset (x - cx, cy - y).
  const auto corner = [&](int k, int32_t x, int32_t y, int32_t cx, int32_t cy, double& a) {
    const std::size_t at = static_cast<std::size_t>(cy - y - corner_first_dy(k, r)) * side +
                           static_cast<std::size_t>(x - cx - corner_first_dx(k, r));
    a = corners.angle[k][at];
    return corners.distance[k][at];
  };

  // Top rows.
  for (int32_t y = 0; y <= r; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = corner(0, x, y, left, top, a) - inner;
      const double wgt = 1.0 - std::fabs(3.0 - 1.2732395 * a);
      const double light = LIGHTMARGINCOLOR(t, m);
      const double edge = LIGHTEDGECOLOR(t, m);
      painter.put(x, y, light + (edge - light) * wgt, true, true);
    }
    const Dithered band = dither(painter, LIGHTMARGINCOLOR(m - y, m));
    for (int32_t x = r + 1; x <= w - r - 1; ++x) painter.put_index(x, y, band.at(x, y), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = corner(1, x, y, right, top, a) - inner;
      const double wgt = 0.6366197 * a;
      const double dark = DARKMARGINCOLOR(t, m);
      const double light = LIGHTMARGINCOLOR(t, m);
      painter.put(x, y, dark + (light - dark) * wgt, true, true);
    }
  }

  // Middle rows: the left and right bands, and the face as one box. A band's
  // shade is the same down each column.
  std::vector<Dithered> left_band, right_band;
  for (int32_t x = 0; x <= r; ++x) left_band.push_back(dither(painter, LIGHTMARGINCOLOR(m - x, m)));
  for (int32_t x = w - r; x <= w - 1; ++x) right_band.push_back(dither(painter, DARKMARGINCOLOR(x - w + m + 1, m)));
  for (int32_t y = r + 1; y <= h - r - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) painter.put_index(x, y, left_band[static_cast<std::size_t>(x)].at(x, y), true, false);
    for (int32_t x = w - r; x <= w - 1; ++x)
      painter.put_index(x, y, right_band[static_cast<std::size_t>(x - (w - r))].at(x, y), true, false);
  }
  DRAWLINE(image, static_cast<float>(r + 1), static_cast<float>(r + 1), static_cast<float>(w - r - 1),
           static_cast<float>(h - r - 1), base + 13, LINE_KIND_FILLED_BOX);

  // Bottom rows.
  for (int32_t y = h - r; y <= h - 1; ++y) {
    for (int32_t x = 0; x <= r; ++x) {
      double a = 0.0;
      const double t = corner(2, x, y, left, bottom, a) - inner;
      const double wgt = 0.6366197 * a + 2.0;
      const double light = LIGHTMARGINCOLOR(t, m);
      const double dark = DARKMARGINCOLOR(t, m);
      painter.put(x, y, light + (dark - light) * wgt, true, true);
    }
    const Dithered band = dither(painter, DARKMARGINCOLOR(y - h + m + 1, m));
    for (int32_t x = r + 1; x <= w - r - 1; ++x) painter.put_index(x, y, band.at(x, y), false, true);
    for (int32_t x = w - r; x <= w - 1; ++x) {
      double a = 0.0;
      const double t = corner(3, x, y, right, bottom, a) - inner;
      painter.put(x, y, DARKMARGINCOLOR(t, m), true, true);
    }
  }
  return image;
}

void make_sprites() {
  // Made once at start-up; a second call (tests) replaces the first set.
  for (Image* sprite : {&SMALLBUTTON, &SMALLBUTTONHOVER, &WIDEBUTTON, &WIDEBUTTONHOVER, &STARTERPANEL,
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
