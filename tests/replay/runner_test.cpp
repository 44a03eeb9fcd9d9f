#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "replay/runner.h"
#include "screens/shown_screen.h"
#include "surface/input.h"
#include "surface/random.h"
#include "surface/surface.h"
#include "tests/support/files.h"
#include "tests/support/screen.h"

namespace {

// What the stand-in games saw: the virtual time and a note.
struct Seen {
  int64_t MS;
  std::string what;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> seen;

std::string mouse_text(const MouseReading& m) {
  return "mouse " + std::to_string(m.x) + " " + std::to_string(m.y) + " " + std::to_string(m.buttons);
}

// A screen that waits like the game's screens: 20 ms between polls, noting
// every key and every change of the mouse; "q" ends the program.
void polling_game() {
  open_test_screen();
  std::string last_mouse = mouse_text(POLLMOUSE());
  seen.push_back({headless_now_ms(), last_mouse});
  for (;;) {
    WAITMS(20);
    const std::string k = POLLKEY();
    if (!k.empty()) seen.push_back({headless_now_ms(), "key " + k});
    if (k == "q") end_program(0);
    const std::string m = mouse_text(POLLMOUSE());
    if (m != last_mouse) seen.push_back({headless_now_ms(), m});
    last_mouse = m;
  }
}

// An animation: a whole frame copied to the screen, then WAITMS(2).
void animating_game() {
  open_test_screen();
  Image frame = NEWIMAGE(800, 600);
  for (;;) {
    check_code(BLITIMAGE(screen_page(), 0, 0, frame, BLIT_COPY));
    WAITMS(2);
    POLLKEY();
  }
}

// Draws a picture and a palette, then waits.
void drawing_game() {
  open_test_screen();
  show_screen(SHOWN_PLAY);
  Image screen = screen_page();
  const ImageInfo info = IMAGEINFO(screen);
  for (int i = 0; i < 800 * 600; ++i) info.pixels[i] = static_cast<std::uint8_t>(i % 251);
  for (int i = 0; i < 256; ++i) SETPALETTE(i, i, 255 - i, i / 2);
  for (;;) {
    WAITMS(20);
    POLLKEY();
  }
}

// Waits a random time as the computer's rod flight does; notes the times.
void random_game() {
  open_test_screen();
  RANDOMSEED(CLOCKSECONDS());
  for (;;) {
    const int32_t ms = static_cast<int32_t>(200 + 2500 * RANDOMUNIT());
    WAITMS(ms);
    seen.push_back({headless_now_ms(), "flight " + std::to_string(ms) + " " + POLLKEY()});
  }
}

// Polls the keyboard without ever waiting.
void busy_game() {
  open_test_screen();
  for (;;) POLLKEY();
}

void failing_game() {
  open_test_screen();
  WAITMS(20);
  report_runtime_error(6, 310);
}

int32_t replay(const std::string& script, void (*game)(), const std::string& outdir = "/tmp") {
  seen.clear();
  const ReplayScript s = parse_replay_script(script, "test");
  EXPECT_TRUE(s.ok) << s.error;
  const int32_t code = run_replay(s.commands, outdir, game);
  return code;
}

std::filesystem::path scratch_dir(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("ranvel-replay-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace

TEST(ReplayRunner, CommandsRunAtTheVirtualTimeReached) {
  // The clock starts at 10.000 s; the screen polls every 20 ms.
  EXPECT_EQ(replay("wait 100\nkey 3\nwait 45\nkey 4\n", polling_game), REPLAY_DONE);
  // Key 3 is queued at 10100 and read by the poll that follows. The wait of
  // 45 ms from 10100 ends at the first time reached at or after 10145, which
  // is 10160; there key 4 is queued, the script has run out and the game is
  // ended before it could read that key.
  EXPECT_EQ(seen, (std::vector<Seen>{{10000, "mouse -1 -1 -1"}, {10100, "key 3"}}));
  EXPECT_EQ(headless_now_ms(), 10160);
}

TEST(ReplayRunner, ClickHoldsTheButtonFor60ms) {
  EXPECT_EQ(replay("click 10 20\nwait 20\nmouse out\nwait 20\n", polling_game), REPLAY_DONE);
  // The first look at the mouse already carries out the click's first steps.
  EXPECT_EQ(seen, (std::vector<Seen>{{10000, "mouse 10 20 1"}, {10060, "mouse 10 20 0"}, {10140, "mouse -1 -1 -1"}}));
  EXPECT_EQ(headless_now_ms(), 10160);
}

TEST(ReplayRunner, ButtonPressedOutsideStaysUnseenUntilThePointerComesIn) {
  EXPECT_EQ(replay("down\nwait 40\nmouse 5 6\nwait 40\nup\nwait 20\n", polling_game), REPLAY_DONE);
  EXPECT_EQ(seen, (std::vector<Seen>{{10000, "mouse -1 -1 -1"}, {10040, "mouse 5 6 1"}, {10080, "mouse 5 6 0"}}));
}

TEST(ReplayRunner, KeysAndTextTakeNoTime) {
  EXPECT_EQ(replay("wait 20\ntext ab\nkey enter\nwait 100\n", polling_game), REPLAY_DONE);
  EXPECT_EQ(seen, (std::vector<Seen>{{10000, "mouse -1 -1 -1"}, {10020, "key a"}, {10040, "key b"}, {10060, "key \r"}}));
  EXPECT_EQ(headless_now_ms(), 10120);
}

TEST(ReplayRunner, WholeFramesAdvanceTheClockBy16ms) {
  const int64_t frames_before = headless_frames();
  EXPECT_EQ(replay("wait 50\n", animating_game), REPLAY_DONE);
  // Frame, 2 ms wait, frame, ...: 10016, 10018, 10034, 10036, 10052, 10054,
  // 10070; the wait began at the first poll (10016) and ended at 10070.
  EXPECT_EQ(headless_now_ms(), 10070);
  EXPECT_EQ(headless_frames(), 4);
  (void)frames_before;
}

TEST(ReplayRunner, TheGameEndingItselfEndsTheReplay) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(replay("wait 30\nkey q\nwait 1000\nkey x\n", polling_game), REPLAY_DONE);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(seen, (std::vector<Seen>{{10000, "mouse -1 -1 -1"}, {10040, "key q"}}));
  EXPECT_EQ(err, "ranvel-replay: the game ended by itself during line 3 of the script\n");
}

TEST(ReplayRunner, ShotsAndSnapshotsShowTheMomentTheyAreTaken) {
  const auto dir = scratch_dir("shots");
  const std::string script = "wait 40\nshot picture\nstate record\nwait 20\n";
  EXPECT_EQ(replay(script, drawing_game, dir.string()), REPLAY_DONE);
  const PagePng png = read_page_png((dir / "picture.png").string());
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 800);
  EXPECT_EQ(png.height, 600);
  for (int i : {0, 1, 250, 251, 479999}) EXPECT_EQ(png.pixels[i], i % 251) << i;
  ASSERT_EQ(png.palette.size(), 768u);
  EXPECT_EQ(png.palette[3 * 10 + 0], 10);
  EXPECT_EQ(png.palette[3 * 10 + 1], 245);
  EXPECT_EQ(png.palette[3 * 10 + 2], 5);
  const std::string json = file_text(dir / "record.json");
  EXPECT_EQ(json.rfind("{\"screen\": \"play\", ", 0), 0u) << json;
  EXPECT_EQ(json.back(), '\n');
  std::filesystem::remove_all(dir);
  run_report = RunReport{};
}

TEST(ReplayRunner, AShotThatCannotBeWrittenFailsTheRun) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(replay("wait 20\nshot x\nwait 20\n", polling_game, "/nonexistent-ranvel-folder"), REPLAY_OUTPUT_FAILED);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("line 2: cannot write /nonexistent-ranvel-folder/x.png"), std::string::npos) << err;
}

