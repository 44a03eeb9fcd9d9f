#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "surface/window_math.h"

TEST(WindowMath, StartingScaleIsTheLargestWholeMultipleThatFits) {
  EXPECT_EQ(CHOOSEWINDOWSCALE(1920, 1040, 800, 600), 1);
  EXPECT_EQ(CHOOSEWINDOWSCALE(1600, 1200, 800, 600), 2);
  EXPECT_EQ(CHOOSEWINDOWSCALE(1599, 1200, 800, 600), 1);
  EXPECT_EQ(CHOOSEWINDOWSCALE(2560, 1600, 800, 600), 2);
  EXPECT_EQ(CHOOSEWINDOWSCALE(3840, 2160, 800, 600), 3);
  EXPECT_EQ(CHOOSEWINDOWSCALE(7680, 4320, 800, 600), 7);
  // A desktop smaller than the page still gets the page at 1x.
  EXPECT_EQ(CHOOSEWINDOWSCALE(640, 480, 800, 600), 1);
  EXPECT_EQ(CHOOSEWINDOWSCALE(0, 0, 800, 600), 1);
}

TEST(WindowMath, LetterBoxShowsTheLargestWholeMultipleCentred) {
  EXPECT_EQ(LETTERBOX(800, 600, 800, 600), (BOXRECT{0, 0, 800, 600}));
  EXPECT_EQ(LETTERBOX(1600, 1200, 800, 600), (BOXRECT{0, 0, 1600, 1200}));
  EXPECT_EQ(LETTERBOX(2400, 1800, 800, 600), (BOXRECT{0, 0, 2400, 1800}));
  // A full-HD screen holds the page once (twice would need 1200 rows).
  EXPECT_EQ(LETTERBOX(1920, 1080, 800, 600), (BOXRECT{560, 240, 800, 600}));
  EXPECT_EQ(LETTERBOX(2560, 1440, 800, 600), (BOXRECT{480, 120, 1600, 1200}));
  EXPECT_EQ(LETTERBOX(3840, 2160, 800, 600), (BOXRECT{720, 180, 2400, 1800}));
  // Bars above and below, or left and right.
  EXPECT_EQ(LETTERBOX(800, 1000, 800, 600), (BOXRECT{0, 200, 800, 600}));
  EXPECT_EQ(LETTERBOX(1001, 600, 800, 600), (BOXRECT{100, 0, 800, 600}));
  // One pixel short of twice the page in either direction: once, centred,
  // the odd pixel on the right and at the bottom.
  EXPECT_EQ(LETTERBOX(1599, 1200, 800, 600), (BOXRECT{399, 300, 800, 600}));
  EXPECT_EQ(LETTERBOX(1600, 1199, 800, 600), (BOXRECT{400, 299, 800, 600}));
  EXPECT_EQ(LETTERBOX(801, 601, 800, 600), (BOXRECT{0, 0, 800, 600}));
  EXPECT_EQ(LETTERBOX(0, 600, 800, 600), (BOXRECT{}));
  EXPECT_EQ(LETTERBOX(800, 600, 0, 600), (BOXRECT{}));
}

TEST(WindowMath, LetterBoxShrinksThePageIntoASmallerWindow) {
  // Less than one page: as large as fits, proportions kept.
  EXPECT_EQ(LETTERBOX(400, 300, 800, 600), (BOXRECT{0, 0, 400, 300}));
  EXPECT_EQ(LETTERBOX(799, 600, 800, 600), (BOXRECT{0, 0, 799, 599}));
  EXPECT_EQ(LETTERBOX(400, 600, 800, 600), (BOXRECT{0, 150, 400, 300}));
  EXPECT_EQ(LETTERBOX(1000, 300, 800, 600), (BOXRECT{300, 0, 400, 300}));
  EXPECT_EQ(LETTERBOX(1, 1, 800, 600), (BOXRECT{0, 0, 1, 1}));
}

