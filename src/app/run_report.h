// What the program is showing, for the replay runner's state snapshots.
#pragma once

#include "app/runtime_error.h"
#include "game/gamestate.h"

enum SHOWNSCREEN { SHOWN_NONE, SHOWN_OPTIONS, SHOWN_PLAY, SHOWN_MESSAGE, SHOWN_INFO, SHOWN_ERROR };

struct RUNREPORT {
  SHOWNSCREEN SCREEN = SHOWN_NONE;
  const GAMESTATE* GAME = nullptr;          // the game record of the run
  const TEXTLIST* MESSAGE = nullptr;        // the open message box's lines, if any
};
extern RUNREPORT REPORT;

// Sets the screen shown and returns the one it replaces (for screens that
// open over another and put it back when they close).
SHOWNSCREEN SHOWSCREEN(SHOWNSCREEN screen);
