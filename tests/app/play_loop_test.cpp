// Whole games played through the headless backend: a script of keys and
// mouse actions, each waiting for a point of the game, and a record of every
// message box that opened.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/play_loop.h"
#include "assets/fonts.h"
#include "game/evaluation.h"
#include "scene/floor.h"
#include "scene/projection.h"
#include "scene/rods.h"
#include "scene/scene_frame.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "surface/random.h"
#include "tests/support/run.h"

namespace {

using Lines = std::vector<std::string>;
using Rgb = std::array<int, 3>;

Rgb palette_entry(int i) {
  const uint8_t* p = palette_data();
  return {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
}

Rgb rgb(uint32_t c) { return {int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255)}; }

uint8_t screen_at(int x, int y) { return IMAGEINFO(screen_page()).pixels[y * 800 + x]; }

// A message box as the player saw it.
struct Seen {
  Lines lines;
  Rgb colour;         // UI ramp entry 7 is the message colour itself
  bool question;      // "S\" and "No" rather than "Aceptar"
  int64_t sinceframe; // virtual ms since the last whole frame reached the screen
  int64_t sincemove;  // virtual ms since the last rod was laid
  int movecount;
};

struct Step {
  std::function<bool()> ready;
  int64_t delay;
  std::function<void()> act;
};

class PlayLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    RANDOMSEED(7.0);
    view.SCALE = PLAY_SCALE;
  }

  void TearDown() override { headless_set_driver(nullptr); }

  // A new game with this configuration, and rods already laid before it.
  void configure(std::initializer_list<int> rods, int target, int starter, std::initializer_list<int> laid = {}) {
    game.VALIDRODS = 0;
    for (int v : rods) game.VALIDRODS = static_cast<uint16_t>(game.VALIDRODS | (1u << v));
    game.TARGET = static_cast<uint8_t>(target);
    game.STARTER = static_cast<uint8_t>(starter);
    ASSERT_EQ(SETUPEVAL(game), 0);
    NEWGAME(game);
    for (int v : laid) LAYROD(v, game, 16 * v);
    game.LOOKAT = clamp_look_at(total(), game.TARGET);
    messages.clear();
    steps.clear();
  }

  void configure_ones(std::initializer_list<int> rods, int starter, int ones) {
    configure(rods, 100, starter);
    for (int i = 0; i < ones; ++i) LAYROD(1, game, 16);
    game.LOOKAT = clamp_look_at(total(), game.TARGET);
  }

  int total() const { return game.TOTALS[game.MOVECOUNT]; }

  // The first frame, as the main loop draws it, then the game.
  void play(int64_t limitms = 120000) {
    draw_scene_frame(run.frame, run.texture, run.font, game, view);
    run_report.screen = SHOWN_NONE;
    run_report.message = nullptr;
    start = headless_now_ms();
    lastframes = headless_frames();
    lastframetime = start;
    lastmoves = game.MOVECOUNT;
    lastmovetime = start;
    next = 0;
    armed = -1;
    timedout = false;
    inmessage = false;
    lastrescue = 0;
    headless_set_driver([this, limitms](int64_t now) { drive(now, limitms); });
    play_game(run.frame, run.texture, run.font, game, view);
    headless_set_driver(nullptr);
    EXPECT_FALSE(timedout) << "the script got stuck at step " << next;
    EXPECT_EQ(next, steps.size()) << "the game ended before the script did";
  }

  void drive(int64_t now, int64_t limitms) {
    if (headless_frames() != lastframes) {
      lastframes = headless_frames();
      lastframetime = now;
    }
    if (game.MOVECOUNT != lastmoves) {
      lastmoves = game.MOVECOUNT;
      lastmovetime = now;
    }
    const bool open = run_report.screen == SHOWN_MESSAGE;
    if (open && !inmessage) {
      const TextList& lines = *run_report.message;
      messages.push_back(Seen{lines.items, palette_entry(7), screen_at(273, 373) == 255, now - lastframetime,
                              now - lastmovetime, game.MOVECOUNT});
    }
    inmessage = open;
    if (now - start > limitms) {
      // Stuck: give up (or close whatever is open) so the test can report it.
      timedout = true;
      if (now - lastrescue >= 200) {
        headless_key(open ? "S" : std::string(1, KEY_ESC));
        lastrescue = now;
      }
      return;
    }
    while (next < steps.size()) {
      Step& s = steps[next];
      if (armed < 0) {
        if (!s.ready()) return;
        armed = now + s.delay;
      }
      if (now < armed) return;
      s.act();
      ++next;
      armed = -1;
    }
  }

  // Script helpers. A player's turn is waited for by its move count; the
  // delay lets the computer's camera move or pause end first.
  std::function<bool()> player_turn(int moves) {
    return [this, moves] { return game.MOVECOUNT == moves && game.TURN == 0 && run_report.screen == SHOWN_PLAY; };
  }
  std::function<bool()> message_open(size_t index) {
    return [this, index] { return messages.size() > index && run_report.screen == SHOWN_MESSAGE; };
  }
  static std::function<bool()> at_once() {
    return [] { return true; };
  }
  static std::function<void()> key(const std::string& k) {
    return [k] { headless_key(k); };
  }
  static std::function<void()> mouse(int x, int y, int buttons) {
    return [=] { headless_mouse(x, y, buttons); };
  }

  void key_on_turn(int moves, const std::string& k) { steps.push_back({player_turn(moves), 3000, key(k)}); }
  void answer(size_t index, const std::string& k) { steps.push_back({message_open(index), 100, key(k)}); }
  // Press at (x, y) on the player's turn, release at (rx, ry).
  void press_on_turn(int moves, int x, int y, int rx, int ry) {
    steps.push_back({player_turn(moves), 3000, mouse(x, y, 0)});
    steps.push_back({at_once(), 50, mouse(x, y, 1)});
    steps.push_back({at_once(), 60, mouse(rx, ry, 0)});
  }
  void press_in_message(size_t index, int x, int y) {
    steps.push_back({message_open(index), 100, mouse(x, y, 1)});
    steps.push_back({at_once(), 60, mouse(x, y, 0)});
  }

  // Screen position of the middle of choice rod j's footprint, in the view
  // the camera has at the total.
  std::array<int, 2> choice_rod_point(int j, int at_total) const {
    SCREENDEF v = view;
    DEFINESCREEN(clamp_look_at(at_total, game.TARGET), game.TARGET, v);
    const int value = j % 10 + 1;
    int32_t sx = 0, sy = 0;
    FLOORTOSCREENCOORD(2 * j + 1.5, -15.0 + value / 2.0, v, sx, sy);
    return {sx, sy};
  }

  // A point inside choice rod j's box, near its top-left corner: the box runs
  // from the near-left floor corner to one unit above the far-right one.
  std::array<int, 2> choice_box_point(int j, int at_total) const {
    SCREENDEF v = view;
    DEFINESCREEN(clamp_look_at(at_total, game.TARGET), game.TARGET, v);
    int32_t ax = 0, ay = 0, bx = 0, by = 0;
    FLOORTOSCREENCOORD(2 * j + 1, -15.0, v, ax, ay);
    FLOORTOSCREENCOORD(2 * j + 2, -15.0 + (j % 10 + 1), v, bx, by);
    return {ax + 5, by - static_cast<int>(v.SCALE) + 10};
  }

  std::vector<int> rods() const {
    std::vector<int> out;
    for (int k = 0; k < game.MOVECOUNT; ++k) out.push_back(game.RODS[k]);
    return out;
  }
  std::vector<int> totals() const {
    std::vector<int> out;
    for (int k = 0; k <= game.MOVECOUNT; ++k) out.push_back(game.TOTALS[k]);
    return out;
  }

  GameRun& run = test_run();
  GAMESTATE& game = run.game;
  SCREENDEF& view = run.view;
  std::vector<Step> steps;
  std::vector<Seen> messages;
  size_t next = 0;
  int64_t armed = -1;
  int64_t start = 0;
  int64_t lastframes = 0;
  int64_t lastframetime = 0;
  int lastmoves = 0;
  int64_t lastmovetime = 0;
  int64_t lastrescue = 0;
  bool inmessage = false;
  bool timedout = false;
};