TEST(WindowMath, PointerMapsToPagePixelsAtEveryWholeScale) {
  for (int k = 1; k <= 4; ++k) {
    const int w = 800 * k, h = 600 * k;
    for (int x = 0; x < w; x += 7) {
      const PAGEPOINT p = WINDOWTOPAGE(x, 0, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.INSIDE);
      ASSERT_EQ(p.X, x / k) << "scale " << k << " window x " << x;
    }
    // Every window pixel of the last page column and row maps to it.
    for (int i = 0; i < k; ++i) {
      EXPECT_EQ(WINDOWTOPAGE(w - 1 - i, h - 1 - i, w, h, w, h, 800, 600), (PAGEPOINT{799, 599, true}));
      EXPECT_EQ(WINDOWTOPAGE(i, i, w, h, w, h, 800, 600), (PAGEPOINT{0, 0, true}));
    }
    EXPECT_FALSE(WINDOWTOPAGE(w, 10, w, h, w, h, 800, 600).INSIDE);
    EXPECT_FALSE(WINDOWTOPAGE(10, h, w, h, w, h, 800, 600).INSIDE);
    EXPECT_FALSE(WINDOWTOPAGE(-1, 10, w, h, w, h, 800, 600).INSIDE);
  }
}

TEST(WindowMath, PointerOnTheBarsIsOutsideThePage) {
  // 1920 x 1080: the page is 800 x 600 from (560, 240).
  EXPECT_EQ(WINDOWTOPAGE(559, 500, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{-1, -1, false}));
  EXPECT_EQ(WINDOWTOPAGE(700, 239, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{-1, -1, false}));
  EXPECT_EQ(WINDOWTOPAGE(560, 240, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{0, 0, true}));
  EXPECT_EQ(WINDOWTOPAGE(1359, 839, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{799, 599, true}));
  EXPECT_EQ(WINDOWTOPAGE(1360, 500, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{-1, -1, false}));
  EXPECT_EQ(WINDOWTOPAGE(700, 840, 1920, 1080, 1920, 1080, 800, 600), (PAGEPOINT{-1, -1, false}));
  // 2560 x 1440: twice the page from (480, 120); window pixel 480 + 9 is
  // page pixel 4.
  EXPECT_EQ(WINDOWTOPAGE(489, 129, 2560, 1440, 2560, 1440, 800, 600), (PAGEPOINT{4, 4, true}));
}

TEST(WindowMath, HiDpiWindowInPointsOverALargerOutput) {
  // A window of 800 x 600 points drawn on 1600 x 1200 pixels: one point is
  // two pixels, and the pointer still names the page pixel under it.
  EXPECT_EQ(WINDOWTOPAGE(0, 0, 800, 600, 1600, 1200, 800, 600), (PAGEPOINT{0, 0, true}));
  EXPECT_EQ(WINDOWTOPAGE(400, 300, 800, 600, 1600, 1200, 800, 600), (PAGEPOINT{400, 300, true}));
  EXPECT_EQ(WINDOWTOPAGE(799, 599, 800, 600, 1600, 1200, 800, 600), (PAGEPOINT{799, 599, true}));
  // 1000 x 600 points on 2000 x 1200 pixels: bars of 100 points each side.
  EXPECT_FALSE(WINDOWTOPAGE(99, 300, 1000, 600, 2000, 1200, 800, 600).INSIDE);
  EXPECT_EQ(WINDOWTOPAGE(100, 300, 1000, 600, 2000, 1200, 800, 600), (PAGEPOINT{0, 300, true}));
  EXPECT_EQ(WINDOWTOPAGE(899, 300, 1000, 600, 2000, 1200, 800, 600), (PAGEPOINT{799, 300, true}));
  EXPECT_FALSE(WINDOWTOPAGE(900, 300, 1000, 600, 2000, 1200, 800, 600).INSIDE);
  // A window shrunk to half the page: every point covers two page pixels.
  EXPECT_EQ(WINDOWTOPAGE(10, 10, 400, 300, 400, 300, 800, 600), (PAGEPOINT{21, 21, true}));
}

