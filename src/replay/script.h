// Replay scripts: what a player does, one command a line, read whole before
// the game starts.
//
//   wait MS        let MS milliseconds of virtual time pass
//   key K          one key: a printable character (key 3, key X, key :) or
//                  one of enter esc space left right up down
//   text STRING    every character after "text " as a key of its own
//   mouse X Y      pointer to page pixel (X, Y); "mouse out" leaves the window
//   down / up      press / release the mouse button
//   click X Y      mouse X Y, down, wait 60, up, wait 60
//   shot name      OUTDIR/name.png, the page with its palette
//   state name     OUTDIR/name.json, the game record and what is shown
//
// Blank lines and lines whose first non-blank character is '#' are skipped.
// "text" and "click" are spelled out here into the plain commands they stand
// for, each remembering its script line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum ReplayKind : int32_t {
  REPLAY_WAIT,
  REPLAY_KEY,
  REPLAY_MOUSE,
  REPLAY_MOUSE_OUT,
  REPLAY_DOWN,
  REPLAY_UP,
  REPLAY_SHOT,
  REPLAY_STATE,
  REPLAY_HOOK,  // never in a script: a test's own step, ms its place in the runner's hooks
};

struct ReplayCommand {
  ReplayKind kind = REPLAY_WAIT;
  int32_t line = 0;     // the script line it came from
  int64_t ms = 0;       // wait
  std::string key;      // key: the key text the game will read
  int32_t x = -1;       // mouse
  int32_t y = -1;
  std::string name;     // shot, state: file name without extension
  bool operator==(const ReplayCommand&) const = default;
};

struct ReplayScript {
  std::vector<ReplayCommand> commands;
  bool ok = true;
  // For a malformed line: "SCRIPT:LINE: message".
  std::string error;
};

// Longest single wait: about 24 days, far beyond any game.
constexpr int64_t REPLAY_MAX_WAIT = 2147483647;

// Reads a whole script; the first malformed line stops it with OK false.
// scriptname is used only in the error text.
ReplayScript parse_replay_script(std::string_view text, std::string_view scriptname);
