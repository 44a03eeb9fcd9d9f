#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/headless.h"
#include "scene/camera.h"
#include "scene/floor.h"
#include "surface/input.h"
#include "tests/support/run.h"

namespace {

// What the camera move needs: the run's frame, texture and digit font, and a
// game record with a few rods laid.
struct CameraRig {
  GameRun& run = test_run();
  GAMESTATE& state = run.game;
  SCREENDEF& view = run.view;
  std::vector<double> seen;  // LOOKAT at every frame copied to the screen
  std::vector<int64_t> seen_ms;

  explicit CameraRig(uint8_t target) {
    state.TARGET = target;
    view.SCALE = PLAY_SCALE;
    // Each frame is followed by a short wait, where the driver looks at it.
    headless_set_driver([this](int64_t now) {
      if (static_cast<int64_t>(seen.size()) < headless_frames()) {
        seen.push_back(state.LOOKAT);
        seen_ms.push_back(now);
      }
    });
  }
  ~CameraRig() {
    headless_set_driver(nullptr);
    drop_waiting_keys();
  }
  int64_t move(int32_t from, int32_t to) {
    const int64_t start = headless_now_ms();
    SHIFTLOOKAT(from, to, run.frame, run.texture, run.font, state, view);
    return headless_now_ms() - start;
  }
};

}  // namespace

TEST(Camera, WithNothingToMoveTheNewRodIsShownAtOnceThenAPause) {
  // Both ends clamp to 12: on a small target, and below the clamp range.
  struct Case {
    uint8_t target;
    int32_t from, to;
  };
  for (const Case c : {Case{20, 8, 18}, Case{100, 3, 8}}) {
    CameraRig rig(c.target);
    rig.state.LOOKAT = 30.0;
    headless_key("7");
    const int64_t frames = headless_frames();
    const int64_t ms = rig.move(c.from, c.to);
    // One frame, at the start and with the camera in place; the pause ends
    // about a second after it began, drawing included.
    ASSERT_EQ(headless_frames() - frames, 1) << int{c.target};
    EXPECT_EQ(rig.seen.back(), 12.0);
    EXPECT_LE(rig.seen_ms.back() - (headless_now_ms() - ms), 16 + 10);
    EXPECT_GT(ms, 1000);
    EXPECT_LE(ms, 1010);
    EXPECT_EQ(rig.state.LOOKAT, 12.0);
    EXPECT_EQ(std::memcmp(IMAGEINFO(screen_page()).pixels, IMAGEINFO(rig.run.frame).pixels, 800 * 600), 0);
    EXPECT_EQ(POLLKEY(), "7");  // the pause keeps the keys
  }
}

TEST(Camera, ForwardMoveEndsExactlyOnTheNewTotal) {
  CameraRig rig(100);
  const int64_t ms = rig.move(30, 40);
  // 10 units at 4 a second; a frame costs 16 ms of drawing and 2 ms of waiting.
  EXPECT_GE(ms, 2500);
  EXPECT_LE(ms, 2500 + 18 * 2);
  ASSERT_GE(rig.seen.size(), 130u);
  EXPECT_EQ(static_cast<int64_t>(rig.seen.size()), headless_frames());
  // The first frame is drawn after 0 s of movement, the rest rise linearly.
  EXPECT_EQ(rig.seen.front(), 30.0);
  for (std::size_t i = 1; i < rig.seen.size(); ++i) {
    EXPECT_GT(rig.seen[i], rig.seen[i - 1]);
    EXPECT_LE(rig.seen[i], 40.0);
  }
  EXPECT_NEAR(rig.seen[10], 30.0 + 10 * 0.018 * 4.0, 1e-9);
  EXPECT_EQ(rig.seen.back(), 40.0);
  EXPECT_EQ(rig.state.LOOKAT, 40.0);
  // The screen shows the last frame.
  EXPECT_EQ(std::memcmp(IMAGEINFO(screen_page()).pixels, IMAGEINFO(rig.run.frame).pixels, 800 * 600), 0);
}

TEST(Camera, BackwardMoveIsSlower) {
  CameraRig rig(100);
  const int64_t ms = rig.move(40, 30);
  EXPECT_GE(ms, 4000);
  EXPECT_LE(ms, 4000 + 18 * 2);
  ASSERT_FALSE(rig.seen.empty());
  EXPECT_EQ(rig.seen.front(), 40.0);
  for (std::size_t i = 1; i < rig.seen.size(); ++i) EXPECT_LT(rig.seen[i], rig.seen[i - 1]);
  EXPECT_EQ(rig.seen.back(), 30.0);
  EXPECT_EQ(rig.state.LOOKAT, 30.0);
}

TEST(Camera, EndsAreClampedBeforeMoving) {
  CameraRig rig(30);
  // 25 clamps to 18 and 3 to 12: 6 units at 2.5 a second.
  const int64_t ms = rig.move(25, 3);
  EXPECT_GE(ms, 2400);
  EXPECT_LE(ms, 2400 + 36);
  EXPECT_EQ(rig.seen.front(), 18.0);
  EXPECT_EQ(rig.seen.back(), 12.0);
}

TEST(Camera, KeysPressedDuringTheMoveAreDropped) {
  CameraRig rig(100);
  const int64_t start = headless_now_ms();
  headless_set_driver([&](int64_t now) {
    if (now - start > 300 && now - start < 340) headless_key("5");
  });
  headless_key("3");
  rig.move(50, 52);
  EXPECT_EQ(POLLKEY(), "");
  EXPECT_EQ(rig.state.LOOKAT, 52.0);
}
