// Where and how the page is shown in a window.
#include "platform/window_layout.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

int32_t choose_window_scale(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight) {
  if (pagewidth < 1 || pageheight < 1) return 1;
  const int32_t across = desktopwidth / pagewidth;
  const int32_t down = desktopheight / pageheight;
  return std::max(1, std::min(across, down));
}

BoxRect letterbox(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight, ScaleRule rule) {
  BoxRect r;
  if (outputwidth < 1 || outputheight < 1 || pagewidth < 1 || pageheight < 1) return r;
  const int32_t whole = std::min(outputwidth / pagewidth, outputheight / pageheight);
  if (rule == ScaleRule::WHOLE_MULTIPLES && whole >= 1) {
    r.w = whole * pagewidth;
    r.h = whole * pageheight;
  } else {
    // The page's proportions in their smallest whole terms (4:3), taken as
    // many times as fit.
    const int32_t common = std::gcd(pagewidth, pageheight);
    const int32_t across = pagewidth / common, down = pageheight / common;
    const int32_t times = std::min(outputwidth / across, outputheight / down);
    if (times < 1) return r;
    r.w = times * across;
    r.h = times * down;
  }
  r.x = (outputwidth - r.w) / 2;
  r.y = (outputheight - r.h) / 2;
  return r;
}

namespace {

// floor((w * output / window - offset) * page / shown): window coordinate w
// in output pixels, from the page's edge, in page pixels.
bool window_to_page_axis(int64_t w, int64_t window, int64_t output, int64_t offset, int64_t shown, int64_t page,
                         int32_t& out) {
  const int64_t num = (w * output - offset * window) * page;
  if (num < 0) return false;
  const int64_t p = num / (window * shown);
  if (p >= page) return false;
  out = static_cast<int32_t>(p);
  return true;
}

}  // namespace

PagePoint window_to_page(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                         int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight,
                         ScaleRule rule) {
  PagePoint p;
  if (windowwidth < 1 || windowheight < 1) return p;
  const BoxRect box = letterbox(outputwidth, outputheight, pagewidth, pageheight, rule);
  if (box.w < 1 || box.h < 1) return p;
  int32_t x = -1, y = -1;
  if (!window_to_page_axis(windowx, windowwidth, outputwidth, box.x, box.w, pagewidth, x)) return p;
  if (!window_to_page_axis(windowy, windowheight, outputheight, box.y, box.h, pageheight, y)) return p;
  p.x = x;
  p.y = y;
  p.inside = true;
  return p;
}

namespace {

// Eight page indices in one load; index j of them is byte j in memory.
constexpr bool EIGHT_AT_ONCE = std::endian::native == std::endian::little;

// One output row of a page row shown at a whole multiple of its size.
void widen_row(const std::uint8_t* s, int32_t width, int32_t scale, const std::uint32_t* lookup, std::uint32_t* d) {
  int32_t x = 0;
  // Eight pixels at a time, then the rest one by one.
  if (EIGHT_AT_ONCE && scale == 1) {
    for (; x + 8 <= width; x += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, s + x, sizeof w);
      for (int32_t j = 0; j < 8; ++j) d[x + j] = lookup[(w >> (8 * j)) & 0xFF];
    }
  } else if (EIGHT_AT_ONCE && scale == 2) {
    for (; x + 8 <= width; x += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, s + x, sizeof w);
      for (int32_t j = 0; j < 8; ++j) {
        const std::uint32_t v = lookup[(w >> (8 * j)) & 0xFF];
        d[2 * (x + j)] = v;
        d[2 * (x + j) + 1] = v;
      }
    }
  }
  if (scale == 1) {
    for (; x < width; ++x) d[x] = lookup[s[x]];
  } else if (scale == 2) {
    for (; x < width; ++x) d[2 * x] = d[2 * x + 1] = lookup[s[x]];
  } else {
    for (; x < width; ++x) {
      const std::uint32_t v = lookup[s[x]];
      std::uint32_t* p = d + static_cast<std::ptrdiff_t>(x) * scale;
      for (int32_t j = 0; j < scale; ++j) p[j] = v;
    }
  }
}

