#include "screens/options_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/evaluation.h"
#include "platform/headless.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "screens/widgets.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "tests/support/run.h"

namespace {

using Page = std::vector<uint8_t>;

Page page() {
  const uint8_t* p = IMAGEINFO(screen_page()).pixels;
  return Page(p, p + 800 * 600);
}
uint8_t at(int32_t x, int32_t y) { return IMAGEINFO(screen_page()).pixels[y * 800 + x]; }
bool palette_is(int32_t index, int32_t r, int32_t g, int32_t b) {
  const uint8_t* p = palette_data() + 3 * index;
  return p[0] == r && p[1] == g && p[2] == b;
}

// A player at the options screen: each step happens once virtual time has
// reached its moment (milliseconds after the screen was opened).
struct Step {
  int64_t at;
  std::function<void()> act;
};

class OptionsScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    MAKEPAL16X16(BASE_COLORS);
    headless_set_driver(nullptr);
    start = catch_up_clock();
    // A blank floor: the elements are what is looked at.
    texture = NEWIMAGE(16, 16);
    DRAWLINE(screen_page(), 0, 0, 799, 599, 0, LINE_KIND_FILLED_BOX);
  }
  void TearDown() override {
    headless_set_driver(nullptr);
    FREEIMAGE(texture);
  }

  void script(std::vector<Step> steps) {
    headless_set_driver([this, steps = std::move(steps), next = std::size_t{0}](int64_t now) mutable {
      while (next < steps.size() && now >= start + steps[next].at) steps[next++].act();
      if (every) every(now);
      if (now > start + 60000) {
        // A screen that does not react as it should: leave it, and say so.
        if (!timedout) ADD_FAILURE() << "the options screen did not finish";
        timedout = true;
        game.VALIDRODS = 0x7FE;
        headless_mouse(-1, -1, -1);
        headless_key("\r");
      }
    });
  }
  int32_t run() { return OPTIONSSCREEN(frame, texture, game, view); }

  static Step key(int64_t t, const std::string& k) {
    return {t, [k] { headless_key(k); }};
  }
  static Step mouse(int64_t t, int32_t x, int32_t y, int32_t buttons) {
    return {t, [=] { headless_mouse(x, y, buttons); }};
  }
  static Step check(int64_t t, std::function<void()> f) { return {t, std::move(f)}; }

  int64_t start = 0;
  bool timedout = false;
  std::function<void(int64_t)> every;  // called whenever the screen waits or polls
  GameRun& objects = test_run();
  Image frame = objects.frame;
  Image texture = nullptr;
  GAMESTATE& game = objects.game;
  SCREENDEF& view = objects.view;
};

