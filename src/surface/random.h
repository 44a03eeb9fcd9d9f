// The one random generator of the program: seeded once at start-up from the
// clock, drawn once per computer move for the flight of its rod.
#pragma once

// Restarts the generator: the same seed gives the same sequence.
void RANDOMSEED(double seed);
// The next number, 0 <= value < 1.
double RANDOMUNIT();
