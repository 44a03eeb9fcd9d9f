// The stored text fonts drawn with DRAWTEXT, as every screen of the game does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/font_image.h"
#include "assets/fonts.h"
#include "surface/surface.h"
#include "tests/support/screen.h"

namespace {

// The width byte of ch in a font image's header row (codes font[5] .. font[6]).
int glyph_width(const std::uint8_t* font, unsigned char ch) {
  return ch >= font[5] && ch <= font[6] ? font[4 + 3 + (ch - font[5])] : 0;
}

int text_width(const std::uint8_t* font, const std::string& s) {
  int w = 0;
  for (unsigned char ch : s) w += glyph_width(font, ch);
  return w;
}

struct Block {
  Image image;
  explicit Block(int w, int h) : image(NEWIMAGE(w, h)) {}
  ~Block() { FREEIMAGE(image); }
  std::vector<std::uint8_t> pixels() const {
    const ImageInfo i = IMAGEINFO(image);
    return std::vector<std::uint8_t>(i.pixels, i.pixels + i.width * i.height);
  }
};

const std::vector<std::string> game_texts{"\x7FQui]n llega a 100?", "Todav\\a puedes hacer", "Informaci`n", "S\\",
                                          "|||  H E   G A N A D O  !!!", "Regletas v[lidas para el juego:",
                                          "Este n_mero no es v[lido."};

}  // namespace

TEST(StoredTextFonts, AStringAdvancesByTheSumOfItsGlyphWidths) {
  open_test_screen();
  for (const std::uint8_t* font : {LARGE_FONT, SMALL_FONT}) {
    for (const std::string& s : game_texts) {
      // The text followed by a marker equals the text, plus the marker drawn
      // alone where the widths say the text ends.
      Block together(800, 40), apart(800, 40);
      ASSERT_EQ(DRAWTEXT(together.image, 7, 3, s + "H", font), 0);
      ASSERT_EQ(DRAWTEXT(apart.image, 7, 3, s, font), 0);
      ASSERT_EQ(DRAWTEXT(apart.image, static_cast<float>(7 + text_width(font, s)), 3, "H", font), 0);
      EXPECT_EQ(together.pixels(), apart.pixels()) << s;
    }
  }
}

TEST(StoredTextFonts, NothingIsDrawnOutsideTheTextBox) {
  open_test_screen();
  struct Case {
    const std::uint8_t* font;
    int rows;
  };
  for (const Case c : {Case{LARGE_FONT, 32}, Case{SMALL_FONT, 24}}) {
    std::string all;
    for (int ch = 32; ch <= 127; ++ch) all.push_back(static_cast<char>(ch));
    Block b(1700, 60);
    ASSERT_EQ(DRAWTEXT(b.image, 20, 10, all, c.font), 0);
    const ImageInfo info = IMAGEINFO(b.image);
    const int right = 20 + text_width(c.font, all);
    int ink = 0;
    for (int y = 0; y < info.height; ++y)
      for (int x = 0; x < info.width; ++x) {
        const int v = info.pixels[y * info.width + x];
        if (v == 0) continue;
        ++ink;
        EXPECT_TRUE(x >= 20 && x < right && y >= 10 && y < 10 + c.rows) << x << ", " << y;
      }
    EXPECT_GT(ink, 1000);
  }
}

TEST(StoredTextFonts, TheGameTextsFitTheirPlaces) {
  // The title of the options screen stays inside its 600-wide panel (from
  // x = 100, rim 16) when drawn at x = 264.
  EXPECT_LE(264 + text_width(LARGE_FONT, "\x7FQui]n llega a 100?"), 700 - 16);
  // Message lines start at x = 240 inside the 400-wide box at x = 200 (rim 20).
  for (const char* line : {"   La computadora dice:", "|||  H E   G A N A D O  !!!", "Imposible alcanzar 100",
                                  "Ahora no puedes hacer esto.", "    una jugada v[lida.", "\x7FSeguro que quieres salir?",
                                  "\x7FSeguro que quieres rendirte?", " Tienes que seleccionar",
                                  "por lo menos dos regletas", "  distintas para jugar.", "sobrepasaste el 100",
                                  "Bien, tenemos un empate.", "Este n_mero no es v[lido."})
    EXPECT_LE(240 + text_width(SMALL_FONT, line), 600 - 20) << line;
}

TEST(StoredTextFonts, SpanishTextThroughTheSupplementedFontIsDrawtextItself) {
  open_test_screen();
  for (const TextFont& font : {LARGE_TEXT_FONT, SMALL_TEXT_FONT})
    for (const std::string& s : game_texts) {
      // Cut at the left (-0.6 is pixel -1) and at the right edge.
      for (const float x : {7.0f, -0.6f, 790.0f}) {
        Block a(800, 40), b(800, 40);
        ASSERT_EQ(DRAWTEXT(a.image, x, 3, s, font.base), 0);
        ASSERT_EQ(draw_text(b.image, x, 3, s, font), 0);
        EXPECT_EQ(a.pixels(), b.pixels()) << s;
      }
      EXPECT_EQ(::text_width(s, font), text_width(font.base, s)) << s;
    }
  EXPECT_EQ(draw_text(nullptr, 0, 0, "a\xE0", SMALL_TEXT_FONT), 1);
}

TEST(StoredTextFonts, SupplementGlyphsSitWhereTheMeasuredWidthsSay) {
  open_test_screen();
  // "Português: ação «1º»" with an empty code (128) and the soft hyphen.
  const std::string s = "Portugu\xEAs: a\xE7\xE3o \x80\xAD\xAB" "1\xBA\xBB";
  for (const TextFont& font : {LARGE_TEXT_FONT, SMALL_TEXT_FONT}) {
    Block whole(800, 40), apart(800, 40);
    ASSERT_EQ(draw_text(whole.image, 5, 3, s, font), 0);
    int x = 5;
    for (const unsigned char ch : s) {
      const std::uint8_t* image = ch < 128 ? font.base : font.supplement;
      ASSERT_EQ(DRAWTEXT(apart.image, static_cast<float>(x), 3, std::string(1, static_cast<char>(ch)), image), 0);
      x += glyph_width(image, ch);
    }
    EXPECT_EQ(whole.pixels(), apart.pixels());
    EXPECT_EQ(::text_width(s, font), x - 5);
    EXPECT_EQ(::text_width("\x80\x9F\xAD", font), 0);
  }
}
