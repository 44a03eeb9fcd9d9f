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
#include <functional>
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

struct Replay;

// A step of a test's own between the commands (a REPLAY_HOOK command names
// it by its place in Replay::hooks): asked at every look at the input from the
// moment it is reached, until it returns true. It may add commands to be
// carried out next (add_next_commands).
using ReplayHook = std::function<bool(Replay& replay, int64_t now)>;

// A replay and how far it has come.
struct Replay {
  std::vector<ReplayCommand> commands;
  std::string outdir;              // where shots and snapshots go; it must exist
  bool tell_language = false;      // snapshots tell the language of the texts
  bool list_sounds = false;        // snapshots list the sounds played since the one before
  std::vector<ReplayHook> hooks;
  // Called at every look at the input before any command (a test watching
  // the whole run); its result is not used.
  ReplayHook watch;

  std::size_t next = 0;            // the next command to carry out
  bool waiting = false;            // the next command is a wait that has begun
  int64_t wait_until = 0;
  bool output_failed = false;
  // The pointer as the commands left it.
  bool inside = false;
  int32_t x = -1;
  int32_t y = -1;
  int32_t buttons = 0;
  // Looks at the input in a row at the same virtual time.
  int64_t last_now = -1;
  int64_t same_time_polls = 0;
  bool stuck = false;
};

// Runs game() (the game's main routine) with the replay's commands and
// returns the exit code. Problems are told on standard error.
int32_t run_replay(Replay& replay, void (*game)());
// The same for a script's commands.
int32_t run_replay(const std::vector<ReplayCommand>& commands, const std::string& outdir, void (*game)());
// Puts commands (and the hooks they name, numbered from 0) right after the
// one being carried out.
void add_next_commands(Replay& replay, std::vector<ReplayCommand> more, std::vector<ReplayHook> more_hooks);
