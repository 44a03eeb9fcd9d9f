// The background of every frame: the textured floor with the number labels
// painted into it, and the options screen's floor.
//
// Every pixel is the floor point under it, sampled from the texture:
//
//   (fx, fy) = SCREENTOFLOORCOORD(sx, sy)
//   colour   = TEXTUREMAP8B(texture, 5 fx + u0, 5 fy + v0)
//
// and, in the label band, the label of the nearest number over it. This is
// the costliest step of a frame, so the loop below is that evaluation taken
// apart row by row. The pixels must come out exactly as the formulas give
// them, so it keeps every IEEE operation of them, on the same operands and in
// the same order; what it changes is only where they are done:
//   - the terms that depend only on the row (ry bx, ry ax) are made once per row;
//   - a division by a SCALE that is a power of two is the multiplication by
//     its exact inverse (the same correctly rounded result);
//   - four or eight pixels go through the same operations side by side when
//     the processor has AVX2 or AVX-512 (chosen when the program runs), and
//     the texels are read with vector loads instead of one by one; in a
//     build for the browser made with -msimd128, two at a time side by side
//     with WebAssembly SIMD;
//   - the rows are shared between the cores.
// Only the pixels of the label band leave the vector rows, one by one.
// No reciprocal of anything else, no fused multiply-add, no reordered sum.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/row_split.h"
#include "core/runtime_error.h"
#include "scene/floor.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define RANVEL_X86 1
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#define RANVEL_WASM_SIMD 1
#endif

namespace {

int32_t thread_setting = 0;  // 0 until first asked for: the machine's default
int32_t kernel_override = -1;

// Everything the rows of one picture share.
struct FloorPass {
  // The inverse mapping: origin, the two axes as SCREENTOFLOORCOORD hands them
  // to VECTORDECOMP2D, their determinant, and the scale.
  double ox = 0.0, oy = 0.0;
  double ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
  double det = 0.0;
  bool power_of_two = false;
  double scale = 0.0, neg_scale = 0.0;  // SCALE and -SCALE
  double inv = 0.0, neg_inv = 0.0;      // their exact inverses when SCALE is a power of two
  double origin_x = 0.0, origin_y = 0.0;
  // Floor to texture: 5 f + offset.
  double u_offset = 0.0, v_offset = 0.0;
  const std::uint8_t* texels = nullptr;
  int32_t tex_width = 0, tex_height = 0;
  // The picture.
  std::uint8_t* pixels = nullptr;
  int32_t width = 0, height = 0;
  // The label band, LABEL_BASE_Y <= fy <= LABEL_BASE_Y + LABELHEIGHT, and the
  // largest number labelled.
  double band_low = LABEL_BASE_Y, band_high = LABEL_BASE_Y;
  int32_t last_number = 0;
};

// One thread's label state: its own copy of the font record (selecting a
// label writes LABELX) and the label selected last.
struct LabelPass {
  MAPPEDFONT font;
  LabelEdgesRow edges{};
  int32_t selected = -1;
  char digits[4] = {};
  std::size_t length = 0;
  int32_t row_last = -1;  // the last number labelled on the current row
};

// TEXTUREMAP8B on the picture's texture.
inline int32_t sample(const FloorPass& p, double u, double v) {
  return sample_texels(p.texels, p.tex_width, p.tex_height, u, v);
}

// The colour of a band pixel whose nearest number n is labelled: the label
// over the floor.
int32_t label_of(LabelPass& l, int32_t n, double fx, double fy, int32_t colour) {
  if (n != l.selected) {
    DEFINENUMBERFONT(n, l.font, l.edges);
    const auto written = std::to_chars(l.digits, l.digits + sizeof l.digits, n);
    l.length = static_cast<std::size_t>(written.ptr - l.digits);
    l.selected = n;
  }
  l.row_last = n;
  if (fx >= l.font.LABELX && fx <= l.edges[l.length])
    return GETFONTCOLOR8B(fx, fy, std::string_view(l.digits, l.length), l.font, l.edges, colour);
  return colour;
}

// The colour of a band pixel: its nearest number's label over the floor, when
// that number is labelled.
int32_t label_pixel(const FloorPass& p, LabelPass& l, double fx, double fy, int32_t colour) {
  const double number = std::floor(fx + 0.5);
  if (!(number >= 0.0 && number <= static_cast<double>(p.last_number))) return colour;
  return label_of(l, static_cast<int32_t>(number), fx, fy, colour);
}

// One pixel, for the plain rows and the ends of the vector rows.
inline std::uint8_t one_pixel(const FloorPass& p, LabelPass* l, int32_t sx, double ryb, double rya) {
  const double rx = static_cast<double>(sx) - p.ox;
  const double first = (rx * p.by - ryb) / p.det;
  const double second = (rx * p.ay - rya) / p.det;
  const double fx = (p.power_of_two ? first * p.inv : first / p.scale) + p.origin_x;
  const double fy = (p.power_of_two ? second * p.neg_inv : second / p.neg_scale) + p.origin_y;
  int32_t colour = sample(p, TEXELS_PER_UNIT * fx + p.u_offset, TEXELS_PER_UNIT * fy + p.v_offset);
  if (l != nullptr && fy >= p.band_low && fy <= p.band_high) colour = label_pixel(p, *l, fx, fy, colour);
  return static_cast<std::uint8_t>(colour & 0xFF);
}

void row_plain(const FloorPass& p, LabelPass* l, int32_t sy, int32_t from_x) {
  const double ry = static_cast<double>(sy) - p.oy;
  const double ryb = ry * p.bx;
  const double rya = ry * p.ax;
  std::uint8_t* out = p.pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(p.width);
  for (int32_t sx = from_x; sx < p.width; ++sx) out[sx] = one_pixel(p, l, sx, ryb, rya);
}

#ifdef RANVEL_X86

// Four pixels at a time. The texels are read as 32-bit words starting two
// bytes before the texel, so one read gives a texel and its right neighbour
// (bytes 2 and 3) and never reaches past the last texel; the two bytes before
// the first texel are the block's header.
template <bool DIVIDE>
__attribute__((target("avx2"))) void row_avx2(const FloorPass& p, LabelPass* l, int32_t sy) {
  const double ry = static_cast<double>(sy) - p.oy;
  const double ryb = ry * p.bx;
  const double rya = ry * p.ax;
  std::uint8_t* out = p.pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(p.width);
  const auto* words = reinterpret_cast<const int*>(p.texels - 2);

  const __m256d v_ryb = _mm256_set1_pd(ryb), v_rya = _mm256_set1_pd(rya);
  const __m256d v_ox = _mm256_set1_pd(p.ox), v_ay = _mm256_set1_pd(p.ay), v_by = _mm256_set1_pd(p.by);
  const __m256d v_det = _mm256_set1_pd(p.det);
  const __m256d v_sx = _mm256_set1_pd(DIVIDE ? p.scale : p.inv);
  const __m256d v_sy = _mm256_set1_pd(DIVIDE ? p.neg_scale : p.neg_inv);
  const __m256d v_orx = _mm256_set1_pd(p.origin_x), v_ory = _mm256_set1_pd(p.origin_y);
  const __m256d v_five = _mm256_set1_pd(TEXELS_PER_UNIT);
  const __m256d v_uoff = _mm256_set1_pd(p.u_offset), v_voff = _mm256_set1_pd(p.v_offset);
  const __m256d v_zero = _mm256_setzero_pd();
  const __m256d v_umax = _mm256_set1_pd(static_cast<double>(p.tex_width - 2));
  const __m256d v_vmax = _mm256_set1_pd(static_cast<double>(p.tex_height - 2));
  const __m256d v_low = _mm256_set1_pd(p.band_low), v_high = _mm256_set1_pd(p.band_high);
  const __m128i v_tw = _mm_set1_epi32(p.tex_width);
  const __m128i v_byte = _mm_set1_epi32(0xFF);
  const __m128i v_steps = _mm_setr_epi32(0, 1, 2, 3);
  const __m256i v_lows = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);

