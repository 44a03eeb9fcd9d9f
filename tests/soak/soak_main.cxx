// The soak test: the real game on the headless backend, played session after
// session by a seeded random player, until a number of games have ended.
//
//   ranvel-soak [--games N] [--seed S] [--longest N] [--scratch DIR] [--replay RANVEL-REPLAY]
//
// Each session is one run of the program in a child process of its own, as a
// player would start it: start-up, then games until the player quits through
// the options screen or closes the window. The player mixes every key the game
// understands with random keys, clicks, presses held down, pointer moves in and
// out of the window, bursts of repeated keys and waits of 0 to 3 s, with a
// leaning towards what moves the game on, so that games end.
//
// What the player does is written as a replay script as it goes, so that a
// failing session can be played again with ranvel-replay; with --replay the
// first session is played again that way and must end in the same state.
//
// A session fails when the program shows a run-time error, writes "Error",
// ends with an exit code other than 0, stops letting time pass, keeps a game
// going after the player gave up, does not end after the player quit, or when
// its peak memory grows while it plays (measured after its first game, half-way
// and at its end).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_routine.h"
#include "app/startup.h"
#include "core/runtime_error.h"
#include "game/gamestate.h"
#include "platform/headless.h"
#include "replay/script.h"
#include "replay/state_json.h"
#include "scene/rods.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back before reusing it (its quarantine,
// made small here) and keeps free blocks per size, so the resident size of a
// sanitizer build keeps climbing by tens of megabytes while the program's own
// memory stays put. There the soak measures the bytes the program has
// allocated and not yet freed, from the sanitizer's allocator; elsewhere it
// measures the peak resident size.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define RANVEL_SOAK_LIVE_HEAP 1
#endif

namespace {

namespace fs = std::filesystem;

// Growth of the memory figure of one session between the end of its first
// game and its end, and over the second half of its games, checked in
// sessions of at least MEMORY_GAMES games. A leak goes on growing in the
// second half.
#if defined(RANVEL_SOAK_LIVE_HEAP)
constexpr long long MEMORY_GROWTH_KB = 2 * 1024;
constexpr long long HALF_GROWTH_KB = 1024;
constexpr const char* MEMORY_NAME = "allocated memory";
#else
constexpr long long MEMORY_GROWTH_KB = 8 * 1024;
constexpr long long HALF_GROWTH_KB = 4 * 1024;
constexpr const char* MEMORY_NAME = "peak memory";
#endif
constexpr int64_t MEMORY_GAMES = 20;

// A game the player is still in after this much virtual time is given up;
// one that goes on 2 minutes after that has not ended.
constexpr int64_t GIVE_UP_AFTER_MS = 180000;
constexpr int64_t GAME_LIMIT_MS = GIVE_UP_AFTER_MS + 120000;
// On the options screen this long without starting: start.
constexpr int64_t OPTIONS_LIMIT_MS = 60000;
// After the player decided to quit, the program must end within this time.
constexpr int64_t QUIT_LIMIT_MS = 60000;
// Looks at the input in a row with no time passing that mean a stuck program.
constexpr int64_t STUCK_POLLS = 1000000;

[[maybe_unused]] long long status_kb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::size_t n = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') return std::atoll(line.c_str() + n + 1);
  return -1;
}

// The memory figure a session is judged by (see above).
long long memory_kb() {
#if defined(RANVEL_SOAK_LIVE_HEAP)
  return static_cast<long long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  return status_kb("VmHWM");
#endif
}

std::string script_word(const std::string& key) {
  if (key == "\r") return "enter";
  if (key == "\x1B") return "esc";
  if (key == " ") return "space";
  if (key == "\xFFK") return "left";
  if (key == "\xFFM") return "right";
  if (key == "\xFFH") return "up";
  if (key == "\xFFP") return "down";
  return key;
}

// Everything a session reports to the parent.
struct SessionResult {
  int64_t games = 0;
  int64_t inputs = 0;
  int64_t virtualms = 0;
  int64_t frames = 0;
  long long hwmfirstkb = -1;  // peak memory when the first game had ended
  long long hwmhalfkb = -1;   // and when half the session's games had ended
  long long hwmendkb = -1;    // peak memory at the end
  std::string failure;        // empty when all went well
  std::string finalstate;     // the state at a window close (for the replay check)
  bool closed = false;        // the player closed the window
  bool quitting = false;      // the player said yes to the quit question
};

