#include <gtest/gtest.h>

#include "surface/headless.h"
#include "surface/input.h"

TEST(Input, WaitCasesOnTheVirtualClock) {
  HEADLESSRESET();
  const int64_t start = HEADLESSNOWMS();
  WAITMS(20);
  EXPECT_EQ(HEADLESSNOWMS() - start, 20);
  WAITMS(0);
  WAITMS(-5);
  EXPECT_EQ(HEADLESSNOWMS() - start, 20);
  // A short wait is not shortened by a waiting key.
  HEADLESSKEY("a");
  WAITMS(20);
  EXPECT_EQ(HEADLESSNOWMS() - start, 40);
  // A long wait returns at once when a key waits, and the key stays.
  WAITMS(1500);
  EXPECT_EQ(HEADLESSNOWMS() - start, 40);
  // -1 returns only with a key waiting, and leaves it there.
  WAITMS(-1);
  EXPECT_EQ(POLLKEY(), "a");
  EXPECT_EQ(POLLKEY(), "");
  WAITMS(1500);
  EXPECT_EQ(HEADLESSNOWMS() - start, 1540);
}

TEST(Input, KeyDuringLongWaitEndsItWithin50ms) {
  HEADLESSRESET();
  const int64_t start = HEADLESSNOWMS();
  HEADLESSSETDRIVER([&](int64_t now) {
    if (now - start >= 230 && now - start < 300) HEADLESSKEY("k");
  });
  WAITMS(1500);
  HEADLESSSETDRIVER(nullptr);
  EXPECT_GE(HEADLESSNOWMS() - start, 230);
  EXPECT_LE(HEADLESSNOWMS() - start, 280);
  EXPECT_EQ(POLLKEY(), "k");
}

TEST(Input, MouseOutsideIsAllMinusOne) {
  HEADLESSRESET();
  MOUSEREADING m = POLLMOUSE();
  EXPECT_EQ(m.X, -1);
  EXPECT_EQ(m.Y, -1);
  EXPECT_EQ(m.BUTTONS, -1);
  HEADLESSMOUSE(12, 34, 1);
  m = POLLMOUSE();
  EXPECT_EQ(m.X, 12);
  EXPECT_EQ(m.Y, 34);
  EXPECT_EQ(m.BUTTONS, 1);
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
  HEADLESSRESET();
  const double a = CLOCKSECONDS();
  WAITMS(30);
  EXPECT_GT(CLOCKSECONDS(), a);
}
