// The game's command line: what a player or a teacher asks for when starting
// it. Every option is one entry of the table in command_line.cpp, from which
// the help and the usage texts are made too. The texts are Spanish, the
// game's language, written in UTF-8 for the terminal.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/setup.h"
#include "game/teaching.h"
#include "platform/platform.h"
#include "text/language.h"

// What the command line asked for. Without options the game starts as it
// always has: a window at the largest whole multiple of the page that fits.
struct CommandLine {
  bool fullscreen = false;     // --fullscreen
  int32_t scale = 0;           // --scale N, 1..8; 0 when not given
  bool integer_scale = false;  // --integer-scale
  int32_t level = -1;          // --nivel: a ComputerLevel; -1 when not given
  bool hints = false;          // --ayuda
  int32_t target = 0;          // --meta N, 10..100; 0 when not given
  int32_t rods = 0;            // --regletas: a bit per rod value; 0 when not given
  int32_t starter = -1;        // --empieza: 0 the player, 1 the computer; -1 when not given
  int32_t language = -1;       // --idioma: a Language; -1 when not given
  int32_t seed = -1;           // --semilla N, the replay runner's only; -1 when not given
  bool sound_off = false;      // --sin-sonido
  bool show_help = false;      // --help: print the help and end
  bool show_version = false;   // --version: print the version and end
};

// The exit status of a command line that cannot be read: the one status
// other than 0, since no game has started.
constexpr int USAGE_EXIT_STATUS = 2;

// How an option takes its value.
enum OptionKind : int32_t {
  OPTION_SWITCH = 0,  // no value, or yes or no ("--ayuda=1"): sets or clears a flag
  OPTION_NUMBER = 1,  // a whole number from low to high
  OPTION_WORD = 2,    // one of the words, '|' between them: its position
  OPTION_RODS = 3,    // rod values low..high, ',' between them, at least two different: a bit per value
};

// One option: its name, what it sets and the line of help that explains it
// (continued on further lines after a '\n').
struct OptionEntry {
  std::string_view name;  // with its two dashes
  OptionKind kind = OPTION_SWITCH;
  bool CommandLine::*flag = nullptr;       // OPTION_SWITCH
  int32_t CommandLine::*value = nullptr;   // OPTION_NUMBER, OPTION_WORD
  int32_t low = 0;                         // OPTION_NUMBER
  int32_t high = 0;
  std::string_view words;                  // OPTION_WORD
  std::string_view value_name;             // in the help: "--scale N"
  std::string_view help;
};

// The kinds of entry, written in full so that every field is given.
constexpr OptionEntry switch_option(std::string_view name, bool CommandLine::*flag, std::string_view help) {
  return OptionEntry{name, OPTION_SWITCH, flag, nullptr, 0, 0, {}, {}, help};
}
constexpr OptionEntry number_option(std::string_view name, int32_t CommandLine::*value, int32_t low, int32_t high,
                                    std::string_view value_name, std::string_view help) {
  return OptionEntry{name, OPTION_NUMBER, nullptr, value, low, high, {}, value_name, help};
}
constexpr OptionEntry word_option(std::string_view name, int32_t CommandLine::*value, std::string_view words,
                                  std::string_view help) {
  return OptionEntry{name, OPTION_WORD, nullptr, value, 0, 0, words, {}, help};
}
constexpr OptionEntry rods_option(std::string_view name, int32_t CommandLine::*value, int32_t low, int32_t high,
                                  std::string_view value_name, std::string_view help) {
  return OptionEntry{name, OPTION_RODS, nullptr, value, low, high, {}, value_name, help};
}

// The game's options, in the order the help lists them.
std::span<const OptionEntry> game_options();

// Reads the arguments that follow the program's name: "--name", and for an
// option with a value "--name VALUE" or "--name=VALUE". A later option
// overrides an earlier one. Words are taken as a teacher may type them: in
// capitals or small letters, with or without accents ("Fácil" is "facil"),
// and a switch may be given a yes or a no ("--ayuda=1", "--ayuda=true",
// "--ayuda=no"). False, with the reason in Spanish, at the first argument
// that is not an option of the table or has a bad value.
bool parse_command_line(const std::vector<std::string>& arguments, CommandLine& line, std::string& error,
                        std::span<const OptionEntry> options = game_options());

// The text of --help (standard output).
std::string help_text(std::span<const OptionEntry> options = game_options());
// The text of --version (standard output).
std::string version_text();
// What a command line that cannot be read prints on standard error: the
// reason, the options in one line and where to read more.
std::string usage_text(std::string_view error, std::span<const OptionEntry> options = game_options());

// The window (and the sound) the command line asks for; the scale counts
// only in a window.
WindowChoice window_choice(const CommandLine& line);
// The teaching aids the command line asks for: chosen when --nivel or
// --ayuda was given.
TeachingAids teaching_choice(const CommandLine& line);
// The set-up the options screen starts with: the defaults, changed by
// --meta, --regletas and --empieza.
GameSetup setup_choice(const CommandLine& line);

// The language of the locale, as GNU gettext chooses it: the locale is the
// first of LC_ALL, LC_MESSAGES and LANG that is set; when it is C or POSIX
// the game's own Spanish; otherwise the first language of LANGUAGE (a list
// separated by colons) that the game carries, and without LANGUAGE the
// locale's own language. Spanish when the game carries none of them.
Language language_of_locale(const char* language, const char* lc_all, const char* lc_messages, const char* lang);

// Reads the program's arguments: the game is to start with them (RUN_GAME),
// or help or the version has been printed on standard output (ANSWERED), or
// they could not be read and the usage has been printed on standard error
// (UNREADABLE). Help and the usage are written in the chosen language (choose
// it before, from the locale; --idioma then chooses it for the help).
enum CommandLineOutcome : int32_t { RUN_GAME, ANSWERED, UNREADABLE };
CommandLineOutcome take_command_line(int argc, char** argv, CommandLine& line);
// Hands the choices to those they concern, before the game starts: the
// window's to the platform, the teaching aids and the set-up to the game.
void apply_command_line(const CommandLine& line);

// The options that choose the game rather than the window: the teaching
// aids, the set-up, the language and the sound (the replay runner takes them
// too).
std::span<const OptionEntry> game_choice_options();
