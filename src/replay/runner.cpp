// Runs the game with input from a replay script (see runner.h).
#include "replay/runner.h"

#include <cstdio>
#include <fstream>

#include "screens/shown_screen.h"
#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "replay/state_json.h"
#include "surface/surface.h"

namespace {

struct replay {
  const std::vector<ReplayCommand>* commands = nullptr;
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
    headless_mouse(r.x, r.y, r.buttons);
  else
    headless_mouse(-1, -1, -1);
}

std::string out_path(const replay& r, const std::string& name, const char* extension) {
  std::string path = r.outdir;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path + name + extension;
}

[[noreturn]] void output_failed(replay& r, const ReplayCommand& c, const std::string& path, const std::string& why) {
  std::fprintf(stderr, "ranvel-replay: line %d: cannot write %s: %s\n", c.line, path.c_str(), why.c_str());
  r.output_failed = true;
  end_program(REPLAY_OUTPUT_FAILED);
}

void write_shot(replay& r, const ReplayCommand& c) {
  const std::string path = out_path(r, c.name, ".png");
  // Before the screen is open the page is all 0.
  static const std::vector<std::uint8_t> empty(static_cast<std::size_t>(PAGE_WIDTH) * PAGE_HEIGHT, 0);
  const Image screen = screen_page();
  const std::uint8_t* pixels = screen != nullptr ? IMAGEINFO(screen).pixels : empty.data();
  std::string why;
  if (!write_page_png(path, pixels, PAGE_WIDTH, PAGE_HEIGHT, palette_data(), why)) output_failed(r, c, path, why);
}

void write_state(replay& r, const ReplayCommand& c) {
  const std::string path = out_path(r, c.name, ".json");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << state_json(run_report);
  out.close();
  if (!out) output_failed(r, c, path, "the file could not be written");
}

// Called by the backend whenever the game polls or waits.
void drive(replay& r, int64_t now) {
  const std::vector<ReplayCommand>& commands = *r.commands;
  if (now == r.last_now) {
    if (++r.same_time_polls >= REPLAY_STUCK_POLLS) {
      const int32_t line = r.next < commands.size() ? commands[r.next].line : 0;
      std::fprintf(stderr, "ranvel-replay: the game keeps polling without letting time pass (script line %d)\n",
                   line);
      r.stuck = true;
      end_program(REPLAY_STUCK);
    }
  } else {
    r.last_now = now;
    r.same_time_polls = 0;
  }
  while (r.next < commands.size()) {
    const ReplayCommand& c = commands[r.next];
    switch (c.kind) {
      case REPLAY_WAIT:
        if (!r.waiting) {
          r.waiting = true;
          r.wait_until = now + c.ms;
        }
        if (now < r.wait_until) return;
        r.waiting = false;
        break;
      case REPLAY_KEY:
        headless_key(c.key);
        break;
      case REPLAY_MOUSE:
        r.inside = true;
        r.x = c.x;
        r.y = c.y;
        show_pointer(r);
        break;
      case REPLAY_MOUSE_OUT:
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
  end_program(REPLAY_DONE);
}

}  // namespace

int32_t run_replay(const std::vector<ReplayCommand>& commands, const std::string& outdir, void (*game)()) {
  replay r;
  r.commands = &commands;
  r.outdir = outdir;
  headless_reset();
  headless_set_driver([&r](int64_t now) { drive(r, now); });
  int32_t code = REPLAY_DONE;
  try {
    game();
  } catch (const ProgramEnd& end) {
    code = end.code;
  } catch (...) {
    headless_set_driver(nullptr);
    throw;
  }
  headless_set_driver(nullptr);
  if (r.output_failed) return REPLAY_OUTPUT_FAILED;
  if (r.stuck) return REPLAY_STUCK;
  if (r.next < commands.size())
    std::fprintf(stderr, "ranvel-replay: the game ended by itself %s line %d of the script\n",
                 r.waiting ? "during" : "before", commands[r.next].line);
  return code;
}
