// The 16 x 16 palette layout (16 hues of 16 shades, shade 0 darkest), the
// two ramps repainted per screen, and the lighting that picks a shade for
// every face and edge of a brick.
#include "shade/palette.h"

#include <cmath>

#include "surface/surface.h"

const ColorTable BASE_COLORS = {
    0x40FFFF, 0xD0D0D0, 0xFF0000, 0x40FF40, 0xFF00FF, 0xFFFF00, 0x00A000, 0x404040,
    0xA03000, 0x0000C0, 0xFF8000, 0x00FFFF, 0x8080FF, 0x800000, 0x800080, 0xFFFFFF,
};

namespace {

struct Rgb {
  int32_t r, g, b;
};

Rgb unpack(uint32_t colour) {
  return {static_cast<int32_t>((colour >> 16) & 255u), static_cast<int32_t>((colour >> 8) & 255u),
          static_cast<int32_t>(colour & 255u)};
}

// Half the colour at shade 0 up to 31/32 of it at shade 15.
int32_t shade_of(int32_t q, int32_t s) { return q / 2 + (s * q) / 32; }

}  // namespace

void MAKEPAL16X16(const ColorTable& table) {
  for (int32_t hue = 0; hue < 16; ++hue) {
    const Rgb c = unpack(table[static_cast<std::size_t>(hue)]);
    for (int32_t s = 0; s < 16; ++s) {
      SETPALETTE(16 * hue + s, shade_of(c.r, s), shade_of(c.g, s), shade_of(c.b, s));
    }
  }
}

void PALETTE0TO15(uint32_t colour) {
  const Rgb c = unpack(colour);
  // From an eighth of the colour up to the colour itself at entry 7 ...
  for (int32_t k = 0; k < 8; ++k) {
    SETPALETTE(k, ((k + 1) * c.r) / 8, ((k + 1) * c.g) / 8, ((k + 1) * c.b) / 8);
  }
  // ... and on to white at entry 15.
  for (int32_t k = 1; k <= 8; ++k) {
    SETPALETTE(7 + k, c.r + ((255 - c.r) * k) / 8, c.g + ((255 - c.g) * k) / 8,
               c.b + ((255 - c.b) * k) / 8);
  }
}

void PALETTEFORTEXTURE(uint32_t colour) {
  const Rgb c = unpack(colour);
  // Black at 176, half the colour at 184, the colour at 192 ...
  for (int32_t k = 0; k <= 16; ++k) {
    SETPALETTE(176 + k, (k * c.r) / 16, (k * c.g) / 16, (k * c.b) / 16);
  }
  // ... then toward white up to 255.
  for (int32_t k = 1; k <= 63; ++k) {
    SETPALETTE(192 + k, c.r + ((255 - c.r) * k) / 64, c.g + ((255 - c.g) * k) / 64,
               c.b + ((255 - c.b) * k) / 64);
  }
}

void DEFINELIGHTING8B(BRICK& brick, const POINT3D& light, int32_t base) {
  // 16 / sqrt(2): the diagonal normals are (a + b) / sqrt(2).
  constexpr double k = 11.313708498984761;
  const double x = light.X;
  const double y = light.Y;
  const double z = light.Z;
  struct RampPair {
    double value;     // 16 times the cosine toward the first face
    FaceSlot toward;  // lit when the value is 0 or more
    FaceSlot away;    // lit (by its magnitude) when it is negative
  };
  const RampPair pairs[9] = {
      {16.0 * z, TOPCOLOR, BOTTOMCOLOR},
      {16.0 * x, RIGHTCOLOR, LEFTCOLOR},
      {16.0 * y, BACKCOLOR, FRONTCOLOR},
      {(y + x) * k, RIGHTBACKEDGE, LEFTFRONTEDGE},
      {(x - y) * k, RIGHTFRONTEDGE, LEFTBACKEDGE},
      {(z + x) * k, RIGHTTOPEDGE, LEFTBOTTOMEDGE},
      {(x - z) * k, RIGHTBOTTOMEDGE, LEFTTOPEDGE},
      {(z + y) * k, BACKTOPEDGE, FRONTBOTTOMEDGE},
      {(y - z) * k, BACKBOTTOMEDGE, FRONTTOPEDGE},
  };
  for (const RampPair& p : pairs) {
    const auto v = static_cast<int32_t>(std::floor(p.value));
    brick.FACECOLORS[p.toward] = base;
    brick.FACECOLORS[p.away] = base;
    if (v >= 0) {
      brick.FACECOLORS[p.toward] = base + v;
    } else {
      brick.FACECOLORS[p.away] = base - v;
    }
  }
}
