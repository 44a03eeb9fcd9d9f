// The texts of the game's messages and the colours they are shown in.
#pragma once

#include <cstdint>

#include "core/checked.h"

extern const TextList MSGCOMPUWINS;
extern const TextList MSGPLAYERWINS;
extern const TextList MSGCANNOTREACH;  // line 2 carries the target (%d)
extern const TextList MSGNOTNOW;
extern const TextList MSGQUIT;
extern const TextList MSGTOOFEWRODS;
extern const TextList MSGOVERSHOOT;    // line 3 carries the target (%d)
extern const TextList MSGTIE;
extern const TextList MSGBADROD;
extern const TextList MSGGIVEUP;

// The colour of a message's ramp: a win, a loss or a refusal, a tie, a
// question.
constexpr uint32_t COLOUR_WIN = 0x20FF20;
constexpr uint32_t COLOUR_LOSS = 0xE00000;
constexpr uint32_t COLOUR_TIE = 0x200080;
constexpr uint32_t COLOUR_QUESTION = 0xC0C000;

// A message as it is shown, in the chosen language: for Spanish the list
// itself, for another language its translation (made once).
const TextList& shown_message(const TextList& lines);
// ... with the number written in decimal where the text has "%d".
TextList shown_message(const TextList& lines, int32_t number);
