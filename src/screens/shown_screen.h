// What the program is showing, for the replay runner's state snapshots.
#pragma once

#include "core/checked.h"
#include "game/gamestate.h"

enum ShownScreen { SHOWN_NONE, SHOWN_OPTIONS, SHOWN_PLAY, SHOWN_MESSAGE, SHOWN_INFO, SHOWN_ERROR };

struct RunReport {
  ShownScreen screen = SHOWN_NONE;
  const GAMESTATE* game = nullptr;          // the game record of the run
  const TextList* message = nullptr;        // the open message box's lines, if any
};
extern RunReport run_report;

// Sets the screen shown and returns the one it replaces (for screens that
// open over another and put it back when they close).
ShownScreen show_screen(ShownScreen screen);
