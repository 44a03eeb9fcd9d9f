#include "screens/widgets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "shade/rounded_box.h"
#include "tests/support/run.h"

namespace {

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override {
    clear(0);
  }
  static void clear(int32_t colour) { DRAWLINE(screen_page(), 0, 0, 799, 599, colour, LINE_KIND_FILLED_BOX); }
  static uint8_t at(int32_t x, int32_t y) { return IMAGEINFO(screen_page()).pixels[y * 800 + x]; }
  static std::vector<uint8_t> page() {
    const uint8_t* p = IMAGEINFO(screen_page()).pixels;
    return std::vector<uint8_t>(p, p + 800 * 600);
  }
  int32_t draw(int32_t code, int32_t state) { return DRAWOPTIONSELEMENT(code, state, game, view); }

  GameRun& run = test_run();
  GAMESTATE& game = run.game;
  SCREENDEF& view = run.view;
};

TEST_F(Widgets, CheckBoxFrameFillAndTick) {
  game.VALIDRODS = 1 << 1;
  draw(1, 0);
  EXPECT_EQ(at(16, 488), 176);
  EXPECT_EQ(at(39, 511), 176);
  EXPECT_EQ(at(17, 489), 176);
  EXPECT_EQ(at(18, 490), 255);
  EXPECT_EQ(at(15, 488), 0);
  EXPECT_EQ(at(40, 511), 0);
  // The tick: two parallel strokes down, two up.
  EXPECT_EQ(at(20, 500), 176);
  EXPECT_EQ(at(21, 500), 176);
  EXPECT_EQ(at(24, 507), 176);
  EXPECT_EQ(at(34, 492), 176);
  EXPECT_EQ(at(35, 492), 176);

  draw(2, ELEMENT_HIGHLIGHT);  // rod 2 not valid: no tick, highlighted frame
  EXPECT_EQ(at(54, 488), 47);
  EXPECT_EQ(at(77, 511), 47);
  EXPECT_EQ(at(78, 511), 0);
  EXPECT_EQ(at(54 + 4, 500), 255);
  EXPECT_EQ(at(54 + 8, 507), 255);

  game.VALIDRODS = 1 << 1;
  draw(1, ELEMENT_HIGHLIGHT);
  EXPECT_EQ(at(20, 500), 47);
}

TEST_F(Widgets, TenthCheckBoxLandsOnTruncatedColumns) {
  game.VALIDRODS = 0;
  draw(10, 0);
  // L = 361.6: the surface truncates 361.6 to 361 and 384.6 to 384.
  EXPECT_EQ(at(360, 500), 0);
  EXPECT_EQ(at(361, 500), 176);
  EXPECT_EQ(at(362, 500), 176);
  EXPECT_EQ(at(363, 500), 255);
  EXPECT_EQ(at(382, 500), 255);
  EXPECT_EQ(at(383, 500), 176);
  EXPECT_EQ(at(384, 500), 176);
  EXPECT_EQ(at(385, 500), 0);
}

TEST_F(Widgets, TargetPanelHasACutCornerFrameAndTwoSeparators) {
  draw(11, 0);
  EXPECT_EQ(at(600, 134), 176);
  EXPECT_EQ(at(601, 133), 176);
  EXPECT_EQ(at(602, 132), 176);
  EXPECT_EQ(at(600, 133), 0);  // cut corner
  EXPECT_EQ(at(601, 132), 0);
  EXPECT_EQ(at(753, 183), 176);
  EXPECT_EQ(at(753, 184), 0);
  EXPECT_EQ(at(603, 135), 255);
  EXPECT_EQ(at(750, 182), 255);
  EXPECT_EQ(at(603, 183), 176);
  EXPECT_EQ(at(626, 150), 255);
  EXPECT_EQ(at(627, 150), 176);
  EXPECT_EQ(at(628, 150), 176);
  EXPECT_EQ(at(629, 150), 255);
  EXPECT_EQ(at(724, 150), 255);
  EXPECT_EQ(at(725, 150), 176);
  EXPECT_EQ(at(726, 183), 176);
  EXPECT_EQ(at(727, 150), 255);
}

