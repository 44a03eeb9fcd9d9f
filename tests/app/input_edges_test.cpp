// Input at the edges, in whole runs of the game: the pointer outside the
// window on every screen, keys held with auto-repeat during animations and
// messages, and presses on the first and last pixels of every button and
// choice box and just beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "scene/rods.h"
#include "screens/messages.h"
#include "surface/input.h"
#include "tests/support/scripted_game.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes page() {
  const uint8_t* p = IMAGEINFO(screen_page()).pixels;
  return Bytes(p, p + 800 * 600);
}
Bytes palette() { return Bytes(palette_data(), palette_data() + 768); }

// A rectangle of the screen, both corners inside.
struct Box {
  int32_t x1, y1, x2, y2;
  int32_t xm() const { return (x1 + x2) / 2; }
  int32_t ym() const { return (y1 + y2) / 2; }
};

// The first and last pixels inside a box on each side, and the first outside
// (those that lie on the page).
struct Probe {
  int32_t x, y;
  bool inside;
  const char* where;
};
std::vector<Probe> border_probes(const Box& b) {
  const std::vector<Probe> all{{b.x1, b.ym(), true, "first column"},    {b.x2, b.ym(), true, "last column"},
                               {b.xm(), b.y1, true, "first row"},       {b.xm(), b.y2, true, "last row"},
                               {b.x1, b.y1, true, "top-left corner"},   {b.x2, b.y2, true, "bottom-right corner"},
                               {b.x1 - 1, b.ym(), false, "left of it"}, {b.x2 + 1, b.ym(), false, "right of it"},
                               {b.xm(), b.y1 - 1, false, "above it"},   {b.xm(), b.y2 + 1, false, "below it"}};
  std::vector<Probe> on_page;
  for (const Probe& p : all)
    if (p.x >= 0 && p.x < 800 && p.y >= 0 && p.y < 600) on_page.push_back(p);
  return on_page;
}

// The options screen's elements and the pixels each takes for the pointer.
struct Element {
  int32_t code;
  Box box;
};
std::vector<Element> option_elements() {
  std::vector<Element> e;
  for (int32_t i = 1; i <= 10; ++i) {
    const double left = 16 + (i - 1) * 38.4;
    e.push_back({i, {static_cast<int32_t>(std::ceil(left)), 488, static_cast<int32_t>(std::floor(left + 24)), 511}});
  }
  e.push_back({13, {603, 135, 626, 158}});
  e.push_back({14, {603, 159, 626, 182}});
  e.push_back({15, {727, 135, 750, 158}});
  e.push_back({16, {727, 159, 750, 182}});
  e.push_back({17, {454, 220, 773, 279}});
  e.push_back({18, {454, 280, 773, 339}});
  e.push_back({19, {454, 380, 693, 459}});
  e.push_back({20, {454, 500, 593, 579}});
  e.push_back({21, {620, 500, 759, 579}});
  return e;
}
int32_t option_element_at(int32_t x, int32_t y) {
  for (const Element& e : option_elements())
    if (e.box.x1 <= x && x <= e.box.x2 && e.box.y1 <= y && y <= e.box.y2) return e.code;
  return 0;
}

// A spot of the options and play screens where nothing reacts.
constexpr int32_t NEUTRAL_X = 300;
constexpr int32_t NEUTRAL_Y = 100;

const Box TIE_BOX{24, 500, 263, 579};
const Box QUIT_BOX{620, 500, 759, 579};
const Box YES_BOX{270, 370, 370, 410};
const Box NO_BOX{430, 370, 530, 410};