// The random player of one session, called whenever the game waits or polls.
// Commands are carried out as the replay runner carries out a script, so the
// log plays back exactly.
class PLAYER {
 public:
  // The script goes to logfile as it is made, so that it takes no memory of
  // the session that is being measured.
  // quit: the session ends by quitting (else by closing the window) once it
  // has its games; early: the player may also say yes to quitting before.
  PLAYER(uint64_t seed, int64_t wanted, bool quit, bool early, std::FILE* logfile)
      : rng(seed), wantedgames(wanted), endbyquit(quit), quitearly(early), logfile(logfile) {}

  SessionResult result;

  void drive(int64_t now) {
    if (now == lastnow) {
      if (++samepolls >= STUCK_POLLS) fail(now, "the game keeps polling without letting time pass");
    } else {
      lastnow = now;
      samepolls = 0;
    }
    observe(now);
    for (;;) {
      if (pending.empty()) plan(now);
      ReplayCommand& c = pending.front();
      if (c.kind == REPLAY_WAIT) {
        if (!waiting) {
          waiting = true;
          waituntil = now + c.ms;
        }
        if (now < waituntil) return;
        waiting = false;
      }
      carry_out(c, now);
      pending.pop_front();
    }
  }

  void finish(int64_t now) {
    result.virtualms = now;
    result.frames = headless_frames();
    result.hwmendkb = memory_kb();
    if (result.hwmfirstkb < 0) result.hwmfirstkb = result.hwmendkb;
    if (result.hwmhalfkb < 0) result.hwmhalfkb = result.hwmendkb;
  }

 private:
  std::mt19937_64 rng;
  int64_t wantedgames;
  bool endbyquit;
  bool quitearly;
  std::FILE* logfile;

  void log(const std::string& line) {
    if (logfile != nullptr) std::fputs(line.c_str(), logfile);
  }

  std::deque<ReplayCommand> pending;
  bool waiting = false;
  int64_t waituntil = 0;
  int64_t lastlogged = 10000;  // the virtual clock starts at 10.000 s
  int64_t lastnow = -1;
  int64_t samepolls = 0;

  // The pointer as the player left it.
  bool inside = false;
  int32_t mx = -1, my = -1, buttons = 0;

  // What the game shows.
  bool ingame = false;
  int64_t gamestart = 0;
  int64_t optionssince = -1;
  bool quitquestion = false;  // the quit question is open
  int64_t quitfrom = 0;
  bool ending = false;       // the session has its games; quit or close now
  int64_t endfrom = 0;
  int64_t closeat = 0;

  [[noreturn]] void fail(int64_t now, const std::string& why) {
    result.failure = why + " (virtual time " + std::to_string(now) + " ms, after " + std::to_string(result.games) +
                     " games)";
    finish(now);
    end_program(90);
  }

  void observe(int64_t now) {
    const ShownScreen screen = run_report.screen;
    if (screen == SHOWN_ERROR) fail(now, "the program shows a run-time error");
    // A yes to the quit question is seen as the closing page that follows it.
    if (screen == SHOWN_MESSAGE && run_report.message == &MSGQUIT) {
      quitquestion = true;
    } else if (screen != SHOWN_MESSAGE) {
      if (quitquestion && screen == SHOWN_INFO && !result.quitting) {
        result.quitting = true;
        quitfrom = now;
      }
      quitquestion = false;
    }
    if (result.quitting && now - quitfrom > QUIT_LIMIT_MS) fail(now, "the program did not end after the player quit");
    if (screen == SHOWN_PLAY && !ingame) {
      ingame = true;
      gamestart = now;
    }
    if (screen == SHOWN_OPTIONS) {
      if (ingame) {
        ingame = false;
        ++result.games;
        if (result.games == 1) result.hwmfirstkb = memory_kb();
        if (result.games == std::max<int64_t>(1, wantedgames / 2)) result.hwmhalfkb = memory_kb();
        if (!ending && result.games >= wantedgames) {
          ending = true;
          endfrom = now;
          closeat = now + uniform(0, 8000);
        }
      }
      if (optionssince < 0) optionssince = now;
    } else if (screen != SHOWN_MESSAGE && screen != SHOWN_INFO) {
      optionssince = -1;
    }
    if (ingame && now - gamestart > GAME_LIMIT_MS) fail(now, "a game did not end after the player gave up");
    if (ending && endbyquit && now - endfrom > QUIT_LIMIT_MS) fail(now, "the program did not end after the player quit");
  }