  int32_t sx = 0;
  for (; sx + 4 <= p.width; sx += 4) {
    const __m256d rx = _mm256_sub_pd(_mm256_cvtepi32_pd(_mm_add_epi32(_mm_set1_epi32(sx), v_steps)), v_ox);
    const __m256d first = _mm256_div_pd(_mm256_sub_pd(_mm256_mul_pd(rx, v_by), v_ryb), v_det);
    const __m256d second = _mm256_div_pd(_mm256_sub_pd(_mm256_mul_pd(rx, v_ay), v_rya), v_det);
    const __m256d fx = _mm256_add_pd(DIVIDE ? _mm256_div_pd(first, v_sx) : _mm256_mul_pd(first, v_sx), v_orx);
    const __m256d fy = _mm256_add_pd(DIVIDE ? _mm256_div_pd(second, v_sy) : _mm256_mul_pd(second, v_sy), v_ory);
    const __m256d u = _mm256_add_pd(_mm256_mul_pd(v_five, fx), v_uoff);
    const __m256d v = _mm256_add_pd(_mm256_mul_pd(v_five, fy), v_voff);
    const __m256d x0 = _mm256_floor_pd(u);
    const __m256d y0 = _mm256_floor_pd(v);
    const __m256d inside =
        _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(x0, v_zero, _CMP_GE_OQ), _mm256_cmp_pd(y0, v_zero, _CMP_GE_OQ)),
                      _mm256_and_pd(_mm256_cmp_pd(x0, v_umax, _CMP_LE_OQ), _mm256_cmp_pd(y0, v_vmax, _CMP_LE_OQ)));
    // The low halves of the four 64-bit lane masks as four 32-bit masks.
    const __m128i mask =
        _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(_mm256_castpd_si256(inside), v_lows));
    const __m128i ix = _mm256_cvttpd_epi32(x0);
    const __m128i iy = _mm256_cvttpd_epi32(y0);
    const __m128i at = _mm_add_epi32(_mm_mullo_epi32(iy, v_tw), ix);
    const __m128i top_words = _mm_mask_i32gather_epi32(_mm_setzero_si128(), words, at, mask, 1);
    const __m128i low_words =
        _mm_mask_i32gather_epi32(_mm_setzero_si128(), words, _mm_add_epi32(at, v_tw), mask, 1);
    const __m128i c00 = _mm_and_si128(_mm_srli_epi32(top_words, 16), v_byte);
    const __m128i c10 = _mm_srli_epi32(top_words, 24);
    const __m128i c01 = _mm_and_si128(_mm_srli_epi32(low_words, 16), v_byte);
    const __m128i c11 = _mm_srli_epi32(low_words, 24);
    const __m256d a = _mm256_sub_pd(u, _mm256_cvtepi32_pd(ix));
    const __m256d top =
        _mm256_add_pd(_mm256_cvtepi32_pd(c00), _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(c10, c00)), a));
    const __m256d bottom =
        _mm256_add_pd(_mm256_cvtepi32_pd(c01), _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(c11, c01)), a));
    const __m256d w = _mm256_sub_pd(v, _mm256_cvtepi32_pd(iy));
    const __m256d mixed = _mm256_floor_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(bottom, top), w), top));
    const __m128i colour = _mm_and_si128(_mm256_cvttpd_epi32(mixed), mask);
    const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(colour, colour), _mm_setzero_si128());
    const int32_t four = _mm_cvtsi128_si32(bytes);
    std::memcpy(out + sx, &four, 4);
    if (l != nullptr) {
      const int band = _mm256_movemask_pd(
          _mm256_and_pd(_mm256_cmp_pd(fy, v_low, _CMP_GE_OQ), _mm256_cmp_pd(fy, v_high, _CMP_LE_OQ)));
      if (band != 0) {
        alignas(32) double fxs[4], fys[4];
        alignas(16) int32_t cols[4];
        _mm256_store_pd(fxs, fx);
        _mm256_store_pd(fys, fy);
        _mm_store_si128(reinterpret_cast<__m128i*>(cols), colour);
        for (int i = 0; i < 4; ++i)
          if ((band >> i) & 1)
            out[sx + i] = static_cast<std::uint8_t>(label_pixel(p, *l, fxs[i], fys[i], cols[i]) & 0xFF);
      }
    }
  }
  for (; sx < p.width; ++sx) out[sx] = one_pixel(p, l, sx, ryb, rya);
}