// The boxes of the choice rods the player can pick now, by index.
std::map<int32_t, Box> choice_boxes() {
  const GAMESTATE& g = ScriptedGame::game();
  const ChoiceWindow w = choice_window_for(g.TOTALS[g.MOVECOUNT], g.TARGET);
  std::map<int32_t, Box> boxes;
  const ChoiceBoxList all = CHOICEBOXES(g, current_run().view);
  for (int32_t j = w.first; j <= w.last; ++j) {
    // The part on the page: a rod near the edge reaches past it.
    const ChoiceBox& c = all[j];
    const Box b{std::max<int32_t>(c.X1, 0), std::max<int32_t>(c.Y1, 0), std::min<int32_t>(c.X2, 799),
                std::min<int32_t>(c.Y2, 599)};
    if (b.x1 <= b.x2 && b.y1 <= b.y2) boxes[j] = b;
  }
  return boxes;
}
bool in_box(const Box& b, int32_t x, int32_t y) { return b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2; }

// The choice rod the pointer is over (the first box holding it), or -1; the
// game buttons come first.
int32_t choice_at(const std::map<int32_t, Box>& boxes, int32_t x, int32_t y) {
  if (in_box(TIE_BOX, x, y) || in_box(QUIT_BOX, x, y)) return -1;
  for (const auto& [j, b] : boxes)
    if (b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2) return j;
  return -1;
}

// The game record's totals follow from its rods.
void expect_consistent(const GAMESTATE& g) {
  ASSERT_LE(g.MOVECOUNT, 100);
  EXPECT_EQ(g.TOTALS[0], 0);
  for (int32_t i = 0; i < g.MOVECOUNT; ++i) {
    EXPECT_GE(g.RODS[i], 1);
    EXPECT_LE(g.RODS[i], 10);
    EXPECT_TRUE(((g.VALIDRODS >> g.RODS[i]) & 1) != 0) << "rod " << i << " is not a valid value";
    EXPECT_EQ(g.TOTALS[i + 1], g.TOTALS[i] + g.RODS[i]) << "after rod " << i;
  }
}

}  // namespace