// How the shown pixels of one axis take their colour from the page pixels:
// shown pixel o takes page pixels first[o] .. first[o] + count[o] - 1 (each
// with a weight above zero), weighing weight[o * taps + t] for the t-th.
struct AxisWeights {
  int32_t total = 1;  // what the weights of each shown pixel add up to
  int32_t taps = 1;   // page pixels per shown pixel, at most
  std::vector<int32_t> first;
  std::vector<int32_t> count;
  std::vector<int32_t> weight;
};

constexpr int32_t BLEND_TOTAL = 256;
constexpr int64_t MOST_PAGE_PIXELS = int64_t{1} << 24;

// The weights of an axis of `shown` pixels for `page` page pixels, by the
// rules written at scale_page in the header.
AxisWeights axis_weights(int32_t shown, int32_t page) {
  AxisWeights a;
  const auto n = static_cast<std::size_t>(shown);
  a.first.assign(n, 0);
  a.count.assign(n, 1);
  const int64_t s = shown, p = page;
  if (shown >= page) {
    // Enlarged k times without smoothing, then reduced linearly.
    a.total = BLEND_TOTAL;
    a.taps = 2;
    a.weight.assign(2 * n, 0);
    const int64_t k = (s + p - 1) / p, enlarged = k * p;
    for (int64_t o = 0; o < s; ++o) {
      const int64_t num = (2 * o + 1) * enlarged - s, den = 2 * s;
      const int64_t j = num / den;
      const auto w = static_cast<int32_t>((BLEND_TOTAL * (num % den) + s) / den);
      const auto p0 = static_cast<int32_t>(j / k), p1 = static_cast<int32_t>(std::min((j + 1) / k, p - 1));
      const auto i = static_cast<std::size_t>(o);
      if (p1 == p0 || w == 0) {
        a.first[i] = p0;
        a.weight[2 * i] = BLEND_TOTAL;
      } else if (w == BLEND_TOTAL) {
        a.first[i] = p1;
        a.weight[2 * i] = BLEND_TOTAL;
      } else {
        a.first[i] = p0;
        a.count[i] = 2;
        a.weight[2 * i] = BLEND_TOTAL - w;
        a.weight[2 * i + 1] = w;
      }
    }
    return a;
  }
  // Area averaging: shown pixel o covers [o * p, (o + 1) * p), page pixel q
  // covers [q * s, (q + 1) * s).
  a.total = page;
  a.taps = static_cast<int32_t>((p + s - 1) / s + 1);
  a.weight.assign(n * static_cast<std::size_t>(a.taps), 0);
  for (int64_t o = 0; o < s; ++o) {
    const int64_t lo = o * p, hi = (o + 1) * p;
    const int64_t q0 = lo / s, q1 = (hi - 1) / s;
    const auto i = static_cast<std::size_t>(o);
    a.first[i] = static_cast<int32_t>(q0);
    a.count[i] = static_cast<int32_t>(q1 - q0 + 1);
    for (int64_t q = q0; q <= q1; ++q)
      a.weight[i * static_cast<std::size_t>(a.taps) + static_cast<std::size_t>(q - q0)] =
          static_cast<int32_t>(std::min(hi, (q + 1) * s) - std::max(lo, q * s));
  }
  return a;
}

// The page rows weighed along x, kept while output rows still need them:
// page row q lives in slot q mod the number of slots, which is at least the
// number of page rows one output row takes. T is the type of the sums.
template <class T>
struct WeighedRows {
  std::size_t length = 0;    // sums per row: four per shown pixel
  std::vector<int32_t> row;  // the page row in each slot, -1 for none
  std::vector<T> sums;

  WeighedRows(int32_t slots, int32_t shownwidth)
      : length(4 * static_cast<std::size_t>(shownwidth)),
        row(static_cast<std::size_t>(slots), -1),
        sums(static_cast<std::size_t>(slots) * length) {}

