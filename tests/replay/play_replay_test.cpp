// A game played through the ranvel-replay program: from the options screen
// into play, one move each, giving up, and back to the options screen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/files.h"

#ifdef RANVEL_REPLAY_BIN

TEST(PlayReplay, MoveAnswerAndGiveUp) {
  const auto dir = std::filesystem::temp_directory_path() / ("ranvel-play-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "script.txt") << "wait 1000\n"
                                       "key enter\n"
                                       "wait 1000\n"
                                       "state first\n"
                                       "key 3\n"
                                       "wait 8000\n"
                                       "state after\n"
                                       "key esc\n"
                                       "wait 300\n"
                                       "state question\n"
                                       "key s\n"
                                       "wait 1000\n"
                                       "state back\n";
  const std::string command = std::string("'") + RANVEL_REPLAY_BIN + "' '" + (dir / "script.txt").string() + "' '" +
                              (dir / "out").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  const std::string first = file_text(dir / "out" / "first.json");
  EXPECT_NE(first.find("\"screen\": \"play\""), std::string::npos) << first;
  EXPECT_NE(first.find("\"movecount\": 0"), std::string::npos) << first;

  // Total 3 with the full set and target 100: the computer answers 9, to 12.
  const std::string after = file_text(dir / "out" / "after.json");
  EXPECT_NE(after.find("\"screen\": \"play\""), std::string::npos) << after;
  EXPECT_NE(after.find("\"rods\": [3, 9], \"totals\": [0, 3, 12]"), std::string::npos) << after;
  EXPECT_NE(after.find("\"turn\": 0"), std::string::npos) << after;

  const std::string question = file_text(dir / "out" / "question.json");
  EXPECT_NE(question.find("\"screen\": \"message\""), std::string::npos) << question;
  EXPECT_NE(question.find("\"message\": [\"\\u007FSeguro que quieres rendirte?\"]"), std::string::npos) << question;

  const std::string back = file_text(dir / "out" / "back.json");
  EXPECT_NE(back.find("\"screen\": \"options\""), std::string::npos) << back;
  EXPECT_NE(back.find("\"target\": 100, \"validrods\": 2046"), std::string::npos) << back;
  EXPECT_EQ(back.find("\"message\""), std::string::npos) << back;
  std::filesystem::remove_all(dir);
}

#endif