TEST(InputEdges, PointerOutsideTheWindowOnEveryScreen) {
  ScriptedGame d;
  Bytes baseline, hovered;
  uint16_t rods = 0;
  int32_t target = 0;
  // A button's normal look is drawn over its hover look without clearing it
  // first, and the two sprites differ at the corners by a pixel: a first
  // hover leaves those pixels, and the looks are the same from then on.
  d.until_options().mouse(520, 540).wait(100).mouse(NEUTRAL_X, NEUTRAL_Y).wait(100).out().wait(100).then([&] {
    baseline = page();
    rods = ScriptedGame::game().VALIDRODS;
    target = ScriptedGame::game().TARGET;
  });
  // Options: a hover look goes when the pointer leaves; a press outside is none.
  d.mouse(520, 540).wait(100).then([&] { EXPECT_NE(page(), baseline) << "Jugar shows no hover look"; });
  d.out().wait(100).then([&] { EXPECT_EQ(page(), baseline) << "the hover look stays after the pointer left"; });
  d.down().wait(500).up().wait(200).then([&] {
    EXPECT_TRUE(ScriptedGame::showing(SHOWN_OPTIONS));
    EXPECT_EQ(ScriptedGame::game().VALIDRODS, rods);
    EXPECT_EQ(ScriptedGame::game().TARGET, target);
  });
  // A press on check box 3 that leaves the window: leaving lets go, and the
  // press acts on the box where it went down.
  d.mouse(16 + 2 * 38 + 12, 500).down().wait(100).out().wait(200).up().wait(200).then([&] {
    EXPECT_EQ(ScriptedGame::game().VALIDRODS, rods ^ (1u << 3));
  });
  d.key("3").wait(200);
  // An arrow held, then the pointer leaves: the repeats stop.
  d.mouse(610, 170).down().wait(500).out().wait(1000).then([&] {
    EXPECT_EQ(ScriptedGame::game().TARGET, 70) << "three steps of -10 in 0.5 s, none after leaving";
  });
  d.up().key("\xFFH").key("\xFFH").key("\xFFH").wait(300);

  // Information pages and the quit question wait while the pointer is out.
  d.key("i").until("an information page", [] { return ScriptedGame::showing(SHOWN_INFO); });
  d.out().wait(2000).then([] { EXPECT_TRUE(ScriptedGame::showing(SHOWN_INFO)); });
  d.key("a").wait(600).key("a").wait(600).key("a").until_options();
  d.key("\x1B").until_message().out().wait(1000).then([] {
    EXPECT_TRUE(ScriptedGame::showing(SHOWN_MESSAGE));
    EXPECT_EQ(run_report.message, &MSGQUIT);
  });
  d.key("n").until_options();

  // Play: a rod lit by the pointer goes dark when it leaves, so does a button.
  std::map<int32_t, Box> boxes;
  Bytes basepalette, baseplay;
  d.key("\r").until_input().mouse(TIE_BOX.xm(), TIE_BOX.ym()).wait(50).out().wait(50).then([&] {
    boxes = choice_boxes();
    basepalette = palette();
    baseplay = page();
    ASSERT_FALSE(boxes.empty());
  });
  d.then_steps([&](ScriptedGame& more) {
    const Box b = boxes.begin()->second;
    more.mouse(b.xm(), b.ym()).wait(50).then([&] { EXPECT_NE(palette(), basepalette) << "no rod lit"; });
    more.out().wait(50).then([&] { EXPECT_EQ(palette(), basepalette) << "the rod stays lit"; });
  });
  d.mouse(TIE_BOX.xm(), TIE_BOX.ym()).wait(50).then([&] { EXPECT_NE(page(), baseplay); });
  d.out().wait(50).then([&] { EXPECT_EQ(page(), baseplay) << "the button keeps its hover look"; });
  d.down().wait(500).up().wait(500).then([] {
    EXPECT_TRUE(ScriptedGame::showing(SHOWN_PLAY));
    EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0);
  });
  // A notice waits while the pointer is out.
  d.key("x").until_message().out().wait(1000).then([] {
    EXPECT_EQ(run_report.message, &MSGNOTNOW);
  });
  d.key("a").until_input();
  // The pointer leaves during the camera move and the computer's rod.
  d.key("5").wait(300).out().wait(800).mouse(400, 300).wait(700).out().until_input().then([] {
    EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 2);
    expect_consistent(ScriptedGame::game());
  });
  // A press on "S\" of the give-up question that leaves the window answers yes.
  d.key("\x1B").until_message().mouse(YES_BOX.xm(), YES_BOX.ym()).down().wait(100).out().until_options();
  // The quit question answered, the closing page waits with the pointer out;
  // a key ends the program.
  d.key("\x1B").until_message().key("s").until("the closing page", [] { return ScriptedGame::showing(SHOWN_INFO); });
  d.out().wait(8000).then([] { EXPECT_TRUE(ScriptedGame::showing(SHOWN_INFO)) << "the page needs a key or a press"; });
  d.key("a").wait(10000);
  EXPECT_EQ(d.run(), 0);
  EXPECT_FALSE(d.closed) << "the program did not end after the closing page";
}

TEST(InputEdges, KeysHeldOnTheOptionsScreen) {
  ScriptedGame d;
  uint16_t rods = 0;
  d.until_options().then([&] { rods = ScriptedGame::game().VALIDRODS; });
  // Repeats faster than the screen polls: every key is taken in its turn.
  d.held("\xFFP", 300, 5).held("1", 150, 5).held("\xFFM", 7, 5).wait(10000).then([&] {
    EXPECT_EQ(ScriptedGame::game().TARGET, 17);
    EXPECT_EQ(ScriptedGame::game().VALIDRODS, rods);
    EXPECT_TRUE(ScriptedGame::showing(SHOWN_OPTIONS));
  });
  // Enter held starts the game; the repeats that reach the play screen mean nothing.
  d.held("\r", 40, 33).until_input().then([] {
    EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0);
    EXPECT_EQ(ScriptedGame::game().TARGET, 17);
  });
  EXPECT_EQ(d.run(), 0);
  EXPECT_TRUE(d.closed);
}

