// UTF-8 texts of the other languages turned into the fonts' code page.
#include <gtest/gtest.h>

#include <string>

#include "assets/font_image.h"
#include "assets/fonts.h"
#include "text/code_page.h"

TEST(CodePage, LettersOfTheOtherLanguagesBecomeTheirLatin1Codes) {
  using Case = std::pair<std::string, std::string>;
  for (const auto& [utf8, bytes] : {Case{"Català: l·lí, açò", "Catal\xE0: l\xB7l\xED, a\xE7\xF2"},
                                    Case{"¿Xogas? Ação, pôr", "\xBFXogas? A\xE7\xE3o, p\xF4r"},
                                    Case{"«Bai» 1º 2ª", "\xAB" "Bai\xBB 1\xBA 2\xAA"},
                                    Case{"ÀÇÑÜÿ\u00A0!", "\xC0\xC7\xD1\xDC\xFF\xA0!"},
                                    Case{" #@AZaz09'\"", " #@AZaz09'\""}, Case{"", ""}}) {
    const CodePageText out = to_code_page(utf8);
    EXPECT_EQ(out.error, "") << utf8;
    EXPECT_EQ(out.text, bytes) << utf8;
  }
}

TEST(CodePage, WhatTheFontsCannotDrawFromItsOwnCodeIsNamed) {
  using Case = std::pair<std::string, std::string>;
  for (const auto& [utf8, named] : {Case{"a[b", "\"[\" (U+005B)"},
                                    {"x~", "\"~\" (U+007E)"}, {"x`", "\"`\" (U+0060)"}, {"{", "draws \"Ñ\""},
                                    {"tab\there", "U+0009"}, {"line\n", "U+000A"}, {"\x7F", "U+007F"},
                                    {"\u0085", "U+0085"}, {"ł", "\"ł\" (U+0142)"}, {"co\u00ADsa", "U+00AD"},
                                    {"’", "U+2019"}, {"😀", "U+1F600"}, {"\xC3", "byte 1 (0xC3)"},
                                    {"ab\x80", "byte 3 (0x80)"}, {"\xC1\xA1", "0xC1"}, {"\xED\xA0\x80", "0xED"}}) {
    const CodePageText out = to_code_page(utf8);
    EXPECT_NE(out.error.find(named), std::string::npos) << "error \"" << out.error << "\" for " << named;
    EXPECT_EQ(out.text, "") << named;
  }
}

TEST(CodePage, EveryAcceptedCodeHasAGlyphInBothSupplements) {
  // And every printable Latin-1 character is accepted.
  for (const std::uint8_t* supplement : {LARGE_FONT_SUPPLEMENT, SMALL_FONT_SUPPLEMENT})
    for (char32_t cp = 0x80; cp <= 0xFF; ++cp) {
      const std::string code(1, static_cast<char>(cp));
      EXPECT_EQ(text_width(code, supplement) > 0, supplement_draws(cp)) << "code " << static_cast<int>(cp);
      const std::string utf8{static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
      EXPECT_EQ(to_code_page(utf8).text == code, supplement_draws(cp)) << "code " << static_cast<int>(cp);
    }
}
