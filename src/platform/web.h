// What the web page's entry point asks of the web backend beyond the seam.
#pragma once

#include <cstdint>

// The settings the game starts with, once its address has been read: the
// page's controls show them (level 0 easy, 1 medium, 2 expert; hints 0 or 1).
void web_show_settings(int32_t level, int32_t hints);

// The game has ended (with this exit code): the keyboard goes back to the
// page, and the page is told, which keeps the last picture and offers to
// play again. The program's runtime stays, since the page goes on.
void web_game_over(int code);
