#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "assets/fonts.h"
#include "screens/game_buttons.h"
#include "screens/message_box.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "screens/widgets.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "tests/support/run.h"

namespace {

constexpr int W = 800;
constexpr int H = 600;

std::vector<uint8_t> screen_pixels() {
  const ImageInfo info = IMAGEINFO(screen_page());
  return std::vector<uint8_t>(info.pixels, info.pixels + W * H);
}

uint8_t screen_at(int x, int y) { return IMAGEINFO(screen_page()).pixels[y * W + x]; }

std::array<int, 3> palette_entry(int i) {
  const uint8_t* p = palette_data();
  return {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
}

// A busy background, so that a restore that misses a pixel shows.
void paint_background() {
  uint8_t* px = IMAGEINFO(screen_page()).pixels;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) px[y * W + x] = static_cast<uint8_t>((x * 7 + y * 13) % 251 + 1);
}

class MessageBox : public ::testing::Test {
 protected:
  void SetUp() override {
    test_run();
    PALETTE0TO15(0x123456);
    paint_background();
    run_report.screen = SHOWN_PLAY;
    run_report.message = nullptr;
  }
  void TearDown() override { headless_set_driver(nullptr); }

  // Runs the message with a driver that acts once the box is up (the first
  // poll after it was drawn) and may look at the screen while it is open.
  int32_t show(const TextList& lines, uint32_t colour, int32_t kind, std::function<void(int64_t)> act,
               std::function<void()> look = nullptr) {
    // No message comes within a double-click of the click that closed the last.
    WAITMS(QUICK_PRESS_MS);
    const int64_t start = headless_now_ms();
    bool looked = false;
    headless_set_driver([&, start](int64_t now) {
      if (run_report.screen != SHOWN_MESSAGE) return;
      if (!looked && look) {
        look();
        looked = true;
      }
      act(now - start);
      // A message that never closes would hang the test: end it after a minute.
      if (now - start > 60000) headless_key(std::string(1, KEY_ENTER));
    });
    const int32_t result = SHOWMESSAGE(lines, colour, kind);
    headless_set_driver(nullptr);
    EXPECT_LT(headless_now_ms() - start, 60000) << "the message did not close";
    return result;
  }
};

// What the box must look like: the sprite over the old screen, the lines
// 36 pixels apart around y = 242, and the buttons.
std::vector<uint8_t> expected_box(const std::vector<uint8_t>& before, const TextList& lines, bool question) {
  Image ref = NEWIMAGE(W, H);
  std::memcpy(IMAGEINFO(ref).pixels, before.data(), before.size());
  BLITIMAGE(ref, 200, 150, MESSAGEBOX, BLIT_TRANSPARENT);
  const int n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i) DRAWTEXT(ref, 240, static_cast<float>(260 - 18 * n + 36 * i), lines[i], SMALL_FONT);
  auto button = [&](int l, int r, int lx, const char* label) {
    DRAWLINE(ref, l, 370, r, 410, 176, LINE_KIND_FILLED_BOX);
    DRAWLINE(ref, l + 2, 372, r - 2, 408, 255, LINE_KIND_FILLED_BOX);
    DRAWTEXT(ref, lx, 378, label, SMALL_FONT);
  };
  if (question) {
    button(270, 370, 290, "S\\");
    button(430, 530, 450, "No");
  } else {
    button(340, 460, 360, "Aceptar");
  }
  const ImageInfo info = IMAGEINFO(ref);
  std::vector<uint8_t> out(info.pixels, info.pixels + W * H);
  FREEIMAGE(ref);
  return out;
}

void key_once(int64_t since, int64_t at, bool& sent, const std::string& key) {
  if (!sent && since >= at) {
    headless_key(key);
    sent = true;
  }
}

