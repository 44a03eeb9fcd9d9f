// The message box: a notice or a yes/no question in a rounded box in the
// middle of the screen, drawn over whatever is shown and taken away again.
#pragma once

#include <cstdint>

#include "core/checked.h"

constexpr int32_t MESSAGE_NOTICE = 0;
constexpr int32_t MESSAGE_QUESTION = 2;
// Shows the lines in the message box and waits for the player; 1 for a yes,
// 0 otherwise.
int32_t SHOWMESSAGE(const TextList& lines, uint32_t colour, int32_t kind);
