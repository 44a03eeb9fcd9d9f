// A player for whole runs of the game in the test process: the real main
// routine on the headless backend, driven by a list of steps.
//
// Steps run in order, each as soon as the one before it has finished, at the
// moments the game waits or polls (as a replay script runs). A step can wait,
// type, move, press or release the pointer, wait until the game shows
// something, check what it shows, or decide further steps from what it sees.
// When the steps run out, the window closes (the program ends with code 0).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_routine.h"
#include "screens/shown_screen.h"
#include "core/runtime_error.h"
#include "game/gamestate.h"
#include "platform/headless.h"
#include "surface/surface.h"

class GameDrive {
 public:
  // Called at every look at the input until it returns true.
  using Step = std::function<bool(int64_t now)>;

  GameDrive& step(Step s) {
    steps.push_back(std::move(s));
    return *this;
  }
  GameDrive& wait(int64_t ms) {
    return step([ms, until = int64_t{-1}](int64_t now) mutable {
      if (until < 0) until = now + ms;
      return now >= until;
    });
  }
  GameDrive& key(const std::string& k) {
    return step([k](int64_t) {
      headless_key(k);
      return true;
    });
  }
  // A key held down: n repeats, gap ms apart.
  GameDrive& held(const std::string& k, int n, int64_t gap) {
    for (int i = 0; i < n; ++i) key(k).wait(gap);
    return *this;
  }
  GameDrive& mouse(int32_t x, int32_t y) {
    return step([d = root(), x, y](int64_t) {
      d->inside = true;
      d->mx = x;
      d->my = y;
      d->show_pointer();
      return true;
    });
  }
  GameDrive& out() {
    return step([d = root()](int64_t) {
      d->inside = false;
      d->show_pointer();
      return true;
    });
  }
  GameDrive& down() {
    return step([d = root()](int64_t) {
      d->buttons = 1;
      d->show_pointer();
      return true;
    });
  }
  GameDrive& up() {
    return step([d = root()](int64_t) {
      d->buttons = 0;
      d->show_pointer();
      return true;
    });
  }
  GameDrive& click(int32_t x, int32_t y) { return mouse(x, y).down().wait(60).up().wait(60); }
  // Waits until cond holds; a failure when it does not within timeout ms.
  GameDrive& until(const std::string& what, std::function<bool()> cond, int64_t timeout = 60000) {
    return step([d = root(), what, cond = std::move(cond), timeout, start = int64_t{-1}](int64_t now) mutable {
      if (start < 0) start = now;
      if (cond()) return true;
      if (now - start > timeout) {
        ADD_FAILURE() << "waited " << timeout << " ms in vain for: " << what << " (step " << d->done << ")";
        end_program(99);
      }
      return false;
    });
  }
  GameDrive& then(std::function<void()> f) {
    return step([f = std::move(f)](int64_t) {
      f();
      return true;
    });
  }
  // Steps decided when this one is reached; they run before the rest.
  GameDrive& then_steps(std::function<void(GameDrive&)> f) {
    return step([d = root(), f = std::move(f)](int64_t) {
      GameDrive more;
      more.owner = d;
      f(more);
      for (auto it = more.steps.rbegin(); it != more.steps.rend(); ++it) d->front.push_front(std::move(*it));
      return true;
    });
  }

  // Conditions.
  static bool showing(ShownScreen s) { return run_report.screen == s; }
  static const GAMESTATE& game() { return *check_ref(run_report.game); }
  // The options screen waiting for the player.
  GameDrive& until_options() {
    return until("the options screen", [] { return showing(SHOWN_OPTIONS); }).wait(100);
  }
  // The player's turn waiting for input: the play screen at the player's
  // turn with nothing drawn for longer than the camera's pause.
  GameDrive& until_input() {
    return until("the player's turn",
                 [d = root()] { return showing(SHOWN_PLAY) && game().TURN == 0 && d->quietms >= 1200; });
  }
  GameDrive& until_message() {
    return until("a message", [] { return showing(SHOWN_MESSAGE); }).wait(100);
  }

  // Runs the game with these steps; returns its exit code.
  int32_t run() {
    front = std::move(steps);
    steps.clear();
    headless_reset();
    headless_set_driver([this](int64_t now) { drive(now); });
    int32_t code = -1;
    try {
      ranvel_main();
    } catch (const ProgramEnd& end) {
      code = end.code;
    }
    headless_set_driver(nullptr);
    return code;
  }

  // Steps carried out so far; whether the steps ran out (the window closed).
  int64_t done = 0;
  bool closed = false;
  bool sawerror = false;
  // How long nothing has moved: no frame drawn, no other screen, no
  // computer's turn.
  int64_t quietms = 0;

 private:
  GameDrive* owner = nullptr;
  std::deque<Step> steps;  // being built
  std::deque<Step> front;  // being run
  bool inside = false;
  int32_t mx = -1, my = -1, buttons = 0;
  int64_t lastframes = -1, quietfrom = 0;

  GameDrive* root() { return owner != nullptr ? owner : this; }

  void show_pointer() {
    if (inside)
      headless_mouse(mx, my, buttons);
    else
      headless_mouse(-1, -1, -1);
  }

  void drive(int64_t now) {
    if (run_report.screen == SHOWN_ERROR && !sawerror) {
      sawerror = true;
      ADD_FAILURE() << "the game shows a run-time error (step " << done << ")";
      end_program(98);
    }
    const bool still = headless_frames() == lastframes && run_report.screen == SHOWN_PLAY && run_report.game != nullptr &&
                       run_report.game->TURN == 0;
    if (!still) quietfrom = now;
    lastframes = headless_frames();
    quietms = now - quietfrom;
    if (now > 10000 + 30 * 60 * 1000) {
      ADD_FAILURE() << "the run takes more than 30 minutes of play (step " << done << ")";
      end_program(97);
    }
    while (!front.empty()) {
      Step s = std::move(front.front());
      front.pop_front();
      if (!s(now)) {
        front.push_front(std::move(s));
        return;
      }
      ++done;
    }
    closed = true;
    end_program(0);
  }
};
