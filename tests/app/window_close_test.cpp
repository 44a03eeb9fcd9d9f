// Closing the window on every screen and in every animation ends the program
// with exit code 0. On the headless backend the window closes when the input
// runs out: the steps of a run in this process, or the script of the built
// ranvel-replay program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "screens/messages.h"
#include "tests/support/files.h"
#include "tests/support/scripted_game.h"

namespace {

// What the game is doing, seen from one look at the input to the next.
struct Watch {
  int64_t frames = -1;
  double lookat = -1.0;
  bool drawing = false;     // a whole frame was drawn since the last look
  bool camera = false;      // and the camera moved
  void look() {
    const int64_t f = headless_frames();
    const double l = ScriptedGame::game().LOOKAT;
    drawing = frames >= 0 && f > frames;
    camera = drawing && l != lookat;
    frames = f;
    lookat = l;
  }
};

struct ClosePoint {
  std::string name;
  std::function<void(ScriptedGame&)> steps;  // up to the moment the window closes
};

// The steps that bring the game to each point.
std::vector<ClosePoint> close_points() {
  auto playing = [](ScriptedGame& d) { d.until_options().key("\r").until_input(); };
  return {
      {"the options screen", [](ScriptedGame& d) { d.until_options(); }},
      {"an arrow held down",
       [](ScriptedGame& d) { d.until_options().mouse(610, 170).down().wait(700).then([] {
           EXPECT_EQ(ScriptedGame::game().TARGET, 60);
         }); }},
      {"an information page",
       [](ScriptedGame& d) { d.until_options().key("i").until("the page", [] { return ScriptedGame::showing(SHOWN_INFO); }); }},
      {"the quit question",
       [](ScriptedGame& d) { d.until_options().key("\x1B").until_message().then([] { EXPECT_EQ(run_report.message, &MSGQUIT); }); }},
      {"the closing page",
       [](ScriptedGame& d) {
         d.until_options().key("\x1B").until_message().key("s");
         d.until("the closing page", [] { return ScriptedGame::showing(SHOWN_INFO); }).wait(1000);
       }},
      {"the too-few-rods notice",
       [](ScriptedGame& d) {
         d.until_options();
         for (const char* k : {"2", "3", "4", "5", "6", "7", "8", "9", "0"}) d.key(k);
         d.wait(500).key("\r").until_message().then([] { EXPECT_EQ(run_report.message, &MSGTOOFEWRODS); });
       }},
      {"the player's turn", playing},
      {"the give-up question",
       [&](ScriptedGame& d) { playing(d); d.key("\x1B").until_message().then([] { EXPECT_EQ(run_report.message, &MSGGIVEUP); }); }},
      {"the refusal of a rod",
       [](ScriptedGame& d) {
         d.until_options().key("5").wait(100).key("\r").until_input().key("5").until_message().then([] {
           EXPECT_EQ(run_report.message, &MSGBADROD);
         });
       }},
      {"the camera's pause",
       [&](ScriptedGame& d) {
         playing(d);
         d.key("1").wait(300).then([] {
           EXPECT_EQ(ScriptedGame::game().MOVECOUNT, 1);
           EXPECT_EQ(ScriptedGame::game().TURN, 1);
         });
       }},
      {"the computer's rod sliding in",
       [&](ScriptedGame& d) {
         playing(d);
         auto w = std::make_shared<Watch>();
         d.key("1").until("the computer's rod", [w] {
           w->look();
           return w->drawing && !w->camera && ScriptedGame::game().TURN == 1;
         }).wait(100);
       }},
      {"the camera moving",
       [&](ScriptedGame& d) {
         playing(d);
         auto w = std::make_shared<Watch>();
         // Two tens take the total past the first camera position.
         d.key("0").until("the first round", [] { return ScriptedGame::game().MOVECOUNT == 2; }).until_input();
         d.key("0").until("the camera", [w] {
           w->look();
           return w->camera;
         });
       }},
      {"the pause before a win",
       [](ScriptedGame& d) {
         d.until_options();
         for (int i = 0; i < 9; ++i) d.key("\xFFP");
         d.wait(500).key("\r").until_input().key("0").until("the winning rod", [] {
           return ScriptedGame::game().MOVECOUNT == 1;
         }).wait(300).then([] { EXPECT_TRUE(ScriptedGame::showing(SHOWN_PLAY)); });
       }},
      {"the message of a win",
       [](ScriptedGame& d) {
         d.until_options();
         for (int i = 0; i < 9; ++i) d.key("\xFFP");
         d.wait(500).key("\r").until_input().key("0").until_message().then([] {
           EXPECT_EQ(run_report.message, &MSGPLAYERWINS);
         });
       }},
  };
}

}  // namespace

TEST(WindowClose, EveryScreenAndAnimationEndsWithCodeZero) {
  for (const ClosePoint& p : close_points()) {
    SCOPED_TRACE(p.name);
    ScriptedGame d;
    p.steps(d);
    EXPECT_EQ(d.run(), 0) << p.name;
    EXPECT_TRUE(d.closed) << p.name << ": the point was not reached";
  }
}

#ifdef RANVEL_REPLAY_BIN

// The same for the program itself, at the points a script reaches by time.
TEST(WindowClose, TheReplayProgramEndsWithExitCodeZero) {
  const auto dir = std::filesystem::temp_directory_path() / ("ranvel-close-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  struct Scripted {
    const char* name;
    const char* script;
    const char* expect;  // in the state written just before the end
  };
  const std::vector<Scripted> points{
      {"options", "wait 300\n", "\"screen\": \"options\""},
      {"info", "wait 300\nkey i\nwait 300\n", "\"screen\": \"info\""},
      {"question", "wait 300\nkey esc\nwait 300\n", "\"screen\": \"message\""},
      {"closing", "wait 300\nkey esc\nwait 300\nkey s\nwait 1000\n", "\"screen\": \"info\""},
      {"play", "wait 300\nkey enter\nwait 1500\n", "\"movecount\": 0"},
      {"pause", "wait 300\nkey enter\nwait 1500\nkey 1\nwait 500\n", "\"turn\": 1"},
      {"flight", "wait 300\nkey enter\nwait 1500\nkey 1\nwait 1150\n", "\"movecount\": 1"},
      {"win",
       "wait 300\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\n"
       "wait 300\nkey enter\nwait 1500\nkey 0\nwait 3000\n",
       "Me has ganado"},
  };
  for (const Scripted& p : points) {
    const auto script = dir / (std::string(p.name) + ".txt");
    std::ofstream(script, std::ios::binary) << p.script << "state last\n";
    const auto out = dir / p.name;
    const auto err = dir / (std::string(p.name) + ".err");
    const std::string command = std::string("'") + RANVEL_REPLAY_BIN + "' '" + script.string() + "' '" + out.string() +
                                "' >/dev/null 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << p.name;
    EXPECT_EQ(WEXITSTATUS(status), 0) << p.name;
    EXPECT_EQ(file_text(err), "") << p.name;
    const std::string state = file_text(out / "last.json");
    EXPECT_NE(state.find(p.expect), std::string::npos) << p.name << ": " << state;
  }
  std::filesystem::remove_all(dir);
}

#endif