const Lines PLAYER_WINS = {"   La computadora dice:", "", "   Me has ganado."};
const Lines COMPUTER_WINS = {"   La computadora dice:", "", "|||  H E   G A N A D O  !!!"};
const Lines TIE = {"   La computadora dice:", "", "Bien, tenemos un empate."};
const Lines NOT_NOW = {"   La computadora dice:", "", "Ahora no puedes hacer esto.", "   Todav\\a puedes hacer",
                      "    una jugada v[lida."};
const Lines BAD_ROD = {"     E R R O R:", "", "Este n_mero no es v[lido."};
const Lines GIVE_UP = {"\x7F" "Seguro que quieres rendirte?"};

Lines overshoot(int target) {
  return {"   La computadora dice:", "", "Perdiste, porque", "sobrepasaste el " + std::to_string(target)};
}
Lines cannotreach(int target) {
  return {"   La computadora dice:", "", "Imposible alcanzar " + std::to_string(target), "   Esto es un empate."};
}

}  // namespace

TEST_F(PlayLoop, PlayerWinsWithAPressAndAKey) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 0);
  // Choice rod 8 (value 9) pressed, released over empty floor: still a 9.
  const auto rod9 = choice_rod_point(8, 0);
  press_on_turn(0, rod9[0], rod9[1], 400, 80);
  steps.push_back({player_turn(2), 0, [this] { EXPECT_EQ(run_report.screen, SHOWN_PLAY); }});
  key_on_turn(2, "1");
  answer(0, std::string(1, KEY_ENTER));
  play();
  EXPECT_EQ(rods(), (std::vector<int>{9, 10, 1}));
  EXPECT_EQ(totals(), (std::vector<int>{0, 9, 19, 20}));
  EXPECT_EQ(game.TURN, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, PLAYER_WINS);
  EXPECT_EQ(messages[0].colour, rgb(0x20FF20));
  EXPECT_FALSE(messages[0].question);
  EXPECT_EQ(messages[0].sinceframe, 1500);
  // The play screen is reported again once the message has closed.
  EXPECT_EQ(run_report.screen, SHOWN_PLAY);
  EXPECT_EQ(palette_entry(7), rgb(0x40A0FF));
}

