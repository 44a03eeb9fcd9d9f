// Where and how the page is shown in a window, kept apart from the window
// library so that it can be checked without a display: the starting scale,
// the letter-box rectangle, the pointer mapped back to page pixels, and the
// page turned into a window's 32-bit pixels.
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

// Where the page is shown inside an output of this many pixels: the largest
// whole multiple of the page that fits, centred, the rest left black, so that
// every page pixel is shown as a square of the same size. An output smaller
// than the page shows it shrunk to fit, with its proportions kept.
BoxRect letterbox(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight);

struct PagePoint {
  int32_t x = -1;
  int32_t y = -1;
  bool inside = false;
  bool operator==(const PagePoint&) const = default;
};

// Maps a pointer position in window coordinates to a page pixel. The window
// may be measured in points while the output has more pixels (HiDPI), so
// both sizes are given. Outside the letter-boxed page: inside false, -1, -1.
PagePoint window_to_page(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                       int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight);

// The palette (256 red, green, blue bytes) as 0xAARRGGBB words, opaque.
void palette_to_lookup(const std::uint8_t* palette, std::uint32_t* lookup);
// Turns the page's indices into 32-bit pixels through the lookup table; the
// destination rows are pitch bytes apart.
void convert_page(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                 std::uint32_t* out, int32_t pitch);

// The page shown in the box of a 32-bit output (rows pitch bytes apart), each
// output pixel taking the colour of the page pixel under its centre (the one
// window_to_page names for it), so nothing is blurred. Only the output rows that
// show page rows firstrow..lastrow are written; the result is the rectangle
// of the output that was written (empty when none).
BoxRect scale_page(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                  const BoxRect& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch);