  // The sums of page row q, made by weigh(q, sums) when not kept.
  template <class Weigh>
  const T* get(int32_t q, Weigh&& weigh) {
    const auto slot = static_cast<std::size_t>(q) % row.size();
    T* s = &sums[slot * length];
    if (row[slot] != q) {
      weigh(q, s);
      row[slot] = q;
    }
    return s;
  }
};

// Enlarged along x: each shown pixel blends (at most) two page pixels. A
// page row is first spread into the two colours of each shown pixel, then
// weighed a byte at a time: at most 255 * 256, so 16 bits hold the sums.
struct RowBlender {
  std::vector<int32_t> left, right;  // the two page pixels of each shown pixel
  std::vector<std::uint16_t> left_weight, right_weight;  // per byte
  std::vector<std::uint32_t> words, spread_left, spread_right;

  RowBlender(const AxisWeights& ax, int32_t pagewidth)
      : left(ax.first),
        right(ax.first.size()),
        left_weight(4 * ax.first.size()),
        right_weight(4 * ax.first.size()),
        words(static_cast<std::size_t>(pagewidth)),
        spread_left(ax.first.size()),
        spread_right(ax.first.size()) {
    for (std::size_t o = 0; o < ax.first.size(); ++o) {
      right[o] = ax.first[o] + ax.count[o] - 1;
      for (std::size_t b = 0; b < 4; ++b) {
        left_weight[4 * o + b] = static_cast<std::uint16_t>(ax.weight[2 * o]);
        right_weight[4 * o + b] = static_cast<std::uint16_t>(ax.weight[2 * o + 1]);
      }
    }
  }

  void weigh(const std::uint8_t* s, const std::uint32_t* lookup, std::uint16_t* sums) {
    for (std::size_t x = 0; x < words.size(); ++x) words[x] = lookup[s[x]];
    for (std::size_t o = 0; o < left.size(); ++o) {
      spread_left[o] = words[static_cast<std::size_t>(left[o])];
      spread_right[o] = words[static_cast<std::size_t>(right[o])];
    }
    const auto* l = reinterpret_cast<const std::uint8_t*>(spread_left.data());
    const auto* r = reinterpret_cast<const std::uint8_t*>(spread_right.data());
    const std::size_t n = left_weight.size();
    for (std::size_t i = 0; i < n; ++i)
      sums[i] = static_cast<std::uint16_t>(l[i] * left_weight[i] + r[i] * right_weight[i]);
  }
};

// One output row from one or two blended page rows, bytes in memory order:
// floor((a * wa + b * wb + 32768) / 65536) with wa + wb = 256. Split into
// high and low bytes of the sums (a = 256 ah + al), every step stays within
// 16 bits: floor((256 (ah wa + bh wb) + (al wa + bl wb) + 32768) / 65536)
// = floor((ah wa + bh wb + floor((al wa + bl wb) / 256) + 128) / 256),
// and the sum in the outer floor is at most 65280 + 128.
void blend_rows(const std::uint16_t* a, const std::uint16_t* b, std::uint16_t wa, std::uint16_t wb,
                std::size_t length, std::uint8_t* d) {
  if (wb == 0) {
    for (std::size_t i = 0; i < length; ++i) d[i] = static_cast<std::uint8_t>((a[i] + 128u) >> 8);
    return;
  }
  for (std::size_t i = 0; i < length; ++i) {
    const auto high = static_cast<std::uint16_t>((a[i] >> 8) * wa + (b[i] >> 8) * wb);
    const auto low = static_cast<std::uint16_t>((a[i] & 0xFF) * wa + (b[i] & 0xFF) * wb);
    d[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(high + (low >> 8) + 128) >> 8);
  }
}

// floor(n / d) for the sums of area averaging, by a multiplication: with
// m = floor(2^46 / d) + 1, n * m / 2^46 exceeds n / d by less than
// n / 2^46, which is below 1 / d (the least distance from n / d up to the
// next whole number) while n * d < 2^46. Where that does not hold for the
// largest n, or n * m would not fit 64 bits, a division.
struct ExactDivider {
  std::uint64_t d = 1;
  std::uint64_t m = 0;
  bool multiply = false;

