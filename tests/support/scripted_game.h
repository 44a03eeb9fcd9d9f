// Whole runs of the game in the test process: the real main routine on the
// headless backend, driven by the replay runner with a script built step by
// step. Besides the script's own commands (wait, key, mouse, down, up), a step
// can wait until the game shows something, check what it shows, or decide
// further steps from what it sees. When the steps run out the window closes
// (the program ends with code 0).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_routine.h"
#include "core/runtime_error.h"
#include "game/gamestate.h"
#include "platform/headless.h"
#include "replay/runner.h"
#include "screens/shown_screen.h"

class ScriptedGame {
 public:
  ScriptedGame& wait(int64_t ms) { return command(REPLAY_WAIT, [ms](ReplayCommand& c) { c.ms = ms; }); }
  ScriptedGame& key(const std::string& k) { return command(REPLAY_KEY, [k](ReplayCommand& c) { c.key = k; }); }
  // A key held down: n repeats, gap ms apart.
  ScriptedGame& held(const std::string& k, int n, int64_t gap) {
    for (int i = 0; i < n; ++i) key(k).wait(gap);
    return *this;
  }
  ScriptedGame& mouse(int32_t x, int32_t y) {
    return command(REPLAY_MOUSE, [x, y](ReplayCommand& c) {
      c.x = x;
      c.y = y;
    });
  }
  ScriptedGame& out() { return command(REPLAY_MOUSE_OUT, [](ReplayCommand&) {}); }
  ScriptedGame& down() { return command(REPLAY_DOWN, [](ReplayCommand&) {}); }
  ScriptedGame& up() { return command(REPLAY_UP, [](ReplayCommand&) {}); }
  // As a script's "click X Y".
  ScriptedGame& click(int32_t x, int32_t y) { return mouse(x, y).down().wait(60).up().wait(60); }

  // Waits until cond holds; a failure when it does not within timeout ms.
  ScriptedGame& until(const std::string& what, std::function<bool()> cond, int64_t timeout = 60000) {
    return hook([what, cond = std::move(cond), timeout, start = int64_t{-1}](Replay& r, int64_t now) mutable {
      if (start < 0) start = now;
      if (cond()) return true;
      if (now - start > timeout) {
        ADD_FAILURE() << "waited " << timeout << " ms in vain for: " << what << " (command " << r.next << ")";
        end_program(99);
      }
      return false;
    });
  }
  ScriptedGame& then(std::function<void()> f) {
    return hook([f = std::move(f)](Replay&, int64_t) {
      f();
      return true;
    });
  }
  // Steps decided when this one is reached; they run before the rest.
  ScriptedGame& then_steps(std::function<void(ScriptedGame&)> f) {
    return hook([f = std::move(f)](Replay& r, int64_t) {
      ScriptedGame more;
      f(more);
      add_next_commands(r, std::move(more.replay.commands), std::move(more.replay.hooks));
      return true;
    });
  }

  // Conditions.
  static bool showing(ShownScreen s) { return run_report.screen == s; }
  static const GAMESTATE& game() { return *check_ref(run_report.game); }
  // The options screen waiting for the player.
  ScriptedGame& until_options() {
    return until("the options screen", [] { return showing(SHOWN_OPTIONS); }).wait(100);
  }
  // The player's turn waiting for input: the play screen at the player's
  // turn with nothing drawn for longer than the camera's pause.
  ScriptedGame& until_input() {
    return until("the player's turn", [] { return showing(SHOWN_PLAY) && game().TURN == 0 && quietms >= 1200; });
  }
  ScriptedGame& until_message() {
    return until("a message", [] { return showing(SHOWN_MESSAGE); }).wait(100);
  }

  // Runs the game with these steps; returns its exit code.
  int32_t run() {
    sawerror = false;
    lastframes = -1;
    quietfrom = 0;
    quietms = 0;
    replay.watch = [](Replay& r, int64_t now) { return look(r, now); };
    const int32_t code = run_replay(replay, ranvel_main);
    closed = replay.next >= replay.commands.size();
    return code;
  }

  // Whether the steps ran out (the window closed).
  bool closed = false;
  // How long nothing has moved in the game running now: no frame drawn, no
  // other screen, no computer's turn.
  static inline int64_t quietms = 0;

 private:
  Replay replay;
  static inline bool sawerror = false;
  static inline int64_t lastframes = -1, quietfrom = 0;

  ScriptedGame& command(ReplayKind kind, const std::function<void(ReplayCommand&)>& fill) {
    ReplayCommand c;
    c.kind = kind;
    c.line = static_cast<int32_t>(replay.commands.size()) + 1;
    fill(c);
    replay.commands.push_back(c);
    return *this;
  }
  ScriptedGame& hook(ReplayHook h) {
    replay.hooks.push_back(std::move(h));
    const auto index = static_cast<int64_t>(replay.hooks.size()) - 1;
    return command(REPLAY_HOOK, [index](ReplayCommand& c) { c.ms = index; });
  }

  // At every look at the input: a run-time error, or a run far too long, is a
  // failure; the time since anything moved is kept.
  static bool look(const Replay& r, int64_t now) {
    if (run_report.screen == SHOWN_ERROR && !sawerror) {
      sawerror = true;
      ADD_FAILURE() << "the game shows a run-time error (command " << r.next << ")";
      end_program(98);
    }
    const bool still = headless_frames() == lastframes && run_report.screen == SHOWN_PLAY &&
                       run_report.game != nullptr && run_report.game->TURN == 0;
    if (!still) quietfrom = now;
    lastframes = headless_frames();
    quietms = now - quietfrom;
    if (now > 10000 + 30 * 60 * 1000) {
      ADD_FAILURE() << "the run takes more than 30 minutes of play (command " << r.next << ")";
      end_program(97);
    }
    return true;
  }
};