TEST_F(Widgets, TargetNumberIsDrawnOnAFreshlyClearedCell) {
  game.TARGET = 100;
  draw(12, 0);
  game.TARGET = 99;
  draw(12, 0);
  const std::vector<uint8_t> after_change = page();
  clear(0);
  draw(12, 0);
  EXPECT_EQ(page(), after_change);  // no remains of the third digit
  EXPECT_EQ(at(720, 174), 255);
  int32_t ink = 0;
  int32_t rightmost = 0;
  for (int32_t y = 143; y <= 174; ++y)
    for (int32_t x = 650; x <= 720; ++x)
      if (at(x, y) != 255) {
        ++ink;
        rightmost = std::max(rightmost, x);
      }
  EXPECT_GT(ink, 0);
  game.TARGET = 100;
  draw(12, 0);
  int32_t rightmost100 = 0;
  for (int32_t y = 143; y <= 174; ++y)
    for (int32_t x = 650; x <= 720; ++x)
      if (at(x, y) != 255) rightmost100 = std::max(rightmost100, x);
  EXPECT_GT(rightmost100, rightmost);  // three digits reach further than two
  EXPECT_EQ(at(649, 143), 0);
  EXPECT_EQ(at(721, 174), 0);
  EXPECT_EQ(at(650, 175), 0);
}

TEST_F(Widgets, UpArrowInItsThreeStates) {
  draw(13, 0);
  EXPECT_EQ(at(603, 135), 176);
  EXPECT_EQ(at(626, 158), 176);
  EXPECT_EQ(at(604, 136), 255);
  EXPECT_EQ(at(625, 157), 255);
  // Apex: one pixel at the top.
  EXPECT_EQ(at(613, 141), 255);
  EXPECT_EQ(at(614, 141), 176);
  EXPECT_EQ(at(615, 141), 255);
  EXPECT_EQ(at(614, 140), 255);
  // Second row widens to the left (row 141 is odd), third to the right.
  EXPECT_EQ(at(613, 142), 176);
  EXPECT_EQ(at(615, 142), 255);
  EXPECT_EQ(at(615, 143), 176);
  // Base row: twelve pixels, 608..619.
  for (int32_t x = 608; x <= 619; ++x) EXPECT_EQ(at(x, 152), 176) << x;
  EXPECT_EQ(at(607, 152), 255);
  EXPECT_EQ(at(620, 152), 255);
  EXPECT_EQ(at(614, 153), 255);

  draw(13, ELEMENT_HIGHLIGHT | ELEMENT_PRESSED);
  EXPECT_EQ(at(603, 135), 47);
  EXPECT_EQ(at(604, 136), 13);
  EXPECT_EQ(at(614, 141), 47);
  EXPECT_EQ(at(608, 152), 47);

  draw(13, ELEMENT_HIGHLIGHT);
  EXPECT_EQ(at(603, 135), 47);
  EXPECT_EQ(at(604, 136), 255);
}

TEST_F(Widgets, DownArrowsPointDown) {
  draw(16, 0);
  EXPECT_EQ(at(727, 159), 176);
  EXPECT_EQ(at(750, 182), 176);
  EXPECT_EQ(at(738, 176), 176);  // apex at the bottom
  EXPECT_EQ(at(737, 176), 255);
  EXPECT_EQ(at(739, 176), 255);
  EXPECT_EQ(at(739, 175), 176);  // row 176 is even: widened to the right
  for (int32_t x = 733; x <= 744; ++x) EXPECT_EQ(at(x, 165), 176) << x;
  EXPECT_EQ(at(732, 165), 255);
  EXPECT_EQ(at(745, 165), 255);

  draw(14, 0);
  EXPECT_EQ(at(614, 176), 176);
  for (int32_t x = 609; x <= 620; ++x) EXPECT_EQ(at(x, 165), 176) << x;
  draw(15, 0);
  EXPECT_EQ(at(738, 141), 176);
  for (int32_t x = 732; x <= 743; ++x) EXPECT_EQ(at(x, 152), 176) << x;
}

TEST_F(Widgets, StarterChoicesAreRings) {
  game.STARTER = 0;
  draw(17, 0);
  draw(18, 0);
  // Row of the centre of choice 17: ring 10, inner 8, dot 2.
  EXPECT_EQ(at(486, 258), 176);
  EXPECT_EQ(at(488, 258), 176);
  EXPECT_EQ(at(489, 258), 255);
  EXPECT_EQ(at(494, 258), 255);
  EXPECT_EQ(at(495, 258), 176);
  EXPECT_EQ(at(496, 258), 176);
  EXPECT_EQ(at(497, 258), 0);
  EXPECT_EQ(at(476, 258), 176);
  EXPECT_EQ(at(486, 248), 176);
  EXPECT_EQ(at(486, 247), 0);
  // Choice 18 is not the present one: no dot.
  EXPECT_EQ(at(486, 298), 255);
  EXPECT_EQ(at(496, 298), 176);

  draw(18, ELEMENT_HIGHLIGHT);
  EXPECT_EQ(at(496, 298), 47);
  EXPECT_EQ(at(486, 298), 255);

  game.STARTER = 1;
  draw(18, 0);
  draw(17, 0);
  EXPECT_EQ(at(486, 298), 176);
  EXPECT_EQ(at(486, 258), 255);
}

