// The procedural floor texture and the background of every frame.
#pragma once

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
// Rewrites every pixel of the frame with the floor and the labels 0..target.
void DRAWBG(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target,
            const SCREENDEF& view);

// The most threads the floor drawing and the texture may use (0 or less puts
// back the default, the machine's cores up to 4); returns the previous
// setting. The pictures are the same whatever the setting.
int32_t set_floor_threads(int32_t threads);
int32_t floor_threads();

// The ways the floor loop can run, each giving the same pixels: one pixel at a
// time, four at a time (AVX2) or eight at a time (AVX-512). The best one the
// processor has is chosen when the program runs.
enum FloorKernel : int32_t { FLOOR_KERNEL_PLAIN = 0, FLOOR_KERNEL_AVX2 = 1, FLOOR_KERNEL_AVX512 = 2 };
FloorKernel floor_kernel_best();
// For tests and benchmarks: use this kernel (or the best available, if the
// processor lacks it) from now on; returns the previous choice.
FloorKernel set_floor_kernel(FloorKernel kernel);

// The floor behind the options screen: every pixel of the frame mapped onto
// the floor with the options camera and sampled from the texture at
// (5 fx + 120, 5 fy + 90). Computed once each time the options screen opens.
void draw_options_floor(Image frame, const std::uint8_t* texture, const SCREENDEF& view);
