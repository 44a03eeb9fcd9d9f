// ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--sin-sonido]
// [--sonidos] SCRIPT OUTDIR: the real game on the headless backend, played by
// a script; shots and snapshots go to OUTDIR (made if missing). The first
// three options are the game's own (the teaching aids, the sound switched
// off); with --sonidos every snapshot lists the sounds played since the one
// before.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_routine.h"
#include "game/teaching.h"
#include "replay/runner.h"
#include "replay/script.h"

namespace {

void run_game() { ranvel_main(); }

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> options;
  std::vector<std::string> paths;
  bool list_sounds = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--sonidos") {
      list_sounds = true;
      continue;
    }
    // The value of --nivel is the word after it, unless given with '='.
    const bool takes_word = argument == "--nivel" && i + 1 < argc;
    if (argument.starts_with("--")) {
      options.push_back(argument);
      if (takes_word) options.emplace_back(argv[++i]);
    } else {
      paths.push_back(argument);
    }
  }
  CommandLine line;
  std::string error;
  if (paths.size() != 2 || !parse_command_line(options, line, error, replay_options())) {
    if (!error.empty()) std::fprintf(stderr, "ranvel-replay: %s\n", error.c_str());
    std::fprintf(stderr,
                 "usage: ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--sin-sonido] [--sonidos] SCRIPT "
                 "OUTDIR\n");
    return REPLAY_BAD_SCRIPT;
  }
  apply_command_line(line);
  const std::string scriptpath = paths[0];
  const std::string outdir = paths[1];

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
  Replay replay;
  replay.commands = script.commands;
  replay.outdir = outdir;
  replay.list_sounds = list_sounds;
  return run_replay(replay, run_game);
}
