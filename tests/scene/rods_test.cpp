#include "scene/rods.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "scene/bricks.h"
#include "surface/input.h"
#include "surface/random.h"
#include "tests/support/run.h"
#include "tests/support/screen.h"

namespace {

const POINT3D START_LIGHT = light_direction();

GAMESTATE fresh_game() {
  GAMESTATE state;
  state.LIGHTDIR = START_LIGHT;
  return state;
}

bool operator==(const ChoiceBox& a, const ChoiceBox& b) {
  return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}

std::set<int> hues_in(Image img) {
  std::set<int> out;
  const ImageInfo info = IMAGEINFO(img);
  for (int i = 0; i < info.width * info.height; ++i)
    if (info.pixels[i] != 0) out.insert(info.pixels[i] / 16);
  return out;
}

uint8_t pixel_at(Image img, int x, int y) { return IMAGEINFO(img).pixels[y * 800 + x]; }

}  // namespace

TEST(ChoiceRods, BuiltAlongTheLine) {
  build_choice_rods(START_LIGHT);
  EXPECT_EQ(CHOICERODS[0].CORNER1, (POINT3D{1, -15, 0, 0}));
  EXPECT_EQ(CHOICERODS[0].CORNER2, (POINT3D{2, -14, 1, 0}));
  EXPECT_EQ(CHOICERODS[9].CORNER1, (POINT3D{19, -15, 0, 0}));
  EXPECT_EQ(CHOICERODS[9].CORNER2, (POINT3D{20, -5, 1, 0}));
  EXPECT_EQ(CHOICERODS[51].CORNER1, (POINT3D{103, -15, 0, 0}));
  EXPECT_EQ(CHOICERODS[51].CORNER2, (POINT3D{104, -13, 1, 0}));
  // Colours from hue v = (j mod 10) + 1; the top shows shade 12.
  EXPECT_EQ(CHOICERODS[0].FACECOLORS[TOPCOLOR], 16 + 12);
  EXPECT_EQ(CHOICERODS[9].FACECOLORS[TOPCOLOR], 160 + 12);
  EXPECT_EQ(CHOICERODS[10].FACECOLORS[TOPCOLOR], 16 + 12);
  EXPECT_EQ(CHOICERODS[51].FACECOLORS[TOPCOLOR], 32 + 12);
  BRICK lit;
  DEFINELIGHTING8B(lit, START_LIGHT, 16 * 4);
  EXPECT_EQ(CHOICERODS[23].FACECOLORS, lit.FACECOLORS);
}

TEST(ChoiceRods, Windows) {
  const auto window = [](int total, int target) {
    const ChoiceWindow w = choice_window_for(total, target);
    return std::make_pair(w.first, w.last);
  };
  EXPECT_EQ(window(0, 100), std::make_pair(0, 10));
  EXPECT_EQ(window(50, 100), std::make_pair(17, 33));
  EXPECT_EQ(window(95, 100), std::make_pair(39, 49));
  // Near the target the window keeps ten rods: the 1 the player needs at 99.
  EXPECT_EQ(window(99, 100), std::make_pair(40, 49));
  EXPECT_EQ(window(100, 100), std::make_pair(40, 49));
  EXPECT_EQ(window(94, 100), std::make_pair(39, 49));
  EXPECT_EQ(window(20, 22), std::make_pair(1, 10));  // the 2 that wins is offered
  EXPECT_EQ(window(15, 100), std::make_pair(0, 15));
  EXPECT_EQ(window(17, 100), std::make_pair(0, 16));  // 1 / 2 rounds down
  for (int total = 0; total <= 12; ++total) EXPECT_EQ(window(total, 12), std::make_pair(0, 10));
  EXPECT_EQ(window(0, 15), std::make_pair(0, 10));
  EXPECT_EQ(window(14, 15), std::make_pair(0, 10));
  // Every value can be picked at every total of every target, and a window
  // of ten or more rods around the total is the one it always was.
  for (int target = 10; target <= 100; ++target)
    for (int total = 0; total <= target; ++total) {
      const auto [first, last] = window(total, target);
      std::set<int> values;
      for (int j = first; j <= last; ++j) values.insert(j % 10 + 1);
      ASSERT_EQ(values.size(), 10u) << total << " of " << target;
      const int near_first = std::max(static_cast<int>(std::floor((total - 16) / 2.0)), 0);
      if (last - near_first >= 9) {
        ASSERT_EQ(first, near_first) << total << " of " << target;
      }
      ASSERT_GE(first, 0);
    }
}