TEST(InputEdges, DigitHeldThroughCameraMovesAndTheComputersRod) {
  ScriptedGame d;
  // Target 100: every move moves the camera; the 5 is held for 15 s.
  d.until_options().key("\r").until_input().held("5", 450, 33);
  d.until("the player's turn or the end of the game", [&] {
    return ScriptedGame::showing(SHOWN_OPTIONS) || ScriptedGame::showing(SHOWN_MESSAGE) ||
           (ScriptedGame::showing(SHOWN_PLAY) && ScriptedGame::game().TURN == 0 && d.quietms >= 1200);
  });
  d.then([] {
    const GAMESTATE& g = ScriptedGame::game();
    expect_consistent(g);
    EXPECT_GE(g.MOVECOUNT, 6) << "the held key laid too few rods";
    for (int32_t i = 0; i < g.MOVECOUNT; i += 2) EXPECT_EQ(g.RODS[i], 5) << "player's rod " << i;
  });
  EXPECT_EQ(d.run(), 0);
  EXPECT_TRUE(d.closed);
}

TEST(InputEdges, KeysHeldDuringMessages) {
  ScriptedGame d;
  // Rod 5 switched off: a held 5 brings the refusal again and again.
  d.until_options().key("5").wait(100).key("\r").until_input();
  d.held("5", 40, 33).wait(500).then_steps([](ScriptedGame& more) {
    if (ScriptedGame::showing(SHOWN_MESSAGE)) more.key("a").wait(200);
  });
  d.until_input().then([] { EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0); });
  // Esc held: the give-up question comes and its Esc answers no, again and again.
  d.held("\x1B", 40, 33).wait(500).then_steps([](ScriptedGame& more) {
    if (ScriptedGame::showing(SHOWN_MESSAGE)) more.key("n").wait(200);
  });
  d.until_input().then([] { EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0); });
  // S held on a notice: the first closes it, the rest mean nothing in play.
  d.key("x").until_message().held("s", 40, 33).until_input().then([] {
    EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0);
    EXPECT_TRUE(ScriptedGame::showing(SHOWN_PLAY));
  });
  d.key("3").until("the computer's answer", [] { return ScriptedGame::game().MOVECOUNT >= 2; }).until_input().then([] {
    EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 2);
    EXPECT_EQ(ScriptedGame::game().RODS[0], 3);
    expect_consistent(ScriptedGame::game());
  });
  // A key held on the closing page: it closes 5 s after it was shown.
  int64_t shown = 0;
  d.key("\x1B").until_message().key("s").until_options();
  d.key("\x1B").until_message().key("s");
  d.until("the closing page", [] { return ScriptedGame::showing(SHOWN_INFO); }).then([&] { shown = headless_now_ms(); });
  d.held("a", 300, 33);
  EXPECT_EQ(d.run(), 0);
  EXPECT_FALSE(d.closed) << "the program did not end on the closing page";
  // The page is seen at its first look at the input, 20 ms after it was drawn.
  EXPECT_GE(headless_now_ms() - shown, 4980);
  EXPECT_LE(headless_now_ms() - shown, 5100);
}