  int64_t uniform(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); }
  bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }
  template <class T>
  const T& pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(uniform(0, static_cast<int64_t>(v.size()) - 1))];
  }

  // Commands into the queue.
  void add(ReplayCommand c) { pending.push_back(std::move(c)); }
  void wait(int64_t ms) {
    ReplayCommand c;
    c.kind = REPLAY_WAIT;
    c.ms = ms;
    add(c);
  }
  void key(const std::string& k) {
    ReplayCommand c;
    c.kind = REPLAY_KEY;
    c.key = k;
    add(c);
  }
  void move(int32_t x, int32_t y) {
    ReplayCommand c;
    c.kind = REPLAY_MOUSE;
    c.x = x;
    c.y = y;
    add(c);
  }
  void out() {
    ReplayCommand c;
    c.kind = REPLAY_MOUSE_OUT;
    add(c);
  }
  void button(bool down) {
    ReplayCommand c;
    c.kind = down ? REPLAY_DOWN : REPLAY_UP;
    add(c);
  }
  void click(int32_t x, int32_t y) {
    move(x, y);
    button(true);
    wait(60);
    button(false);
    wait(60);
  }
  // A click somewhere in the box (both corners included).
  void click_in(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    click(static_cast<int32_t>(uniform(x1, x2)), static_cast<int32_t>(uniform(y1, y2)));
  }
  // A pause of 0 to 3 s, mostly short.
  void pause() {
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    if (r < 0.5)
      wait(uniform(0, 100));
    else if (r < 0.85)
      wait(uniform(100, 700));
    else
      wait(uniform(700, 3000));
  }

  // Any printable key, the space included.
  std::string random_key() { return std::string(1, static_cast<char>(uniform(32, 126))); }
  std::string digit() {
    if (chance(0.1)) return ":";
    return std::string(1, static_cast<char>('0' + uniform(0, 9)));
  }

  // Something that does not belong to the screen: a stray key, a click or a
  // press anywhere, the pointer wandering or leaving, a key held down.
  void noise() {
    switch (uniform(0, 6)) {
      case 0:
        key(random_key());
        break;
      case 1:
        click_in(0, 0, 799, 599);
        break;
      case 2:
        move(static_cast<int32_t>(uniform(0, 799)), static_cast<int32_t>(uniform(0, 599)));
        break;
      case 3:
        out();
        break;
      case 4: {
        // A press held, moved about, perhaps out of the window, then let go.
        move(static_cast<int32_t>(uniform(0, 799)), static_cast<int32_t>(uniform(0, 599)));
        button(true);
        wait(uniform(0, 1500));
        if (chance(0.3)) out();
        else if (chance(0.5)) move(static_cast<int32_t>(uniform(0, 799)), static_cast<int32_t>(uniform(0, 599)));
        wait(uniform(0, 300));
        button(false);
        break;
      }
      case 5: {
        // A key held with auto-repeat: 30 a second, or faster than the game polls.
        const std::vector<std::string> held{"5", "1", "0", ":", "x", "\x1B", "\r", "s", "n", "\xFFP", "\xFFH"};
        const std::string k = pick(held);
        const int64_t n = uniform(5, 60);
        const int64_t gap = chance(0.5) ? 33 : uniform(0, 10);
        for (int64_t i = 0; i < n; ++i) {
          key(k);
          wait(gap);
        }
        break;
      }
      default: {
        // A burst of typing.
        const int64_t n = uniform(1, 12);
        for (int64_t i = 0; i < n; ++i) key(random_key());
        break;
      }
    }
  }

  void plan_options(int64_t now) {
    const GAMESTATE& g = *check_ref(run_report.game);
    int validcount = 0;
    for (int v = 1; v <= 10; ++v) validcount += (g.VALIDRODS >> v) & 1;
    if (ending && endbyquit) {
      if (chance(0.5)) key("\x1B");
      else click_in(620, 500, 759, 579);
      return;
    }
    if (optionssince >= 0 && now - optionssince > OPTIONS_LIMIT_MS) {
      // Long enough here: make the rods playable and start.
      if (validcount < 2) {
        for (int v = 1; v <= 10; ++v)
          if (((g.VALIDRODS >> v) & 1) == 0) {
            key(std::string(1, static_cast<char>('0' + v % 10)));
            break;
          }
      } else {
        key("\r");
      }
      return;
    }
    if (g.TARGET > 24 && chance(0.6)) {
      // Most games are played to small targets, where the camera stands
      // still: they are quick to draw, so many fit into the run.
      if (chance(0.7)) key("\xFFP");
      else click_in(603, 159, 626, 182);
      return;
    }
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    if (r < 0.20) {
      // Start the game.
      if (chance(0.5)) key("\r");
      else click_in(454, 500, 593, 579);
    } else if (r < 0.36) {
      // The target, leaning downwards so that games stay short.
      const double a = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
      if (chance(0.6)) {
        key(a < 0.45 ? "\xFFP" : a < 0.65 ? "\xFFK" : a < 0.85 ? "\xFFM" : "\xFFH");
      } else {
        // The arrows: +10, -10 on the left, +1, -1 on the right; sometimes held.
        const int32_t x1 = chance(0.5) ? 603 : 727;
        const bool upper = a >= 0.45;
        const int32_t y1 = upper ? 135 : 159, y2 = upper ? 158 : 182;
        move(static_cast<int32_t>(uniform(x1, x1 + 23)), static_cast<int32_t>(uniform(y1, y2)));
        button(true);
        wait(chance(0.7) ? 60 : uniform(0, 2000));
        button(false);
      }
    } else if (r < 0.48) {
      // A rod value on or off.
      if (chance(0.6)) {
        key(std::string(1, static_cast<char>('0' + uniform(0, 9))));
      } else {
        const int64_t i = uniform(1, 10);
        const auto left = static_cast<int32_t>(16 + (i - 1) * 38.4 + 0.999);
        click_in(left, 488, left + 23, 511);
      }
    } else if (r < 0.54) {
      // Who starts.
      if (chance(0.5)) key(pick(std::vector<std::string>{"J", "j", "C", "c"}));
      else click_in(454, chance(0.5) ? 220 : 280, 773, chance(0.5) ? 279 : 339);
    } else if (r < 0.57) {
      if (chance(0.5)) key(chance(0.5) ? "I" : "i");
      else click_in(454, 380, 693, 459);
    } else if (r < 0.61) {
      // Ask to quit (mostly answered no below).
      if (chance(0.5)) key("\x1B");
      else click_in(620, 500, 759, 579);
    } else if (r < 0.85) {
      noise();
    }
  }

  void plan_play(int64_t now) {
    const GAMESTATE& g = *check_ref(run_report.game);
    if ((ending && endbyquit) || now - gamestart > GIVE_UP_AFTER_MS) {
      // Give up this game.
      if (chance(0.5)) key("\x1B");
      else click_in(620, 500, 759, 579);
      return;
    }
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    if (r < 0.35) {
      key(digit());
    } else if (r < 0.58) {
      // A choice rod of the window (its box as drawn last).
      const int32_t total = g.TOTALS[g.MOVECOUNT];
      const ChoiceWindow w = choice_window_for(total, g.TARGET);
      const ChoiceBox b = CHOICEBOXES(g, current_run().view)[uniform(w.first, w.last)];
      if (b.X1 <= b.X2 && b.Y1 <= b.Y2 && b.X1 >= 0 && b.X2 <= 799 && b.Y1 >= 0 && b.Y2 <= 599)
        click_in(b.X1, b.Y1, b.X2, b.Y2);
      else
        click_in(0, 0, 799, 599);
    } else if (r < 0.63) {
      if (chance(0.6)) key(chance(0.5) ? "x" : "X");
      else click_in(24, 500, 263, 579);
    } else if (r < 0.67) {
      if (chance(0.5)) key("\x1B");
      else click_in(620, 500, 759, 579);
    } else if (r < 0.90) {
      noise();
    }
  }

  void plan_message() {
    const bool question = run_report.message == &MSGQUIT || run_report.message == &MSGGIVEUP;
    if (!question) {
      if (chance(0.5)) key(chance(0.2) ? "\xFFK" : random_key());
      else if (chance(0.8)) click_in(0, 0, 799, 599);
      else noise();
      return;
    }
    bool yes = false;
    if (run_report.message == &MSGQUIT) {
      yes = (ending && endbyquit) || (quitearly && chance(0.03));
    } else {
      yes = (ending && endbyquit) || chance(0.4) || lastnow - gamestart > GIVE_UP_AFTER_MS;
    }
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    if (r < 0.15 && !(ending && endbyquit)) {
      noise();  // neither yes nor no, or by chance one of them
    } else if (yes) {
      if (chance(0.6)) key(pick(std::vector<std::string>{"S", "s", "\r"}));
      else click_in(270, 370, 370, 410);
    } else {
      if (chance(0.6)) key(pick(std::vector<std::string>{"N", "n", "\x1B"}));
      else click_in(430, 370, 530, 410);
    }
  }

  void plan_info() {
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    if (r < 0.5) key(random_key());
    else if (r < 0.8) click_in(0, 0, 799, 599);
    else noise();
  }

  // The next few commands, from what is on the screen now.
  void plan(int64_t now) {
    if (ending && !endbyquit && now >= closeat) {
      // The window closes: the state then, for the replay check.
      ReplayCommand c;
      c.kind = REPLAY_STATE;
      c.name = "final";
      carry_out(c, now);
      result.closed = true;
      finish(now);
      end_program(0);
    }
    switch (run_report.screen) {
      case SHOWN_OPTIONS:
        plan_options(now);
        break;
      case SHOWN_PLAY:
        plan_play(now);
        break;
      case SHOWN_MESSAGE:
        plan_message();
        break;
      case SHOWN_INFO:
        plan_info();
        break;
      default:
        break;
    }
    pause();
  }

  void show_pointer() {
    if (inside)
      headless_mouse(mx, my, buttons);
    else
      headless_mouse(-1, -1, -1);
  }

  void carry_out(const ReplayCommand& c, int64_t now) {
    if (c.kind != REPLAY_WAIT && now > lastlogged) {
      log("wait " + std::to_string(now - lastlogged) + "\n");
      lastlogged = now;
    }
    switch (c.kind) {
      case REPLAY_WAIT:
        return;
      case REPLAY_KEY:
        headless_key(c.key);
        log("key " + script_word(c.key) + "\n");
        break;
      case REPLAY_MOUSE:
        inside = true;
        mx = c.x;
        my = c.y;
        show_pointer();
        log("mouse " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n");
        break;
      case REPLAY_MOUSE_OUT:
        inside = false;
        show_pointer();
        log("mouse out\n");
        break;
      case REPLAY_DOWN:
      case REPLAY_UP:
        buttons = c.kind == REPLAY_DOWN ? 1 : 0;
        show_pointer();
        log(c.kind == REPLAY_DOWN ? "down\n" : "up\n");
        break;
      case REPLAY_STATE:
        result.finalstate = state_json(run_report);
        log("state " + c.name + "\n");
        return;
      case REPLAY_SHOT:
      case REPLAY_HOOK:
        return;
    }
    ++result.inputs;
  }
};

