// Shaded rounded-box sprites: buttons, panels, the message box and the
// information page.
#pragma once

#include <cstdint>

#include "surface/surface.h"

double LIGHTMARGINCOLOR(double t, int32_t margin);
double DARKMARGINCOLOR(double t, int32_t margin);
double LIGHTEDGECOLOR(double t, int32_t margin);
// Distance from (x1, y1) to (x2, y2); angle = atan2(y1 - y2, x2 - x1).
double GETDISTANCE(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double& angle);
int32_t CHECKERCOLOR(double v, int32_t x, int32_t y);
// Flags: bit 0 mirrors left-right, bit 1 top-bottom. Base 0 uses the UI ramp.
Image ROUNDEDBOX8B(int32_t width, int32_t height, int32_t margin, int32_t radius, int32_t flags,
                   int32_t base);

extern Image SMALLBUTTON;
extern Image SMALLBUTTONHOVER;
extern Image WIDEBUTTON;
extern Image WIDEBUTTONHOVER;
extern Image STARTERPANEL;
extern Image WIDEPANEL;
extern Image MESSAGEBOX;
extern Image FULLPANEL;
// Builds the eight sprites (once, at start-up).
void make_sprites();
