// The game in a real window.
#include "app/main_routine.h"
#include "core/runtime_error.h"

int main() {
  try {
    ranvel_main();
  } catch (const ProgramEnd& end) {
    return end.code;
  }
}