TEST(WindowMath, PointerMapsBackAtLetterBoxedSizesThatAreNoWholeScale) {
  // Window sizes a player gets by dragging the frame: wider, taller, and
  // both a little off the page's proportions.
  const int sizes[][2] = {{1000, 700}, {1023, 767}, {1366, 768}, {850, 1000}, {801, 601}, {2399, 1799}, {600, 500}};
  for (const auto& size : sizes) {
    const int w = size[0], h = size[1];
    const BOXRECT box = LETTERBOX(w, h, 800, 600);
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    // When the page is shown at least at its own size, the middle of the
    // window pixels that show page column px maps back to px, and likewise
    // for the rows. (Smaller, some page pixels are not shown at all.)
    for (int px = 0; box.W >= 800 && px < 800; ++px) {
      const int x = box.X + (2 * px + 1) * box.W / 1600;
      const PAGEPOINT p = WINDOWTOPAGE(x, box.Y + box.H / 2, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.INSIDE) << "column " << px;
      ASSERT_EQ(p.X, px);
    }
    for (int py = 0; box.H >= 600 && py < 600; ++py) {
      const int y = box.Y + (2 * py + 1) * box.H / 1200;
      const PAGEPOINT p = WINDOWTOPAGE(box.X + box.W / 2, y, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.INSIDE) << "row " << py;
      ASSERT_EQ(p.Y, py);
    }
    // Across the box the page columns never go back and never skip one
    // when the page is shown larger than itself; the bars are outside.
    int last = -1;
    for (int x = box.X; x < box.X + box.W; ++x) {
      const PAGEPOINT p = WINDOWTOPAGE(x, box.Y, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.INSIDE);
      ASSERT_GE(p.X, last);
      if (box.W >= 800) {
        ASSERT_LE(p.X, last + 1);
      }
      last = p.X;
    }
    EXPECT_EQ(last, 799);
    EXPECT_FALSE(WINDOWTOPAGE(box.X - 1, box.Y, w, h, w, h, 800, 600).INSIDE);
    EXPECT_FALSE(WINDOWTOPAGE(box.X + box.W, box.Y, w, h, w, h, 800, 600).INSIDE);
    EXPECT_FALSE(WINDOWTOPAGE(box.X, box.Y - 1, w, h, w, h, 800, 600).INSIDE);
    EXPECT_FALSE(WINDOWTOPAGE(box.X, box.Y + box.H, w, h, w, h, 800, 600).INSIDE);
  }
}

namespace {

// A latch whose game has just looked at the mouse, at time 1000 ms.
BUTTONLATCH listening_latch() {
  BUTTONLATCH latch;
  READBUTTONS(latch, 1000);
  return latch;
}

}  // namespace

TEST(MouseButtons, AClickFasterThanTheGameLooksIsSeenOnceWhereItWentDown) {
  BUTTONLATCH latch = listening_latch();
  // Down and up between two looks, the pointer gone elsewhere since.
  NOTEBUTTONDOWN(latch, 1, 252, 432, 1012);
  NOTEBUTTONUP(latch, 1);
  BUTTONREADING r = READBUTTONS(latch, 1020);
  EXPECT_EQ(r.BUTTONS, 1u);
  EXPECT_TRUE(r.ATPRESS);
  EXPECT_EQ(r.X, 252);
  EXPECT_EQ(r.Y, 432);
  // The next look sees it released, at the pointer.
  r = READBUTTONS(latch, 1040);
  EXPECT_EQ(r.BUTTONS, 0u);
  EXPECT_FALSE(r.ATPRESS);
}

TEST(MouseButtons, AHeldButtonStaysDownUntilItsRelease) {
  BUTTONLATCH latch = listening_latch();
  NOTEBUTTONDOWN(latch, 1, 10, 20, 1005);
  EXPECT_EQ(READBUTTONS(latch, 1010).BUTTONS, 1u);
  const BUTTONREADING held = READBUTTONS(latch, 1030);
  EXPECT_EQ(held.BUTTONS, 1u);
  EXPECT_FALSE(held.ATPRESS);  // seen already: the pointer's position counts
  NOTEBUTTONUP(latch, 1);
  EXPECT_EQ(READBUTTONS(latch, 1050).BUTTONS, 0u);
}

