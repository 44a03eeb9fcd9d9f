// Runs the game on the headless backend with input from a replay script.
//
// The virtual clock starts at 10.000 s and moves only when the game waits
// (and by 16 ms for every whole frame copied to the screen). Commands are
// carried out from the backend's driver hook, which the game reaches every
// time it polls or waits: each command at the virtual time reached when the
// one before it finished. Only "wait MS" takes time: it finishes once MS ms
// have passed since it began. Keys, mouse moves, button changes, shots and
// snapshots take none, so a run depends on nothing but the script and every
// run of a script is the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/script.h"

// Exit codes of a replay.
constexpr int32_t REPLAY_DONE = 0;        // the script ran out, or the game ended
constexpr int32_t REPLAY_OUTPUT_FAILED = 1;  // a shot or a snapshot could not be written
constexpr int32_t REPLAY_BAD_SCRIPT = 2;   // a malformed script or a bad command line
constexpr int32_t REPLAY_STUCK = 3;       // the game kept polling while no time passed

// How many looks at the input in a row, all at the same virtual time, mean
// that the game no longer lets time pass (a screen that polls without
// waiting); the script could then never go on.
constexpr int64_t REPLAY_STUCK_POLLS = 1000000;

// Runs game() (the game's main routine) with the commands and returns the
// exit code. Shots and snapshots go to outdir, which must exist. Problems are
// told on standard error.
int32_t run_replay(const std::vector<ReplayCommand>& commands, const std::string& outdir, void (*game)());
