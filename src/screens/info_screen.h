// The information screen and the unscrambling of the stored texts.
#pragma once

#include <cstdint>

#include "core/checked.h"

extern TextList INFOTEXT1;
extern TextList INFOTEXT2;
extern TextList INFOTEXT3;
extern TextList INFOTEXTEND;

uint8_t HALFVALUE(uint8_t b, int32_t position);
// Fills the list from a stored block; count limits the character bytes read.
int32_t DOMOVE(const std::uint8_t* source, int32_t count, TextList& destination);
// Shows the page over the whole screen and waits for the player.
int32_t INFOSCREEN(const TextList& text, double minimumseconds);
