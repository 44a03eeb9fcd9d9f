#include "app/run_report.h"

RUNREPORT REPORT;

SHOWNSCREEN SHOWSCREEN(SHOWNSCREEN screen) {
  const SHOWNSCREEN before = REPORT.SCREEN;
  REPORT.SCREEN = screen;
  return before;
}
