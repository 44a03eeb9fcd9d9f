// The procedural floor texture and the background of every frame.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

// The floor texture made at start-up, in texels.
constexpr int32_t TEXTURE_WIDTH = 1330;
constexpr int32_t TEXTURE_HEIGHT = 430;

// Brightness of the floor at texel (x, y): 0 up to (not including) 1.
double FLOORTEXTURE(double x, double y);
// Frees the image the reference holds and puts a new width x height texture in its place.
void PREPARETEXTURE(Image& texture, int32_t width, int32_t height);
// Bilinear sample of colour indices at (u, v), rounded down; 0 outside the image.
int32_t TEXTUREMAP8B(const std::uint8_t* image, double u, double v);

// The texture sample itself, on the texels of a width x height texture:
// the colour between the four texels around (u, v), rounded down; 0 where
// those texels do not all lie inside (and for anything that is not a number).
// Every frame samples it for each of its pixels.
inline int32_t sample_texels(const std::uint8_t* texels, int32_t width, int32_t height, double u, double v) {
  const double x0 = std::floor(u);
  const double y0 = std::floor(v);
  // The test is made on the doubles, so a far-away point never overflows an int.
  if (!(x0 >= 0.0 && y0 >= 0.0 && x0 <= static_cast<double>(width - 2) && y0 <= static_cast<double>(height - 2)))
    return 0;
  const auto ix = static_cast<int32_t>(x0);
  const auto iy = static_cast<int32_t>(y0);
  const std::uint8_t* row0 = texels + static_cast<std::size_t>(iy) * static_cast<std::size_t>(width) + ix;
  const std::uint8_t* row1 = row0 + width;
  const int32_t c00 = row0[0];
  const int32_t c10 = row0[1];
  const int32_t c01 = row1[0];
  const int32_t c11 = row1[1];
  const double a = u - static_cast<double>(ix);
  const double top = c00 + (c10 - c00) * a;
  const double bottom = c01 + (c11 - c01) * a;
  return static_cast<int32_t>(std::floor((bottom - top) * (v - static_cast<double>(iy)) + top));
}

// Floor to texture: texel (u, v) = (TEXELS_PER_UNIT fx + u0, TEXELS_PER_UNIT fy + v0),
// with one offset for the play view and another for the options screen.
constexpr double TEXELS_PER_UNIT = 5.0;
constexpr double PLAY_TEXTURE_U = 80.0;
constexpr double PLAY_TEXTURE_V = 150.0;
constexpr double OPTIONS_TEXTURE_U = 120.0;
constexpr double OPTIONS_TEXTURE_V = 90.0;
// Rewrites every pixel of the frame with the floor and the labels 0..target.
void DRAWBG(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target,
            const SCREENDEF& view);

// The most threads the floor drawing and the texture may use (0 or less puts
// back the default, the machine's cores up to 4); returns the previous
// setting. The pictures are the same whatever the setting.
int32_t set_floor_threads(int32_t threads);
int32_t floor_threads();

// The ways the floor loop can run, each giving the same pixels: one pixel at a
// time, four at a time (AVX2), eight at a time (AVX-512), or two at a time
// with WebAssembly SIMD (in a build for the browser made with -msimd128).
// The best one the processor has is chosen when the program runs.
enum FloorKernel : int32_t {
  FLOOR_KERNEL_PLAIN = 0,
  FLOOR_KERNEL_AVX2 = 1,
  FLOOR_KERNEL_AVX512 = 2,
  FLOOR_KERNEL_WASM128 = 3,
};
FloorKernel floor_kernel_best();
// Whether this build can run the kernel on this processor.
bool floor_kernel_available(FloorKernel kernel);
// For tests and benchmarks: use this kernel (or the best available, if the
// processor lacks it) from now on; returns the previous choice.
FloorKernel set_floor_kernel(FloorKernel kernel);

// The floor behind the options screen: every pixel of the frame mapped onto
// the floor with the options camera and sampled from the texture at
// (5 fx + 120, 5 fy + 90). Computed once each time the options screen opens.
void draw_options_floor(Image frame, const std::uint8_t* texture, const SCREENDEF& view);
