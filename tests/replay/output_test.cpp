#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>

#include "replay/page_png.h"
#include "replay/state_json.h"

namespace {

std::filesystem::path scratch_dir(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("ranvel-test-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace

TEST(ReplayPng, PageAndPaletteReadBackExactly) {
  const auto dir = scratch_dir("png");
  std::vector<std::uint8_t> page(800 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) page[y * 800 + x] = static_cast<std::uint8_t>((x * 3 + y * 5) ^ (x >> 4));
  std::uint8_t palette[768];
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::string path = (dir / "page.png").string();
  std::string why;
  ASSERT_TRUE(write_page_png(path, page.data(), 800, 600, palette, why)) << why;

  const PagePng back = read_page_png(path);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_EQ(back.color_type, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(back.bit_depth, 8);
  EXPECT_EQ(back.pixels, page);
  ASSERT_EQ(back.palette.size(), 768u);
  EXPECT_TRUE(std::equal(back.palette.begin(), back.palette.end(), palette));
  std::filesystem::remove_all(dir);
}

TEST(ReplayPng, FailuresAreReported) {
  std::uint8_t page[4] = {};
  std::uint8_t palette[768] = {};
  std::string why;
  EXPECT_FALSE(write_page_png("/nonexistent-folder/x.png", page, 2, 2, palette, why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(write_page_png("/tmp/never.png", nullptr, 2, 2, palette, why));
  EXPECT_FALSE(read_page_png("/nonexistent-folder/x.png").ok);
  // A file that is not a PNG is refused, not misread.
  const auto dir = scratch_dir("notpng");
  const std::string path = (dir / "x.png").string();
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("hello", f);
  std::fclose(f);
  EXPECT_FALSE(read_page_png(path).ok);
  std::filesystem::remove_all(dir);
}

TEST(ReplayState, TheSnapshotFormat) {
  GAMESTATE g;
  g.TARGET = 100;
  g.VALIDRODS = 2046;
  g.STARTER = 0;
  g.TURN = 0;
  g.MOVECOUNT = 2;
  g.RODS[0] = 1;
  g.RODS[1] = 10;
  g.RODS[2] = 7;  // beyond MOVECOUNT: not shown
  g.TOTALS[0] = 0;
  g.TOTALS[1] = 1;
  g.TOTALS[2] = 11;
  g.TOTALS[3] = 99;
  g.KEYRESIDUE = 1;
  g.PERIOD = 11;
  g.LOOKAT = 12.0;
  RunReport r;
  r.screen = SHOWN_PLAY;
  r.game = &g;
  EXPECT_EQ(state_json(r),
            "{\"screen\": \"play\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 0, "
            "\"movecount\": 2, \"rods\": [1, 10], \"totals\": [0, 1, 11], \"keyresidue\": 1, \"period\": 11, "
            "\"lookat\": 12.0}\n");

  const TextList won{"   La computadora dice:", "", "   Me has ganado."};
  r.screen = SHOWN_MESSAGE;
  r.message = &won;
  g.LOOKAT = 13.375;
  g.TURN = 1;
  EXPECT_EQ(state_json(r),
            "{\"screen\": \"message\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 1, "
            "\"movecount\": 2, \"rods\": [1, 10], \"totals\": [0, 1, 11], \"keyresidue\": 1, \"period\": 11, "
            "\"lookat\": 13.375, \"message\": [\"   La computadora dice:\", \"\", \"   Me has ganado.\"]}\n");
}

TEST(ReplayState, AFreshRecordAndEveryScreenName) {
  RunReport r;
  EXPECT_EQ(state_json(r),
            "{\"screen\": \"none\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 0, "
            "\"movecount\": 0, \"rods\": [], \"totals\": [0], \"keyresidue\": 0, \"period\": 0, "
            "\"lookat\": 12.0}\n");
  EXPECT_STREQ(screen_name(SHOWN_OPTIONS), "options");
  EXPECT_STREQ(screen_name(SHOWN_PLAY), "play");
  EXPECT_STREQ(screen_name(SHOWN_MESSAGE), "message");
  EXPECT_STREQ(screen_name(SHOWN_INFO), "info");
  EXPECT_STREQ(screen_name(SHOWN_ERROR), "error");
  // A full game: 100 rods and 101 totals.
  GAMESTATE g;
  g.MOVECOUNT = 100;
  for (int i = 0; i < 100; ++i) g.RODS[i] = 1;
  for (int i = 0; i <= 100; ++i) g.TOTALS[i] = static_cast<uint8_t>(i);
  r.game = &g;
  const std::string json = state_json(r);
  EXPECT_NE(json.find("\"totals\": [0, 1, 2,"), std::string::npos);
  EXPECT_NE(json.find(", 99, 100], "), std::string::npos);
}

TEST(ReplayState, MessageBytesAboveAsciiAreEscaped) {
  // The game's code page: 127 is the opening question mark, '\' is i-acute.
  EXPECT_EQ(json_text("\x7FSeguro que quieres salir?"), "\"\\u007FSeguro que quieres salir?\"");
  EXPECT_EQ(json_text("   Todav\\a puedes hacer"), "\"   Todav\\\\a puedes hacer\"");
  EXPECT_EQ(json_text("say \"hi\""), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(json_text(std::string("\x80\xFF\x01", 3)), "\"\\u0080\\u00FF\\u0001\"");
  EXPECT_EQ(json_text("[]^_`{|}~"), "\"[]^_`{|}~\"");
  EXPECT_EQ(json_text(""), "\"\"");
  EXPECT_EQ(json_number(12.0), "12.0");
  EXPECT_EQ(json_number(-3.0), "-3.0");
  EXPECT_EQ(json_number(43.25), "43.25");
  EXPECT_EQ(json_number(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(json_number(1e300 * 1e300), "null");
}