struct Options {
  int64_t games = 300;
  uint64_t seed = 1;
  int64_t longest = 150;  // games in the longest session
  std::string scratch = (fs::temp_directory_path() / ("ranvel-soak-" + std::to_string(getpid()))).string();
  std::string replay;     // ranvel-replay, to play the first session again
};

// Runs one session in a child process; the result comes back through a pipe.
struct ChildRun {
  SessionResult result;
  int exitcode = -1;
  std::string output;  // what the program wrote on stdout and stderr
  long maxrsskb = 0;
};

void put_field(std::string& s, const std::string& v) { s += std::to_string(v.size()) + ":" + v; }

std::string encode(const SessionResult& r) {
  std::string s = std::to_string(r.games) + " " + std::to_string(r.inputs) + " " + std::to_string(r.virtualms) + " " +
                  std::to_string(r.frames) + " " + std::to_string(r.closed ? 1 : 0) + " " +
                  std::to_string(r.quitting ? 1 : 0) + " " +
                  std::to_string(r.hwmfirstkb) + " " + std::to_string(r.hwmhalfkb) + " " + std::to_string(r.hwmendkb) + " ";
  put_field(s, r.failure);
  put_field(s, r.finalstate);
  return s;
}

bool take_field(std::istringstream& in, std::string& v) {
  std::size_t n = 0;
  char colon = 0;
  if (!(in >> n) || !in.get(colon) || colon != ':') return false;
  v.assign(n, '\0');
  return static_cast<bool>(in.read(v.data(), static_cast<std::streamsize>(n)));
}

