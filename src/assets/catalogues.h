// The translations the game carries, one catalogue a language other than
// Spanish. They are made at build time from the translators' files
// (po/LL.po) by ranvel-catalogue, into catalogues.cpp in the build folder.
#pragma once

#include <cstddef>
#include <string_view>

// One translated text. Texts drawn on the screen are in the fonts' code
// page, Spanish and translation alike (the Spanish as the game keeps it);
// texts printed as they are (the terminal's) are UTF-8.
struct CatalogueEntry {
  std::string_view context;
  std::string_view spanish;
  std::string_view text;
};

// A language's translations, ordered by context and then by the Spanish
// text (byte order), for a binary search.
struct Catalogue {
  std::string_view code;  // "ca", "en", ...
  const CatalogueEntry* entries;
  std::size_t count;
};

extern const Catalogue CATALOGUES[];
extern const std::size_t CATALOGUE_COUNT;
