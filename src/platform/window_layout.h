// Where and how the page is shown in a window, kept apart from the window
// library so that it can be checked without a display: the starting scale,
// the rectangle the page is shown in, the pointer mapped back to page pixels,
// and the page turned into a window's 32-bit pixels.
#pragma once

#include <cstdint>

// The largest whole multiple of the page that fits the desktop, at least 1.
int32_t choose_window_scale(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight);

struct BoxRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  bool operator==(const BoxRect&) const = default;
};

// How large the page may be shown.
enum class ScaleRule {
  FILL,             // as large as fits, any size
  WHOLE_MULTIPLES,  // only whole multiples of the page (asked for with --integer-scale)
};

// Where the page is shown inside an output of this many pixels, centred, the
// rest left black. FILL: the largest rectangle of the page's proportions
// (4:3) that fits. WHOLE_MULTIPLES: the largest whole multiple of the page
// that fits, or, when not even the page itself fits, as FILL.
BoxRect letterbox(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight, ScaleRule rule);

struct PagePoint {
  int32_t x = -1;
  int32_t y = -1;
  bool inside = false;
  bool operator==(const PagePoint&) const = default;
};

// Maps a pointer position in window coordinates to the page pixel under it:
// page x = floor((x - left edge of the page) * page width / shown width),
// likewise y, with x first turned from window points into output pixels
// (a HiDPI window has more pixels than points, so both sizes are given).
// Outside the page: inside false, -1, -1.
PagePoint window_to_page(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                         int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight,
                         ScaleRule rule);

// The palette (256 red, green, blue bytes) as 0xAARRGGBB words, opaque.
void palette_to_lookup(const std::uint8_t* palette, std::uint32_t* lookup);
// Turns the page's indices into 32-bit pixels through the lookup table; the
// destination rows are pitch bytes apart.
void convert_page(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                  std::uint32_t* out, int32_t pitch);

// The page shown in the box of a 32-bit output (rows pitch bytes apart). Each
// of the four bytes of a pixel is computed on its own from the same byte of
// the lookup words, so the lookup may be in any format of four 8-bit
// channels. Each axis on its own, with S shown pixels for P page pixels:
//
// - S a whole multiple k of P: every page pixel becomes k pixels (exactly
//   the page enlarged, nothing blurred).
// - S above P otherwise: the page enlarged by k = ceil(S / P) without
//   smoothing (K = k * P pixels), then reduced linearly to S. Shown pixel o
//   samples the enlarged picture at u = (o + 1/2) * K / S - 1/2 (pixel
//   centres): with n = (2o + 1) * K - S and d = 2S, enlarged pixels
//   j = floor(n / d) and j + 1 are blended, j + 1 weighing
//   w = floor((256 * (n mod d) + S) / d) in 256ths (rounded half up). They
//   are page pixels floor(j / k) and floor((j + 1) / k) (the last page pixel
//   at the far end), so a shown pixel blends at most two page pixels, and
//   only where a page pixel's edge passes through it. Weights 256 in all.
// - S below P: area averaging. Shown pixel o covers [o * P, (o + 1) * P)
//   and page pixel p covers [p * S, (p + 1) * S), in 1/S of a page pixel;
//   page pixel p weighs the length of the overlap. Weights P in all.
//
// A shown byte is floor((sum of page byte * x weight * y weight + D / 2) / D)
// with D the product of the two axes' weight totals, so every machine shows
// the same picture. Only the output rows that take some weight from page rows
// firstrow..lastrow are written (the rows that show them and the blended
// rows at their edges); the result is the rectangle of the output that was written
// (empty when none). The page may have at most 2^24 pixels (and sides of at
// most 2^16); nothing is written for a larger one.
BoxRect scale_page(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                   const BoxRect& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch);