TEST(ReplayRunner, EveryRunOfAScriptIsTheSame) {
  const std::string script = "wait 3000\nkey 1\nwait 9000\n";
  replay(script, random_game);
  const std::vector<Seen> first = seen;
  replay(script, random_game);
  EXPECT_EQ(seen, first);
  EXPECT_GE(first.size(), 4u);
}

TEST(ReplayRunner, ARunTimeErrorIsReportedAndTheScriptGoesOn) {
  const auto dir = scratch_dir("error");
  testing::internal::CaptureStderr();
  EXPECT_EQ(replay("wait 500\nstate failed\nkey enter\nwait 100\n", failing_game, dir.string()), REPLAY_DONE);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "Error  6 in line  310\nranvel-replay: the game ended by itself during line 4 of the script\n");
  EXPECT_EQ(file_text(dir / "failed.json").rfind("{\"screen\": \"error\", ", 0), 0u);
  // The report waited for the key, which came at 10500; the program ended
  // at the report's next look at the keyboard.
  EXPECT_EQ(headless_now_ms(), 10520);
  std::filesystem::remove_all(dir);
  run_report = RunReport{};
}

TEST(ReplayRunner, AGameThatStopsTimeDoesNotHangTheReplay) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(replay("wait 20\nkey 1\n", busy_game), REPLAY_STUCK);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "ranvel-replay: the game keeps polling without letting time pass (script line 1)\n");
}