TEST(MouseButtons, TwoPressesBeforeALookKeepTheFirstPlace) {
  BUTTONLATCH latch = listening_latch();
  NOTEBUTTONDOWN(latch, 1, 5, 6, 1002);
  NOTEBUTTONUP(latch, 1);
  NOTEBUTTONDOWN(latch, 4, 70, 80, 1004);
  const BUTTONREADING r = READBUTTONS(latch, 1010);
  EXPECT_EQ(r.BUTTONS, 5u);
  EXPECT_EQ(r.X, 5);
  EXPECT_EQ(r.Y, 6);
  EXPECT_EQ(READBUTTONS(latch, 1020).BUTTONS, 4u);
}

TEST(MouseButtons, AClickWhileTheGameIsNotLookingIsNotKeptForLater) {
  // The game last looked at 1000 ms and then animated for two seconds; a
  // click made meanwhile is over before it looks again.
  BUTTONLATCH latch = listening_latch();
  NOTEBUTTONDOWN(latch, 1, 252, 432, 1000 + BUTTONLISTENMS + 1);
  NOTEBUTTONUP(latch, 1);
  BUTTONREADING r = READBUTTONS(latch, 3000);
  EXPECT_EQ(r.BUTTONS, 0u);
  EXPECT_FALSE(r.ATPRESS);
  // One still held when it looks is seen held, like any held button.
  NOTEBUTTONDOWN(latch, 1, 100, 100, 4000);
  r = READBUTTONS(latch, 4500);
  EXPECT_EQ(r.BUTTONS, 1u);
  EXPECT_FALSE(r.ATPRESS);
  // Before the first look nothing is kept either.
  BUTTONLATCH fresh;
  NOTEBUTTONDOWN(fresh, 1, 1, 1, 5);
  NOTEBUTTONUP(fresh, 1);
  EXPECT_EQ(READBUTTONS(fresh, 10).BUTTONS, 0u);
}

TEST(MouseButtons, LosingTheFocusForgetsEveryButton) {
  BUTTONLATCH latch = listening_latch();
  NOTEBUTTONDOWN(latch, 1, 5, 6, 1001);
  CLEARBUTTONS(latch);
  EXPECT_EQ(READBUTTONS(latch, 1010).BUTTONS, 0u);
}

namespace {

std::vector<std::string> press(PHYSICALKEY key, int digit, KEYMAPSTATE& state, bool alt = false,
                               bool* toggle = nullptr) {
  KEYPRESS p;
  p.KEY = key;
  p.DIGIT = digit;
  p.ALT = alt;
  const KEYDOWNRESULT r = MAPKEYDOWN(p, state);
  if (toggle != nullptr) *toggle = r.TOGGLEFULLSCREEN;
  return r.KEYS;
}

using KEYS = std::vector<std::string>;

}  // namespace

TEST(KeyMapping, ControlKeysComeFromKeyEvents) {
  KEYMAPSTATE s;
  EXPECT_EQ(press(PKEY_ENTER, 0, s), KEYS{"\r"});
  EXPECT_EQ(press(PKEY_PADENTER, 0, s), KEYS{"\r"});
  EXPECT_EQ(press(PKEY_ESCAPE, 0, s), KEYS{"\x1B"});
  EXPECT_EQ(press(PKEY_LEFT, 0, s), KEYS{std::string("\xFF") + "K"});
  EXPECT_EQ(press(PKEY_RIGHT, 0, s), KEYS{std::string("\xFF") + "M"});
  EXPECT_EQ(press(PKEY_UP, 0, s), KEYS{std::string("\xFF") + "H"});
  EXPECT_EQ(press(PKEY_DOWN, 0, s), KEYS{std::string("\xFF") + "P"});
  EXPECT_EQ(press(PKEY_LEFT, 0, s)[0].size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(press(PKEY_LEFT, 0, s)[0][0]), 255);
  EXPECT_TRUE(press(PKEY_OTHER, 0, s).empty());
}