// g++ 12 takes the deliberately undefined lanes inside the AVX-512 intrinsics
// for uninitialised variables; nothing here reads an undefined lane.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

// The floor point and the texel corner of eight pixels.
struct EightPixels {
  __m512d fx, fy, u, v;
  __m512d x0, y0;  // floor(u), floor(v)
  __m256i ix, iy;  // the same as integers
};

// The constants of one row for the AVX-512 pixels.
struct RowConstants512 {
  __m512d ryb, rya, ay, by, det, sx, sy, orx, ory, five, uoff, voff, low, high;
};

template <bool DIVIDE>
__attribute__((target("avx512f"), always_inline)) inline EightPixels map_eight(const RowConstants512& c,
                                                                                 __m512d rx) {
  EightPixels e;
  const __m512d first = _mm512_div_pd(_mm512_sub_pd(_mm512_mul_pd(rx, c.by), c.ryb), c.det);
  const __m512d second = _mm512_div_pd(_mm512_sub_pd(_mm512_mul_pd(rx, c.ay), c.rya), c.det);
  e.fx = _mm512_add_pd(DIVIDE ? _mm512_div_pd(first, c.sx) : _mm512_mul_pd(first, c.sx), c.orx);
  e.fy = _mm512_add_pd(DIVIDE ? _mm512_div_pd(second, c.sy) : _mm512_mul_pd(second, c.sy), c.ory);
  e.u = _mm512_add_pd(_mm512_mul_pd(c.five, e.fx), c.uoff);
  e.v = _mm512_add_pd(_mm512_mul_pd(c.five, e.fy), c.voff);
  e.x0 = _mm512_roundscale_pd(e.u, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  e.y0 = _mm512_roundscale_pd(e.v, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  // Exact for every texel position; anything too far away (or not a
  // number) becomes 0x80000000, which the range test below refuses.
  e.ix = _mm512_cvttpd_epi32(e.x0);
  e.iy = _mm512_cvttpd_epi32(e.y0);
  return e;
}

// The interpolated colour of eight pixels from their texel values. The
// weights u - x0 and v - y0 take the floored doubles, which equal the texel
// position converted back.
__attribute__((target("avx512f"), always_inline)) inline __m256i mix_eight(const EightPixels& e, __m256i c00,
                                                                            __m256i c10, __m256i c01,
                                                                            __m256i c11) {
  const __m512d a = _mm512_sub_pd(e.u, e.x0);
  const __m512d top =
      _mm512_add_pd(_mm512_cvtepi32_pd(c00), _mm512_mul_pd(_mm512_cvtepi32_pd(_mm256_sub_epi32(c10, c00)), a));
  const __m512d bottom =
      _mm512_add_pd(_mm512_cvtepi32_pd(c01), _mm512_mul_pd(_mm512_cvtepi32_pd(_mm256_sub_epi32(c11, c01)), a));
  const __m512d w = _mm512_sub_pd(e.v, e.y0);
  const __m512d mixed = _mm512_roundscale_pd(_mm512_add_pd(_mm512_mul_pd(_mm512_sub_pd(bottom, top), w), top),
                                             _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  return _mm512_cvttpd_epi32(mixed);
}

__attribute__((target("avx512f"), always_inline)) inline unsigned band_eight(const RowConstants512& c,
                                                                              const EightPixels& e) {
  return static_cast<unsigned>(_mm512_cmp_pd_mask(e.fy, c.low, _CMP_GE_OQ) &
                               _mm512_cmp_pd_mask(e.fy, c.high, _CMP_LE_OQ));
}

// Neighbouring pixels sample neighbouring texels: sixteen pixels of a game
// view fall within 15 texel columns and 2 texel rows, which three strips of
// 16 texels hold. Then the four texels of every pixel are picked out of the
// strips in registers; false (nothing read) when the sixteen are spread
// wider or lie at the texture's edge, and the texels are gathered one by one.
__attribute__((target("avx512f"), always_inline)) inline bool near_texels(const FloorPass& p, __mmask16 inside,
                                                                           __m512i ix, __m512i iy, __m512i& c00,
                                                                           __m512i& c10, __m512i& c01,
                                                                           __m512i& c11) {
  if (inside != 0xFFFF) return false;
  const int32_t x_first = _mm_cvtsi128_si32(_mm512_castsi512_si128(ix));
  const int32_t x_last = _mm_extract_epi32(_mm512_extracti32x4_epi32(ix, 3), 3);
  const int32_t y_first = _mm_cvtsi128_si32(_mm512_castsi512_si128(iy));
  const int32_t y_last = _mm_extract_epi32(_mm512_extracti32x4_epi32(iy, 3), 3);
  const int32_t left = std::min(x_first, x_last);
  const int32_t top = std::min(y_first, y_last);
  const long long width = p.tex_width;
  if ((top + 2LL) * width + left + 16 > width * p.tex_height) return false;
  const __m512i column = _mm512_sub_epi32(ix, _mm512_set1_epi32(left));
  const __m512i row = _mm512_sub_epi32(iy, _mm512_set1_epi32(top));
  if ((_mm512_cmple_epu32_mask(column, _mm512_set1_epi32(14)) & _mm512_cmple_epu32_mask(row, _mm512_set1_epi32(1))) !=
      0xFFFF)
    return false;
  const std::uint8_t* strip = p.texels + top * width + left;
  const __m512i strip0 = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(strip)));
  const __m512i strip1 = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(strip + width)));
  const __m512i strip2 = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(strip + 2 * width)));
  // Entry column + 16 row of the strip pairs (0, 1) and (1, 2).
  const __m512i pick = _mm512_add_epi32(column, _mm512_slli_epi32(row, 4));
  const __m512i pick_right = _mm512_add_epi32(pick, _mm512_set1_epi32(1));
  c00 = _mm512_permutex2var_epi32(strip0, pick, strip1);
  c10 = _mm512_permutex2var_epi32(strip0, pick_right, strip1);
  c01 = _mm512_permutex2var_epi32(strip1, pick, strip2);
  c11 = _mm512_permutex2var_epi32(strip1, pick_right, strip2);
  return true;
}