TEST_F(PlayLoop, PlayerOvershootsAfterAPause) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 0);
  key_on_turn(0, "9");
  key_on_turn(2, "5");
  answer(0, "a");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{9, 10, 5}));
  EXPECT_EQ(totals(), (std::vector<int>{0, 9, 19, 24}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, overshoot(20));
  EXPECT_EQ(messages[0].colour, rgb(0xE00000));
  EXPECT_EQ(messages[0].sinceframe, 1500);

  // The composed line follows the target, with no space added.
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 57, 0, {10, 10, 10, 10, 10, 2});
  key_on_turn(6, "9");
  answer(0, "a");
  play();
  EXPECT_EQ(game.MOVECOUNT, 7);
  EXPECT_EQ(total(), 61);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, overshoot(57));
  EXPECT_EQ(messages[0].lines[3], "sobrepasaste el 57");
}

TEST_F(PlayLoop, ComputerWins) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 0);
  key_on_turn(0, "1");
  key_on_turn(2, "1");
  answer(0, " ");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{1, 8, 1, 10}));
  EXPECT_EQ(totals(), (std::vector<int>{0, 1, 9, 10, 20}));
  EXPECT_EQ(game.TURN, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, COMPUTER_WINS);
  EXPECT_EQ(messages[0].colour, rgb(0xE00000));
  // The camera's pause of about a second, then the 1.5 s before the message;
  // the rod is first seen laid after the frame that shows it, 16 ms in.
  EXPECT_GE(messages[0].sincemove, 2500 - 16);
}