TEST(NumberLine, BarAndTicksForTarget10) {
  open_test_screen();
  const SCREENDEF view = game_view(12.0, 10);
  Image img = NEWIMAGE(800, 600);
  DRAWNUMBERLINE(img, 10, view, 176);
  const auto at = [&](double fx, double fy) {
    int32_t sx = 0, sy = 0;
    FLOORTOSCREENCOORD(fx, fy, view, sx, sy);
    return pixel_at(img, sx, sy);
  };
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(at(i, 0.35), 176) << "tick " << i;
    EXPECT_EQ(at(i, -0.35), 176) << "tick " << i;
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(at(i + 0.5, 0.0), 176) << "bar " << i;
    EXPECT_EQ(at(i + 0.5, 0.35), 0) << "between ticks " << i;
  }
  EXPECT_EQ(at(-0.5, 0.0), 0);
  EXPECT_EQ(at(11.0, 0.0), 0);
  EXPECT_EQ(at(11.0, 0.35), 0);
  EXPECT_EQ(hues_in(img), std::set<int>{11});
  FREEIMAGE(img);
}

TEST(LaidRods, FirstRodOfAFreshGame) {
  GAMESTATE state = fresh_game();
  state.TURN = 0;
  LAYROD(3, state, 48);
  EXPECT_EQ(state.RODS[0], 3);
  EXPECT_EQ(state.TOTALS[0], 0);
  EXPECT_EQ(state.TOTALS[1], 3);
  EXPECT_EQ(state.BRICKS[0].CORNER1, (POINT3D{0, 0, 0, 0}));
  EXPECT_EQ(state.BRICKS[0].CORNER2, (POINT3D{3, 1, 1, 0}));
  BRICK lit;
  DEFINELIGHTING8B(lit, START_LIGHT, 48);
  EXPECT_EQ(state.BRICKS[0].FACECOLORS, lit.FACECOLORS);
  EXPECT_EQ(state.MOVECOUNT, 1);
  EXPECT_EQ(state.TURN, 1);
  LAYROD(7, state, 112);
  EXPECT_EQ(state.TOTALS[2], 10);
  EXPECT_EQ(state.BRICKS[1].CORNER1, (POINT3D{3, 0, 0, 0}));
  EXPECT_EQ(state.BRICKS[1].CORNER2, (POINT3D{10, 1, 1, 0}));
  EXPECT_EQ(state.TURN, 0);
}

TEST(LaidRods, HundredthRodRecordsItsTotal) {
  open_test_screen();
  build_choice_rods(START_LIGHT);
  GAMESTATE state = fresh_game();
  for (int k = 0; k < 99; ++k) LAYROD(1, state, 16);
  EXPECT_EQ(state.MOVECOUNT, 99);
  EXPECT_EQ(state.TOTALS[99], 99);
  LAYROD(1, state, 16);
  EXPECT_EQ(state.RODS[99], 1);
  EXPECT_EQ(state.BRICKS[99].CORNER1, (POINT3D{99, 0, 0, 0}));
  EXPECT_EQ(state.BRICKS[99].CORNER2, (POINT3D{100, 1, 1, 0}));
  EXPECT_EQ(state.TOTALS[100], 100);
  EXPECT_EQ(state.MOVECOUNT, 100);
  // The scene can still be drawn with a hundred rods on the line.
  Image img = NEWIMAGE(800, 600);
  DRAWRODS(img, state, game_view(88.0, 100));
  EXPECT_TRUE(hues_in(img).count(1));
  FREEIMAGE(img);
  // There is no room for a 101st rod: the index check ends the program.
  headless_key(" ");
  EXPECT_THROW(LAYROD(1, state, 16), ProgramEnd);
}

