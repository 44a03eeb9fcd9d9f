// The game in a real window.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_routine.h"
#include "core/runtime_error.h"

int main(int argc, char** argv) {
  // The command line is answered before anything of the game is made: help,
  // the version and a usage error print their text and end there.
  const std::vector<std::string> arguments = arguments_of(argc, argv);
  CommandLine line;
  std::string error;
  if (!parse_command_line(arguments, line, error)) {
    std::fputs(usage_text(error).c_str(), stderr);
    return USAGE_EXIT_STATUS;
  }
  if (line.show_help || line.show_version) {
    std::fputs((line.show_help ? help_text() : version_text()).c_str(), stdout);
    return 0;
  }
  apply_command_line(line);
  try {
    ranvel_main();
  } catch (const ProgramEnd& end) {
    return end.code;
  }
}
