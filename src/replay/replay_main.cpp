// ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--semilla N] SCRIPT
// OUTDIR: the real game on the headless backend, played by a script; shots
// and snapshots go to OUTDIR (made if missing). --nivel and --ayuda are the
// game's teaching aids; --semilla seeds the random generator with N instead
// of the clock, which starts at the same moment in every run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_routine.h"
#include "app/startup.h"
#include "game/teaching.h"
#include "replay/runner.h"
#include "replay/script.h"

namespace {

void run_game() { ranvel_main(); }

// The game's teaching options and the seed.
std::vector<OptionEntry> replay_options() {
  const std::span<const OptionEntry> teaching = teaching_options();
  std::vector<OptionEntry> options(teaching.begin(), teaching.end());
  options.push_back(number_option("--semilla", &CommandLine::seed, 0, INT32_MAX, "N",
                                  "siembra los números al azar con N en lugar del reloj"));
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> options;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    // The value of --nivel or --semilla is the word after it, unless given
    // with '='.
    const bool takes_word = (argument == "--nivel" || argument == "--semilla") && i + 1 < argc;
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
    std::fprintf(stderr, "usage: ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--semilla N] SCRIPT OUTDIR\n"
                         "  --semilla N: N from 0 to %d\n", INT32_MAX);
    return REPLAY_BAD_SCRIPT;
  }
  teaching_aids = teaching_choice(line);
  if (line.seed >= 0) chosen_seed = line.seed;
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
  return run_replay(script.commands, outdir, run_game);
}