TEST_F(PlayLoop, ComputerWithNoRodThatFitsDeclaresATie) {
  configure({3, 5}, 20, 0);
  key_on_turn(0, "5");
  key_on_turn(2, "5");
  key_on_turn(4, "3");
  answer(0, "a");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{5, 3, 5, 3, 3}));
  EXPECT_EQ(total(), 19);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, cannotreach(20));
  EXPECT_EQ(messages[0].colour, rgb(0x200080));
  EXPECT_EQ(messages[0].sinceframe, 1500);

  // Entered at the computer's turn with nothing that fits: the message comes at once.
  configure({3, 5}, 57, 0, {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
  ASSERT_EQ(game.TURN, 1);
  answer(0, "a");
  play();
  EXPECT_EQ(game.MOVECOUNT, 11);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, cannotreach(57));
  EXPECT_EQ(messages[0].lines[2], "Imposible alcanzar 57");
}

TEST_F(PlayLoop, TieClaimRefusedWhileARodFitsThenAccepted) {
  // Total 96 with {3, 5} and target 100: 3 still fits.
  configure({3, 5}, 100, 0, {5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3});
  ASSERT_EQ(total(), 96);
  ASSERT_EQ(game.TURN, 0);
  key_on_turn(24, "x");
  answer(0, "a");
  press_on_turn(24, 140, 540, 140, 540);  // "Es empate"
  answer(1, "a");
  key_on_turn(24, "3");
  answer(2, "a");
  play();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].lines, NOT_NOW);
  EXPECT_EQ(messages[0].colour, rgb(0xE00000));
  EXPECT_EQ(messages[1].lines, NOT_NOW);
  EXPECT_EQ(messages[1].movecount, 24);
  // The turn went on: the 3 was laid, and then the computer had nothing that fits.
  EXPECT_EQ(messages[2].lines, cannotreach(100));
  EXPECT_EQ(game.MOVECOUNT, 25);
  EXPECT_EQ(total(), 99);

  // Total 98: nothing fits, the claim ends the game.
  configure({3, 5}, 100, 0, {5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 3, 5, 5});
  ASSERT_EQ(total(), 98);
  key_on_turn(24, "X");
  answer(0, "a");
  play();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, TIE);
  EXPECT_EQ(messages[0].colour, rgb(0x200080));
  EXPECT_EQ(game.MOVECOUNT, 24);
}

TEST_F(PlayLoop, BadRodKeysAreRefusedAndOthersIgnored) {
  configure({3, 5}, 20, 0);
  key_on_turn(0, "4");
  answer(0, "a");
  key_on_turn(0, "0");  // 10 is not in the set
  answer(1, "a");
  key_on_turn(0, ":");
  answer(2, "a");
  key_on_turn(0, "a");
  key_on_turn(0, KEY_LEFT);
  key_on_turn(0, ";");
  key_on_turn(0, "/");
  key_on_turn(0, "3");
  key_on_turn(2, std::string(1, KEY_ESC));
  answer(3, "s");
  play();
  ASSERT_EQ(messages.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(messages[i].lines, BAD_ROD);
    EXPECT_EQ(messages[i].colour, rgb(0xE00000));
    EXPECT_EQ(messages[i].movecount, 0);
  }
  EXPECT_EQ(messages[3].lines, GIVE_UP);
  EXPECT_EQ(game.MOVECOUNT, 2);
  EXPECT_EQ(game.RODS[0], 3);
}

TEST_F(PlayLoop, ZeroAndColonLayATen) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 24, 0);
  key_on_turn(0, ":");
  key_on_turn(2, "0");
  answer(0, "a");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{10, 3, 10, 1}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, COMPUTER_WINS);
}

