// The run-time error handler.
#include "app/runtime_error.h"

#include <cstdio>
#include <string>

#include "app/run_report.h"
#include "surface/input.h"
#include "surface/platform.h"
#include "surface/surface.h"

void ENDPROGRAM(int code) { throw PROGRAMEND{code}; }

namespace {

// Set while a report is on its way, so that a failure inside the report
// itself does not start another one. Cleared again however the report ends
// (the end of the program unwinds through here).
bool reporting = false;

struct reporting_guard {
  reporting_guard() { reporting = true; }
  ~reporting_guard() { reporting = false; }
};

}  // namespace

void RUNTIMEERROR(int32_t number, int32_t line) {
  // The text as PRINTTEXT writes it: numbers that are not negative get a
  // space before their digits.
  std::string text = "Error ";
  if (number >= 0) text.push_back(' ');
  text.append(std::to_string(number)).append(" in line ");
  if (line >= 0) text.push_back(' ');
  text.append(std::to_string(line));
  if (reporting || !SCREENOPEN()) {
    // No window yet: the report goes to standard output, and there is no
    // keyboard to wait for, so the program ends at once.
    std::fputs((text + "\n").c_str(), stdout);
    std::fflush(stdout);
    PLATFORMERRORREPORT(text);
    ENDPROGRAM(0);
  }
  const reporting_guard guard;
  SHOWSCREEN(SHOWN_ERROR);
  PRINTTEXT("Error ", false);
  PRINTTEXT(static_cast<long long>(number), false);
  PRINTTEXT(" in line ", false);
  PRINTTEXT(static_cast<long long>(line), true);
  PLATFORMERRORREPORT(text);
  WAITMS(-1);
  ENDPROGRAM(0);
}
