// The golden pictures: tests/golden/golden.replay is played by ranvel-replay
// and every shot must equal the committed tests/golden/name.png in every
// colour index and every palette entry; tests/golden/hints/hints.replay does
// the same with a teacher's aids switched on. After a deliberate change to
// the picture, "make golden" writes them anew.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "replay/page_png.h"

#ifdef RANVEL_REPLAY_BIN

namespace {

namespace fs = std::filesystem;

const fs::path GOLDEN = fs::path(RANVEL_SOURCE_DIR) / "tests" / "golden";

std::set<std::string> png_names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".png") names.insert(entry.path().stem().string());
  }
  return names;
}

// Where two pictures first differ, and in how many pixels.
std::string pixel_difference(const PagePng& want, const PagePng& got) {
  std::size_t count = 0;
  std::size_t first = 0;
  for (std::size_t i = 0; i < want.pixels.size(); ++i) {
    if (want.pixels[i] != got.pixels[i]) {
      if (count == 0) first = i;
      ++count;
    }
  }
  if (count == 0) return "";
  const std::size_t w = static_cast<std::size_t>(want.width);
  return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first % w) + ", " +
         std::to_string(first / w) + "): index " + std::to_string(want.pixels[first]) + " expected, " +
         std::to_string(got.pixels[first]) + " drawn";
}

std::string palette_difference(const PagePng& want, const PagePng& got) {
  for (std::size_t i = 0; i < want.palette.size(); ++i) {
    if (want.palette[i] != got.palette[i]) {
      return "palette entry " + std::to_string(i / 3) + " differs";
    }
  }
  return "";
}

// Plays the script of a folder of golden pictures with these switches and
// compares every shot.
void expect_golden(const fs::path& golden_dir, const std::string& script, const std::string& switches,
                   std::size_t at_least) {
  const fs::path out = fs::temp_directory_path() / ("ranvel-golden-" + std::to_string(getpid()));
  fs::remove_all(out);
  const std::string command = std::string("'") + RANVEL_REPLAY_BIN + "' " + switches + " '" +
                              (golden_dir / script).string() + "' '" + out.string() + "' >/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

  const std::set<std::string> wanted = png_names(golden_dir);
  ASSERT_GE(wanted.size(), at_least);
  EXPECT_EQ(png_names(out), wanted) << "the golden script's shots and the golden pictures differ";

  bool all_same = true;
  for (const std::string& name : wanted) {
    SCOPED_TRACE(name);
    const PagePng want = read_page_png((golden_dir / (name + ".png")).string());
    const PagePng got = read_page_png((out / (name + ".png")).string());
    ASSERT_TRUE(want.ok);
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(got.color_type, 3);
    EXPECT_EQ(got.bit_depth, 8);
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    ASSERT_EQ(got.pixels.size(), want.pixels.size());
    ASSERT_EQ(got.palette.size(), 768u);
    ASSERT_EQ(want.palette.size(), 768u);
    const std::string pixels = pixel_difference(want, got);
    const std::string palette = palette_difference(want, got);
    EXPECT_EQ(pixels, "") << "drawn: " << (out / (name + ".png")).string();
    EXPECT_EQ(palette, "") << "drawn: " << (out / (name + ".png")).string();
    all_same = all_same && pixels.empty() && palette.empty();
  }
  // The drawn pictures stay for a look when they differ.
  if (all_same && !::testing::Test::HasFailure()) fs::remove_all(out);
}

}  // namespace

TEST(GoldenPictures, EveryShotMatchesItsGoldenPicture) { expect_golden(GOLDEN, "golden.replay", "", 6); }

TEST(GoldenPictures, EachLanguageMatchesItsGoldenPictures) {
  for (const char* language : {"ca", "gl", "eu", "pt", "en"}) {
    SCOPED_TRACE(language);
    expect_golden(GOLDEN / "languages" / language, "../languages.replay", std::string("--idioma ") + language, 3);
  }
}

TEST(GoldenPictures, TheHintsMatchTheirGoldenPictures) {
  expect_golden(GOLDEN / "hints", "hints.replay", "--nivel medio --ayuda", 4);
}

#endif