TEST(LaidRods, OnlyValidChoiceRodsAreDrawn) {
  open_test_screen();
  build_choice_rods(START_LIGHT);
  GAMESTATE state = fresh_game();
  state.VALIDRODS = (1u << 2) | (1u << 5);
  Image img = NEWIMAGE(800, 600);
  DRAWRODS(img, state, game_view(12.0, 100));
  EXPECT_EQ(hues_in(img), (std::set<int>{2, 5}));
  // Only the drawn rods can be picked.
  const ChoiceBoxList boxes = CHOICEBOXES(state, game_view(12.0, 100));
  const ChoiceBox none{1, 1, 0, 0};
  for (int j = 0; j <= 10; ++j) {
    if (j == 1 || j == 4) {
      EXPECT_LT(boxes[j].X1, boxes[j].X2) << j;
      EXPECT_LT(boxes[j].Y1, boxes[j].Y2) << j;
    } else {
      EXPECT_TRUE(boxes[j] == none) << j;
    }
  }
  // Nor can a rod outside the window.
  EXPECT_TRUE(boxes[11] == none);
  FREEIMAGE(img);
}

TEST(LaidRods, ChoiceBoxInTheGameView) {
  open_test_screen();
  build_choice_rods(START_LIGHT);
  GAMESTATE state = fresh_game();
  const SCREENDEF view = game_view(12.0, 100);
  Image img = NEWIMAGE(800, 600);
  DRAWRODS(img, state, view);
  EXPECT_TRUE((CHOICEBOXES(state, view)[5] == ChoiceBox{285, 339, 350, 518}));
  int32_t sx = 0, sy = 0;
  FLOORTOSCREENCOORD(11.0, -15.0, view, sx, sy);
  EXPECT_EQ(sx, 285);
  EXPECT_EQ(sy, 518);
  FLOORTOSCREENCOORD(12.0, -9.0, view, sx, sy);
  EXPECT_EQ(sx, 350);
  EXPECT_EQ(sy, 371);
  // All ten values are valid: the window's eleven rods show every hue.
  EXPECT_EQ(hues_in(img), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  FREEIMAGE(img);
}

TEST(LaidRods, LaterRodsCoverEarlierOnes) {
  open_test_screen();
  build_choice_rods(START_LIGHT);
  GAMESTATE state = fresh_game();
  state.VALIDRODS = 0;
  LAYROD(2, state, 32);
  LAYROD(3, state, 48);
  const SCREENDEF view = game_view(12.0, 100);
  Image img = NEWIMAGE(800, 600);
  DRAWRODS(img, state, view);
  // The end face of the first rod is hidden by the second: at the top of
  // their common face only hue 3 shows.
  const BrickShape second = brick_on_screen(800, 600, state.BRICKS[1], view);
  EXPECT_EQ(pixel_at(img, second.ox + second.bx + 3, second.oy + second.by + 8) / 16, 3);
  EXPECT_EQ(hues_in(img), (std::set<int>{2, 3}));
  FREEIMAGE(img);
}

TEST(Highlight, BrightensAndRestoresOneRow) {
  open_test_screen();
  MAKEPAL16X16(BASE_COLORS);
  uint8_t before[768];
  std::memcpy(before, palette_data(), sizeof before);
  const auto entry = [](int i) {
    const uint8_t* p = palette_data();
    return std::vector<int>{p[i * 3], p[i * 3 + 1], p[i * 3 + 2]};
  };
  HIGHLIGHTROD(2, BASE_COLORS, 1);
  EXPECT_EQ(entry(32), (std::vector<int>{127, 40, 40}));
  EXPECT_EQ(entry(47), (std::vector<int>{246, 77, 77}));
  EXPECT_EQ(std::memcmp(before, palette_data(), 32 * 3), 0);
  EXPECT_EQ(std::memcmp(before + 48 * 3, palette_data() + 48 * 3, (256 - 48) * 3), 0);
  HIGHLIGHTROD(2, BASE_COLORS, 0);
  EXPECT_EQ(entry(32), (std::vector<int>{127, 0, 0}));
  EXPECT_EQ(entry(47), (std::vector<int>{246, 0, 0}));
  EXPECT_EQ(std::memcmp(before, palette_data(), 768), 0);
  // Every rod value's highlight is undone by the plain call.
  for (int v = 1; v <= 10; ++v) {
    HIGHLIGHTROD(v, BASE_COLORS, 1);
    HIGHLIGHTROD(v, BASE_COLORS, 0);
  }
  EXPECT_EQ(std::memcmp(before, palette_data(), 768), 0);
}

TEST(ComputerRod, EndsInPlaceAndLeavesTheFrameAlone) {
  open_test_screen();
  while (!POLLKEY().empty()) {
  }
  RANDOMSEED(3.0);
  GAMESTATE state = fresh_game();
  LAYROD(4, state, 64);
  LAYROD(6, state, 96);
  const SCREENDEF view = game_view(12.0, 100);

  // A finished frame with some scenery in it.
  Image frame = NEWIMAGE(800, 600);
  const ImageInfo info = IMAGEINFO(frame);
  for (int i = 0; i < 800 * 600; ++i) info.pixels[i] = static_cast<uint8_t>(216 + (i % 37));
  DRAWRODS(frame, state, view);
  std::vector<uint8_t> kept(frame, frame + 4 + 800 * 600);

  // Keys pressed before and during the slide are thrown away.
  headless_key("5");
  int64_t polls = 0;
  headless_set_driver([&](int64_t) {
    if (++polls == 20) headless_key("7");
  });
  // Timed on the game's own clock, which moves only while the game waits
  // (2 ms a frame) or copies a whole frame to the screen (16 ms).
  const double start = CLOCKSECONDS();
  const int64_t frames_before = headless_frames();
  BRINGCOMPUROD(frame, 3, state, view);
  headless_set_driver(nullptr);
  const double took = CLOCKSECONDS() - start;
  EXPECT_GE(took, 0.2);
  EXPECT_LE(took, 2.7 + 0.04);
  EXPECT_GT(headless_frames() - frames_before, 5);
  EXPECT_EQ(POLLKEY(), "");

  EXPECT_EQ(std::memcmp(frame, kept.data(), kept.size()), 0);

  // The screen shows the frame with the rod exactly where LAYROD puts it.
  GAMESTATE after = state;
  LAYROD(3, after, 48);
  Image expected = NEWIMAGE(800, 600);
  std::memcpy(expected, kept.data(), kept.size());
  DRAWBRICK(expected, after.BRICKS[2], view);
  EXPECT_EQ(std::memcmp(IMAGEINFO(screen_page()).pixels, IMAGEINFO(expected).pixels, 800 * 600), 0);
  FREEIMAGE(expected);
  FREEIMAGE(frame);
}

TEST(ComputerRod, SlideStartsAtTheTopAndMovesOnTheFloor) {
  open_test_screen();
  RANDOMSEED(11.0);
  GAMESTATE state = fresh_game();
  const SCREENDEF view = game_view(12.0, 100);
  double fx0 = 0, fy0 = 0;
  SCREENTOFLOORCOORD(400, 0, view, fx0, fy0);
  EXPECT_NEAR(fx0, 11.0, 0.1);
  EXPECT_NEAR(fy0, 5.5, 0.1);

  Image frame = NEWIMAGE(800, 600);
  // Record the rod's hue on the screen after every copy: its topmost row
  // must only move down as the rod slides toward the viewer.
  std::vector<int> tops;
  headless_set_driver([&](int64_t) {
    const ImageInfo s = IMAGEINFO(screen_page());
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        if (s.pixels[y * 800 + x] / 16 == 2) {
          if (tops.empty() || tops.back() != y) tops.push_back(y);
          return;
        }
  });
  std::memset(IMAGEINFO(screen_page()).pixels, 0, 800 * 600);
  BRINGCOMPUROD(frame, 2, state, view);
  headless_set_driver(nullptr);
  ASSERT_GE(tops.size(), 3u);
  for (size_t i = 1; i < tops.size(); ++i) EXPECT_GE(tops[i], tops[i - 1]);
  FREEIMAGE(frame);
}
