// The start-up sequence and the objects of a run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

// The objects of the run: made once by start_up, alive until the program
// ends, and passed to whatever draws or plays.
struct GameRun {
  GAMESTATE game;     // the game record
  SCREENDEF view;     // the view record
  Image frame = nullptr;    // FRAMEIMAGE: every scene frame is drawn into it
  Image texture = nullptr;  // TEXTUREIMAGE: the floor texture
  MAPPEDFONT font;    // MAPPEDFONT: the digit font painted on the floor
};

// Where the view's centre lies on the screen: the middle of the page.
constexpr int32_t VIEW_CENTRE_X = PAGE_WIDTH / 2;
constexpr int32_t VIEW_CENTRE_Y = PAGE_HEIGHT / 2;
// Height of a number label on the floor, in floor units, and the largest
// number that gets one.
constexpr double LABEL_HEIGHT = 0.5;
constexpr uint8_t LARGEST_LABEL = 100;

// The seed the start-up sequence gives the random generator in place of the
// clock's reading, when a run asks for one (the replay runner's --semilla):
// every run with the same seed then draws the same numbers.
extern std::optional<double> chosen_seed;

// Runs the start-up sequence: the trace lines, the choice rods, the digit
// font, the information texts, the screen, the frame and the texture, the
// sprites, the palette, the random generator's seed, the floor texture, the
// sounds and the number labels. Returns the objects of the run. A second call
// (tests) makes them anew in the same place. The trace lines go to standard
// output, or to `trace` for a program whose standard output must hold nothing
// else (the benchmarks' JSON).
GameRun& start_up(std::FILE* trace = stdout);

// The objects of the run that start_up made (for tests that look at a game
// in progress).
GameRun& current_run();