TEST_F(Widgets, ButtonsAreSpritesOverWhatIsThere) {
  clear(77);
  draw(20, 0);
  EXPECT_EQ(at(454, 500), 77);        // rounded corner keeps the background
  EXPECT_EQ(at(454 + 70, 500 + 40), 13);
  EXPECT_EQ(at(454 + 20, 500 + 20), 14);
  EXPECT_EQ(at(454 + 139, 500 + 79), 77);
  draw(21, ELEMENT_HIGHLIGHT);
  EXPECT_EQ(at(620 + 120, 500 + 60), 14);  // mirrored sprite
  EXPECT_EQ(at(620, 540), 77);             // its column 0 is transparent
  // Labels in the small font: ink of the texture ramp inside the sprite.
  auto ink_in = [](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int32_t n = 0;
    for (int32_t y = y1; y <= y2; ++y)
      for (int32_t x = x1; x <= x2; ++x) n += at(x, y) >= 176 ? 1 : 0;
    return n;
  };
  EXPECT_GT(ink_in(494, 528, 593, 552), 0);  // "Jugar"
  EXPECT_EQ(ink_in(454, 500, 493, 527), 0);
  EXPECT_GT(ink_in(660, 528, 759, 552), 0);  // "Salir"
  draw(19, 0);
  EXPECT_GT(ink_in(482, 408, 693, 432), 0);  // "Informaci`n"
  EXPECT_EQ(at(454 + 120, 380 + 40), 13);
  EXPECT_EQ(at(454 + 237, 380 + 40), 1);  // shadowed right rim of the wide button
}

TEST_F(Widgets, OtherCodesDrawNothing) {
  const std::vector<uint8_t> before = page();
  for (int32_t code : {-1, 0, 22, 51, 52}) EXPECT_EQ(draw(code, 2), 0);
  EXPECT_EQ(DRAWOPTIONSCHECKBOX(11, 0, game, view), 0);
  EXPECT_EQ(page(), before);
}

class OptionRods : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = NEWIMAGE(800, 600);
    for (int32_t i = 1; i <= 10; ++i) {
      rods[i].CORNER1 = POINT3D{1.6 * i - 16.0, -8.0, 0.0, 0.0};
      rods[i].CORNER2 = POINT3D{rods[i].CORNER1.X + 1.0, static_cast<double>(i - 8), 1.0, 0.0};
      for (int32_t k = 0; k < 18; ++k) rods[i].FACECOLORS[k] = 16 * i + 4 + k % 10;
    }
  }
  void TearDown() override { FREEIMAGE(frame); }
  uint8_t at(int32_t x, int32_t y) const { return IMAGEINFO(frame).pixels[y * 800 + x]; }

  GAMESTATE game = test_run().game;
  SCREENDEF view = options_view();
  Image frame = nullptr;
  OptionRodList rods;
};

TEST_F(OptionRods, SwitchedOffRodIsAnOutline) {
  game.VALIDRODS = 0x7FE & ~(1 << 3);
  DRAWOPTIONSRODS(frame, rods, game, view);
  // Rod 3 stands at floor (-11.2, -8): screen (93, 473); one floor unit
  // along y is (4.8, -21.6) on the screen, so its far end is (107.4, 408.2).
  EXPECT_EQ(at(93, 473), 48);    // the side line is drawn over the front line
  EXPECT_EQ(at(100, 473), 255);
  EXPECT_EQ(at(117, 473), 255);
  EXPECT_EQ(at(100, 472), 255);
  EXPECT_EQ(at(107, 408), 48);
  EXPECT_EQ(at(120, 408), 48);
  EXPECT_EQ(at(120, 409), 48);
  EXPECT_EQ(at(131, 408), 255);  // the right side line ends on the back line
  EXPECT_EQ(at(133, 409), 0);
  EXPECT_EQ(at(112, 440), 0);    // nothing inside: never a brick
  // The number under each rod, in the large font, below check box i.
  for (int32_t i = 1; i <= 10; ++i) {
    const int32_t left = static_cast<int32_t>(16 + (i - 1) * 38.4);
    int32_t ink = 0;
    for (int32_t y = 524; y < 524 + 32; ++y)
      for (int32_t x = left; x < left + 34; ++x) ink += at(x, y) != 0 ? 1 : 0;
    EXPECT_GT(ink, 0) << i;
  }
  for (int32_t x = 0; x < 800; ++x) EXPECT_EQ(at(x, 524 + 32), 0) << x;  // 32 glyph rows
}

TEST_F(OptionRods, ValidRodIsABrick) {
  game.VALIDRODS = 1 << 3;
  DRAWOPTIONSRODS(frame, rods, game, view);
  const uint8_t top = at(112, 417);
  EXPECT_GE(top, 48);
  EXPECT_LE(top, 63);
  EXPECT_NE(at(100, 473), 255);
}

}  // namespace