TEST(KeyMapping, F11AndAltEnterToggleFullscreenWithoutAKey) {
  KEYMAPSTATE s;
  bool toggle = false;
  EXPECT_TRUE(press(PKEY_F11, 0, s, false, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_TRUE(press(PKEY_ENTER, 0, s, true, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_TRUE(press(PKEY_PADENTER, 0, s, true, &toggle).empty());
  EXPECT_TRUE(toggle);
  EXPECT_EQ(press(PKEY_ENTER, 0, s, false, &toggle), KEYS{"\r"});
  EXPECT_FALSE(toggle);
}

TEST(KeyMapping, LettersAndSignsComeFromTypedText) {
  KEYMAPSTATE s;
  // Shift+X types "X"; the colon key types ":" whatever the layout.
  EXPECT_EQ(MAPTYPEDTEXT("X", s), KEYS{"X"});
  EXPECT_EQ(MAPTYPEDTEXT(":", s), KEYS{":"});
  EXPECT_EQ(MAPTYPEDTEXT("s", s), KEYS{"s"});
  EXPECT_EQ(MAPTYPEDTEXT(" ", s), KEYS{" "});
  EXPECT_EQ(MAPTYPEDTEXT("ab", s), (KEYS{"a", "b"}));
  // Characters beyond ASCII never match a key text of the game: dropped.
  EXPECT_EQ(MAPTYPEDTEXT("\xC3\xB1", s), KEYS{});
}

TEST(KeyMapping, DigitsComeFromTheKeyAndTheirTextIsNotQueuedTwice) {
  KEYMAPSTATE s;
  // US layout: the 3 key, then its text "3".
  EXPECT_EQ(press(PKEY_ROWDIGIT, 3, s), KEYS{"3"});
  EXPECT_TRUE(MAPTYPEDTEXT("3", s).empty());
  // AZERTY: the same key types an accented letter without Shift; the digit
  // still comes by the key's place.
  EXPECT_EQ(press(PKEY_ROWDIGIT, 2, s), KEYS{"2"});
  EXPECT_TRUE(MAPTYPEDTEXT("\xC3\xA9", s).empty());
  EXPECT_EQ(press(PKEY_ROWDIGIT, 0, s), KEYS{"0"});
  EXPECT_TRUE(MAPTYPEDTEXT("!", s).empty());
  // Keypad digits, and their text.
  EXPECT_EQ(press(PKEY_PADDIGIT, 7, s), KEYS{"7"});
  EXPECT_TRUE(MAPTYPEDTEXT("7", s).empty());
  // Only the one text of that press is dropped.
  EXPECT_EQ(MAPTYPEDTEXT("x", s), KEYS{"x"});
  // A digit press with no text (Ctrl held): the next key's text still counts.
  EXPECT_EQ(press(PKEY_ROWDIGIT, 5, s), KEYS{"5"});
  EXPECT_TRUE(press(PKEY_OTHER, 0, s).empty());
  EXPECT_EQ(MAPTYPEDTEXT("X", s), KEYS{"X"});
  // Key repeat: every repeat of a digit is a digit again.
  EXPECT_EQ(press(PKEY_ROWDIGIT, 9, s), KEYS{"9"});
  EXPECT_TRUE(MAPTYPEDTEXT("9", s).empty());
  EXPECT_EQ(press(PKEY_ROWDIGIT, 9, s), KEYS{"9"});
  EXPECT_TRUE(MAPTYPEDTEXT("9", s).empty());
}

TEST(PageConversion, EveryIndexShowsItsPaletteColour) {
  std::uint8_t palette[768];
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = static_cast<std::uint8_t>(i);
    palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
    palette[i * 3 + 2] = static_cast<std::uint8_t>(i ^ 0x5A);
  }
  std::uint32_t lookup[256];
  PALETTETOLOOKUP(palette, lookup);
  EXPECT_EQ(lookup[0], 0xFF00FF5Au);
  EXPECT_EQ(lookup[255], 0xFFFF00A5u);
  // A 3 x 2 page into rows padded to 4 pixels; the padding is left alone.
  const std::uint8_t page[6] = {0, 1, 2, 253, 254, 255};
  std::uint32_t out[8];
  for (auto& o : out) o = 0xDEADBEEFu;
  CONVERTPAGE(page, 3, 2, lookup, out, 16);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(out[i], lookup[page[i]]);
    EXPECT_EQ(out[4 + i], lookup[page[3 + i]]);
  }
  EXPECT_EQ(out[3], 0xDEADBEEFu);
  EXPECT_EQ(out[7], 0xDEADBEEFu);

  // Rows longer than eight pixels, and not a multiple of eight.
  std::uint8_t wide[2 * 21];
  for (int i = 0; i < 42; ++i) wide[i] = static_cast<std::uint8_t>(250 - 7 * i);
  std::uint32_t wideout[2 * 22];
  CONVERTPAGE(wide, 21, 2, lookup, wideout, 22 * 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 21; ++x) EXPECT_EQ(wideout[y * 22 + x], lookup[wide[y * 21 + x]]) << x << "," << y;
}

namespace {

// The page under the centre of output pixel i of a box of "shown" pixels.
int32_t page_under(int64_t i, int64_t shown, int64_t page) { return static_cast<int32_t>((2 * i + 1) * page / (2 * shown)); }

struct scaled_output {
  std::vector<std::uint8_t> page;
  std::uint32_t lookup[256];
  std::vector<std::uint32_t> out;
  int32_t width, height;  // of the output, in pixels
  int32_t stride;         // pixels per output row (rows may be padded)

  scaled_output(int32_t pw, int32_t ph, int32_t ow, int32_t oh) : width(ow), height(oh), stride(ow + 3) {
    page.resize(static_cast<std::size_t>(pw) * ph);
    for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 37 + i / pw * 11);
    for (int i = 0; i < 256; ++i) lookup[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010307);
    out.assign(static_cast<std::size_t>(stride) * oh, 0xDEADBEEFu);
  }
  std::uint32_t at(int32_t x, int32_t y) const { return out[static_cast<std::size_t>(y) * stride + x]; }
};

}  // namespace

TEST(PageScaling, EveryOutputPixelShowsThePagePixelUnderItsCentre) {
  // Whole multiples, a window shrunk below the page, and odd page sizes.
  const int32_t cases[][4] = {{800, 600, 800, 600},  {800, 600, 1600, 1200}, {800, 600, 2400, 1800},
                              {800, 600, 2000, 1500}, {800, 600, 400, 300},   {800, 600, 533, 400},
                              {7, 5, 21, 15},         {7, 5, 13, 9},          {7, 5, 4, 3},
                              {21, 4, 21, 4},         {21, 4, 42, 8},         {21, 4, 84, 16}};
  for (const auto& c : cases) {
    const int32_t pw = c[0], ph = c[1];
    scaled_output o(pw, ph, c[2] + 10, c[3] + 4);
    const BOXRECT box{6, 1, c[2], c[3]};
    const BOXRECT written = SCALEPAGE(o.page.data(), pw, ph, o.lookup, box, 0, ph - 1, o.out.data(), o.stride * 4);
    EXPECT_EQ(written, box);
    for (int32_t y = 0; y < o.height; ++y)
      for (int32_t x = 0; x < o.stride; ++x) {
        const bool inside = x >= box.X && x < box.X + box.W && y >= box.Y && y < box.Y + box.H;
        const std::uint32_t expected =
            inside ? o.lookup[o.page[static_cast<std::size_t>(page_under(y - box.Y, box.H, ph)) * pw +
                                     page_under(x - box.X, box.W, pw)]]
                   : 0xDEADBEEFu;
        ASSERT_EQ(o.out[static_cast<std::size_t>(y) * o.stride + x], expected)
            << pw << "x" << ph << " in " << box.W << "x" << box.H << " at " << x << "," << y;
      }
  }
}

TEST(PageScaling, ThePointerNamesThePixelShownUnderIt) {
  // Letter-boxed at twice the size, and shrunk: the page pixel the pointer
  // maps to is the one whose colour is drawn at that window pixel.
  for (const auto& size : {std::pair{1700, 1300}, std::pair{600, 500}}) {
    scaled_output o(800, 600, size.first, size.second);
    const BOXRECT box = LETTERBOX(o.width, o.height, 800, 600);
    SCALEPAGE(o.page.data(), 800, 600, o.lookup, box, 0, 599, o.out.data(), o.stride * 4);
    for (int32_t y = box.Y; y < box.Y + box.H; y += 3)
      for (int32_t x = box.X; x < box.X + box.W; x += 5) {
        const PAGEPOINT p = WINDOWTOPAGE(x, y, o.width, o.height, o.width, o.height, 800, 600);
        ASSERT_TRUE(p.INSIDE);
        ASSERT_EQ(o.at(x, y), o.lookup[o.page[static_cast<std::size_t>(p.Y) * 800 + p.X]]) << x << "," << y;
      }
  }
}

TEST(PageScaling, OnlyTheRowsShowingTheChangedPageRowsAreWritten) {
  scaled_output o(800, 600, 1600, 1200);
  const BOXRECT box{0, 0, 1600, 1200};
  // Page rows 10..12 are output rows 20..25 at twice the size.
  EXPECT_EQ(SCALEPAGE(o.page.data(), 800, 600, o.lookup, box, 10, 12, o.out.data(), o.stride * 4),
            (BOXRECT{0, 20, 1600, 6}));
  for (int32_t y = 0; y < 1200; ++y) {
    const bool drawn = y >= 20 && y <= 25;
    EXPECT_EQ(o.at(799, y) != 0xDEADBEEFu, drawn) << y;
  }
  // Rows beyond the page are ignored; nothing left is nothing written.
  EXPECT_EQ(SCALEPAGE(o.page.data(), 800, 600, o.lookup, box, 598, 700, o.out.data(), o.stride * 4),
            (BOXRECT{0, 1196, 1600, 4}));
  EXPECT_EQ(SCALEPAGE(o.page.data(), 800, 600, o.lookup, box, 5, 4, o.out.data(), o.stride * 4), (BOXRECT{}));
  EXPECT_EQ(SCALEPAGE(o.page.data(), 800, 600, o.lookup, BOXRECT{}, 0, 599, o.out.data(), o.stride * 4),
            (BOXRECT{}));
  // Shrunk to half: page rows 10..12 lie under output rows 5 (row 11) only.
  scaled_output half(800, 600, 400, 300);
  EXPECT_EQ(SCALEPAGE(half.page.data(), 800, 600, half.lookup, BOXRECT{0, 0, 400, 300}, 10, 12, half.out.data(),
                      half.stride * 4),
            (BOXRECT{0, 5, 400, 1}));
  // Output column 0 shows page column 1 (under its centre).
  EXPECT_EQ(half.at(0, 5), half.lookup[half.page[11 * 800 + 1]]);
}

TEST(PageScaling, ChangedRowsAreTheFirstAndLastThatDiffer) {
  std::vector<std::uint8_t> a(800 * 600, 7), b = a;
  EXPECT_TRUE(CHANGEDROWS(a.data(), b.data(), 800, 600).EMPTY());
  b[0] = 8;
  EXPECT_EQ(CHANGEDROWS(a.data(), b.data(), 800, 600), (ROWSPAN{0, 0}));
  b[599 * 800 + 799] = 9;
  EXPECT_EQ(CHANGEDROWS(a.data(), b.data(), 800, 600), (ROWSPAN{0, 599}));
  b = a;
  b[300 * 800 + 5] = 1;
  b[310 * 800 + 799] = 1;
  EXPECT_EQ(CHANGEDROWS(a.data(), b.data(), 800, 600), (ROWSPAN{300, 310}));
  EXPECT_TRUE(CHANGEDROWS(nullptr, b.data(), 800, 600).EMPTY());
}
