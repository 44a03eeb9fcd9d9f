// Runs the game with input from a replay script (see replay_runner.h).
#include "surface/replay_runner.h"

#include <cstdio>
#include <fstream>

#include "app/run_report.h"
#include "app/runtime_error.h"
#include "surface/headless.h"
#include "surface/replay_png.h"
#include "surface/replay_state.h"
#include "surface/surface.h"

namespace {

constexpr int32_t PAGEWIDTH = 800;
constexpr int32_t PAGEHEIGHT = 600;

struct replay {
  const std::vector<REPLAYCOMMAND>* commands = nullptr;
  std::string outdir;
  std::size_t next = 0;          // the next command to carry out
  bool waiting = false;          // the next command is a wait that has begun
  int64_t wait_until = 0;
  bool output_failed = false;
  // The pointer as the script left it.
  bool inside = false;
  int32_t x = -1;
  int32_t y = -1;
  int32_t buttons = 0;
  // Looks at the input in a row at the same virtual time.
  int64_t last_now = -1;
  int64_t same_time_polls = 0;
  bool stuck = false;
};

void show_pointer(const replay& r) {
  if (r.inside)
    HEADLESSMOUSE(r.x, r.y, r.buttons);
  else
    HEADLESSMOUSE(-1, -1, -1);
}

std::string out_path(const replay& r, const std::string& name, const char* extension) {
  std::string path = r.outdir;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path + name + extension;
}

[[noreturn]] void output_failed(replay& r, const REPLAYCOMMAND& c, const std::string& path, const std::string& why) {
  std::fprintf(stderr, "ranvel-replay: line %d: cannot write %s: %s\n", c.LINE, path.c_str(), why.c_str());
  r.output_failed = true;
  ENDPROGRAM(REPLAYOUTPUTFAILED);
}

void write_shot(replay& r, const REPLAYCOMMAND& c) {
  const std::string path = out_path(r, c.NAME, ".png");
  // Before the screen is open the page is all 0.
  static const std::vector<std::uint8_t> empty(static_cast<std::size_t>(PAGEWIDTH) * PAGEHEIGHT, 0);
  const IMAGE screen = SCREEN();
  const std::uint8_t* pixels = screen != nullptr ? IMAGEINFO(screen).PIXELS : empty.data();
  std::string why;
  if (!WRITEPAGEPNG(path, pixels, PAGEWIDTH, PAGEHEIGHT, PALETTEDATA(), why)) output_failed(r, c, path, why);
}

void write_state(replay& r, const REPLAYCOMMAND& c) {
  const std::string path = out_path(r, c.NAME, ".json");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << STATEJSON(REPORT);
  out.close();
  if (!out) output_failed(r, c, path, "the file could not be written");
}

// Called by the backend whenever the game polls or waits.
void drive(replay& r, int64_t now) {
  const std::vector<REPLAYCOMMAND>& commands = *r.commands;
  if (now == r.last_now) {
    if (++r.same_time_polls >= REPLAYSTUCKPOLLS) {
      const int32_t line = r.next < commands.size() ? commands[r.next].LINE : 0;
      std::fprintf(stderr, "ranvel-replay: the game keeps polling without letting time pass (script line %d)\n",
                   line);
      r.stuck = true;
      ENDPROGRAM(REPLAYSTUCK);
    }
  } else {
    r.last_now = now;
    r.same_time_polls = 0;
  }
  while (r.next < commands.size()) {
    const REPLAYCOMMAND& c = commands[r.next];
    switch (c.KIND) {
      case REPLAY_WAIT:
        if (!r.waiting) {
          r.waiting = true;
          r.wait_until = now + c.MS;
        }
        if (now < r.wait_until) return;
        r.waiting = false;
        break;
      case REPLAY_KEY:
        HEADLESSKEY(c.KEY);
        break;
      case REPLAY_MOUSE:
        r.inside = true;
        r.x = c.X;
        r.y = c.Y;
        show_pointer(r);
        break;
      case REPLAY_MOUSEOUT:
        r.inside = false;
        show_pointer(r);
        break;
      case REPLAY_DOWN:
        r.buttons = 1;
        show_pointer(r);
        break;
      case REPLAY_UP:
        r.buttons = 0;
        show_pointer(r);
        break;
      case REPLAY_SHOT:
        write_shot(r, c);
        break;
      case REPLAY_STATE:
        write_state(r, c);
        break;
    }
    ++r.next;
  }
  // The script has run out: end the game as a player closing the window.
  ENDPROGRAM(REPLAYDONE);
}

}  // namespace

int32_t RUNREPLAY(const std::vector<REPLAYCOMMAND>& commands, const std::string& outdir, void (*game)()) {
  replay r;
  r.commands = &commands;
  r.outdir = outdir;
  HEADLESSRESET();
  HEADLESSSETDRIVER([&r](int64_t now) { drive(r, now); });
  int32_t code = REPLAYDONE;
  try {
    game();
  } catch (const PROGRAMEND& end) {
    code = end.code;
  } catch (...) {
    HEADLESSSETDRIVER(nullptr);
    throw;
  }
  HEADLESSSETDRIVER(nullptr);
  if (r.output_failed) return REPLAYOUTPUTFAILED;
  if (r.stuck) return REPLAYSTUCK;
  if (r.next < commands.size())
    std::fprintf(stderr, "ranvel-replay: the game ended by itself %s line %d of the script\n",
                 r.waiting ? "during" : "before", commands[r.next].LINE);
  return code;
}
