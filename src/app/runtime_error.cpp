// The run-time error handler.
#include "app/runtime_error.h"

#include <cstdio>
#include <string>

#include "app/run_report.h"
#include "surface/input.h"
#include "surface/platform.h"
#include "surface/surface.h"

void ENDPROGRAM(int code) { throw PROGRAMEND{code}; }

void RUNTIMEERROR(int32_t number, int32_t line) {
  static bool reporting = false;
  std::string text = "Error ";
  text.append(" ").append(std::to_string(number)).append(" in line ");
  text.append(" ").append(std::to_string(line));
  if (reporting || !SCREENOPEN()) {
    // No window yet: the report goes to standard output, and there is no
    // keyboard to wait for, so the program ends at once.
    std::fputs((text + "\n").c_str(), stdout);
    std::fflush(stdout);
    ENDPROGRAM(0);
  }
  reporting = true;
  SHOWSCREEN(SHOWN_ERROR);
  PRINTTEXT("Error ", false);
  PRINTTEXT(static_cast<long long>(number), false);
  PRINTTEXT(" in line ", false);
  PRINTTEXT(static_cast<long long>(line), true);
  PLATFORMERRORREPORT(text);
  WAITMS(-1);
  ENDPROGRAM(0);
}
