// Runs the game with input from a replay script (see runner.h).
#include "replay/runner.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "replay/state_json.h"
#include "screens/shown_screen.h"
#include "surface/surface.h"

namespace {

void show_pointer(const Replay& r) {
  if (r.inside)
    headless_mouse(r.x, r.y, r.buttons);
  else
    headless_mouse(-1, -1, -1);
}

std::string out_path(const Replay& r, const std::string& name, const char* extension) {
  std::string path = r.outdir;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path + name + extension;
}

[[noreturn]] void output_failed(Replay& r, const ReplayCommand& c, const std::string& path, const std::string& why) {
  std::fprintf(stderr, "ranvel-replay: line %d: cannot write %s: %s\n", c.line, path.c_str(), why.c_str());
  r.output_failed = true;
  end_program(REPLAY_OUTPUT_FAILED);
}

void write_shot(Replay& r, const ReplayCommand& c) {
  const std::string path = out_path(r, c.name, ".png");
  // Before the screen is open the page is all 0.
  static const std::vector<std::uint8_t> empty(static_cast<std::size_t>(PAGE_WIDTH) * PAGE_HEIGHT, 0);
  const Image screen = screen_page();
  const std::uint8_t* pixels = screen != nullptr ? IMAGEINFO(screen).pixels : empty.data();
  std::string why;
  if (!write_page_png(path, pixels, PAGE_WIDTH, PAGE_HEIGHT, palette_data(), why)) output_failed(r, c, path, why);
}

void write_state(Replay& r, const ReplayCommand& c) {
  const std::string path = out_path(r, c.name, ".json");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::vector<HeadlessSound> sounds = r.list_sounds ? headless_take_sounds() : std::vector<HeadlessSound>{};
  out << state_json(run_report, r.tell_language, r.list_sounds ? &sounds : nullptr);
  out.close();
  if (!out) output_failed(r, c, path, "the file could not be written");
}

// Called by the backend whenever the game polls or waits.
void drive(Replay& r, int64_t now) {
  if (r.watch) r.watch(r, now);
  const std::vector<ReplayCommand>& commands = r.commands;
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
      case REPLAY_HOOK: {
        // The hook may add commands: it is called on a copy, and the
        // command it belongs to is found again by its place.
        const ReplayHook hook = r.hooks.at(static_cast<std::size_t>(c.ms));
        if (!hook(r, now)) return;
        break;
      }
    }
    ++r.next;
  }
  // The script has run out: end the game as a player closing the window.
  end_program(REPLAY_DONE);
}

}  // namespace

int32_t run_replay(const std::vector<ReplayCommand>& commands, const std::string& outdir, void (*game)()) {
  Replay r;
  r.commands = commands;
  r.outdir = outdir;
  return run_replay(r, game);
}

void add_next_commands(Replay& replay, std::vector<ReplayCommand> more, std::vector<ReplayHook> more_hooks) {
  const auto first_hook = static_cast<int64_t>(replay.hooks.size());
  for (ReplayCommand& c : more)
    if (c.kind == REPLAY_HOOK) c.ms += first_hook;
  for (ReplayHook& h : more_hooks) replay.hooks.push_back(std::move(h));
  const std::size_t at = std::min(replay.next + 1, replay.commands.size());
  replay.commands.insert(replay.commands.begin() + static_cast<std::ptrdiff_t>(at), more.begin(), more.end());
}

int32_t run_replay(Replay& r, void (*game)()) {
  r.next = 0;
  r.waiting = false;
  r.output_failed = false;
  r.stuck = false;
  r.last_now = -1;
  r.same_time_polls = 0;
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
  if (r.next < r.commands.size())
    std::fprintf(stderr, "ranvel-replay: the game ended by itself %s line %d of the script\n",
                 r.waiting ? "during" : "before", r.commands[r.next].line);
  return code;
}