  ExactDivider(std::uint64_t divisor, std::uint64_t largest) : d(divisor), m((std::uint64_t{1} << 46) / divisor + 1) {
    multiply = largest < (std::uint64_t{1} << 32) && d < (std::uint64_t{1} << 32) &&
               largest * d < (std::uint64_t{1} << 46) && largest <= UINT64_MAX / m;
  }
  std::uint64_t operator()(std::uint64_t n) const { return multiply ? (n * m) >> 46 : n / d; }
};

// One page row summed along x for area averaging: sums[4 o + b] is the sum
// of byte b of the page colours under shown pixel o times their overlaps.
void sum_row(const std::uint8_t* s, const std::uint32_t* lookup, const AxisWeights& ax, std::uint32_t* words,
             int32_t pagewidth, std::uint32_t* sums) {
  for (int32_t x = 0; x < pagewidth; ++x) words[x] = lookup[s[x]];
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(words);
  const auto taps = static_cast<std::size_t>(ax.taps);
  for (std::size_t o = 0; o < ax.first.size(); ++o) {
    const std::uint8_t* c = bytes + 4 * static_cast<std::size_t>(ax.first[o]);
    const int32_t* w = &ax.weight[o * taps];
    std::uint32_t b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    for (int32_t t = 0; t < ax.count[o]; ++t, c += 4) {
      const auto wt = static_cast<std::uint32_t>(w[t]);
      b0 += c[0] * wt;
      b1 += c[1] * wt;
      b2 += c[2] * wt;
      b3 += c[3] * wt;
    }
    sums[4 * o] = b0;
    sums[4 * o + 1] = b1;
    sums[4 * o + 2] = b2;
    sums[4 * o + 3] = b3;
  }
}

}  // namespace

void palette_to_lookup(const std::uint8_t* palette, std::uint32_t* lookup) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = 0xFF000000u | (static_cast<std::uint32_t>(palette[i * 3]) << 16) |
                (static_cast<std::uint32_t>(palette[i * 3 + 1]) << 8) | static_cast<std::uint32_t>(palette[i * 3 + 2]);
}

void convert_page(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                  std::uint32_t* out, int32_t pitch) {
  for (int32_t y = 0; y < height; ++y) {
    const std::uint8_t* s = page + static_cast<std::size_t>(y) * width;
    auto* d = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) + static_cast<std::ptrdiff_t>(y) * pitch);
    widen_row(s, width, 1, lookup, d);
  }
}

