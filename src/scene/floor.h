// The procedural floor texture and the background of every frame.
#pragma once

#include <cstdint>

#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

// Brightness of the floor at texel (x, y): 0 up to (not including) 1.
double FLOORTEXTURE(double x, double y);
// Frees the image the reference holds and puts a new width x height texture in its place.
void PREPARETEXTURE(IMAGE& texture, int32_t width, int32_t height);
// Bilinear sample of colour indices at (u, v), rounded down; 0 outside the image.
int32_t TEXTUREMAP8B(const std::uint8_t* image, double u, double v);
// Rewrites every pixel of the frame with the floor and the labels 0..target.
void DRAWBG(IMAGE frame, const std::uint8_t* texture, MAPPEDFONT& font, uint8_t target,
            const SCREENDEF& view);

// The most threads the floor drawing may use (at least 1; 0 or less puts back
// the default, the machine's cores up to 4); returns the previous setting.
// The picture is the same whatever the setting.
int32_t SETFLOORTHREADS(int32_t threads);

// The floor behind the options screen: every pixel of the frame mapped onto
// the floor with the options camera and sampled from the texture at
// (5 fx + 120, 5 fy + 90). Computed once each time the options screen opens.
void DRAWOPTIONSFLOOR(IMAGE frame, const std::uint8_t* texture, const SCREENDEF& view);