// A press at (x, y) released at (rx, ry) 100 ms later.
std::function<void(int64_t)> click(int x, int y, int rx, int ry, int64_t at = 100) {
  return [=](int64_t since) {
    if (since >= at && since < at + 100)
      headless_mouse(x, y, 1);
    else if (since >= at + 100)
      headless_mouse(rx, ry, 0);
  };
}

}  // namespace

TEST_F(MessageBox, OneLineQuestionLayoutAndEnterAnswersYes) {
  const std::vector<uint8_t> before = screen_pixels();
  const std::vector<uint8_t> want = expected_box(before, MSGGIVEUP, true);
  bool sent = false;
  std::vector<uint8_t> seen;
  std::array<int, 3> ramp7{};
  const TextList* reported = nullptr;
  const int32_t r = show(
      MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, [&](int64_t t) { key_once(t, 100, sent, std::string(1, KEY_ENTER)); },
      [&] {
        seen = screen_pixels();
        ramp7 = palette_entry(7);
        reported = run_report.message;
      });
  EXPECT_EQ(r, 1);
  EXPECT_TRUE(seen == want) << "message box drawn differently";
  // The buttons' light faces, and the single line's band at y = 242.
  EXPECT_EQ(seen[372 * W + 272], 255);
  EXPECT_EQ(seen[408 * W + 528], 255);
  EXPECT_EQ(seen[370 * W + 270], 176);
  EXPECT_EQ(ramp7, (std::array<int, 3>{0xC0, 0xC0, 0x00}));
  EXPECT_EQ(reported, &MSGGIVEUP);
  // Closed: screen, ramp, report all back.
  EXPECT_TRUE(screen_pixels() == before);
  EXPECT_EQ(palette_entry(0), (std::array<int, 3>{8, 20, 31}));
  EXPECT_EQ(palette_entry(7), (std::array<int, 3>{64, 160, 255}));
  EXPECT_EQ(palette_entry(8), (std::array<int, 3>{87, 171, 255}));
  EXPECT_EQ(palette_entry(15), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(run_report.screen, SHOWN_PLAY);
  EXPECT_EQ(run_report.message, nullptr);
}

TEST_F(MessageBox, LinesAreCentredAroundTheMiddleRow) {
  // Five lines at 170, 206, 242, 278, 314; four at 188 ... 296; three at 206 ... 278.
  for (const TextList* list : {&MSGNOTNOW, &MSGTOOFEWRODS, &MSGTIE}) {
    paint_background();
    const std::vector<uint8_t> before = screen_pixels();
    const std::vector<uint8_t> want = expected_box(before, *list, false);
    bool sent = false;
    std::vector<uint8_t> seen;
    show(*list, 0xE00000, MESSAGE_NOTICE, [&](int64_t t) { key_once(t, 50, sent, "q"); },
         [&] { seen = screen_pixels(); });
    EXPECT_TRUE(seen == want) << list->size() << " lines";
    EXPECT_TRUE(screen_pixels() == before);
  }
}

TEST_F(MessageBox, FiveLinesFallInTheirBands) {
  // With the real small font the ink of each line lies in its own 25-pixel band.
  const std::vector<uint8_t> before = screen_pixels();
  bool sent = false;
  std::vector<uint8_t> seen;
  std::vector<uint8_t> bare = expected_box(before, TextList{"", "", "", "", ""}, false);
  show(MSGNOTNOW, 0xE00000, MESSAGE_NOTICE, [&](int64_t t) { key_once(t, 50, sent, "q"); },
       [&] { seen = screen_pixels(); });
  int inked_rows = 0;
  for (int y = 150; y < 370; ++y) {
    bool ink = false;
    for (int x = 240; x < 600; ++x) ink |= seen[y * W + x] != bare[y * W + x];
    if (!ink) continue;
    ++inked_rows;
    bool in_band = false;
    for (int top : {170, 206, 242, 278, 314}) in_band |= y >= top && y < top + 25;
    EXPECT_TRUE(in_band) << "ink on row " << y;
  }
  if (inked_rows == 0) GTEST_SKIP() << "the small font draws no ink yet";
}

TEST_F(MessageBox, QuestionClicks) {
  // Between the buttons: nothing; then a corner of "S\" answers yes.
  int32_t r = show(MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, [](int64_t t) {
    click(400, 390, 400, 390, 100)(t);
    if (t >= 400) click(370, 410, 370, 410, 400)(t);
  });
  EXPECT_EQ(r, 1);
  EXPECT_GE(headless_now_ms(), 10000 + 400);
  // A corner of "No" answers no.
  r = show(MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, click(530, 370, 530, 370));
  EXPECT_EQ(r, 0);
  // Pressed on "S\", released over "No": the press decides.
  r = show(MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, click(300, 390, 480, 390));
  EXPECT_EQ(r, 1);
  // Just outside the buttons does nothing; the No key answers afterwards.
  bool sent = false;
  r = show(MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, [&](int64_t t) {
    if (t < 300) click(371, 390, 371, 390, 50)(t);
    else if (t < 600) click(300, 411, 300, 411, 300)(t);
    key_once(t, 700, sent, "n");
  });
  EXPECT_EQ(r, 0);
  EXPECT_GE(headless_now_ms(), 10000 + 700);
}

TEST_F(MessageBox, QuestionKeys) {
  for (const auto& [key, answer] : std::vector<std::pair<std::string, int>>{
           {"S", 1}, {"s", 1}, {std::string(1, KEY_ENTER), 1}, {"N", 0}, {"n", 0}, {std::string(1, KEY_ESC), 0}}) {
    bool arrow = false, letter = false, sent = false;
    const int64_t start = headless_now_ms();
    // Other keys (an arrow, a letter) leave the question open.
    const int32_t r = show(MSGQUIT, 0xC0C000, MESSAGE_QUESTION, [&](int64_t t) {
      key_once(t, 40, arrow, KEY_LEFT);
      key_once(t, 80, letter, "x");
      key_once(t, 200, sent, key);
    });
    EXPECT_EQ(r, answer) << static_cast<int>(key[0]);
    EXPECT_GE(headless_now_ms() - start, 200);
  }
}

TEST_F(MessageBox, KeysTypedBeforeTheMessageAreDropped) {
  headless_key("s");
  bool sent = false;
  const int64_t start = headless_now_ms();
  const int32_t r = show(MSGGIVEUP, 0xC0C000, MESSAGE_QUESTION, [&](int64_t t) { key_once(t, 500, sent, "n"); });
  EXPECT_EQ(r, 0);
  EXPECT_GE(headless_now_ms() - start, 500);
}

TEST_F(MessageBox, NoticeClosesOnAnyKeyOrClickAnywhere) {
  for (const std::string& key : {std::string(1, KEY_ESC), KEY_DOWN, std::string("z")}) {
    bool sent = false;
    EXPECT_EQ(show(MSGBADROD, 0xE00000, MESSAGE_NOTICE, [&](int64_t t) { key_once(t, 60, sent, key); }), 0);
  }
  const std::vector<uint8_t> before = screen_pixels();
  EXPECT_EQ(show(MSGBADROD, 0xE00000, MESSAGE_NOTICE, click(10, 10, 790, 590)), 0);
  EXPECT_TRUE(screen_pixels() == before);
  // A pointer outside the window is no press.
  bool sent = false;
  const int64_t start = headless_now_ms();
  EXPECT_EQ(show(MSGBADROD, 0xE00000, MESSAGE_NOTICE,
                 [&](int64_t t) {
                   headless_mouse(-1, -1, -1);
                   key_once(t, 300, sent, "q");
                 }),
            0);
  EXPECT_GE(headless_now_ms() - start, 300);
}

TEST_F(MessageBox, OtherKindsAreShownAsNotices) {
  // No caller uses them; they must still close, and draw the notice's button.
  for (int32_t kind : {1, 3, -1}) {
    const std::vector<uint8_t> before = screen_pixels();
    const std::vector<uint8_t> want = expected_box(before, MSGTIE, false);
    bool sent = false;
    std::vector<uint8_t> seen;
    const int32_t r = show(MSGTIE, 0x200080, kind, [&](int64_t t) { key_once(t, 60, sent, "S"); },
                           [&] { seen = screen_pixels(); });
    EXPECT_EQ(r, 0) << kind;
    EXPECT_TRUE(seen == want) << kind;
    EXPECT_TRUE(screen_pixels() == before);
  }
  EXPECT_EQ(show(MSGTIE, 0x200080, 1, click(300, 390, 300, 390)), 0);
}

TEST_F(MessageBox, ReportShowsTheOpenMessageAndPutsBackTheOuterOne) {
  // A message opened while another's lines are reported puts those back.
  run_report.screen = SHOWN_OPTIONS;
  run_report.message = &MSGQUIT;
  bool sent = false;
  ShownScreen during = SHOWN_NONE;
  const TextList* lines = nullptr;
  show(MSGTOOFEWRODS, 0xE00000, MESSAGE_NOTICE, [&](int64_t t) { key_once(t, 60, sent, "a"); },
       [&] {
         during = run_report.screen;
         lines = run_report.message;
       });
  EXPECT_EQ(during, SHOWN_MESSAGE);
  EXPECT_EQ(lines, &MSGTOOFEWRODS);
  EXPECT_EQ(run_report.screen, SHOWN_OPTIONS);
  EXPECT_EQ(run_report.message, &MSGQUIT);
}

TEST_F(MessageBox, GameButtons) {
  const GAMESTATE& game = current_run().game;
  const SCREENDEF& view = current_run().view;
  const std::vector<uint8_t> before = screen_pixels();
  auto expected = [&](Image sprite) {
    Image ref = NEWIMAGE(W, H);
    std::memcpy(IMAGEINFO(ref).pixels, before.data(), before.size());
    BLITIMAGE(ref, 24, 500, sprite, BLIT_TRANSPARENT);
    DRAWTEXT(ref, 64, 528, "Es empate", SMALL_FONT);
    std::vector<uint8_t> out(IMAGEINFO(ref).pixels, IMAGEINFO(ref).pixels + W * H);
    FREEIMAGE(ref);
    return out;
  };
  EXPECT_EQ(DRAWGAMEBTN(TIEBUTTON, 2, game, view), 0);
  EXPECT_TRUE(screen_pixels() == expected(WIDEBUTTONHOVER));
  // The sprite's transparent corner keeps the background.
  EXPECT_EQ(screen_at(24, 500), before[500 * W + 24]);
  paint_background();
  EXPECT_EQ(DRAWGAMEBTN(TIEBUTTON, 0, game, view), 0);
  EXPECT_TRUE(screen_pixels() == expected(WIDEBUTTON));
  paint_background();
  EXPECT_EQ(DRAWGAMEBTN(TIEBUTTON, 6, game, view), 0);
  EXPECT_TRUE(screen_pixels() == expected(WIDEBUTTONHOVER));

  // "Salir" is the options screen's own button.
  for (int32_t state : {0, 2}) {
    paint_background();
    DRAWOPTIONSELEMENT(21, state, game, view);
    const std::vector<uint8_t> want = screen_pixels();
    paint_background();
    EXPECT_EQ(DRAWGAMEBTN(QUITBUTTON, state, game, view), 0);
    EXPECT_TRUE(screen_pixels() == want) << state;
    EXPECT_FALSE(want == before);
  }
  paint_background();
  for (int32_t code : {0, 21, 50, 53}) {
    EXPECT_EQ(DRAWGAMEBTN(code, 2, game, view), 0);
    EXPECT_TRUE(screen_pixels() == before) << code;
  }
}
