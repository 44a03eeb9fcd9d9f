#include "scene/projection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/run.h"

TEST(Projection, NearestRoundsHalvesToEven) {
  EXPECT_EQ(nearest(2.5), 2);
  EXPECT_EQ(nearest(3.5), 4);
  EXPECT_EQ(nearest(-0.5), 0);
  EXPECT_EQ(nearest(-1.5), -2);
  EXPECT_EQ(nearest(-2.5), -2);
  EXPECT_EQ(nearest(2.4999999), 2);
  EXPECT_EQ(nearest(2.5000001), 3);
  EXPECT_EQ(nearest(-7.6), -8);
  // Far-off values saturate instead of overflowing.
  EXPECT_EQ(nearest(1e12), INT32_MAX);
  EXPECT_EQ(nearest(-1e12), INT32_MIN);
  EXPECT_EQ(nearest(std::nan("")), 0);
}

TEST(Projection, AxesForTarget100) {
  struct Row {
    double lookat, originx, angle, xx, xy, yx, yy;
  };
  const Row rows[] = {
      {12, 13.056, -0.174216, 0.984863, -0.138669, 0.173336, 0.787890},
      {50, 50.6, -0.099669, 0.995037, -0.079603, 0.099504, 0.796030},
      {88, 88.144, -0.023995, 0.999712, -0.019194, 0.023993, 0.799770},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lookat);
    const SCREENDEF v = game_view(r.lookat, 100);
    EXPECT_NEAR(v.ORIGINX, r.originx, 1e-12);
    EXPECT_EQ(v.ORIGINY, -6.0);
    EXPECT_NEAR(std::atan2(-v.YAXISX, v.XAXISX), r.angle, 5e-7);
    EXPECT_NEAR(v.XAXISX, r.xx, 5e-7);
    EXPECT_NEAR(v.XAXISY, r.xy, 5e-7);
    EXPECT_NEAR(v.YAXISX, r.yx, 5e-7);
    EXPECT_NEAR(v.YAXISY, r.yy, 5e-7);
    // The view record's other fields are left alone.
    EXPECT_EQ(v.CENTERX, 400);
    EXPECT_EQ(v.CENTERY, 300);
    EXPECT_EQ(v.SCALE, 32.0);
    EXPECT_EQ(v.HEIGHTFACTOR, 1.0);
  }
}

TEST(Projection, GameStartView) {
  const SCREENDEF v = game_view(12, 100);
  EXPECT_EQ(v.ORIGINX, 13.056);
  int32_t sx = 0, sy = 0;
  FLOORTOSCREENCOORD(12.0, 0.0, v, sx, sy);
  EXPECT_EQ(sx, 400);
  EXPECT_EQ(sy, 144);
  FLOORTOSCREENCOORD(v.ORIGINX, v.ORIGINY, v, sx, sy);
  EXPECT_EQ(sx, 400);
  EXPECT_EQ(sy, 300);
}

TEST(Projection, LookAtStaysOnTheCentreColumn) {
  for (int target = 10; target <= 100; ++target) {
    const auto n = static_cast<uint8_t>(target);
    for (double l = clamp_look_at(0, n); l <= clamp_look_at(200, n); l += 0.25) {
      const SCREENDEF v = game_view(l, n);
      int32_t sx = 0, sy = 0;
      FLOORTOSCREENCOORD(l, 0.0, v, sx, sy);
      ASSERT_EQ(sx, 400) << "target " << target << " lookat " << l;
      ASSERT_GE(sy, 144) << "target " << target << " lookat " << l;
      ASSERT_LE(sy, 146) << "target " << target << " lookat " << l;
    }
  }
}

TEST(Projection, ScreenToFloorUndoesFloorToScreen) {
  for (double l : {12.0, 37.5, 88.0}) {
    const SCREENDEF v = game_view(l, 100);
    for (double fx = -10.0; fx <= 110.0; fx += 1.37) {
      for (double fy = -20.0; fy <= 12.0; fy += 0.71) {
        int32_t sx = 0, sy = 0;
        FLOORTOSCREENCOORD(fx, fy, v, sx, sy);
        double bx = 0, by = 0;
        SCREENTOFLOORCOORD(sx, sy, v, bx, by);
        // The difference, seen on the screen, is the rounding of the pixel.
        const double ex = (v.XAXISX * (bx - fx) + v.YAXISX * (by - fy)) * v.SCALE;
        const double ey = (v.XAXISY * (bx - fx) + v.YAXISY * (by - fy)) * v.SCALE;
        ASSERT_LE(std::fabs(ex), 0.5 + 1e-9) << fx << ", " << fy;
        ASSERT_LE(std::fabs(ey), 0.5 + 1e-9) << fx << ", " << fy;
      }
    }
    // The view centre maps back to the origin.
    double bx = 0, by = 0;
    SCREENTOFLOORCOORD(400, 300, v, bx, by);
    EXPECT_DOUBLE_EQ(bx, v.ORIGINX);
    EXPECT_DOUBLE_EQ(by, v.ORIGINY);
  }
}

TEST(Projection, DecompositionSignsAndParallelVectors) {
  double first = 0, second = 0;
  // P - O = 2A + 3B: the second output carries -3.
  EXPECT_FALSE(VECTORDECOMP2D(1, 1, 1, 0, 0, 1, 3, 4, first, second));
  EXPECT_DOUBLE_EQ(first, 2.0);
  EXPECT_DOUBLE_EQ(second, -3.0);
  first = 7.0;
  second = 8.0;
  EXPECT_TRUE(VECTORDECOMP2D(0, 0, 1, 2, 2, 4, 5, 5, first, second));
  EXPECT_EQ(first, 7.0);
  EXPECT_EQ(second, 8.0);
}

TEST(Projection, TurnAtAngleZeroAvoidsZeroComponents) {
  SCREENDEF v;
  TURNCOORDS(0.0, 0.8, v);
  EXPECT_EQ(v.XAXISX, 1.0);
  EXPECT_DOUBLE_EQ(v.XAXISY, 0.0008);
  EXPECT_EQ(v.YAXISX, -0.001);
  EXPECT_EQ(v.YAXISY, 0.8);
}

TEST(Projection, CameraClamp) {
  GAMESTATE state;
  state.TARGET = 100;
  DEFINELOOKAT(95, state);
  EXPECT_EQ(state.LOOKAT, 88.0);
  DEFINELOOKAT(3, state);
  EXPECT_EQ(state.LOOKAT, 12.0);
  DEFINELOOKAT(47, state);
  EXPECT_EQ(state.LOOKAT, 47.0);
  for (int target = 10; target < 24; ++target) {
    state.TARGET = static_cast<uint8_t>(target);
    for (int p = -5; p <= 110; ++p) {
      DEFINELOOKAT(p, state);
      ASSERT_EQ(state.LOOKAT, 12.0) << target << " " << p;
    }
  }
  EXPECT_EQ(clamp_look_at(30.0, 24), 12.0);
  EXPECT_EQ(clamp_look_at(17.5, 40), 17.5);
  EXPECT_EQ(clamp_look_at(29.0, 40), 28.0);
}
