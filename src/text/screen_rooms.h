// The places where the game draws its texts, and how much room each has: the
// contexts of the screen texts. The catalogue builder turns the translations
// of these contexts into the fonts' code page (the others are printed as they
// are), and a test measures every translated line against its room.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

struct ScreenRoom {
  std::string_view context;
  bool large_font;  // drawn with the large text font, else the small one
  int32_t width;    // pixels a line may take
  int32_t lines;    // lines a text may take; 0: no more than its Spanish text
  bool centred;     // a translation is centred in its room by measuring
};

inline constexpr std::array<ScreenRoom, 11> SCREEN_ROOMS{{
    {"message", false, 340, 5, false},
    {"answer button", false, 88, 1, true},
    {"small button", false, 100, 1, true},
    {"wide button", false, 200, 1, true},
    {"options title", true, 560, 1, true},
    {"target label", false, 350, 1, false},
    {"rods label", false, 420, 1, false},
    {"starter choice", false, 252, 1, false},
    {"information page", false, 720, 0, false},
    {"status line", false, 262, 1, false},
    {"hint legend", false, 328, 1, false},
}};

// The room of a screen context; nullptr for a context printed as it is.
constexpr const ScreenRoom* screen_room(std::string_view context) {
  for (const ScreenRoom& r : SCREEN_ROOMS)
    if (r.context == context) return &r;
  return nullptr;
}
