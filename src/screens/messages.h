// The message lists of the game and the message box.
#pragma once

#include <cstdint>

#include "core/runtime_error.h"
#include "game/gamestate.h"
#include "scene/projection.h"

extern TextList MSGCOMPUWINS;
extern TextList MSGPLAYERWINS;
extern TextList MSGCANNOTREACH;
extern TextList MSGNOTNOW;
extern TextList MSGQUIT;
extern TextList MSGTOOFEWRODS;
extern TextList MSGOVERSHOOT;
extern TextList MSGTIE;
extern TextList MSGBADROD;
extern TextList MSGGIVEUP;
// Fills the ten lists with their texts (once, at start-up).
void set_messages();

constexpr int32_t MESSAGE_NOTICE = 0;
constexpr int32_t MESSAGE_QUESTION = 2;
// Shows the lines in the message box; 1 for a yes, 0 otherwise.
int32_t SHOWMESSAGE(const TextList& lines, uint32_t colour, int32_t kind);

constexpr int32_t TIEBUTTON = 51;
constexpr int32_t QUITBUTTON = 52;
int32_t DRAWGAMEBTN(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
