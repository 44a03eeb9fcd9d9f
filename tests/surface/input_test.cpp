#include <gtest/gtest.h>

#include "platform/headless.h"
#include "surface/input.h"
#include "surface/random.h"

TEST(Input, WaitCasesOnTheVirtualClock) {
  headless_reset();
  const int64_t start = headless_now_ms();
  WAITMS(20);
  EXPECT_EQ(headless_now_ms() - start, 20);
  WAITMS(0);
  WAITMS(-5);
  EXPECT_EQ(headless_now_ms() - start, 20);
  // A short wait is not shortened by a waiting key.
  headless_key("a");
  WAITMS(20);
  EXPECT_EQ(headless_now_ms() - start, 40);
  // A long wait returns at once when a key waits, and the key stays.
  WAITMS(1500);
  EXPECT_EQ(headless_now_ms() - start, 40);
  // -1 returns only with a key waiting, and leaves it there.
  WAITMS(-1);
  EXPECT_EQ(POLLKEY(), "a");
  EXPECT_EQ(POLLKEY(), "");
  WAITMS(1500);
  EXPECT_EQ(headless_now_ms() - start, 1540);
}

TEST(Input, KeyDuringLongWaitEndsItWithin50ms) {
  headless_reset();
  const int64_t start = headless_now_ms();
  headless_set_driver([&](int64_t now) {
    if (now - start >= 230 && now - start < 300) headless_key("k");
  });
  WAITMS(1500);
  headless_set_driver(nullptr);
  EXPECT_GE(headless_now_ms() - start, 230);
  EXPECT_LE(headless_now_ms() - start, 280);
  EXPECT_EQ(POLLKEY(), "k");
}

TEST(Input, MouseOutsideIsAllMinusOne) {
  headless_reset();
  MouseReading m = POLLMOUSE();
  EXPECT_EQ(m.x, -1);
  EXPECT_EQ(m.y, -1);
  EXPECT_EQ(m.buttons, -1);
  headless_mouse(12, 34, 1);
  m = POLLMOUSE();
  EXPECT_EQ(m.x, 12);
  EXPECT_EQ(m.y, 34);
  EXPECT_EQ(m.buttons, 1);
}

TEST(Input, SeededGeneratorRepeats) {
  RANDOMSEED(10.25);
  std::vector<double> a;
  for (int i = 0; i < 100; ++i) a.push_back(RANDOMUNIT());
  RANDOMSEED(10.25);
  for (int i = 0; i < 100; ++i) {
    const double v = RANDOMUNIT();
    EXPECT_EQ(v, a[i]);
    EXPECT_GE(v, 0.0);
    EXPECT_LT(v, 1.0);
  }
  RANDOMSEED(10.5);
  EXPECT_NE(RANDOMUNIT(), a[0]);
}

TEST(Input, ClockNeverDecreases) {
  headless_reset();
  const double a = CLOCKSECONDS();
  WAITMS(30);
  EXPECT_GT(CLOCKSECONDS(), a);
}

TEST(Input, QuickPressesAfterAClosingClickAreNotSeen) {
  headless_reset();
  ignore_quick_presses(CLOCKSECONDS());
  // A press 380 ms after the release is not seen, and stays unseen while it
  // is held past the 400 ms; a key is seen at once.
  WAITMS(360);
  headless_key("k");
  headless_mouse(100, 100, 1);
  InputLook look = look_at_input(20);
  EXPECT_EQ(look.mouse.buttons, 0);
  EXPECT_EQ(look.mouse.x, 100);
  EXPECT_EQ(look.key, "k");
  look = look_at_input(200);
  EXPECT_EQ(look.mouse.buttons, 0);
  // Released and pressed again later: seen.
  headless_mouse(100, 100, 0);
  EXPECT_EQ(look_at_input(20).mouse.buttons, 0);
  headless_mouse(100, 100, 1);
  EXPECT_EQ(look_at_input(20).mouse.buttons, 1);
  headless_mouse(100, 100, 0);
  // The first press at 400 ms is seen; at 399 it is not.
  for (const int32_t after : {399, 400}) {
    headless_reset();
    ignore_quick_presses(CLOCKSECONDS());
    WAITMS(after - 10);
    headless_mouse(5, 5, 1);
    EXPECT_EQ(look_at_input(10).mouse.buttons, after == 400 ? 1 : 0) << after;
    headless_mouse(5, 5, 0);
    look_at_input(10);
  }
}

TEST(Input, TheTurnStartThrowsAwayAKeptPressAndIgnoresAHeldOne) {
  // A tap made while the game still read the mouse is kept for it, even when
  // released before the next look; the turn start throws it away.
  headless_reset();
  look_at_input(10);
  headless_mouse(300, 450, 1);
  headless_mouse(300, 450, 0);
  WAITMS(500);
  forget_earlier_presses();
  EXPECT_EQ(look_at_input(10).mouse.buttons, 0);
  // A press after the turn start is seen where it went down.
  headless_mouse(310, 440, 1);
  headless_mouse(600, 100, 0);
  const InputLook seen = look_at_input(10);
  EXPECT_EQ(seen.mouse.buttons, 1);
  EXPECT_EQ(seen.mouse.x, 310);
  // A button held over the turn start stays unseen until it is released,
  // and the next press counts.
  headless_mouse(300, 450, 1);
  forget_earlier_presses();
  EXPECT_EQ(look_at_input(500).mouse.buttons, 0);
  headless_mouse(300, 450, 0);
  EXPECT_EQ(look_at_input(10).mouse.buttons, 0);
  headless_mouse(300, 450, 1);
  EXPECT_EQ(look_at_input(10).mouse.buttons, 1);
}
