// The seam between the game and the outside world. Two backends implement it
// and are linked in by choice of program, never both: platform_sdl.cpp (a real
// window) and platform_headless.cpp (a virtual clock and scripted input, for
// tests and replays). The page and the palette live in the raster surface;
// a backend only shows them.
#pragma once

#include <cstdint>
#include <string>

struct PLATFORMMOUSE {
  int32_t X = -1;
  int32_t Y = -1;
  int32_t BUTTONS = -1;
};

// Called once by SETSCREENMODE: open the window for a page of this size.
bool PLATFORMOPEN(int32_t width, int32_t height);
// Called whenever the game waits or polls: gather window events, and present
// the page and palette if they changed since the last present.
void PLATFORMPUMP();
// Called by WAITMS: sleep this many milliseconds without busy-waiting, while
// the window keeps receiving input.
void PLATFORMSLEEP(int32_t ms);
// Monotonic seconds since an origin fixed for the run.
double PLATFORMCLOCK();
// The keyboard queue: whether a key waits, and the oldest key text (removed).
bool PLATFORMKEYWAITING();
std::string PLATFORMTAKEKEY();
// The mouse now, in page pixels; all -1 outside the window.
PLATFORMMOUSE PLATFORMMOUSESTATE();
// Called when a whole 800 x 600 frame has been copied onto the screen.
void PLATFORMFULLFRAME();
// Called by the error report once it has been drawn (the replay runner also
// prints it on standard error).
void PLATFORMERRORREPORT(const std::string& text);