TEST_F(OptionsScreen, BuildsTheScreenAndStartsAGame) {
  RODCOUNT = -7;
  Page shown;
  script({check(200,
                [&] {
                  shown = page();
                  EXPECT_EQ(run_report.screen, SHOWN_OPTIONS);
                  EXPECT_TRUE(palette_is(7, 64, 160, 255));
                  EXPECT_TRUE(palette_is(192, 160, 80, 0));
                  EXPECT_EQ(RODCOUNT, -7);
                }),
          key(300, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(timedout);
  // The screen as it was shown.
  ASSERT_EQ(shown.size(), 800u * 600u);
  auto px = [&](int32_t x, int32_t y) { return shown[y * 800 + x]; };
  EXPECT_EQ(px(150, 66), 245);             // title panel face, left of the title
  EXPECT_EQ(px(700, 280), 253);            // starter panel face, between its lines
  EXPECT_EQ(px(16, 488), 176);             // check box 1
  EXPECT_EQ(px(20, 500), 176);             // with its tick
  EXPECT_EQ(px(603, 135), 176);            // arrow 13
  EXPECT_EQ(px(486, 258), 176);            // the player starts
  EXPECT_EQ(px(486, 298), 255);
  EXPECT_EQ(px(454 + 70, 500 + 40), 13);   // "Jugar"
  EXPECT_EQ(px(620 + 70, 500 + 40), 13);   // "Salir"
  EXPECT_EQ(px(454 + 120, 380 + 40), 13);  // "Informaci`n"
  // Rod 10 stands as a brick in hue 10 behind its check box.
  const uint8_t rod10 = px(376, 430);
  EXPECT_GE(rod10, 160);
  EXPECT_LE(rod10, 175);
  // Leaving: the evaluation is prepared and the play ramps are set; the
  // view keeps the options camera.
  EXPECT_EQ(RODCOUNT, 10);
  EXPECT_TRUE(palette_is(192, 0xC0, 0xC0, 0x40));
  EXPECT_TRUE(palette_is(7, 64, 160, 255));
  EXPECT_EQ(view.SCALE, 24.0);
  EXPECT_EQ(view.YAXISY, 0.9);
  EXPECT_EQ(view.XAXISY, -0.0001);
}

TEST_F(OptionsScreen, TargetStaysWithin10To100) {
  game.TARGET = 95;
  std::vector<int> seen;
  auto note = [&](int64_t t) { return check(t, [&] { seen.push_back(game.TARGET); }); };
  std::vector<Step> steps = {mouse(200, 615, 145, 1), mouse(260, 615, 145, 0), note(400),  // +10
                             mouse(500, 739, 145, 1), mouse(560, 739, 145, 0), note(700),  // +1
                             mouse(800, 615, 145, 1), mouse(860, 615, 145, 0), note(1000)};  // +10 again
  int64_t t = 1100;
  for (int i = 0; i < 10; ++i, t += 100) steps.push_back(key(t, KEY_DOWN));
  steps.push_back(note(t));
  steps.push_back(mouse(t + 100, 615, 170, 1));  // -10
  steps.push_back(mouse(t + 160, 615, 170, 0));
  steps.push_back(mouse(t + 300, 739, 170, 1));  // -1
  steps.push_back(mouse(t + 360, 739, 170, 0));
  steps.push_back(note(t + 500));
  steps.push_back(key(t + 600, KEY_RIGHT));
  steps.push_back(key(t + 700, KEY_UP));
  steps.push_back(key(t + 800, KEY_LEFT));
  steps.push_back(note(t + 900));
  steps.push_back(key(t + 1000, "\r"));
  script(std::move(steps));
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(seen, (std::vector<int>{100, 100, 100, 10, 10, 20}));
}

TEST_F(OptionsScreen, HoldingAnArrowRepeatsEveryFifthOfASecond) {
  game.TARGET = 50;
  std::vector<int> seen;
  auto note = [&](int64_t t) { return check(t, [&] { seen.push_back(game.TARGET); }); };
  // The first change comes with the poll that sees the press, not 20 ms later.
  int64_t pressed_at = -1;
  int64_t first_change_at = -1;
  every = [&](int64_t now) {
    if (first_change_at < 0 && game.TARGET != 50) first_change_at = now;
  };
  script({{200, [&] { headless_mouse(739, 145, 1), pressed_at = headless_now_ms(); }}, note(300),
          check(310, [] { EXPECT_EQ(at(728, 136), 13); }),  // pressed fill
          note(500), note(700),
          mouse(750, 300, 300, 1),  // still held, away from the arrow
          note(900), mouse(950, 300, 300, 0), note(1200),
          check(1210, [] { EXPECT_EQ(at(727, 135), 176); }),
          key(1300, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(seen, (std::vector<int>{51, 52, 53, 54, 54}));
  EXPECT_EQ(first_change_at, pressed_at);
}

TEST_F(OptionsScreen, PressActsOnTheElementWhereItWentDown) {
  script({mouse(200, 100, 495, 1), mouse(260, 300, 300, 1), mouse(320, 300, 300, 0), key(500, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(game.VALIDRODS, 0x7FE & ~(1 << 3));
}

TEST_F(OptionsScreen, ZeroTogglesRodTen) {
  Page before;
  Page after;
  script({check(200, [&] { before = page(); }), key(300, "0"),
          check(400,
                [&] {
                  EXPECT_EQ(game.VALIDRODS, 0x3FE);
                  EXPECT_EQ(at(370, 473), 255);  // rod 10 is an outline now
                  EXPECT_EQ(at(365, 500), 255);  // its check box has no tick
                  EXPECT_EQ(at(20, 500), 176);   // the others keep theirs
                }),
          key(500, "0"), check(600, [&] { after = page(); }), key(700, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(game.VALIDRODS, 0x7FE);
  EXPECT_TRUE(before == after);  // the rod area is rebuilt from its clean copy
}

TEST_F(OptionsScreen, ChoosingTheStarter) {
  Page before;
  Page unchanged;
  Page computer;
  script({check(200, [&] { before = page(); }), key(250, "J"), key(300, "j"),
          check(400, [&] { unchanged = page(); }), key(500, "C"),
          check(600,
                [&] {
                  EXPECT_EQ(game.STARTER, 1);
                  EXPECT_EQ(at(496, 298), 47);  // newly chosen: highlighted, with the dot
                  EXPECT_EQ(at(486, 298), 47);
                  EXPECT_EQ(at(486, 258), 255);  // the other: normal, no dot
                  EXPECT_EQ(at(496, 258), 176);
                  computer = page();
                }),
          key(700, "c"), check(800, [&] { EXPECT_TRUE(page() == computer); }),
          mouse(900, 600, 250, 1), mouse(960, 600, 250, 0),
          check(1100,
                [&] {
                  EXPECT_EQ(game.STARTER, 0);
                  EXPECT_EQ(at(486, 258), 47);
                  EXPECT_EQ(at(486, 298), 255);
                }),
          key(1200, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(before == unchanged);
  EXPECT_EQ(game.STARTER, 0);
}

TEST_F(OptionsScreen, HoverFollowsTheHitTest) {
  // The pixel of the normal "Salir" sprite where the hover one shows 14.
  const int32_t normal_salir = IMAGEINFO(SMALLBUTTON).pixels[60 * 140 + 120];
  EXPECT_NE(normal_salir, 14);
  struct Probe {
    int32_t x, y;          // pointer
    int32_t px, py, want;  // a pixel that shows the element's look
  };
  const Probe probes[] = {
      {40, 488, 16, 488, 47},        // right edge of check box 1 (16 + 24)
      {41, 488, 16, 488, 176},       // between boxes 1 and 2
      {41, 488, 54, 488, 176},
      {385, 511, 361, 488, 47},      // check box 10 reaches 385.6
      {615, 158, 603, 135, 47},      // arrow 13 down to row 158
      {615, 159, 603, 159, 47},      // arrow 14 from row 159
      {615, 159, 603, 135, 176},
      {750, 182, 727, 159, 47},      // arrow 16
      {751, 182, 727, 159, 176},
      {500, 511, 574, 560, 14},      // below the rod boxes' x range: "Jugar"
      {773, 339, 496, 298, 47},      // the computer's choice
      {774, 339, 496, 298, 176},
      {693, 459, 454 + 220, 380 + 60, 14},  // "Informaci`n"
      {759, 579, 740, 560, 14},      // "Salir"
      {-1, -1, 740, 560, normal_salir},  // outside the window: nothing
  };
  std::vector<Step> steps;
  int64_t t = 200;
  for (const Probe& p : probes) {
    steps.push_back(mouse(t, p.x, p.y, p.x < 0 ? -1 : 0));
    steps.push_back(check(t + 50, [p] { EXPECT_EQ(at(p.px, p.py), p.want) << p.x << "," << p.y; }));
    t += 100;
  }
  steps.push_back(key(t, "\r"));
  script(std::move(steps));
  EXPECT_EQ(run(), 0);
}

TEST_F(OptionsScreen, JugarWithOneRodShowsTheMessage) {
  game.VALIDRODS = 1 << 5;
  game.TARGET = 37;
  game.STARTER = 1;
  RODCOUNT = -7;
  Page hovered;
  bool message_seen = false;
  script({mouse(120, 520, 540, 0), check(180, [&] { hovered = page(); }), mouse(200, 520, 540, 1),
          mouse(260, 520, 540, 0),
          check(400,
                [&] {
                  EXPECT_EQ(run_report.screen, SHOWN_MESSAGE);
                  message_seen = run_report.message == &MSGTOOFEWRODS;
                }),
          key(500, " "),
          check(700,
                [&] {
                  EXPECT_EQ(run_report.screen, SHOWN_OPTIONS);
                  EXPECT_TRUE(page() == hovered);
                  EXPECT_EQ(RODCOUNT, -7);
                  EXPECT_EQ(game.VALIDRODS, 1 << 5);
                  EXPECT_EQ(game.TARGET, 37);
                  EXPECT_EQ(game.STARTER, 1);
                }),
          key(800, "6"), key(900, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(message_seen);
  EXPECT_EQ(RODCOUNT, 2);
}

TEST_F(OptionsScreen, NoToTheQuitQuestionKeepsEverything) {
  game.VALIDRODS = 0x0F0;
  game.TARGET = 42;
  game.STARTER = 1;
  bool asked = false;
  script({key(200, "\x1B"), check(300, [&] { asked = run_report.message == &MSGQUIT; }), key(400, "N"),
          check(600, [&] { EXPECT_EQ(run_report.screen, SHOWN_OPTIONS); }),
          mouse(700, 690, 540, 1), mouse(760, 690, 540, 0),  // "Salir" asks again
          check(900, [&] { EXPECT_EQ(run_report.message, &MSGQUIT); }), key(1000, "\x1B"),
          key(1200, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(asked);
  EXPECT_EQ(game.VALIDRODS, 0x0F0);
  EXPECT_EQ(game.TARGET, 42);
  EXPECT_EQ(game.STARTER, 1);
}

TEST_F(OptionsScreen, YesEndsTheProgramAfterTheClosingPage) {
  bool closing_page = false;
  script({key(200, "\x1B"), key(400, "S"), check(700, [&] { closing_page = run_report.screen == SHOWN_INFO; }),
          key(800, " ")});
  try {
    run();
    ADD_FAILURE() << "the options screen returned";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.code, 0);
  }
  EXPECT_TRUE(closing_page);
  EXPECT_GE(headless_now_ms(), start + 400 + 5000);  // the page stays up 5 s
  EXPECT_FALSE(timedout);
}

TEST_F(OptionsScreen, InformationPagesThenTheScreenAgain) {
  Page before;
  std::vector<ShownScreen> shown;
  auto note = [&](int64_t t) { return check(t, [&] { shown.push_back(run_report.screen); }); };
  script({check(200, [&] { before = page(); }), key(300, "I"), note(400), key(500, " "), note(1000),
          key(1100, "x"), note(1800), mouse(1900, 10, 10, 1), mouse(1960, 10, 10, 0), mouse(1970, -1, -1, -1),
          note(2600), check(2610, [&] { EXPECT_TRUE(page() == before); }),
          mouse(2700, 560, 420, 1), mouse(2760, 560, 420, 0), note(2900),  // the button opens them too
          key(3000, " "), key(4000, " "), key(5000, " "), note(6000), key(6100, "\r")});
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(shown, (std::vector<ShownScreen>{SHOWN_INFO, SHOWN_INFO, SHOWN_INFO, SHOWN_OPTIONS, SHOWN_INFO,
                                             SHOWN_OPTIONS}));
}

}  // namespace

TEST_F(OptionsScreen, ARodSwitchedOffOrOnIsDrawnAsOnAFreshScreen) {
  // The rods and the part of the page around them, from above the tallest.
  const auto rod_area = [] {
    Page area;
    for (int32_t y = 200; y < 600; ++y)
      for (int32_t x = 0; x <= 440; ++x) area.push_back(at(x, y));
    return area;
  };
  constexpr uint16_t ALL = 0x7FE;
  // Opens the screen with these rods, toggles the given ones in turn and
  // notes the rod area after each toggle, with the rods it shows.
  const auto toggled = [&](uint16_t rods, const std::vector<int>& values) {
    std::vector<std::pair<uint16_t, Page>> seen;
    std::vector<Step> steps;
    int64_t t = 200;
    for (const int v : values) {
      steps.push_back(key(t, std::to_string(v % 10)));
      steps.push_back(check(t + 100, [&] { seen.emplace_back(game.VALIDRODS, rod_area()); }));
      t += 200;
    }
    steps.push_back(check(t, [&] { game.VALIDRODS = ALL; }));
    steps.push_back(key(t + 100, "\r"));
    start = headless_now_ms();
    game.VALIDRODS = rods;
    script(steps);
    EXPECT_EQ(run(), 0);
    return seen;
  };
  const auto fresh = [&](uint16_t rods) {
    Page area;
    start = headless_now_ms();
    game.VALIDRODS = rods;
    script({check(200, [&] { area = rod_area(); }), check(250, [&] { game.VALIDRODS = ALL; }), key(300, "\r")});
    EXPECT_EQ(run(), 0);
    return area;
  };
  // Every rod off and on again on a screen opened with all; every rod on, on
  // a screen opened without it; and all off and back on in a row.
  std::vector<std::pair<uint16_t, Page>> seen = toggled(ALL, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10});
  for (int v = 1; v <= 10; ++v)
    for (auto& s : toggled(static_cast<uint16_t>(ALL & ~(1u << v)), {v})) seen.push_back(std::move(s));
  for (auto& s : toggled(ALL, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) seen.push_back(std::move(s));
  ASSERT_EQ(seen.size(), 50u);
  std::map<uint16_t, Page> fresh_areas;
  for (const auto& [rods, area] : seen) {
    if (!fresh_areas.count(rods)) fresh_areas[rods] = fresh(rods);
    EXPECT_TRUE(area == fresh_areas[rods]) << "rods 0x" << std::hex << rods;
  }
}
