#include <gtest/gtest.h>

#include <cstring>

#include "app/run_report.h"
#include "app/runtime_error.h"
#include "surface/headless.h"
#include "surface/input.h"
#include "surface/platform.h"
#include "surface/surface.h"
#include "tests/surface/printed_text.h"
#include "tests/surface/surface_fixture.h"

namespace {

// A black screen with the report's colours set, as start-up leaves them.
void clear_screen() {
  const IMAGEINFORECORD info = IMAGEINFO(SCREEN());
  std::memset(info.PIXELS, 0, 800 * 600);
  SETTEXTCOLORS(255, 176);
}

// Runs f, which must end the program, and returns the exit code it ended with.
template <class F>
int ended_with(F f) {
  try {
    f();
  } catch (const PROGRAMEND& end) {
    return end.code;
  }
  ADD_FAILURE() << "the program did not end";
  return -1;
}

}  // namespace

TEST(RunTimeError, ReportIsDrawnOnTheScreenAndWaitsForAKey) {
  OPENTESTSCREEN();
  clear_screen();
  HEADLESSRESET();
  // The player presses a key half a second after the report appears.
  HEADLESSSETDRIVER([](int64_t now) {
    if (now >= 10500 && !PLATFORMKEYWAITING()) HEADLESSKEY("x");
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { RUNTIMEERROR(6, 310); }), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  HEADLESSSETDRIVER(nullptr);
  EXPECT_GE(HEADLESSNOWMS(), 10500);
  EXPECT_LE(HEADLESSNOWMS(), 10550);
  bool clean = false;
  EXPECT_EQ(PRINTEDTEXT(255, 176, &clean), "Error  6 in line  310\n");
  EXPECT_TRUE(clean);
  EXPECT_EQ(REPORT.SCREEN, SHOWN_ERROR);
  // The key that ended the wait is still waiting.
  EXPECT_EQ(POLLKEY(), "x");
  EXPECT_EQ(err, "Error  6 in line  310\n");
  REPORT = RUNREPORT{};
}

TEST(RunTimeError, CheckedAccessReportsErrorSixWithTheLineOfTheStatement) {
  OPENTESTSCREEN();
  clear_screen();
  HEADLESSRESET();
  HEADLESSKEY("k");  // a key already waiting ends the report's wait at once
  CHECKEDARRAY<int, 4> a;
  int line = 0;
  testing::internal::CaptureStderr();
  const int code = ended_with([&] {
    line = __LINE__ + 1;
    a[4] = 1;
  });
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(PRINTEDTEXT(255, 176), "Error  6 in line  " + std::to_string(line) + "\n");

  clear_screen();
  HEADLESSKEY("k");
  CHECKEDLIST<int> list;
  list.RESIZE(3);
  testing::internal::CaptureStderr();
  int c = ended_with([&] {
    line = __LINE__ + 1;
    list[-1] = 2;
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  6 in line  " + std::to_string(line) + "\n");

  clear_screen();
  HEADLESSKEY("k");
  int* nothing = nullptr;
  testing::internal::CaptureStderr();
  c = ended_with([&] {
    line = __LINE__ + 1;
    CHECKREF(nothing);
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  7 in line  " + std::to_string(line) + "\n");

  // A surface operation's code of 1 is reported as error 1.
  clear_screen();
  HEADLESSKEY("k");
  testing::internal::CaptureStderr();
  c = ended_with([&] {
    line = __LINE__ + 1;
    CHECKCODE(BLITIMAGE(SCREEN(), 0, 0, nullptr, BLITCOPY));
  });
  EXPECT_EQ(c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error  1 in line  " + std::to_string(line) + "\n");
  EXPECT_EQ(POLLKEY(), "k");
  REPORT = RUNREPORT{};
}

TEST(RunTimeError, AFailureDuringTheReportEndsAtOnceOnStandardOutput) {
  OPENTESTSCREEN();
  clear_screen();
  HEADLESSRESET();
  // While the report waits for a key, something fails again.
  HEADLESSSETDRIVER([](int64_t now) {
    if (now >= 10100) RUNTIMEERROR(7, 42);
  });
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { RUNTIMEERROR(6, 310); }), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  HEADLESSSETDRIVER(nullptr);
  EXPECT_EQ(out, "Error  7 in line  42\n");
  EXPECT_EQ(err, "Error  6 in line  310\nError  7 in line  42\n");
  // The next report is drawn on the screen again.
  clear_screen();
  HEADLESSKEY("k");
  testing::internal::CaptureStderr();
  EXPECT_EQ(ended_with([] { RUNTIMEERROR(9, 1); }), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(PRINTEDTEXT(255, 176), "Error  9 in line  1\n");
  POLLKEY();
  REPORT = RUNREPORT{};
}

// Before the screen is open there is no keyboard: the report goes to standard
// output and the program ends at once. Run in a fresh process, where no
// screen has been opened.
TEST(RunTimeErrorDeathTest, BeforeTheScreenIsOpenTheReportGoesToStandardOutput) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (SCREENOPEN()) std::exit(9);
        testing::internal::CaptureStdout();
        int code = -1;
        try {
          // A failed sizing of a list, as at start-up.
          CHECKEDLIST<std::string> texts;
          texts.RESIZE(-1);
        } catch (const PROGRAMEND& end) {
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
