// The texts of the game's messages and the colours they are shown in.
#pragma once

#include <cstdint>

#include "core/checked.h"

extern const TextList MSGCOMPUWINS;
extern const TextList MSGPLAYERWINS;
extern const TextList MSGCANNOTREACH;  // line 2 carries the target
extern const TextList MSGNOTNOW;
extern const TextList MSGQUIT;
extern const TextList MSGTOOFEWRODS;
extern const TextList MSGOVERSHOOT;    // line 3 carries the target
extern const TextList MSGTIE;
extern const TextList MSGBADROD;
extern const TextList MSGGIVEUP;

// The colour of a message's ramp: a win, a loss or a refusal, a tie, a
// question.
constexpr uint32_t COLOUR_WIN = 0x20FF20;
constexpr uint32_t COLOUR_LOSS = 0xE00000;
constexpr uint32_t COLOUR_TIE = 0x200080;
constexpr uint32_t COLOUR_QUESTION = 0xC0C000;

// The list with the target written in decimal at the end of one line, as it
// is shown.
TextList with_target(const TextList& lines, int32_t line, int32_t target);