// Sixteen pixels at a time, as two sets of eight doubles; the texel words are
// read as above.
template <bool DIVIDE>
__attribute__((target("avx512f"))) void row_avx512(const FloorPass& p, LabelPass* l, int32_t sy) {
  const double ry = static_cast<double>(sy) - p.oy;
  const double ryb = ry * p.bx;
  const double rya = ry * p.ax;
  std::uint8_t* out = p.pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(p.width);
  const void* words = p.texels - 2;

  RowConstants512 c;
  c.ryb = _mm512_set1_pd(ryb);
  c.rya = _mm512_set1_pd(rya);
  c.ay = _mm512_set1_pd(p.ay);
  c.by = _mm512_set1_pd(p.by);
  c.det = _mm512_set1_pd(p.det);
  c.sx = _mm512_set1_pd(DIVIDE ? p.scale : p.inv);
  c.sy = _mm512_set1_pd(DIVIDE ? p.neg_scale : p.neg_inv);
  c.orx = _mm512_set1_pd(p.origin_x);
  c.ory = _mm512_set1_pd(p.origin_y);
  c.five = _mm512_set1_pd(TEXELS_PER_UNIT);
  c.uoff = _mm512_set1_pd(p.u_offset);
  c.voff = _mm512_set1_pd(p.v_offset);
  c.low = _mm512_set1_pd(p.band_low);
  c.high = _mm512_set1_pd(p.band_high);
  const __m512i v_tw = _mm512_set1_epi32(p.tex_width);
  const __m512i v_umax = _mm512_set1_epi32(p.tex_width - 2);
  const __m512i v_vmax = _mm512_set1_epi32(p.tex_height - 2);
  const __m512i v_byte = _mm512_set1_epi32(0xFF);
  // rx = sx - CENTERX for the first sixteen pixels; whole numbers, so adding
  // 16 for the next sixteen gives exactly sx - CENTERX again.
  const __m512d v_sixteen = _mm512_set1_pd(16.0);
  const __m512d v_ox = _mm512_set1_pd(p.ox);
  __m512d rx_lo = _mm512_sub_pd(_mm512_cvtepi32_pd(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)), v_ox);
  __m512d rx_hi = _mm512_sub_pd(_mm512_cvtepi32_pd(_mm256_setr_epi32(8, 9, 10, 11, 12, 13, 14, 15)), v_ox);

  int32_t sx = 0;
  for (; sx + 16 <= p.width; sx += 16) {
    const EightPixels lo = map_eight<DIVIDE>(c, rx_lo);
    const EightPixels hi = map_eight<DIVIDE>(c, rx_hi);
    rx_lo = _mm512_add_pd(rx_lo, v_sixteen);
    rx_hi = _mm512_add_pd(rx_hi, v_sixteen);
    const __m512i ix = _mm512_inserti64x4(_mm512_castsi256_si512(lo.ix), hi.ix, 1);
    const __m512i iy = _mm512_inserti64x4(_mm512_castsi256_si512(lo.iy), hi.iy, 1);
    // 0 <= x0 <= w - 2 and 0 <= y0 <= h - 2 in one unsigned test each.
    const __mmask16 inside = static_cast<__mmask16>(_mm512_cmple_epu32_mask(ix, v_umax) &
                                                    _mm512_cmple_epu32_mask(iy, v_vmax));
    __m512i c00, c10, c01, c11;
    if (!near_texels(p, inside, ix, iy, c00, c10, c01, c11)) {
      const __m512i at = _mm512_add_epi32(_mm512_mullo_epi32(iy, v_tw), ix);
      const __m512i top_words = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), inside, at, words, 1);
      const __m512i low_words =
          _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), inside, _mm512_add_epi32(at, v_tw), words, 1);
      c00 = _mm512_and_si512(_mm512_srli_epi32(top_words, 16), v_byte);
      c10 = _mm512_srli_epi32(top_words, 24);
      c01 = _mm512_and_si512(_mm512_srli_epi32(low_words, 16), v_byte);
      c11 = _mm512_srli_epi32(low_words, 24);
    }
    const __m256i col_lo = mix_eight(lo, _mm512_castsi512_si256(c00), _mm512_castsi512_si256(c10),
                                     _mm512_castsi512_si256(c01), _mm512_castsi512_si256(c11));
    const __m256i col_hi = mix_eight(hi, _mm512_extracti64x4_epi64(c00, 1), _mm512_extracti64x4_epi64(c10, 1),
                                     _mm512_extracti64x4_epi64(c01, 1), _mm512_extracti64x4_epi64(c11, 1));
    const __m512i colour =
        _mm512_maskz_mov_epi32(inside, _mm512_inserti64x4(_mm512_castsi256_si512(col_lo), col_hi, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + sx), _mm512_cvtepi32_epi8(colour));
    if (l != nullptr) {
      const unsigned band = band_eight(c, lo) | (band_eight(c, hi) << 8);
      if (band != 0) {
        // The nearest numbers, floor(fx + 0.5), and which of them are labelled.
        const __m512d half = _mm512_set1_pd(0.5);
        const __m512d last = _mm512_set1_pd(static_cast<double>(p.last_number));
        const __m512d zero = _mm512_setzero_pd();
        const __m512d near_lo =
            _mm512_roundscale_pd(_mm512_add_pd(lo.fx, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        const __m512d near_hi =
            _mm512_roundscale_pd(_mm512_add_pd(hi.fx, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        const unsigned labelled =
            band & (static_cast<unsigned>(_mm512_cmp_pd_mask(near_lo, zero, _CMP_GE_OQ) &
                                          _mm512_cmp_pd_mask(near_lo, last, _CMP_LE_OQ)) |
                    (static_cast<unsigned>(_mm512_cmp_pd_mask(near_hi, zero, _CMP_GE_OQ) &
                                           _mm512_cmp_pd_mask(near_hi, last, _CMP_LE_OQ))
                     << 8));
        if (labelled != 0) {
          alignas(64) double fxs[16], fys[16];
          alignas(64) int32_t cols[16], numbers[16];
          _mm512_store_pd(fxs, lo.fx);
          _mm512_store_pd(fxs + 8, hi.fx);
          _mm512_store_pd(fys, lo.fy);
          _mm512_store_pd(fys + 8, hi.fy);
          _mm512_store_si512(cols, colour);
          _mm512_store_si512(numbers, _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvttpd_epi32(near_lo)),
                                                         _mm512_cvttpd_epi32(near_hi), 1));
          for (unsigned rest = labelled; rest != 0; rest &= rest - 1) {
            const int i = __builtin_ctz(rest);
            out[sx + i] = static_cast<std::uint8_t>(label_of(*l, numbers[i], fxs[i], fys[i], cols[i]) & 0xFF);
          }
        }
      }
    }
  }
  row_plain(p, l, sy, sx);
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif  // RANVEL_X86

#ifdef RANVEL_WASM_SIMD

// Two pixels in the two lanes of a vector of doubles: the floor point, the
// texture position and its floor.
struct TwoPixels {
  v128_t fx, fy, u, v;
  v128_t x0, y0;  // floor(u), floor(v)
};

// The constants of one row for the WebAssembly pixels.
struct RowConstants128 {
  v128_t ox, ryb, rya, ay, by, det, sx, sy, orx, ory, five, uoff, voff, zero, umax, vmax, low, high;
};

template <bool DIVIDE>
inline TwoPixels map_two(const RowConstants128& c, int32_t sx) {
  TwoPixels t;
  const v128_t rx = wasm_f64x2_sub(wasm_f64x2_convert_low_i32x4(wasm_i32x4_make(sx, sx + 1, 0, 0)), c.ox);
  const v128_t first = wasm_f64x2_div(wasm_f64x2_sub(wasm_f64x2_mul(rx, c.by), c.ryb), c.det);
  const v128_t second = wasm_f64x2_div(wasm_f64x2_sub(wasm_f64x2_mul(rx, c.ay), c.rya), c.det);
  t.fx = wasm_f64x2_add(DIVIDE ? wasm_f64x2_div(first, c.sx) : wasm_f64x2_mul(first, c.sx), c.orx);
  t.fy = wasm_f64x2_add(DIVIDE ? wasm_f64x2_div(second, c.sy) : wasm_f64x2_mul(second, c.sy), c.ory);
  t.u = wasm_f64x2_add(wasm_f64x2_mul(c.five, t.fx), c.uoff);
  t.v = wasm_f64x2_add(wasm_f64x2_mul(c.five, t.fy), c.voff);
  t.x0 = wasm_f64x2_floor(t.u);
  t.y0 = wasm_f64x2_floor(t.v);
  return t;
}

// Whether the texel corner lies inside the texture, as a 64-bit mask a lane.
inline v128_t inside_two(const RowConstants128& c, const TwoPixels& t) {
  return wasm_v128_and(wasm_v128_and(wasm_f64x2_ge(t.x0, c.zero), wasm_f64x2_ge(t.y0, c.zero)),
                       wasm_v128_and(wasm_f64x2_le(t.x0, c.umax), wasm_f64x2_le(t.y0, c.vmax)));
}

// The interpolated colour of two pixels from their texel values (lanes 0
// and 1 of the integer vectors), floored, as doubles. The weights u - x0 and
// v - y0 take the floored doubles, which equal the texel position converted
// back.
inline v128_t mix_two(const TwoPixels& t, v128_t c00, v128_t c10, v128_t c01, v128_t c11) {
  const v128_t a = wasm_f64x2_sub(t.u, t.x0);
  const v128_t top = wasm_f64x2_add(wasm_f64x2_convert_low_i32x4(c00),
                                    wasm_f64x2_mul(wasm_f64x2_convert_low_i32x4(wasm_i32x4_sub(c10, c00)), a));
  const v128_t bottom = wasm_f64x2_add(wasm_f64x2_convert_low_i32x4(c01),
                                       wasm_f64x2_mul(wasm_f64x2_convert_low_i32x4(wasm_i32x4_sub(c11, c01)), a));
  const v128_t w = wasm_f64x2_sub(t.v, t.y0);
  return wasm_f64x2_floor(wasm_f64x2_add(wasm_f64x2_mul(wasm_f64x2_sub(bottom, top), w), top));
}

// Whole-numbered doubles of two lanes (within the 32-bit range) as 32-bit
// integers in lanes 0 and 1, the other two 0. Adding 1.5 * 2^52 is exact for
// them and leaves the integer in the low half of the double, in fewer
// operations than a saturating conversion. Lanes of other values (off the
// texture, not a number) give numbers that are masked off afterwards.
inline v128_t whole_to_int(v128_t whole) {
  const v128_t shifted = wasm_f64x2_add(whole, wasm_f64x2_splat(6755399441055744.0));
  return wasm_i32x4_shuffle(shifted, wasm_i32x4_splat(0), 0, 2, 4, 6);
}

// The same for two pairs: the four lanes' 32-bit integers, low pair first.
inline v128_t whole_to_int4(v128_t low, v128_t high) {
  return wasm_i64x2_shuffle(whole_to_int(low), whole_to_int(high), 0, 2);
}

// Four texel pairs (a texel and its right neighbour) as the low and high
// byte of each 32-bit lane.
inline v128_t texel_pairs(const std::uint8_t* t0, const std::uint8_t* t1, const std::uint8_t* t2,
                          const std::uint8_t* t3) {
  v128_t pairs = wasm_i32x4_splat(0);
  pairs = wasm_v128_load16_lane(t0, pairs, 0);
  pairs = wasm_v128_load16_lane(t1, pairs, 2);
  pairs = wasm_v128_load16_lane(t2, pairs, 4);
  return wasm_v128_load16_lane(t3, pairs, 6);
}

// Four pixels a step, as two pairs. WebAssembly has no gather: the texels of
// the four are read one pair of neighbours at a time. A pixel off the
// texture reads texel 0 instead, and its colour is then masked to 0.
template <bool DIVIDE>
void row_wasm128(const FloorPass& p, LabelPass* l, int32_t sy) {
  const double ry = static_cast<double>(sy) - p.oy;
  const double ryb = ry * p.bx;
  const double rya = ry * p.ax;
  std::uint8_t* out = p.pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(p.width);

  RowConstants128 c;
  c.ox = wasm_f64x2_splat(p.ox);
  c.ryb = wasm_f64x2_splat(ryb);
  c.rya = wasm_f64x2_splat(rya);
  c.ay = wasm_f64x2_splat(p.ay);
  c.by = wasm_f64x2_splat(p.by);
  c.det = wasm_f64x2_splat(p.det);
  c.sx = wasm_f64x2_splat(DIVIDE ? p.scale : p.inv);
  c.sy = wasm_f64x2_splat(DIVIDE ? p.neg_scale : p.neg_inv);
  c.orx = wasm_f64x2_splat(p.origin_x);
  c.ory = wasm_f64x2_splat(p.origin_y);
  c.five = wasm_f64x2_splat(TEXELS_PER_UNIT);
  c.uoff = wasm_f64x2_splat(p.u_offset);
  c.voff = wasm_f64x2_splat(p.v_offset);
  c.zero = wasm_f64x2_splat(0.0);
  c.umax = wasm_f64x2_splat(static_cast<double>(p.tex_width - 2));
  c.vmax = wasm_f64x2_splat(static_cast<double>(p.tex_height - 2));
  c.low = wasm_f64x2_splat(p.band_low);
  c.high = wasm_f64x2_splat(p.band_high);
  const v128_t v_tw = wasm_i32x4_splat(p.tex_width);
  const v128_t v_byte = wasm_i32x4_splat(0xFF);
  const std::size_t tw = static_cast<std::size_t>(p.tex_width);

  int32_t sx = 0;
  for (; sx + 4 <= p.width; sx += 4) {
    const TwoPixels lo = map_two<DIVIDE>(c, sx);
    const TwoPixels hi = map_two<DIVIDE>(c, sx + 2);
    // The four lanes' masks and texel corners as 32-bit integers.
    const v128_t inside = wasm_i32x4_shuffle(inside_two(c, lo), inside_two(c, hi), 0, 2, 4, 6);
    const v128_t ix = whole_to_int4(lo.x0, hi.x0);
    const v128_t iy = whole_to_int4(lo.y0, hi.y0);
    const v128_t at = wasm_v128_and(wasm_i32x4_add(wasm_i32x4_mul(iy, v_tw), ix), inside);
    const std::uint8_t* t0 = p.texels + static_cast<uint32_t>(wasm_i32x4_extract_lane(at, 0));
    const std::uint8_t* t1 = p.texels + static_cast<uint32_t>(wasm_i32x4_extract_lane(at, 1));
    const std::uint8_t* t2 = p.texels + static_cast<uint32_t>(wasm_i32x4_extract_lane(at, 2));
    const std::uint8_t* t3 = p.texels + static_cast<uint32_t>(wasm_i32x4_extract_lane(at, 3));
    const v128_t top_pairs = texel_pairs(t0, t1, t2, t3);
    const v128_t low_pairs = texel_pairs(t0 + tw, t1 + tw, t2 + tw, t3 + tw);
    const v128_t c00 = wasm_v128_and(top_pairs, v_byte);
    const v128_t c10 = wasm_u32x4_shr(top_pairs, 8);
    const v128_t c01 = wasm_v128_and(low_pairs, v_byte);
    const v128_t c11 = wasm_u32x4_shr(low_pairs, 8);
    const v128_t col_lo = mix_two(lo, c00, c10, c01, c11);
    const v128_t col_hi = mix_two(hi, wasm_i32x4_shuffle(c00, c00, 2, 3, 2, 3), wasm_i32x4_shuffle(c10, c10, 2, 3, 2, 3),
                                  wasm_i32x4_shuffle(c01, c01, 2, 3, 2, 3), wasm_i32x4_shuffle(c11, c11, 2, 3, 2, 3));
    const v128_t colour = wasm_v128_and(whole_to_int4(col_lo, col_hi), inside);
    const v128_t halves = wasm_i16x8_narrow_i32x4(colour, colour);
    const v128_t bytes = wasm_u8x16_narrow_i16x8(halves, halves);
    const int32_t four = wasm_i32x4_extract_lane(bytes, 0);
    std::memcpy(out + sx, &four, 4);
    if (l != nullptr) {
      const int band =
          wasm_i64x2_bitmask(wasm_v128_and(wasm_f64x2_ge(lo.fy, c.low), wasm_f64x2_le(lo.fy, c.high))) |
          (wasm_i64x2_bitmask(wasm_v128_and(wasm_f64x2_ge(hi.fy, c.low), wasm_f64x2_le(hi.fy, c.high))) << 2);
      if (band != 0) {
        alignas(16) double fxs[4], fys[4];
        alignas(16) int32_t cols[4];
        wasm_v128_store(fxs, lo.fx);
        wasm_v128_store(fxs + 2, hi.fx);
        wasm_v128_store(fys, lo.fy);
        wasm_v128_store(fys + 2, hi.fy);
        wasm_v128_store(cols, colour);
        for (int i = 0; i < 4; ++i)
          if ((band >> i) & 1)
            out[sx + i] = static_cast<std::uint8_t>(label_pixel(p, *l, fxs[i], fys[i], cols[i]) & 0xFF);
      }
    }
  }
  row_plain(p, l, sy, sx);
}

#endif  // RANVEL_WASM_SIMD

FloorKernel best_kernel() {
#if defined(RANVEL_X86)
  static const FloorKernel best = __builtin_cpu_supports("avx512f") ? FLOOR_KERNEL_AVX512
                                  : __builtin_cpu_supports("avx2")  ? FLOOR_KERNEL_AVX2
                                                                    : FLOOR_KERNEL_PLAIN;
  return best;
#elif defined(RANVEL_WASM_SIMD)
  return FLOOR_KERNEL_WASM128;
#else
  return FLOOR_KERNEL_PLAIN;
#endif
}

// Whether this build on this processor can run the kernel: the plain one
// always; the WebAssembly one in a build made with -msimd128; the x86 ones up
// to the best the processor has.
bool kernel_here(int32_t kernel) {
  if (kernel == FLOOR_KERNEL_PLAIN) return true;
#if defined(RANVEL_WASM_SIMD)
  return kernel == FLOOR_KERNEL_WASM128;
#else
  return kernel > FLOOR_KERNEL_PLAIN && kernel <= static_cast<int32_t>(best_kernel());
#endif
}

FloorKernel chosen_kernel() {
  if (kernel_override >= 0 && kernel_here(kernel_override)) return static_cast<FloorKernel>(kernel_override);
  return best_kernel();
}

// Floor y of pixel (sx, sy), as one_pixel makes it.
double floor_y(const FloorPass& p, int32_t sx, int32_t sy) {
  const double ry = static_cast<double>(sy) - p.oy;
  const double rya = ry * p.ax;
  const double rx = static_cast<double>(sx) - p.ox;
  const double second = (rx * p.ay - rya) / p.det;
  return (p.power_of_two ? second * p.neg_inv : second / p.neg_scale) + p.origin_y;
}

// Whether a row can reach the label band. Every step from the column to the
// floor y is a rounded multiplication, division or addition by numbers fixed
// for the row, so floor y moves one way along the row: when both ends lie on
// the same side of the band, so does the whole row.
bool row_meets_band(const FloorPass& p, int32_t sy) {
  const double left = floor_y(p, 0, sy);
  const double right = floor_y(p, p.width - 1, sy);
  if (left < p.band_low && right < p.band_low) return false;
  if (left > p.band_high && right > p.band_high) return false;
  return true;
}

void draw_row(FloorKernel kernel, const FloorPass& p, LabelPass* l, int32_t sy) {
  if (l != nullptr && !row_meets_band(p, sy)) l = nullptr;
  switch (kernel) {
#ifdef RANVEL_X86
    case FLOOR_KERNEL_AVX512:
      if (p.power_of_two)
        row_avx512<false>(p, l, sy);
      else
        row_avx512<true>(p, l, sy);
      return;
    case FLOOR_KERNEL_AVX2:
      if (p.power_of_two)
        row_avx2<false>(p, l, sy);
      else
        row_avx2<true>(p, l, sy);
      return;
#endif
#ifdef RANVEL_WASM_SIMD
    case FLOOR_KERNEL_WASM128:
      if (p.power_of_two)
        row_wasm128<false>(p, l, sy);
      else
        row_wasm128<true>(p, l, sy);
      return;
#endif
    default:
      row_plain(p, l, sy, 0);
      return;
  }
}

// The frame is written in row order from its first pixel, so the area drawn
// must fit the block: a view whose centre does not match the frame would
// otherwise write past its end.
std::uint8_t* frame_pixels(Image frame, int32_t width, int32_t height) {
  const ImageInfo info = IMAGEINFO(check_ref(frame));
  const long long have = static_cast<long long>(info.width) * info.height;
  const long long need = static_cast<long long>(width > 0 ? width : 0) * (height > 0 ? height : 0);
  if (need > have) index_error(Idx(need - 1));
  return info.pixels;
}

// Sets up the mapping of one picture; false when the view's axes are parallel
// (no view of the game is) or the texture is too small to sample, which the
// caller then draws pixel by pixel.
bool set_up(FloorPass& p, const SCREENDEF& view, const std::uint8_t* texture, double u_offset, double v_offset) {
  p.u_offset = u_offset;
  p.v_offset = v_offset;
  const ImageInfo tex = IMAGEINFO(texture);
  p.texels = tex.pixels;
  p.tex_width = tex.width;
  p.tex_height = tex.height;
  // A texture narrower or lower than two texels has no texel to sample.
  if (p.tex_width < 2 || p.tex_height < 2) return false;
  p.ox = static_cast<double>(view.CENTERX);
  p.oy = static_cast<double>(view.CENTERY);
  p.ax = view.XAXISX;
  p.ay = -view.XAXISY;
  p.bx = view.YAXISX;
  p.by = -view.YAXISY;
  p.det = p.ax * p.by - p.ay * p.bx;
  if (p.det == 0.0 || std::isnan(p.det)) return false;
  p.scale = view.SCALE;
  p.neg_scale = -view.SCALE;
  int exponent = 0;
  const double mantissa = std::frexp(p.scale, &exponent);
  // 1 / 2^k is exact while it stays a normal number.
  p.power_of_two = std::isfinite(p.scale) && std::fabs(mantissa) == 0.5 && exponent > -1020 && exponent < 1020;
  if (p.power_of_two) {
    p.inv = 1.0 / p.scale;
    p.neg_inv = 1.0 / p.neg_scale;
  }
  p.origin_x = view.ORIGINX;
  p.origin_y = view.ORIGINY;
  return true;
}

// The same pixels, one SCREENTOFLOORCOORD and one TEXTUREMAP8B at a time.
void draw_pixel_by_pixel(const FloorPass& p, const SCREENDEF& view, const std::uint8_t* texture,
                         MAPPEDFONT* font) {
  LabelPass l;
  if (font != nullptr) l.font = *font;
  std::size_t k = 0;
  for (int32_t sy = 0; sy < p.height; ++sy) {
    for (int32_t sx = 0; sx < p.width; ++sx) {
      double fx = 0.0;
      double fy = 0.0;
      SCREENTOFLOORCOORD(sx, sy, view, fx, fy);
      int32_t colour = TEXTUREMAP8B(texture, TEXELS_PER_UNIT * fx + p.u_offset, TEXELS_PER_UNIT * fy + p.v_offset);
      if (font != nullptr && fy >= p.band_low && fy <= p.band_high) colour = label_pixel(p, l, fx, fy, colour);
      p.pixels[k] = static_cast<std::uint8_t>(colour & 0xFF);
      ++k;
    }
  }
  if (font != nullptr) font->LABELX = l.font.LABELX;
}

// Draws the picture described by p, sharing the rows between threads.
void draw_rows(const FloorPass& p, MAPPEDFONT* font, int32_t threads) {
  const FloorKernel kernel = chosen_kernel();
  if (font == nullptr) {
    split_rows(p.height, threads, [&](int32_t first, int32_t end) {
      for (int32_t sy = first; sy < end; ++sy) draw_row(kernel, p, nullptr, sy);
    });
    return;
  }
  // Each thread selects labels in its own copy of the font record. The
  // record keeps, as drawing row by row would leave it, the label selected
  // for the last labelled pixel of the picture.
  std::vector<int32_t> row_last(static_cast<std::size_t>(p.height), -1);
  split_rows(p.height, threads, [&](int32_t first, int32_t end) {
    LabelPass l;
    l.font = *font;
    for (int32_t sy = first; sy < end; ++sy) {
      l.row_last = -1;
      draw_row(kernel, p, &l, sy);
      row_last[static_cast<std::size_t>(sy)] = l.row_last;
    }
  });
  for (auto it = row_last.rbegin(); it != row_last.rend(); ++it) {
    if (*it >= 0) {
      LabelEdgesRow edges{};
      DEFINENUMBERFONT(*it, *font, edges);
      break;
    }
  }
}

}  // namespace

