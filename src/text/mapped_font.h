// The digit font painted onto the floor, and the number labels 0..100.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/checked.h"

// Descriptor of the digit font used for mapped text.
struct MAPPEDFONT {
  double LABELX = 0.0;          // floor x at which the current label starts
  double LABELY = 0.0;          // floor y of the labels' lower edge (-2.0)
  double LABELHEIGHT = 0.0;     // height of a label on the floor (0.5)
  double PIXELSPERUNIT = 0.0;   // font pixels per floor unit (64)
  const std::uint8_t* FONTDATA = nullptr;
  const std::uint8_t* GLYPHOFFSETS = nullptr;
  const std::uint8_t* GLYPHPIXELS = nullptr;
  int32_t STRIPWIDTH = 0;
  int32_t INKCOLOR = 0;         // colour of fully inked floor (176)
};

// The floor y of the labels' lower edge: they lie in front of the number line.
constexpr double LABEL_BASE_Y = -2.0;

using LabelEdgesRow = std::array<double, 4>;
// Row n: left edge of the label of n, then the right edge of each digit.
extern CheckedList<LabelEdgesRow> LABELEDGES;

void INITFONT(MAPPEDFONT& font);
int32_t GETFONTPIXCOUNT8B(int32_t x, int32_t y, int32_t ch, const MAPPEDFONT& font);
int32_t GETFONTBOOLEAN8B(int32_t x, int32_t y, int32_t ch, const MAPPEDFONT& font);
int32_t GETFONTCOLOR8B(double u, double v, std::string_view text, const MAPPEDFONT& font,
                       const LabelEdgesRow& edges, int32_t background);

double PREPAREMAPPEDTEXT(std::string_view text, MAPPEDFONT& font, CheckedList<double>& edges,
                         CheckedList<double>& ys);
void DEFINENUMBERS(uint8_t largest, MAPPEDFONT& font);
void DEFINENUMBERFONT(int32_t n, MAPPEDFONT& font, LabelEdgesRow& edges);
