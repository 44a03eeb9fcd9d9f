#include "screens/shown_screen.h"

RunReport run_report;

ShownScreen show_screen(ShownScreen screen) {
  const ShownScreen before = run_report.screen;
  run_report.screen = screen;
  return before;
}