ChildRun run_session(uint64_t seed, int64_t wanted, bool quit, bool early, const std::string& outputfile,
                     const std::string& scriptfile) {
  ChildRun run;
  int fds[2];
  if (pipe(fds) != 0) {
    run.result.failure = "no pipe";
    return run;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::FILE* f = std::fopen(outputfile.c_str(), "w");
    if (f != nullptr) {
      dup2(fileno(f), 1);
      dup2(fileno(f), 2);
    }
    std::FILE* script = std::fopen(scriptfile.c_str(), "w");
    PLAYER player(seed, wanted, quit, early, script);
    int code = -1;
    headless_reset();
    headless_set_driver([&player](int64_t now) { player.drive(now); });
    try {
      ranvel_main();
      player.result.failure = "the main routine returned";
    } catch (const ProgramEnd& end) {
      code = end.code;
    }
    headless_set_driver(nullptr);
    player.finish(headless_now_ms());
    if (script != nullptr) std::fclose(script);
    const std::string message = encode(player.result);
    std::size_t done = 0;
    while (done < message.size()) {
      const ssize_t n = write(fds[1], message.data() + done, message.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fds[1]);
    std::fflush(stdout);
    std::exit(code);  // exit, not _exit: the leak check of a sanitizer build runs
  }
  close(fds[1]);
  std::string message;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    message.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.maxrsskb = usage.ru_maxrss;
  run.exitcode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::istringstream in(message);
  SessionResult& r = run.result;
  int closed = 0, quitting = 0;
  if (!(in >> r.games >> r.inputs >> r.virtualms >> r.frames >> closed >> quitting >> r.hwmfirstkb >> r.hwmhalfkb >> r.hwmendkb) || !in.ignore(1) ||
      !take_field(in, r.failure) || !take_field(in, r.finalstate))
    if (r.failure.empty()) r.failure = "the session reported nothing (it crashed)";
  r.closed = closed != 0;
  r.quitting = quitting != 0;
  std::ifstream outin(outputfile, std::ios::binary);
  std::ostringstream text;
  text << outin.rdbuf();
  run.output = text.str();
  return run;
}

std::string file_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--games") o.games = std::atoll(value.c_str());
    else if (name == "--seed") o.seed = std::strtoull(value.c_str(), nullptr, 10);
    else if (name == "--longest") o.longest = std::atoll(value.c_str());
    else if (name == "--scratch") o.scratch = value;
    else if (name == "--replay") o.replay = value;
    else {
      std::fprintf(stderr, "usage: ranvel-soak [--games N] [--seed S] [--longest N] [--scratch DIR] [--replay BIN]\n");
      return 2;
    }
  }
  fs::create_directories(o.scratch);
  const auto started = std::chrono::steady_clock::now();
  std::mt19937_64 rng(o.seed);

  int64_t games = 0, inputs = 0, sessions = 0, quits = 0, closes = 0, failures = 0;
  long long firsthwm = -1, lasthwm = -1, largestgrowth = 0, largesthalf = 0, peak = 0;
  int64_t virtualms = 0, frames = 0;
  while (games < o.games) {
    const int64_t left = o.games - games;
    // The first session is short and ends by closing the window (it is
    // played again with --replay); the second is the longest; the rest vary.
    int64_t wanted = 0;
    bool quit = false;
    if (sessions == 0) {
      wanted = std::min<int64_t>(left, 3);
    } else if (sessions == 1) {
      wanted = std::min(left, o.longest);
      quit = true;
    } else {
      wanted = std::min<int64_t>(left, std::uniform_int_distribution<int64_t>(1, o.longest)(rng));
      quit = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
    }
    const uint64_t seed = rng();
    const std::string outputfile = (fs::path(o.scratch) / "session-output.txt").string();
    const fs::path scriptfile = fs::path(o.scratch) / ("session-" + std::to_string(sessions + 1) + ".txt");
    // The longest session plays all its games, for the memory check.
    const ChildRun run = run_session(seed, wanted, quit, sessions != 1, outputfile, scriptfile.string());
    const SessionResult& r = run.result;
    ++sessions;
    (quit ? quits : closes) += 1;

    std::string problem = r.failure;
    if (problem.empty() && run.exitcode != 0) problem = "exit code " + std::to_string(run.exitcode);
    if (problem.empty() && run.output.find("Error") != std::string::npos) problem = "the program wrote \"Error\"";
    const long long growth = r.hwmendkb - r.hwmfirstkb;
    const long long halfgrowth = r.hwmendkb - r.hwmhalfkb;
    if (problem.empty() && r.games >= MEMORY_GAMES && (growth > MEMORY_GROWTH_KB || halfgrowth > HALF_GROWTH_KB))
      problem = std::string(MEMORY_NAME) + " grew by " + std::to_string(growth) + " kB over " + std::to_string(r.games) +
                " games, " + std::to_string(halfgrowth) + " kB of it in the second half";
    if (problem.empty() && !r.closed && !r.quitting) problem = "the program ended without the player quitting";
    if (problem.empty() && sessions == 1 && !o.replay.empty()) {
      // Play the first session again from its script: the same end.
      const fs::path outdir = fs::path(o.scratch) / "replay";
      const std::string command = "'" + o.replay + "' '" + scriptfile.string() + "' '" + outdir.string() +
                                  "' >'" + (fs::path(o.scratch) / "replay-output.txt").string() + "' 2>&1";
      const int status = std::system(command.c_str());
      const std::string replayed = file_text(outdir / "final.json");
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        problem = "ranvel-replay of the first session's script failed";
      else if (replayed != r.finalstate || replayed.empty())
        problem = "the first session's script replays to another state:\n  " + replayed + "  instead of\n  " +
                  r.finalstate;
      else
        std::printf("soak: session 1 replayed from its script to the same state\n");
    }

    games += r.games;
    inputs += r.inputs;
    virtualms += r.virtualms - 10000;
    frames += r.frames;
    if (firsthwm < 0) firsthwm = r.hwmfirstkb;
    lasthwm = r.hwmendkb;
    largestgrowth = std::max(largestgrowth, growth);
    if (r.games >= MEMORY_GAMES) largesthalf = std::max(largesthalf, halfgrowth);
    peak = std::max(peak, static_cast<long long>(run.maxrsskb));
    if (!problem.empty()) {
      ++failures;
      const fs::path kept = fs::path(o.scratch) / ("failed-session-" + std::to_string(sessions) + ".txt");
      std::error_code ignored;
      fs::rename(scriptfile, kept, ignored);
      std::printf("soak: session %lld (seed %llu, %s after %lld games) FAILED: %s\n  script: %s\n  output:\n%s\n",
                  static_cast<long long>(sessions), static_cast<unsigned long long>(seed), quit ? "quit" : "close",
                  static_cast<long long>(wanted), problem.c_str(), kept.string().c_str(), run.output.c_str());
      if (failures >= 3) break;
      if (r.games == 0) games += 1;  // a session that fails at once still moves the count on
    } else {
      std::error_code ignored;
      fs::remove(scriptfile, ignored);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "soak: %lld games in %lld sessions (%lld quit, %lld closed), %lld inputs, %.0f s of play and %lld frames in %.1f s; "
      "%s %lld kB after the first game of the first session, %lld kB at the end of the last, "
      "largest growth within a session %lld kB (%lld kB in the second half of one of %lld or more games), "
      "largest session resident size %lld kB; %lld failed\n",
      static_cast<long long>(games), static_cast<long long>(sessions), static_cast<long long>(quits),
      static_cast<long long>(closes), static_cast<long long>(inputs), static_cast<double>(virtualms) / 1000.0, static_cast<long long>(frames), seconds,
      MEMORY_NAME, firsthwm, lasthwm, largestgrowth, largesthalf, static_cast<long long>(MEMORY_GAMES), peak,
      static_cast<long long>(failures));
  if (failures == 0) {
    std::error_code ignored;
    fs::remove_all(o.scratch, ignored);
  }
  return failures == 0 ? 0 : 1;
}
