// The information screen and the unscrambling of the stored texts.
#pragma once

#include <cstdint>

#include "app/runtime_error.h"

extern TEXTLIST INFOTEXT1;
extern TEXTLIST INFOTEXT2;
extern TEXTLIST INFOTEXT3;
extern TEXTLIST INFOTEXTEND;

uint8_t HALFVALUE(uint8_t b, int32_t position);
// Fills the list from a stored block; count limits the character bytes read.
int32_t DOMOVE(const std::uint8_t* source, int32_t count, TEXTLIST& destination);
// Shows the page over the whole screen and waits for the player.
int32_t INFOSCREEN(const TEXTLIST& text, double minimumseconds);
