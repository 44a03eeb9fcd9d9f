// Every translated line lies inside its room, measured with the game's own
// font widths (text/screen_rooms.h); a line that does not fit names the
// language and the entry.
#include <gtest/gtest.h>

#include <string>

#include "assets/catalogues.h"
#include "assets/font_image.h"
#include "assets/fonts.h"
#include "text/language.h"
#include "text/screen_rooms.h"

TEST(Catalogues, EveryTranslatedLineFitsItsRoom) {
  int32_t measured = 0;
  for (std::size_t c = 0; c < CATALOGUE_COUNT; ++c) {
    const Catalogue& catalogue = CATALOGUES[c];
    for (std::size_t i = 0; i < catalogue.count; ++i) {
      const CatalogueEntry& e = catalogue.entries[i];
      const ScreenRoom* room = screen_room(e.context);
      if (room == nullptr) continue;
      const TextFont& font = room->large_font ? LARGE_TEXT_FONT : SMALL_TEXT_FONT;
      const TextList lines = lines_of(e.text);
      const auto most_lines = room->lines > 0 ? static_cast<std::size_t>(room->lines) : lines_of(e.spanish).size();
      const std::string where = std::string(catalogue.code) + ", " + std::string(e.context) + ": \"" +
                                std::string(e.spanish.substr(0, e.spanish.find('\n'))) + "\"";
      EXPECT_LE(lines.size(), most_lines) << where;
      for (const std::string& line : lines) {
        EXPECT_LE(text_width(line, font), room->width) << where << ", the line \"" << line << "\"";
        ++measured;
      }
    }
  }
  // Without any translation the test would measure nothing.
  EXPECT_GT(measured, 0);
}