BoxRect scale_page(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                   const BoxRect& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch) {
  BoxRect written;
  if (page == nullptr || lookup == nullptr || out == nullptr) return written;
  if (pagewidth < 1 || pageheight < 1 || box.w < 1 || box.h < 1 || box.x < 0 || box.y < 0) return written;
  // Sums of 255 times the weight totals (at most the page's pixels, or 256
  // times a side) fit 32 bits.
  if (static_cast<int64_t>(pagewidth) * pageheight > MOST_PAGE_PIXELS || pagewidth > MOST_PAGE_PIXELS / 256 ||
      pageheight > MOST_PAGE_PIXELS / 256)
    return written;
  firstrow = std::max(firstrow, 0);
  lastrow = std::min(lastrow, pageheight - 1);
  if (firstrow > lastrow) return written;

  auto* bytes = reinterpret_cast<std::uint8_t*>(out);
  auto output_row = [&](int64_t y) {
    return reinterpret_cast<std::uint32_t*>(bytes + (box.y + y) * static_cast<int64_t>(pitch)) + box.x;
  };
  const auto row_bytes = static_cast<std::size_t>(box.w) * sizeof(std::uint32_t);
  int64_t top = -1, bottom = -1;

  const bool whole = box.w % pagewidth == 0 && box.h % pageheight == 0 && box.w / pagewidth == box.h / pageheight;
  if (whole) {
    // Each page row becomes `scale` equal output rows.
    const int32_t scale = box.w / pagewidth;
    top = static_cast<int64_t>(firstrow) * scale;
    bottom = static_cast<int64_t>(lastrow + 1) * scale - 1;
    for (int32_t q = firstrow; q <= lastrow; ++q) {
      std::uint32_t* d = output_row(static_cast<int64_t>(q) * scale);
      widen_row(page + static_cast<std::size_t>(q) * static_cast<std::size_t>(pagewidth), pagewidth, scale, lookup,
                d);
      for (int32_t j = 1; j < scale; ++j) std::memcpy(output_row(static_cast<int64_t>(q) * scale + j), d, row_bytes);
    }
  } else {
    const AxisWeights ax = axis_weights(box.w, pagewidth);
    const AxisWeights ay = axis_weights(box.h, pageheight);
    // Enlarged along both axes: at most two page pixels each way, weights of
    // 256; otherwise sums of overlaps, with one axis or both shrunk.
    const bool blend = box.w >= pagewidth && box.h >= pageheight;
    const std::size_t length = 4 * static_cast<std::size_t>(box.w);
    const auto taps = static_cast<std::size_t>(ay.taps);
    auto page_row = [&](int32_t q) {
      return page + static_cast<std::size_t>(q) * static_cast<std::size_t>(pagewidth);
    };

    // Blending.
    std::optional<RowBlender> blender;
    std::optional<WeighedRows<std::uint16_t>> blended;
    // Area averaging.
    std::vector<std::uint32_t> words, acc;
    std::optional<WeighedRows<std::uint32_t>> summed;
    const std::uint64_t total = static_cast<std::uint64_t>(ax.total) * static_cast<std::uint64_t>(ay.total);
    const ExactDivider divide(total, 255 * total + total / 2);
    if (blend) {
      blender.emplace(ax, pagewidth);
      blended.emplace(ay.taps, box.w);
    } else {
      words.resize(static_cast<std::size_t>(pagewidth));
      acc.resize(length);
      summed.emplace(ay.taps, box.w);
    }
    auto blend_weigh = [&](int32_t q, std::uint16_t* sums) { blender->weigh(page_row(q), lookup, sums); };
    auto area_weigh = [&](int32_t q, std::uint32_t* sums) {
      sum_row(page_row(q), lookup, ax, words.data(), pagewidth, sums);
    };

    std::uint32_t* previous = nullptr;
    for (int64_t y = 0; y < box.h; ++y) {
      const auto i = static_cast<std::size_t>(y);
      const int32_t q0 = ay.first[i], n = ay.count[i];
      if (q0 + n - 1 < firstrow) continue;
      if (q0 > lastrow) break;
      std::uint32_t* d = output_row(y);
      auto* db = reinterpret_cast<std::uint8_t*>(d);
      const int32_t* w = &ay.weight[i * taps];
      if (previous != nullptr && q0 == ay.first[i - 1] && n == ay.count[i - 1] &&
          std::equal(w, w + n, &ay.weight[(i - 1) * taps])) {
        // The same page rows with the same weights as the row above.
        std::memcpy(d, previous, row_bytes);
      } else if (blend) {
        const std::uint16_t* a = blended->get(q0, blend_weigh);
        const std::uint16_t* b = n > 1 ? blended->get(q0 + 1, blend_weigh) : a;
        blend_rows(a, b, static_cast<std::uint16_t>(w[0]), static_cast<std::uint16_t>(n > 1 ? w[1] : 0), length, db);
      } else {
        std::fill(acc.begin(), acc.end(), 0);
        for (int32_t t = 0; t < n; ++t) {
          const std::uint32_t* s = summed->get(q0 + t, area_weigh);
          const auto wt = static_cast<std::uint32_t>(w[t]);
          for (std::size_t j = 0; j < length; ++j) acc[j] += s[j] * wt;
        }
        for (std::size_t j = 0; j < length; ++j) db[j] = static_cast<std::uint8_t>(divide(acc[j] + total / 2));
      }
      previous = d;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  if (top >= 0) written = BoxRect{box.x, static_cast<int32_t>(box.y + top), box.w, static_cast<int32_t>(bottom - top + 1)};
  return written;
}
