// The game in a real window.
#include <cstdlib>

#include "app/command_line.h"
#include "app/main_routine.h"
#include "core/runtime_error.h"

int main(int argc, char** argv) {
  // The language: --idioma, or else the locale's.
  choose_language(language_of_locale(std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                     std::getenv("LANG")));
  // The command line is answered before anything of the game is made: help,
  // the version and a usage error print their text and end there.
  CommandLine line;
  switch (take_command_line(argc, argv, line)) {
    case UNREADABLE:
      return USAGE_EXIT_STATUS;
    case ANSWERED:
      return 0;
    case RUN_GAME:
      break;
  }
  apply_command_line(line);
  try {
    ranvel_main();
  } catch (const ProgramEnd& end) {
    return end.code;
  }
}
