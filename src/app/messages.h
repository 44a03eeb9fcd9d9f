// The message lists of the game and the message box.
#pragma once

#include <cstdint>

#include "app/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"

extern TEXTLIST MSGCOMPUWINS;
extern TEXTLIST MSGPLAYERWINS;
extern TEXTLIST MSGCANNOTREACH;
extern TEXTLIST MSGNOTNOW;
extern TEXTLIST MSGQUIT;
extern TEXTLIST MSGTOOFEWRODS;
extern TEXTLIST MSGOVERSHOOT;
extern TEXTLIST MSGTIE;
extern TEXTLIST MSGBADROD;
extern TEXTLIST MSGGIVEUP;
// Fills the ten lists with their texts (once, at start-up).
void SETMESSAGES();

constexpr int32_t MESSAGENOTICE = 0;
constexpr int32_t MESSAGEQUESTION = 2;
// Shows the lines in the message box; 1 for a yes, 0 otherwise.
int32_t SHOWMESSAGE(const TEXTLIST& lines, uint32_t colour, int32_t kind);

constexpr int32_t TIEBUTTON = 51;
constexpr int32_t QUITBUTTON = 52;
int32_t DRAWGAMEBTN(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
