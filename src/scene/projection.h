// The parallel projection between the floor and the screen, and the camera.
#pragma once

#include <cstdint>

#include "game/gamestate.h"

// The view record.
struct SCREENDEF {
  int32_t CENTERX = 0;         // screen x of the floor point (ORIGINX, ORIGINY)
  int32_t CENTERY = 0;
  double ORIGINX = 0.0;        // floor point shown at the view centre
  double ORIGINY = 0.0;
  double XAXISX = 1.0;         // screen-right part of one floor unit along x
  double XAXISY = -0.001;      // screen-up part of one floor unit along x
  double YAXISX = 0.3;
  double YAXISY = 0.93;
  double HEIGHTFACTOR = 1.0;
  double SCALE = 16.0;         // pixels per floor unit
};

// Pixels per floor unit in the play view.
constexpr double PLAY_SCALE = 32.0;

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
int32_t nearest(double v);

void FLOORTOSCREENCOORD(double fx, double fy, const SCREENDEF& view, int32_t& sx, int32_t& sy);
void SCREENTOFLOORCOORD(int32_t sx, int32_t sy, const SCREENDEF& view, double& fx, double& fy);
// Solves P - O = first * A - second * B; true (outputs untouched) when A and B are parallel.
bool VECTORDECOMP2D(double ox, double oy, double ax, double ay, double bx, double by,
                    double px, double py, double& first, double& second);
void TURNCOORDS(double angle, double tilt, SCREENDEF& view);
void DEFINESCREEN(double lookat, uint8_t target, SCREENDEF& view);
// At most target - 12, then at least 12.
double clamp_look_at(double position, uint8_t target);
void DEFINELOOKAT(int32_t position, GAMESTATE& state);
