// Writes the options screen, the sprites and the information pages as
// paletted PNG files in the working directory (the build directory under
// ctest), with the game's palette, so their look can be checked by eye:
// screens_options.png, screens_options_changed.png, screens_sprites.png,
// screens_sprites_zoom.png,
// screens_info1.png, screens_info_end.png.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "assets/info_texts.h"
#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "scene/floor.h"
#include "screens/info_screen.h"
#include "screens/options_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "tests/support/pictures.h"
#include "tests/support/run.h"

namespace {

void write(const std::string& name, Image image) { write_picture(name, image); }

class ScreensPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    MAKEPAL16X16(BASE_COLORS);
    headless_set_driver(nullptr);
    start = catch_up_clock();
  }
  void TearDown() override { headless_set_driver(nullptr); }
  GameRun& run = test_run();
  Image texture = run.texture;
  Image frame = run.frame;
  GAMESTATE& game = run.game;
  SCREENDEF& view = run.view;
  int64_t start = 0;
};

TEST_F(ScreensPicture, OptionsScreenAndInformationPages) {
  int step = 0;
  headless_set_driver([&](int64_t now) {
    const int64_t t = now - start;
    if (step == 0 && t >= 200) {
      write("screens_options", screen_page());
      headless_key("4");
      headless_key("7");
      headless_key("C");
      headless_key(KEY_LEFT);
      headless_mouse(520, 540, 0);  // over "Jugar"
      ++step;
    } else if (step == 1 && t >= 400) {
      headless_mouse(739, 170, 1);  // holding the -1 arrow
      ++step;
    } else if (step == 2 && t >= 500) {
      write("screens_options_changed", screen_page());
      headless_mouse(-1, -1, -1);
      headless_key("i");
      ++step;
    } else if (step == 3 && t >= 700) {
      write("screens_info1", screen_page());
      headless_key(" ");
      ++step;
    } else if ((step == 4 && t >= 2000) || (step == 5 && t >= 3000)) {
      headless_key(" ");  // the next page
      ++step;
    } else if (step == 6 && t >= 4000) {
      headless_key("\r");
      ++step;
    } else if (t > 60000) {
      if (step < 100) ADD_FAILURE() << "the options screen did not finish at step " << step;
      step = 100;
      headless_mouse(-1, -1, -1);
      headless_key("\r");
    }
  });
  EXPECT_EQ(OPTIONSSCREEN(frame, texture, game, view), 0);
  EXPECT_EQ(step, 7);
  EXPECT_EQ(game.VALIDRODS, 0x7FE & ~(1 << 4) & ~(1 << 7));
  EXPECT_EQ(game.STARTER, 1);
}

TEST_F(ScreensPicture, Sprites) {
  PALETTE0TO15(0x40A0FF);
  PALETTEFORTEXTURE(0xA05000);
  Image sheet = NEWIMAGE(800, 600);
  std::memset(IMAGEINFO(sheet).pixels, 216, 800 * 600);
  BLITIMAGE(sheet, 10, 10, SMALLBUTTON, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 160, 10, SMALLBUTTONHOVER, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 310, 10, WIDEBUTTON, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 560, 10, WIDEBUTTONHOVER, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 10, 100, STARTERPANEL, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 10, 230, WIDEPANEL, BLIT_TRANSPARENT);
  BLITIMAGE(sheet, 340, 100, MESSAGEBOX, BLIT_TRANSPARENT);
  write("screens_sprites", sheet);
  // The two small buttons three times enlarged, to see the rim and its dither.
  std::memset(IMAGEINFO(sheet).pixels, 216, 800 * 600);
  for (int32_t k = 0; k < 2; ++k) {
    const ImageInfo button = IMAGEINFO(k == 0 ? SMALLBUTTON : SMALLBUTTONHOVER);
    for (int32_t y = 0; y < 80 * 3; ++y)
      for (int32_t x = 0; x < 140 * 3; ++x) {
        const uint8_t p = button.pixels[(y / 3) * 140 + x / 3];
        if (p != 0) IMAGEINFO(sheet).pixels[(300 * k + y) * 800 + x] = p;
      }
  }
  write("screens_sprites_zoom", sheet);
  FREEIMAGE(sheet);

  INFOTEXTEND.resize(8);
  DOMOVE(I_NFOEND, I_NFOEND_COUNT, INFOTEXTEND);
  DRAWLINE(screen_page(), 0, 0, 799, 599, 216, LINE_KIND_FILLED_BOX);
  bool written = false;
  headless_set_driver([&](int64_t now) {
    if (!written && now - start >= 100) {
      write("screens_info_end", screen_page());
      written = true;
      headless_key(" ");
    }
  });
  INFOSCREEN(INFOTEXTEND, 0.5);
  EXPECT_TRUE(written);
}

}  // namespace
