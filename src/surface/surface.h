// The raster surface: one 800 x 600 screen page of 8-bit palette indices,
// off-screen image blocks in the same format, and the 256-entry palette.
//
// An image block is one allocation: a 4-byte header (a little-endian word
// holding bytes per pixel in bits 0-2 and the width in bits 3-15, then a
// little-endian height) followed by the rows, top row first, with no padding.
// Pixel (x, y) is at IMAGEINFO(img).pixels + y * width + x. The screen page is
// itself kept as such a block, so every drawing operation takes a target block
// and screen_page() is the visible page.
//
// Positions are single-precision values, turned into pixels by truncation
// toward zero for values above 0 and by subtracting 0.5 and truncating for
// values of 0 or less (0.99 -> 0, -0.5 -> -1). Everything is clipped to the
// whole target.
#pragma once

#include <cstdint>
#include <string_view>

#include "assets/fonts.h"
#include "platform/platform.h"

using Image = std::uint8_t*;

// The screen page, in pixels.
constexpr int32_t PAGE_WIDTH = 800;
constexpr int32_t PAGE_HEIGHT = 600;

struct ImageInfo {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytes_per_pixel = 0;
  int32_t pitch = 0;
  std::uint8_t* pixels = nullptr;
  int32_t size = 0;
};

enum BlitMode : int32_t { BLIT_COPY = 0, BLIT_TRANSPARENT = 1 };
enum LineKind : int32_t { LINE_KIND_LINE = 0, LINE_KIND_BOX = 1, LINE_KIND_FILLED_BOX = 2 };

// Turns a single-precision position into a whole pixel (see above).
int32_t to_pixel(float v);

// Opens the 800 x 600 page in a window (once, at start-up). 0 on success,
// 1 when the screen cannot be opened or the arguments are not 800, 600, 8, 1.
int32_t SETSCREENMODE(int32_t width, int32_t height, int32_t depth, int32_t pages);
// The screen target; nullptr while no screen is open.
Image screen_page();
bool screen_open();

// A new zeroed image block; nullptr when a size is below 1, the width is above
// 8191, the height above 65535, no screen is open or memory runs out.
Image NEWIMAGE(int32_t width, int32_t height);
// Releases a block made by NEWIMAGE and clears the reference; null does nothing.
void FREEIMAGE(Image& image);
// Reads the header of any image block (also the constant font images).
ImageInfo IMAGEINFO(const std::uint8_t* image);

void PUTPIXEL(Image target, float x, float y, int32_t colour);
void DRAWLINE(Image target, float x1, float y1, float x2, float y2, int32_t colour, LineKind kind);
void DRAWCIRCLE(Image target, float cx, float cy, int32_t radius, int32_t colour);

// 0, or 1 for an invalid call (no screen, no target, no source, depths differ).
int32_t BLITIMAGE(Image target, float x, float y, const std::uint8_t* image, BlitMode mode);
// The same for the source rectangle (sx1, sy1)-(sx2, sy2), corners inclusive,
// in either order, clamped to the image.
int32_t BLITIMAGE(Image target, float x, float y, const std::uint8_t* image, BlitMode mode,
                  float sx1, float sy1, float sx2, float sy2);
// Copies the rectangle into the block and rewrites its header; 1 (and nothing
// copied) when the rectangle is not wholly inside the target.
int32_t GRABIMAGE(Image target, float x1, float y1, float x2, float y2, Image image);
// Draws text with a font image, transparently, top-left of the first glyph at (x, y).
int32_t DRAWTEXT(Image target, float x, float y, std::string_view text, const std::uint8_t* font);
// Draws a text with a text font and its supplement: bytes below 128 with the
// base font image, bytes 128..255 with the supplement, glyphs touching, the
// top-left of the first glyph at (x, y), as wide as text_width measures. A
// text without bytes from 128 on is drawn exactly as DRAWTEXT draws it. 0, or
// DRAWTEXT's code for an invalid call.
int32_t draw_text(Image target, float x, float y, std::string_view text, const TextFont& font);

void SETPALETTE(int32_t index, int32_t red, int32_t green, int32_t blue);
// The 256 entries as red, green, blue bytes.
const std::uint8_t* palette_data();

// The fixed-width text output used only by the run-time error report.
void SETTEXTCOLORS(int32_t foreground, int32_t background);
void PRINTTEXT(std::string_view text, bool endofline);
// An integer is written as a space and its digits, or a minus sign and its digits.
void PRINTTEXT(long long number, bool endofline);

// Hands the page and the palette to the platform to show, when either has
// changed since the last time (the rows that differ, or all of them after a
// palette change). Called before every look at the input and every wait, so
// the player sees each step once it is drawn whole.
void present_page();

// The first and last rows in which two pages of the same size differ.
RowSpan changed_rows(const std::uint8_t* before, const std::uint8_t* after, int32_t width, int32_t height);