TEST(InputEdges, BorderPixelsOfTheOptionsElements) {
  ScriptedGame d;
  std::map<int32_t, Bytes> look;  // the page with each element under the pointer (0: none)
  // Every element hovered once first: the buttons keep a few pixels of their
  // hover look (see PointerOutsideTheWindowOnEveryScreen).
  d.until_options();
  for (const Element& e : option_elements()) d.mouse(e.box.xm(), e.box.ym()).wait(60);
  d.mouse(NEUTRAL_X, NEUTRAL_Y).wait(60).then([&] { look[0] = page(); });
  for (const Element& e : option_elements())
    d.mouse(e.box.xm(), e.box.ym()).wait(60).then([&look, e] { look[e.code] = page(); });
  d.mouse(NEUTRAL_X, NEUTRAL_Y).wait(60).then([&] { EXPECT_TRUE(page() == look[0]); });
  // Hover: each probe shows the look of the element that holds it.
  for (const Element& e : option_elements()) {
    for (const Probe& p : border_probes(e.box)) {
      const int32_t expected = option_element_at(p.x, p.y);
      if (p.inside) {
        EXPECT_EQ(expected, e.code);
      }
      d.mouse(p.x, p.y).wait(60).then([&look, e, p, expected] {
        EXPECT_TRUE(page() == look[expected])
            << "element " << e.code << ", " << p.where << " (" << p.x << ", " << p.y << "): expected the look of "
            << expected;
      });
      d.mouse(NEUTRAL_X, NEUTRAL_Y).wait(60).then([&look, e, p] {
        EXPECT_TRUE(page() == look[0]) << "element " << e.code << " keeps a look after " << p.where;
      });
    }
  }
  // Presses: inside they act, beside they do nothing. Arrows from target 50.
  d.key("\xFFP").key("\xFFP").key("\xFFP").key("\xFFP").key("\xFFP").wait(300);
  for (const Element& e : option_elements()) {
    for (const Probe& p : border_probes(e.box)) {
      const int32_t at = option_element_at(p.x, p.y);
      if (!p.inside && at != 0) continue;  // beside it lies its neighbour
      struct Before {
        uint16_t rods;
        int32_t target;
        int32_t starter;
      };
      auto before = std::make_shared<Before>();
      d.then([before] {
        const GAMESTATE& g = ScriptedGame::game();
        *before = {g.VALIDRODS, g.TARGET, g.STARTER};
      });
      d.click(p.x, p.y).mouse(NEUTRAL_X, NEUTRAL_Y);
      const std::string where = "element " + std::to_string(e.code) + ", " + p.where;
      if (!p.inside) {
        d.wait(300).then([before, where] {
          const GAMESTATE& g = ScriptedGame::game();
          EXPECT_TRUE(ScriptedGame::showing(SHOWN_OPTIONS)) << where;
          EXPECT_EQ(g.VALIDRODS, before->rods) << where;
          EXPECT_EQ(g.TARGET, before->target) << where;
          EXPECT_EQ(g.STARTER, before->starter) << where;
        });
        continue;
      }
      const int32_t code = e.code;
      if (code <= 10) {
        d.wait(100).then([before, where, code] {
          EXPECT_EQ(ScriptedGame::game().VALIDRODS, before->rods ^ (1u << code)) << where;
        });
      } else if (code <= 16) {
        const int32_t step = code == 13 ? 10 : code == 14 ? -10 : code == 15 ? 1 : -1;
        d.wait(100).then([before, where, step] { EXPECT_EQ(ScriptedGame::game().TARGET, before->target + step) << where; });
        d.key(step > 0 ? (step == 10 ? "\xFFP" : "\xFFK") : (step == -10 ? "\xFFH" : "\xFFM")).wait(100);
      } else if (code <= 18) {
        d.wait(100).then([where, code] { EXPECT_EQ(ScriptedGame::game().STARTER, code - 17) << where; });
        d.key(code == 17 ? "c" : "j").wait(100);
      } else if (code == 19) {
        d.until("an information page after " + where, [] { return ScriptedGame::showing(SHOWN_INFO); });
        d.key("a").wait(600).key("a").wait(600).key("a").until_options();
      } else if (code == 20) {
        d.until("the game after " + where, [] { return ScriptedGame::showing(SHOWN_PLAY); });
        d.until_input().key("\x1B").until_message().key("s").until_options();
      } else {
        d.until_message().then([where] { EXPECT_EQ(run_report.message, &MSGQUIT) << where; });
        d.key("n").until_options();
      }
    }
  }
  EXPECT_EQ(d.run(), 0);
  EXPECT_TRUE(d.closed);
}

