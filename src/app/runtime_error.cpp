// The run-time error handler.
#include "core/runtime_error.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "screens/shown_screen.h"
#include "surface/input.h"
#include "surface/surface.h"


namespace {

// Set while a report is on its way, so that a failure inside the report
// itself does not start another one. Cleared again however the report ends
// (the end of the program unwinds through here).
bool reporting = false;

struct ReportingGuard {
  ReportingGuard() { reporting = true; }
  ~ReportingGuard() { reporting = false; }
};

}  // namespace

void report_runtime_error(int32_t number, int32_t line) {
  // The text as PRINTTEXT writes it: numbers that are not negative get a
  // space before their digits.
  std::string text = "Error ";
  if (number >= 0) text.push_back(' ');
  text.append(std::to_string(number)).append(" in line ");
  if (line >= 0) text.push_back(' ');
  text.append(std::to_string(line));
  if (reporting || !screen_open()) {
    // No window yet: the report goes to standard output, and there is no
    // keyboard to wait for, so the program ends at once.
    std::fputs((text + "\n").c_str(), stdout);
    std::fflush(stdout);
    platform_error_report(text);
    end_program(0);
  }
  const ReportingGuard guard;
  show_screen(SHOWN_ERROR);
  PRINTTEXT("Error ", false);
  PRINTTEXT(static_cast<long long>(number), false);
  PRINTTEXT(" in line ", false);
  PRINTTEXT(static_cast<long long>(line), true);
  platform_error_report(text);
  WAITMS(-1);
  end_program(0);
}