TEST_F(PlayLoop, GivingUpAskedAndAnswered) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 0);
  key_on_turn(0, std::string(1, KEY_ESC));
  answer(0, "n");
  press_on_turn(0, 690, 540, 690, 540);  // "Salir"
  press_in_message(1, 300, 390);         // "S\"
  play();
  ASSERT_EQ(messages.size(), 2u);
  for (const Seen& m : messages) {
    EXPECT_EQ(m.lines, GIVE_UP);
    EXPECT_TRUE(m.question);
    EXPECT_EQ(m.colour, rgb(0xC0C000));
  }
  EXPECT_EQ(game.MOVECOUNT, 0);
}

TEST_F(PlayLoop, ComputerStartsBeforeAnyInputIsRead) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 1);
  ASSERT_EQ(game.TURN, 1);
  // A key already waiting does not stop the computer's first rod.
  headless_key("4");
  key_on_turn(1, std::string(1, KEY_ESC));
  answer(0, "S");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{9}));
  EXPECT_EQ(totals(), (std::vector<int>{0, 9}));
}

TEST_F(PlayLoop, KeysTypedDuringTheComputersMoveAreDropped) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 24, 1);
  // While the rod flies in (at least 0.2 s), and during the camera's pause.
  steps.push_back({at_once(), 100, key("3")});
  steps.push_back({player_turn(1), 0, key("7")});
  steps.push_back({player_turn(1), 3000, [this] {
                     EXPECT_EQ(game.MOVECOUNT, 1);
                     EXPECT_TRUE(messages.empty());
                   }});
  key_on_turn(1, "2");
  key_on_turn(3, std::string(1, KEY_ESC));
  answer(0, "S");
  play();
  EXPECT_EQ(rods(), (std::vector<int>{2, 2, 9}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, GIVE_UP);
}

TEST_F(PlayLoop, HundredthRodOfTheComputerWins) {
  configure_ones({1, 2}, 0, 99);
  ASSERT_EQ(game.TURN, 1);
  ASSERT_EQ(total(), 99);
  answer(0, "a");
  play();
  EXPECT_EQ(game.MOVECOUNT, 100);
  EXPECT_EQ(game.RODS[99], 1);
  EXPECT_EQ(game.TOTALS[100], 100);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, COMPUTER_WINS);
}

TEST_F(PlayLoop, HundredthRodOfThePlayerWinsOrOvershoots) {
  configure_ones({1, 2}, 1, 99);
  ASSERT_EQ(game.TURN, 0);
  key_on_turn(99, "1");
  answer(0, "a");
  play();
  EXPECT_EQ(game.MOVECOUNT, 100);
  EXPECT_EQ(game.TOTALS[100], 100);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, PLAYER_WINS);

  configure_ones({1, 2}, 1, 99);
  key_on_turn(99, "2");
  answer(0, "a");
  play();
  EXPECT_EQ(game.TOTALS[100], 101);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, overshoot(100));
}

TEST_F(PlayLoop, AfterTheCameraStaysThePictureMatchesTheHitTest) {
  // 0 -> 1 -> 11 keeps the camera at 12; the window grows to 0..13, so the
  // boxes of rods 11..13 must come from a frame of total 11, not from before.
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 100, 0);
  key_on_turn(0, "1");
  steps.push_back({player_turn(2), 3000, [this] {
                     ASSERT_EQ(total(), 11);
                     // The screen shows the frame of the current total (the
                     // buttons aside).
                     Image fresh = NEWIMAGE(800, 600);
                     SCREENDEF v = view;
                     DEFINESCREEN(game.LOOKAT, game.TARGET, v);
                     DRAWBG(fresh, run.texture, run.font, game.TARGET, v);
                     DRAWNUMBERLINE(fresh, game.TARGET, v, INK_COLOUR);
                     DRAWRODS(fresh, game, v);
                     const uint8_t* a = IMAGEINFO(fresh).pixels;
                     const uint8_t* b = IMAGEINFO(screen_page()).pixels;
                     int differing = 0;
                     for (int y = 0; y < 600; ++y)
                       for (int x = 0; x < 800; ++x) {
                         const bool button = y >= 500 && y < 580 && ((x >= 24 && x < 264) || (x >= 620 && x < 760));
                         if (!button && a[y * 800 + x] != b[y * 800 + x]) ++differing;
                       }
                     EXPECT_EQ(differing, 0);
                     FREEIMAGE(fresh);
                   }});
  // Rod 13 stands partly beyond the right edge: press the part of its box
  // that is on the screen and clear of "Salir".
  const auto rod13 = choice_box_point(13, 11);
  ASSERT_GE(rod13[0], 760);
  ASSERT_LT(rod13[0], 800);
  press_on_turn(2, rod13[0], rod13[1], rod13[0], rod13[1]);
  key_on_turn(4, std::string(1, KEY_ESC));
  answer(0, "S");
  play();
  ASSERT_GE(game.MOVECOUNT, 3);
  EXPECT_EQ(game.RODS[0], 1);
  EXPECT_EQ(game.RODS[1], 10);
  EXPECT_EQ(game.RODS[2], 4);  // choice rod 13, not a stale box
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lines, GIVE_UP);
}

