#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>

#include "surface/replay_png.h"
#include "surface/replay_state.h"

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
  ASSERT_TRUE(WRITEPAGEPNG(path, page.data(), 800, 600, palette, why)) << why;

  const PAGEPNG back = READPAGEPNG(path);
  ASSERT_TRUE(back.OK);
  EXPECT_EQ(back.WIDTH, 800);
  EXPECT_EQ(back.HEIGHT, 600);
  EXPECT_EQ(back.COLORTYPE, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(back.BITDEPTH, 8);
  EXPECT_EQ(back.PIXELS, page);
  ASSERT_EQ(back.PALETTE.size(), 768u);
  EXPECT_TRUE(std::equal(back.PALETTE.begin(), back.PALETTE.end(), palette));
  std::filesystem::remove_all(dir);
}

TEST(ReplayPng, FailuresAreReported) {
  std::uint8_t page[4] = {};
  std::uint8_t palette[768] = {};
  std::string why;
  EXPECT_FALSE(WRITEPAGEPNG("/nonexistent-folder/x.png", page, 2, 2, palette, why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(WRITEPAGEPNG("/tmp/never.png", nullptr, 2, 2, palette, why));
  EXPECT_FALSE(READPAGEPNG("/nonexistent-folder/x.png").OK);
  // A file that is not a PNG is refused, not misread.
  const auto dir = scratch_dir("notpng");
  const std::string path = (dir / "x.png").string();
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("hello", f);
  std::fclose(f);
  EXPECT_FALSE(READPAGEPNG(path).OK);
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
  RUNREPORT r;
  r.SCREEN = SHOWN_PLAY;
  r.GAME = &g;
  EXPECT_EQ(STATEJSON(r),
            "{\"screen\": \"play\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 0, "
            "\"movecount\": 2, \"rods\": [1, 10], \"totals\": [0, 1, 11], \"keyresidue\": 1, \"period\": 11, "
            "\"lookat\": 12.0}\n");

  const TEXTLIST won{"   La computadora dice:", "", "   Me has ganado."};
  r.SCREEN = SHOWN_MESSAGE;
  r.MESSAGE = &won;
  g.LOOKAT = 13.375;
  g.TURN = 1;
  EXPECT_EQ(STATEJSON(r),
            "{\"screen\": \"message\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 1, "
            "\"movecount\": 2, \"rods\": [1, 10], \"totals\": [0, 1, 11], \"keyresidue\": 1, \"period\": 11, "
            "\"lookat\": 13.375, \"message\": [\"   La computadora dice:\", \"\", \"   Me has ganado.\"]}\n");
}

TEST(ReplayState, AFreshRecordAndEveryScreenName) {
  RUNREPORT r;
  EXPECT_EQ(STATEJSON(r),
            "{\"screen\": \"none\", \"target\": 100, \"validrods\": 2046, \"starter\": 0, \"turn\": 0, "
            "\"movecount\": 0, \"rods\": [], \"totals\": [0], \"keyresidue\": 0, \"period\": 0, "
            "\"lookat\": 12.0}\n");
  EXPECT_STREQ(SCREENNAME(SHOWN_OPTIONS), "options");
  EXPECT_STREQ(SCREENNAME(SHOWN_PLAY), "play");
  EXPECT_STREQ(SCREENNAME(SHOWN_MESSAGE), "message");
  EXPECT_STREQ(SCREENNAME(SHOWN_INFO), "info");
  EXPECT_STREQ(SCREENNAME(SHOWN_ERROR), "error");
  // A full game: 100 rods and 101 totals.
  GAMESTATE g;
  g.MOVECOUNT = 100;
  for (int i = 0; i < 100; ++i) g.RODS[i] = 1;
  for (int i = 0; i <= 100; ++i) g.TOTALS[i] = static_cast<uint8_t>(i);
  r.GAME = &g;
  const std::string json = STATEJSON(r);
  EXPECT_NE(json.find("\"totals\": [0, 1, 2,"), std::string::npos);
  EXPECT_NE(json.find(", 99, 100], "), std::string::npos);
}

TEST(ReplayState, MessageBytesAboveAsciiAreEscaped) {
  // The game's code page: 127 is the opening question mark, '\' is i-acute.
  EXPECT_EQ(JSONTEXT("\x7FSeguro que quieres salir?"), "\"\\u007FSeguro que quieres salir?\"");
  EXPECT_EQ(JSONTEXT("   Todav\\a puedes hacer"), "\"   Todav\\\\a puedes hacer\"");
  EXPECT_EQ(JSONTEXT("say \"hi\""), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(JSONTEXT(std::string("\x80\xFF\x01", 3)), "\"\\u0080\\u00FF\\u0001\"");
  EXPECT_EQ(JSONTEXT("[]^_`{|}~"), "\"[]^_`{|}~\"");
  EXPECT_EQ(JSONTEXT(""), "\"\"");
  EXPECT_EQ(JSONNUMBER(12.0), "12.0");
  EXPECT_EQ(JSONNUMBER(-3.0), "-3.0");
  EXPECT_EQ(JSONNUMBER(43.25), "43.25");
  EXPECT_EQ(JSONNUMBER(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(JSONNUMBER(1e300 * 1e300), "null");
}
