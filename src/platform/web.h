// What the web page's entry point asks of the web backend beyond the seam.
#pragma once

// The game has ended (with this exit code): the keyboard goes back to the
// page, and the page is told, which keeps the last picture and offers to
// play again. The program's runtime stays, since the page goes on.
void web_game_over(int code);