TEST_F(PlayLoop, HoverLightsRodsAndButtonsAndEmptyFloorDoesNothing) {
  configure({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 20, 0);
  const auto rod2 = choice_rod_point(1, 0);
  // A pixel where the tie button's two looks differ.
  int bx = -1, by = -1;
  {
    const ImageInfo n = IMAGEINFO(WIDEBUTTON), h = IMAGEINFO(WIDEBUTTONHOVER);
    for (int y = 0; y < 80 && bx < 0; ++y)
      for (int x = 0; x < 240 && bx < 0; ++x)
        if (n.pixels[y * 240 + x] != 0 && h.pixels[y * 240 + x] != 0 && n.pixels[y * 240 + x] != h.pixels[y * 240 + x]
            && y >= 64) {
          bx = x;
          by = y;
        }
  }
  ASSERT_GE(bx, 0);
  const uint8_t normal = IMAGEINFO(WIDEBUTTON).pixels[by * 240 + bx];
  const uint8_t hover = IMAGEINFO(WIDEBUTTONHOVER).pixels[by * 240 + bx];

  steps.push_back({player_turn(0), 500, mouse(rod2[0], rod2[1], 0)});
  steps.push_back({at_once(), 50, [] {
                     EXPECT_EQ(palette_entry(32), (Rgb{127, 40, 40}));
                     EXPECT_EQ(palette_entry(47), (Rgb{246, 77, 77}));
                   }});
  steps.push_back({at_once(), 0, mouse(100, 540, 0)});
  steps.push_back({at_once(), 50, [=] {
                     EXPECT_EQ(palette_entry(32), (Rgb{127, 0, 0}));
                     EXPECT_EQ(screen_at(24 + bx, 500 + by), hover);
                   }});
  steps.push_back({at_once(), 0, mouse(400, 80, 0)});
  steps.push_back({at_once(), 50, [=] { EXPECT_EQ(screen_at(24 + bx, 500 + by), normal); }});
  // Presses on empty floor and outside the window do nothing.
  steps.push_back({at_once(), 0, mouse(400, 80, 1)});
  steps.push_back({at_once(), 60, mouse(400, 80, 0)});
  steps.push_back({at_once(), 0, mouse(-1, -1, -1)});
  steps.push_back({at_once(), 300, [this] {
                     EXPECT_EQ(game.MOVECOUNT, 0);
                     EXPECT_TRUE(messages.empty());
                   }});
  // A press on rod 2 lays it and takes the highlight away.
  steps.push_back({at_once(), 0, mouse(rod2[0], rod2[1], 0)});
  steps.push_back({at_once(), 50, mouse(rod2[0], rod2[1], 1)});
  steps.push_back({at_once(), 60, mouse(400, 80, 0)});
  steps.push_back({player_turn(2), 100, [] { EXPECT_EQ(palette_entry(32), (Rgb{127, 0, 0})); }});
  key_on_turn(2, std::string(1, KEY_ESC));
  answer(0, "S");
  play();
  EXPECT_EQ(game.RODS[0], 2);
}
