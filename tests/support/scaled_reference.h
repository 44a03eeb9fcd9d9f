// The picture a window must show for a page, computed pixel by pixel from the
// scaling rules on their own (not with the game's code), for the unit tests
// and the real-window checks alike. Along each axis of S shown pixels for P
// page pixels:
// - S >= P: the page enlarged k = ceil(S / P) times without smoothing, then
//   sampled linearly at the shown pixel's centre, (o + 1/2) * kP / S - 1/2 in
//   enlarged pixels, the weight of the right neighbour in 256ths, rounded
//   half up;
// - S < P: each page pixel weighs its overlap with the shown pixel, in 1/S
//   of a page pixel.
// A shown channel is the weighted sum over both axes divided by the product
// of the weight totals, rounded half up.
#pragma once

#include <cstdint>
#include <vector>

struct ReferenceTap {
  int32_t page = 0;    // page pixel
  int64_t weight = 0;  // above zero
};

struct ReferenceAxis {
  std::vector<std::vector<ReferenceTap>> taps;  // per shown pixel
  int64_t total = 0;                            // what each pixel's weights add up to
};

inline ReferenceAxis reference_axis(int64_t shown, int64_t page) {
  ReferenceAxis a;
  a.taps.resize(static_cast<std::size_t>(shown));
  auto add = [](std::vector<ReferenceTap>& taps, int64_t p, int64_t w) {
    if (w == 0) return;
    if (!taps.empty() && taps.back().page == p)
      taps.back().weight += w;
    else
      taps.push_back(ReferenceTap{static_cast<int32_t>(p), w});
  };
  if (shown >= page) {
    a.total = 256;
    const int64_t k = (shown + page - 1) / page;
    const int64_t enlarged = k * page;
    for (int64_t o = 0; o < shown; ++o) {
      // u = ((2o + 1) * enlarged - shown) / (2 shown), never negative.
      const int64_t twice_u_num = (2 * o + 1) * enlarged - shown, den = 2 * shown;
      const int64_t left = twice_u_num / den;
      const int64_t right = left + 1 < enlarged ? left + 1 : enlarged - 1;
      const int64_t w = (256 * (twice_u_num - left * den) + den / 2) / den;
      auto& taps = a.taps[static_cast<std::size_t>(o)];
      add(taps, left / k, 256 - w);
      add(taps, right / k, w);
    }
  } else {
    a.total = page;
    for (int64_t o = 0; o < shown; ++o)
      for (int64_t p = 0; p < page; ++p) {
        const int64_t lo = o * page > p * shown ? o * page : p * shown;
        const int64_t hi = (o + 1) * page < (p + 1) * shown ? (o + 1) * page : (p + 1) * shown;
        if (hi > lo) add(a.taps[static_cast<std::size_t>(o)], p, hi - lo);
      }
  }
  return a;
}

// Channel c (0..2 of red, green, blue bytes) of shown pixel (x, y), from the
// page's indices and its palette.
inline int reference_channel(const std::uint8_t* page, int32_t pagewidth, const std::uint8_t* palette,
                             const ReferenceAxis& ax, const ReferenceAxis& ay, int32_t x, int32_t y, int c) {
  int64_t sum = 0;
  for (const ReferenceTap& ty : ay.taps[static_cast<std::size_t>(y)])
    for (const ReferenceTap& tx : ax.taps[static_cast<std::size_t>(x)]) {
      const int index = page[static_cast<std::size_t>(ty.page) * static_cast<std::size_t>(pagewidth) +
                             static_cast<std::size_t>(tx.page)];
      sum += palette[3 * index + c] * tx.weight * ty.weight;
    }
  const int64_t total = ax.total * ay.total;
  return static_cast<int>((sum + total / 2) / total);
}
