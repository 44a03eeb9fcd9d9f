// The raster surface: one 800 x 600 screen page of 8-bit palette indices,
// off-screen image blocks in the same format, and the 256-entry palette.
//
// An image block is one allocation: a 4-byte header (a little-endian word
// holding bytes per pixel in bits 0-2 and the width in bits 3-15, then a
// little-endian height) followed by the rows, top row first, with no padding.
// Pixel (x, y) is at IMAGEINFO(img).PIXELS + y * width + x. The screen page is
// itself kept as such a block, so every drawing operation takes a target block
// and SCREEN() is the visible page.
//
// Positions are single-precision values, turned into pixels by truncation
// toward zero for values above 0 and by subtracting 0.5 and truncating for
// values of 0 or less (0.99 -> 0, -0.5 -> -1). Everything is clipped to the
// whole target.
#pragma once

#include <cstdint>
#include <string_view>

using IMAGE = std::uint8_t*;

struct IMAGEINFORECORD {
  int32_t WIDTH = 0;
  int32_t HEIGHT = 0;
  int32_t BYTESPERPIXEL = 0;
  int32_t PITCH = 0;
  std::uint8_t* PIXELS = nullptr;
  int32_t SIZE = 0;
};

enum BLITMODE : int32_t { BLITCOPY = 0, BLITTRANSPARENT = 1 };
enum LINEKIND : int32_t { LINEKIND_LINE = 0, LINEKIND_BOX = 1, LINEKIND_FILLEDBOX = 2 };

// Turns a single-precision position into a whole pixel (see above).
int32_t TOPIXEL(float v);

// Opens the 800 x 600 page in a window (once, at start-up). 0 on success,
// 1 when the screen cannot be opened or the arguments are not 800, 600, 8, 1.
int32_t SETSCREENMODE(int32_t width, int32_t height, int32_t depth, int32_t pages);
// The screen target; nullptr while no screen is open.
IMAGE SCREEN();
bool SCREENOPEN();

// A new zeroed image block; nullptr when a size is below 1, the width is above
// 8191, the height above 65535, no screen is open or memory runs out.
IMAGE NEWIMAGE(int32_t width, int32_t height);
// Releases a block made by NEWIMAGE and clears the reference; null does nothing.
void FREEIMAGE(IMAGE& image);
// Reads the header of any image block (also the constant font images).
IMAGEINFORECORD IMAGEINFO(const std::uint8_t* image);

void PUTPIXEL(IMAGE target, float x, float y, int32_t colour);
void DRAWLINE(IMAGE target, float x1, float y1, float x2, float y2, int32_t colour, LINEKIND kind);
void DRAWCIRCLE(IMAGE target, float cx, float cy, int32_t radius, int32_t colour);

// 0, or 1 for an invalid call (no screen, no target, no source, depths differ).
int32_t BLITIMAGE(IMAGE target, float x, float y, const std::uint8_t* image, BLITMODE mode);
// The same for the source rectangle (sx1, sy1)-(sx2, sy2), corners inclusive,
// in either order, clamped to the image.
int32_t BLITIMAGE(IMAGE target, float x, float y, const std::uint8_t* image, BLITMODE mode,
                  float sx1, float sy1, float sx2, float sy2);
// Copies the rectangle into the block and rewrites its header; 1 (and nothing
// copied) when the rectangle is not wholly inside the target.
int32_t GRABIMAGE(IMAGE target, float x1, float y1, float x2, float y2, IMAGE image);
// Draws text with a font image, transparently, top-left of the first glyph at (x, y).
int32_t DRAWTEXT(IMAGE target, float x, float y, std::string_view text, const std::uint8_t* font);

void SETPALETTE(int32_t index, int32_t red, int32_t green, int32_t blue);
// The 256 entries as red, green, blue bytes.
const std::uint8_t* PALETTEDATA();

// The fixed-width text output used only by the run-time error report.
void SETTEXTCOLORS(int32_t foreground, int32_t background);
void PRINTTEXT(std::string_view text, bool endofline);
// An integer is written as a space and its digits, or a minus sign and its digits.
void PRINTTEXT(long long number, bool endofline);

// Set by every operation that changes the visible page or the palette;
// read and cleared by the backend when it presents.
bool SURFACETAKECHANGED();
