#include <gtest/gtest.h>

#include <cstring>

#include "core/checked.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "screens/shown_screen.h"
#include "surface/input.h"
#include "surface/surface.h"
#include "tests/support/printed_text.h"
#include "tests/support/screen.h"

namespace {

// A black screen with the report's colours set, as start-up leaves them.
void clear_screen() {
  const ImageInfo info = IMAGEINFO(screen_page());
  std::memset(info.pixels, 0, 800 * 600);
  SETTEXTCOLORS(255, 176);
}

// Runs f, which must end the program, and returns the exit code it ended with.
template <class F>
int ended_with(F f) {
  try {
    f();
  } catch (const ProgramEnd& end) {
    return end.code;
  }
  ADD_FAILURE() << "the program did not end";
  return -1;
}

}  // namespace

TEST(RunTimeError, ReportIsDrawnOnTheScreenAndWaitsForAKey) {
  open_test_screen();
  clear_screen();
  headless_reset();
  // The player presses a key half a second after the report appears.
  headless_set_driver([](int64_t now) {
    if (now >= 10500 && !platform_key_waiting()) headless_key("x");
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { report_runtime_error(6, 310); }), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  headless_set_driver(nullptr);
  EXPECT_GE(headless_now_ms(), 10500);
  EXPECT_LE(headless_now_ms(), 10550);
  bool clean = false;
  EXPECT_EQ(printed_text(255, 176, &clean), "Error  6 in line  310\n");
  EXPECT_TRUE(clean);
  EXPECT_EQ(run_report.screen, SHOWN_ERROR);
  // The key that ended the wait is still waiting.
  EXPECT_EQ(POLLKEY(), "x");
  EXPECT_EQ(err, "Error  6 in line  310\n");
  run_report = RunReport{};
}

TEST(RunTimeError, CheckedAccessReportsErrorSixWithTheLineOfTheStatement) {
  open_test_screen();
  clear_screen();
  headless_reset();
  headless_key("k");  // a key already waiting ends the report's wait at once
  CheckedArray<int, 4> a;
  int line = 0;
  testing::internal::CaptureStderr();
  const int code = ended_with([&] {
    line = __LINE__ + 1;
    a[4] = 1;
  });
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(printed_text(255, 176), "Error  6 in line  " + std::to_string(line) + "\n");

  clear_screen();
  headless_key("k");
  CheckedList<int> list;
  list.resize(3);
  testing::internal::CaptureStderr();
  int c = ended_with([&] {
    line = __LINE__ + 1;
    list[-1] = 2;
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  6 in line  " + std::to_string(line) + "\n");

  clear_screen();
  headless_key("k");
  int* nothing = nullptr;
  testing::internal::CaptureStderr();
  c = ended_with([&] {
    line = __LINE__ + 1;
    check_ref(nothing);
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  7 in line  " + std::to_string(line) + "\n");

  // A surface operation's code of 1 is reported as error 1.
  clear_screen();
  headless_key("k");
  testing::internal::CaptureStderr();
  c = ended_with([&] {
    line = __LINE__ + 1;
    check_code(BLITIMAGE(screen_page(), 0, 0, nullptr, BLIT_COPY));
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  1 in line  " + std::to_string(line) + "\n");
  EXPECT_EQ(POLLKEY(), "k");
  run_report = RunReport{};
}

TEST(RunTimeError, AFailureDuringTheReportEndsAtOnceOnStandardOutput) {
  open_test_screen();
  clear_screen();
  headless_reset();
  // While the report waits for a key, something fails again.
  headless_set_driver([](int64_t now) {
    if (now >= 10100) report_runtime_error(7, 42);
  });
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { report_runtime_error(6, 310); }), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  headless_set_driver(nullptr);
  EXPECT_EQ(out, "Error  7 in line  42\n");
  EXPECT_EQ(err, "Error  6 in line  310\nError  7 in line  42\n");
  // The next report is drawn on the screen again.
  clear_screen();
  headless_key("k");
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { report_runtime_error(9, 1); }), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed_text(255, 176), "Error  9 in line  1\n");
  POLLKEY();
  run_report = RunReport{};
}

// Before the screen is open there is no keyboard: the report goes to standard
// output and the program ends at once. Run in a fresh process, where no
// screen has been opened.
TEST(RunTimeErrorDeathTest, BeforeTheScreenIsOpenTheReportGoesToStandardOutput) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (screen_open()) std::exit(9);
        testing::internal::CaptureStdout();
        int code = -1;
        try {
          // A failed sizing of a list, as at start-up.
          CheckedList<std::string> texts;
          texts.resize(-1);
        } catch (const ProgramEnd& end) {
          code = end.code;
        }
        std::string out = testing::internal::GetCapturedStdout();
        for (char& c : out)
          if (c == '\n') c = '|';
        std::fprintf(stderr, "stdout=[%s] code=%d\n", out.c_str(), code);
        std::exit(3);
      },
      testing::ExitedWithCode(3), "stdout=\\[Error  6 in line  [0-9]+\\|\\] code=0");
}
