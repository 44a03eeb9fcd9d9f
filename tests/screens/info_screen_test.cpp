#include "screens/info_screen.h"

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "screens/shown_screen.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "tests/support/run.h"

namespace {

class InfoScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    test_run();
    headless_set_driver(nullptr);
    start = catch_up_clock();
    DRAWLINE(screen_page(), 0, 0, 799, 599, 99, LINE_KIND_FILLED_BOX);
    page.resize(3);
    page[0] = "Primera l\\nea";
    page[1] = "";
    page[2] = "Tercera";
  }
  void TearDown() override { headless_set_driver(nullptr); }

  // Shows the page and returns the virtual time (ms) when it closed, and the
  // time (ms) at which it was drawn.
  int64_t show(double minimum) {
    INFOSCREEN(page, minimum);
    return headless_now_ms();
  }

  TextList page;
  int64_t start = 0;
};

uint8_t at(int32_t x, int32_t y) { return IMAGEINFO(screen_page()).pixels[y * 800 + x]; }

TEST_F(InfoScreen, PanelIsBlittedTransparently) {
  headless_key(" ");
  show(0.0);
  EXPECT_EQ(at(0, 0), 99);      // outside the rounded corner
  EXPECT_EQ(at(400, 300), 13);  // the face
  EXPECT_EQ(at(400, 0), 9);     // lit top rim
  EXPECT_EQ(run_report.screen, SHOWN_INFO);
}

TEST_F(InfoScreen, LinesStartAt40AndAre32PixelsApart) {
  headless_key(" ");
  show(0.0);
  // Text ink lies in the texture ramp (176 and up); the panel uses the UI ramp.
  int32_t ink[3] = {0, 0, 0};
  for (int32_t y = 0; y < 600; ++y)
    for (int32_t x = 0; x < 800; ++x) {
      if (at(x, y) < 176 || at(x, y) == 99) continue;
      const int32_t line = (y - 32) / 32;
      ASSERT_GE(x, 40);
      ASSERT_GE(y, 32);
      ASSERT_LT(line, 3) << x << "," << y;
      ASSERT_LT((y - 32) % 32, 24) << x << "," << y;  // 24 glyph rows
      ++ink[line];
    }
  EXPECT_GT(ink[0], 0);
  EXPECT_EQ(ink[1], 0);  // an empty line
  EXPECT_GT(ink[2], 0);
}

TEST_F(InfoScreen, QuickKeyKeepsALongPageForItsMinimumTime) {
  // The whole-screen panel costs one frame (16 ms) of virtual time before
  // the page counts as shown.
  const int64_t drawn = start + 16;
  bool sent = false;
  headless_set_driver([&](int64_t now) {
    if (!sent && now >= start + 300) {
      headless_key("x");
      sent = true;
    }
  });
  const int64_t closed = show(5.0);
  EXPECT_GT(closed, drawn + 5000 - 1);
  EXPECT_LE(closed, drawn + 5000 + 20);
}

TEST_F(InfoScreen, ClickClosesAShortPageWhenReleased) {
  headless_set_driver([&](int64_t now) {
    if (now >= start + 2000 && now < start + 2100) headless_mouse(300, 300, 1);
    if (now >= start + 2100) headless_mouse(300, 300, 0);
  });
  const int64_t closed = show(0.5);
  EXPECT_GE(closed, start + 2100);
  EXPECT_LE(closed, start + 2100 + 20);
}

TEST_F(InfoScreen, HeldButtonKeepsThePageUp) {
  headless_set_driver([&](int64_t now) {
    if (now >= start + 100 && now < start + 3000) headless_mouse(300, 300, 1);
    if (now >= start + 3000) headless_mouse(300, 300, 0);
  });
  const int64_t closed = show(0.5);
  EXPECT_GE(closed, start + 3000);
  EXPECT_LE(closed, start + 3000 + 20);
}

TEST_F(InfoScreen, PointerOutsideTheWindowIsNoPress) {
  headless_mouse(-1, -1, -1);
  bool sent = false;
  headless_set_driver([&](int64_t now) {
    if (!sent && now >= start + 1016) {
      headless_key("x");
      sent = true;
    }
  });
  const int64_t closed = show(0.5);
  EXPECT_GE(closed, start + 1016);
  EXPECT_LE(closed, start + 1016 + 40);
}

TEST_F(InfoScreen, KeysAreConsumedOnePerTurn) {
  for (int i = 0; i < 30; ++i) headless_key("a");
  const int64_t closed = show(0.5);
  // One key in each of 30 turns, then a turn without a key ends the page.
  EXPECT_EQ(closed, start + 16 + 31 * 20);
  EXPECT_EQ(POLLKEY(), "");
}

}  // namespace