TEST(InputEdges, BorderPixelsOfThePlayButtonsAndChoiceRods) {
  ScriptedGame d;
  Bytes baseline, basepalette;
  std::map<int32_t, Box> boxes;
  std::map<int32_t, Bytes> litpalette;  // the palette with each choice rod under the pointer
  d.until_options().key("\r").until_input();
  d.mouse(TIE_BOX.xm(), TIE_BOX.ym()).wait(50).mouse(QUIT_BOX.xm(), QUIT_BOX.ym()).wait(50);
  d.mouse(NEUTRAL_X, NEUTRAL_Y).wait(50).then([&] {
    baseline = page();
    basepalette = palette();
    boxes = choice_boxes();
    EXPECT_EQ(boxes.size(), 11u);
  });
  // The buttons: hover looks exactly over their boxes.
  for (const Box& b : {TIE_BOX, QUIT_BOX}) {
    for (const Probe& p : border_probes(b)) {
      d.mouse(p.x, p.y).wait(30).then([&baseline, p] {
        EXPECT_EQ(page() != baseline, p.inside) << p.where << " (" << p.x << ", " << p.y << ")";
      });
      d.mouse(NEUTRAL_X, NEUTRAL_Y).wait(30).then([&baseline, p] {
        EXPECT_TRUE(page() == baseline) << "a hover look stays after " << p.where;
      });
    }
  }
  // The choice rods: each lights up its value exactly over its box.
  d.then_steps([&](ScriptedGame& more) {
    // Boxes overlap (a rod's box holds part of its neighbour's picture): each
    // rod is lit at a pixel where it is the one hit.
    for (const auto& [j, b] : boxes) {
      const int32_t index = j;
      bool found = false;
      for (int32_t y = b.y1; y <= b.y2 && !found; ++y)
        for (int32_t x = b.x1; x <= b.x2 && !found; ++x)
          if (choice_at(boxes, x, y) == j) {
            found = true;
            more.mouse(x, y).wait(30).then([&litpalette, index] { litpalette[index] = palette(); });
          }
    }
    more.mouse(NEUTRAL_X, NEUTRAL_Y).wait(30);
    for (const auto& [j, b] : boxes) {
      for (const Probe& p : border_probes(b)) {
        const int32_t expected = choice_at(boxes, p.x, p.y);
        const int32_t index = j;
        more.mouse(p.x, p.y).wait(30).then([&, index, p, expected] {
          const Bytes& want = expected < 0 ? basepalette : litpalette[expected];
          EXPECT_TRUE(palette() == want) << "rod " << index << ", " << p.where << " (" << p.x << ", " << p.y
                                         << "): expected rod " << expected << " lit";
        });
        more.mouse(NEUTRAL_X, NEUTRAL_Y).wait(30).then([&, index, p] {
          EXPECT_TRUE(palette() == basepalette) << "rod " << index << " stays lit after " << p.where;
        });
      }
    }
  });
  // Presses beside the buttons and the rods do nothing.
  d.then_steps([&](ScriptedGame& more) {
    std::vector<std::pair<int32_t, int32_t>> beside;
    for (const Box& b : {TIE_BOX, QUIT_BOX})
      for (const Probe& p : border_probes(b))
        if (!p.inside && choice_at(boxes, p.x, p.y) < 0) beside.emplace_back(p.x, p.y);
    for (const auto& [j, b] : boxes)
      for (const Probe& p : border_probes(b))
        if (!p.inside && choice_at(boxes, p.x, p.y) < 0 && !in_box(TIE_BOX, p.x, p.y) && !in_box(QUIT_BOX, p.x, p.y))
          beside.emplace_back(p.x, p.y);
    for (const auto& [x, y] : beside) {
      more.click(x, y).mouse(NEUTRAL_X, NEUTRAL_Y).wait(200).then([x = x, y = y] {
        EXPECT_TRUE(ScriptedGame::showing(SHOWN_PLAY)) << "a press at (" << x << ", " << y << ")";
        EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 0) << "a press at (" << x << ", " << y << ")";
      });
    }
  });
  // Presses on the first and last pixels of the buttons act.
  for (const Probe& p : border_probes(TIE_BOX)) {
    if (!p.inside) continue;
    d.click(p.x, p.y).mouse(NEUTRAL_X, NEUTRAL_Y).until_message().then([p] {
      EXPECT_EQ(run_report.message, &MSGNOTNOW) << p.where;
    });
    d.key("a").until_input();
  }
  for (const Probe& p : border_probes(QUIT_BOX)) {
    if (!p.inside) continue;
    d.click(p.x, p.y).mouse(NEUTRAL_X, NEUTRAL_Y).until_message().then([p] {
      EXPECT_EQ(run_report.message, &MSGGIVEUP) << p.where;
    });
    d.key("n").until_input();
  }
  // Presses on the first and last pixels of a choice rod lay it: one corner
  // a turn, on the rod of value 2 of the window.
  for (int corner = 0; corner < 4; ++corner) {
    d.then_steps([corner](ScriptedGame& more) {
      // A rod whose corner is its own (not a button's, not another rod's).
      const std::map<int32_t, Box> now = choice_boxes();
      int32_t x = -1, y = -1, rod = -1;
      for (const auto& [j, b] : now) {
        x = corner % 2 == 0 ? b.x1 : b.x2;
        y = corner < 2 ? b.y1 : b.y2;
        if (choice_at(now, x, y) == j) {
          rod = j;
          break;
        }
      }
      ASSERT_GE(rod, 0) << "no rod with a corner of its own";
      const int32_t moves = ScriptedGame::game().MOVECOUNT;
      const int32_t value = rod % 10 + 1;
      more.click(x, y).mouse(NEUTRAL_X, NEUTRAL_Y).wait(100).then([moves, value, x, y] {
        const GAMESTATE& g = ScriptedGame::game();
        ASSERT_EQ(g.MOVECOUNT, moves + 1) << "a press at (" << x << ", " << y << ") laid no rod";
        EXPECT_EQ(g.RODS[moves], value);
      });
      more.until_input();
    });
  }
  EXPECT_EQ(d.run(), 0);
  EXPECT_TRUE(d.closed);
}

