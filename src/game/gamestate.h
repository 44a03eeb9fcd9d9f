// The game record, the brick record and the point record.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/checked.h"

// A floor point: x along the number line, y across it (away from the viewer),
// z up. The fourth component is never read and stays 0.
struct POINT3D {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
  double W = 0.0;
  bool operator==(const POINT3D&) const = default;
};

// The eighteen colour slots of a brick, in record order; each is named after
// the face or edge it colours (its outward normal in brackets).
enum FaceSlot : int32_t {
  TOPCOLOR = 0,          // +z
  BOTTOMCOLOR = 1,       // -z, never drawn
  LEFTCOLOR = 2,         // -x
  RIGHTCOLOR = 3,        // +x
  FRONTCOLOR = 4,        // -y
  BACKCOLOR = 5,         // +y
  LEFTFRONTEDGE = 6,     // -x -y
  LEFTBACKEDGE = 7,      // -x +y
  RIGHTFRONTEDGE = 8,    // +x -y
  RIGHTBACKEDGE = 9,     // +x +y
  LEFTBOTTOMEDGE = 10,   // -x -z
  LEFTTOPEDGE = 11,      // -x +z
  RIGHTBOTTOMEDGE = 12,  // +x -z
  RIGHTTOPEDGE = 13,     // +x +z
  FRONTBOTTOMEDGE = 14,  // -y -z
  FRONTTOPEDGE = 15,     // -y +z
  BACKBOTTOMEDGE = 16,   // +y -z
  BACKTOPEDGE = 17,      // +y +z
};

// A box with edges parallel to the floor axes, given by two opposite corners
// (in any order on each axis), and the palette indices of its faces and edges.
struct BRICK {
  POINT3D CORNER1;
  POINT3D CORNER2;
  CheckedArray<int32_t, 18> FACECOLORS;
  bool operator==(const BRICK&) const = default;
};

// The light of the whole run: a unit vector toward x = 0.5, y = 0.3 and up.
inline POINT3D light_direction() {
  POINT3D light;
  light.X = 0.5;
  light.Y = 0.3;
  light.Z = std::sqrt(1.0 - light.X * light.X - light.Y * light.Y);
  return light;
}

// Most rods one game can hold.
constexpr int32_t MAX_RODS = 100;

// The game record: configuration, the game in progress, the camera and the
// light. One instance for the whole run.
struct GAMESTATE {
  CheckedArray<uint8_t, MAX_RODS> RODS;         // value of the rod laid at move k
  CheckedArray<uint8_t, MAX_RODS + 1> TOTALS;   // total before move k; one more entry
                                               // holds the total after the 100th rod
  CheckedArray<BRICK, MAX_RODS> BRICKS;         // the brick of the rod laid at move k
  uint8_t MOVECOUNT = 0;                       // rods laid; TOTALS[MOVECOUNT] is the total
  uint8_t TURN = 0;                            // 0 player, 1 computer
  uint16_t VALIDRODS = 0x7FE;                  // bit v: rods of value v may be laid
  uint8_t TARGET = 100;                        // 10..100
  uint8_t KEYRESIDUE = 0;                      // symmetric set: TARGET mod PERIOD, else 255
  uint8_t PERIOD = 0;                          // symmetric set: smallest + largest, else 255
  uint8_t STARTER = 0;                         // 0 player first, 1 computer first
  double LOOKAT = 12.0;                        // camera position along the number line
  POINT3D LIGHTDIR;                            // unit vector toward the light
};
