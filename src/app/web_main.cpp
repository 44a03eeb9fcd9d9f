// The game in a web page. The page hands over its address's parameters as
// the command line (web/page.js: "?name=value" is "--name value", "?name"
// is "--name"). A page has nowhere to stop before the game, so help, the
// version and a command line that cannot be read are written to the
// browser's console and the game starts all the same. The page's controls
// show the level and the hints as the game read them.
#include "app/command_line.h"
#include "app/main_routine.h"
#include "core/runtime_error.h"
#include "platform/web.h"
#include "screens/shown_screen.h"
#include "surface/surface.h"

// For the page: whether a game is being played (its first frame is shown,
// or a message over it), which a change of language would end. Kept and
// exported, as the backend's functions for the page are.
extern "C" __attribute__((used)) int web_playing() {
  const bool over_a_game = run_report.screen == SHOWN_MESSAGE && run_report.game != nullptr &&
                           run_report.game->MOVECOUNT > 0;
  return run_report.screen == SHOWN_PLAY || over_a_game ? 1 : 0;
}

int main(int argc, char** argv) {
  CommandLine line;
  if (take_command_line(argc, argv, line) == UNREADABLE) line = CommandLine{};
  apply_command_line(line);
  web_show_settings(teaching_aids.level, teaching_aids.hints ? 1 : 0);
  int code = 0;
  try {
    ranvel_main();
  } catch (const ProgramEnd& end) {
    code = end.code;
  }
  // With sleeps that hand the thread back to the browser, main's return
  // reaches no one: the page is told here.
  present_page();
  web_game_over(code);
  return code;
}