TEST(InputEdges, BorderPixelsOfTheAnswerButtons) {
  ScriptedGame d;
  d.until_options().key("\r").until_input();
  for (const Box& b : {YES_BOX, NO_BOX}) {
    const bool yes = b.x1 == YES_BOX.x1;
    for (const Probe& p : border_probes(b)) {
      d.key("\x1B").until_message().click(p.x, p.y).mouse(NEUTRAL_X, NEUTRAL_Y).wait(200);
      if (!p.inside) {
        // Beside a button: the question stays.
        d.then([p] {
          EXPECT_TRUE(ScriptedGame::showing(SHOWN_MESSAGE)) << p.where << " (" << p.x << ", " << p.y << ")";
        });
        d.key("n").until_input();
      } else if (yes) {
        d.until("the options screen after yes, " + std::string(p.where), [] {
          return ScriptedGame::showing(SHOWN_OPTIONS);
        });
        d.wait(100).key("\r").until_input();
      } else {
        d.then([p] {
          EXPECT_TRUE(ScriptedGame::showing(SHOWN_PLAY)) << "no, " << p.where;
        });
        d.until_input();
      }
    }
  }
  EXPECT_EQ(d.run(), 0);
  EXPECT_TRUE(d.closed);
}

TEST(InputEdges, AClickSoonAfterTheTurnBeginsLaysItsRod) {
  // Target 100: 9 and the computer's 3 keep the camera still; 5 and the
  // computer's 6 move it, so the turn begins with the last frame of the move.
  // A click on rod 4 50 ms after that frame lays it.
  ScriptedGame d;
  d.until_options().key("\r").until_input().key("9").wait(100).until_input().key("5");
  d.until("the computer's rod laid and nothing drawn for 50 ms", [&] {
    return ScriptedGame::game().MOVECOUNT == 4 && ScriptedGame::game().TURN == 0 && d.quietms >= 50;
  });
  d.mouse(475, 470).down().wait(40).up().wait(40).out();
  d.until("the player's rod laid", [] { return ScriptedGame::game().MOVECOUNT >= 5; }, 1000);
  d.then([] { EXPECT_EQ(ScriptedGame::game().RODS[4], 4) << "rod 4, at total 23"; });
  EXPECT_EQ(d.run(), 0);
}
