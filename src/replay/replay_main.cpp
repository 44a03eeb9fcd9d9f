// ranvel-replay [--nivel ...] [--ayuda] [--meta N] [--regletas LISTA]
// [--empieza ...] [--idioma LL] [--sin-sonido] [--semilla N] [--sonidos]
// SCRIPT OUTDIR: the real game on the headless backend, played by a script;
// shots and snapshots go to OUTDIR (made if missing). The options are the
// game's own (the teaching aids, the starting set-up, the language, the sound
// switched off); --semilla seeds the random generator with N instead of the
// clock, which starts at the same moment in every run; with --sonidos every
// snapshot lists the sounds played since the one before.
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

// The options that choose the game, and the seed.
std::vector<OptionEntry> replay_options() {
  const std::span<const OptionEntry> game = game_choice_options();
  std::vector<OptionEntry> options(game.begin(), game.end());
  options.push_back(number_option("--semilla", &CommandLine::seed, 0, INT32_MAX, "N",
                                  "siembra los números al azar con N en lugar del reloj"));
  return options;
}

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
    if (!argument.starts_with("--")) {
      paths.push_back(argument);
      continue;
    }
    // An option with a value takes the word after it, unless given with '='.
    options.push_back(argument);
    bool takes_value = false;
    for (const OptionEntry& o : replay_options())
      takes_value = takes_value || (o.name == argument && o.kind != OPTION_SWITCH);
    if (takes_value && i + 1 < argc) options.emplace_back(argv[++i]);
  }
  CommandLine line;
  std::string error;
  if (paths.size() != 2 || !parse_command_line(options, line, error, replay_options())) {
    if (!error.empty()) std::fprintf(stderr, "ranvel-replay: %s\n", error.c_str());
    std::fprintf(stderr,
                 "usage: ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--meta N] [--regletas LISTA]\n"
                 "                     [--empieza jugador|computadora] [--idioma es|ca|gl|eu|pt|en] [--sin-sonido]\n"
                 "                     [--semilla N] [--sonidos] SCRIPT OUTDIR\n"
                 "  --semilla N: N from 0 to %d\n",
                 INT32_MAX);
    return REPLAY_BAD_SCRIPT;
  }
  apply_command_line(line);
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
  Replay replay;
  replay.commands = script.commands;
  replay.outdir = outdir;
  replay.tell_language = line.language >= 0;
  replay.list_sounds = list_sounds;
  return run_replay(replay, run_game);
}