int32_t floor_threads() {
  if (thread_setting <= 0) thread_setting = default_row_threads();
  return thread_setting;
}

int32_t set_floor_threads(int32_t threads) {
  const int32_t previous = floor_threads();
  thread_setting = threads > 0 ? threads : default_row_threads();
  return previous;
}

FloorKernel floor_kernel_best() { return best_kernel(); }

bool floor_kernel_available(FloorKernel kernel) { return kernel_here(kernel); }

FloorKernel set_floor_kernel(FloorKernel kernel) {
  const FloorKernel previous = chosen_kernel();
  kernel_override = static_cast<int32_t>(kernel);
  return previous;
}

void DRAWBG(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target, const SCREENDEF& view) {
  FloorPass p;
  p.width = 2 * view.CENTERX;
  p.height = 2 * view.CENTERY;
  p.pixels = frame_pixels(frame, p.width, p.height);
  check_ref(texture);
  p.band_low = LABEL_BASE_Y;
  p.band_high = LABEL_BASE_Y + font.LABELHEIGHT;
  p.last_number = target;
  if (!set_up(p, view, texture, PLAY_TEXTURE_U, PLAY_TEXTURE_V)) {
    draw_pixel_by_pixel(p, view, texture, &font);
    return;
  }
  // Selecting a label can fail only when the label table or the font is
  // missing; that is reported from this thread, so such a floor is drawn here.
  const bool labels_ready = LABELEDGES.size() > static_cast<std::size_t>(target) && font.FONTDATA != nullptr &&
                            font.GLYPHOFFSETS != nullptr && font.GLYPHPIXELS != nullptr;
  draw_rows(p, &font, labels_ready ? floor_threads() : 1);
}

void draw_options_floor(Image frame, const std::uint8_t* texture, const SCREENDEF& view) {
  FloorPass p;
  p.width = PAGE_WIDTH;
  p.height = PAGE_HEIGHT;
  p.pixels = frame_pixels(frame, p.width, p.height);
  check_ref(texture);
  if (!set_up(p, view, texture, OPTIONS_TEXTURE_U, OPTIONS_TEXTURE_V)) {
    draw_pixel_by_pixel(p, view, texture, nullptr);
    return;
  }
  draw_rows(p, nullptr, floor_threads());
}
