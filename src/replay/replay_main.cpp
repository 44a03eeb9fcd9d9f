// ranvel-replay SCRIPT OUTDIR: the real game on the headless backend, played
// by a script; shots and snapshots go to OUTDIR (made if missing).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_routine.h"
#include "replay/runner.h"
#include "replay/script.h"

namespace {

void run_game() { ranvel_main(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ranvel-replay SCRIPT OUTDIR\n");
    return REPLAY_BAD_SCRIPT;
  }
  const std::string scriptpath = argv[1];
  const std::string outdir = argv[2];

  std::ifstream in(scriptpath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read the script\n", scriptpath.c_str());
    return REPLAY_BAD_SCRIPT;
  }
  std::ostringstream text;
  text << in.rdbuf();
  const ReplayScript script = parse_replay_script(text.str(), scriptpath);
  if (!script.ok) {
    std::fprintf(stderr, "%s\n", script.error.c_str());
    return REPLAY_BAD_SCRIPT;
  }

  std::error_code ec;
  std::filesystem::create_directories(outdir, ec);
  if (!std::filesystem::is_directory(outdir, ec)) {
    std::fprintf(stderr, "%s: cannot make the output folder\n", outdir.c_str());
    return REPLAY_BAD_SCRIPT;
  }
  return run_replay(script.commands, outdir, run_game);
}
