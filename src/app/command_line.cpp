// The game's command line (see command_line.h).
#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#ifndef RANVEL_VERSION
#error "RANVEL_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace {

constexpr std::string_view PROGRAM = "ranvel";
// Where the help's option column starts: two spaces, the longest option with
// its value, two spaces.
constexpr std::size_t HELP_COLUMN = 20;

constexpr std::array GAME_OPTIONS = {
    switch_option("--fullscreen", &CommandLine::fullscreen, "empieza en pantalla completa"),
    number_option("--scale", &CommandLine::scale, 1, 8, "N",
                  "empieza con la ventana N veces más grande que la página\n"
                  "de 800 × 600 (N de 1 a 8; no cuenta con --fullscreen)"),
    switch_option("--integer-scale", &CommandLine::integer_scale,
                  "amplía la página solo por múltiplos enteros, también\n"
                  "al cambiar el tamaño de la ventana y en pantalla completa"),
    word_option("--nivel", &CommandLine::level, "facil|medio|experto",
                "cómo juega la computadora: facil (al azar, pero no deja\n"
                "pasar una jugada ganadora), medio (la mitad de las veces\n"
                "al azar) o experto (lo mejor que sabe, como siempre)"),
    switch_option("--ayuda", &CommandLine::hints,
                  "marca en el suelo los totales ganadores y muestra la meta,\n"
                  "la suma y el turno; la tecla A las quita y las pone"),
    switch_option("--sin-sonido", &CommandLine::sound_off,
                  "empieza sin sonido; la tecla M lo quita y lo pone"),
    switch_option("--help", &CommandLine::show_help, "muestra esta ayuda y termina"),
    switch_option("--version", &CommandLine::show_version, "muestra la versión y termina"),
};

std::string quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

const OptionEntry* find_option(std::span<const OptionEntry> options, std::string_view name) {
  for (const OptionEntry& o : options)
    if (o.name == name) return &o;
  return nullptr;
}

// The position of the word in "a|b|c", or -1.
int32_t word_position(std::string_view words, std::string_view word) {
  int32_t position = 0;
  for (;;) {
    const std::size_t bar = words.find('|');
    if (words.substr(0, bar) == word) return position;
    if (bar == std::string_view::npos) return -1;
    words.remove_prefix(bar + 1);
    ++position;
  }
}

// "a|b|c" as "a, b o c".
std::string word_list(std::string_view words) {
  std::string list;
  for (;;) {
    const std::size_t bar = words.find('|');
    list.append(words.substr(0, bar));
    if (bar == std::string_view::npos) return list;
    words.remove_prefix(bar + 1);
    list.append(words.find('|') == std::string_view::npos ? " o " : ", ");
  }
}

// Takes the option's value into the record; false with the reason when it
// is not one the option accepts.
bool take_value(const OptionEntry& option, std::string_view text, CommandLine& line, std::string& error) {
  const std::string bad = "valor no válido para " + std::string(option.name) + ": " + quoted(text);
  if (option.kind == OPTION_WORD) {
    const int32_t position = word_position(option.words, text);
    if (position < 0) {
      error = bad + " (" + word_list(option.words) + ")";
      return false;
    }
    line.*option.value = position;
    return true;
  }
  int32_t number = 0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || fault != std::errc() || end != text.data() + text.size() || number < option.low ||
      number > option.high) {
    error = bad + " (un número entero de " + std::to_string(option.low) + " a " + std::to_string(option.high) + ")";
    return false;
  }
  line.*option.value = number;
  return true;
}

// "--scale N" or "--fullscreen".
std::string option_with_value(const OptionEntry& option) {
  std::string text(option.name);
  if (option.kind == OPTION_SWITCH) return text;
  return text + " " + std::string(option.kind == OPTION_WORD ? option.words : option.value_name);
}

}  // namespace

std::span<const OptionEntry> game_options() { return GAME_OPTIONS; }

std::span<const OptionEntry> teaching_options() {
  const std::span<const OptionEntry> options = replay_options();
  return options.first(std::min<std::size_t>(options.size(), 2));
}

std::span<const OptionEntry> replay_options() {
  // --nivel, --ayuda and --sin-sonido, next to each other in the game's table.
  for (std::size_t i = 0; i + 2 < GAME_OPTIONS.size(); ++i)
    if (GAME_OPTIONS[i].name == "--nivel") return std::span<const OptionEntry>(GAME_OPTIONS).subspan(i, 3);
  return {};
}

bool parse_command_line(const std::vector<std::string>& arguments, CommandLine& line, std::string& error,
                        std::span<const OptionEntry> options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const OptionEntry* option = argument.starts_with("--") ? find_option(options, name) : nullptr;
    if (option == nullptr) {
      error = (argument.starts_with("-") ? "opción desconocida: " : "argumento inesperado: ") + quoted(argument);
      return false;
    }
    if (option->kind == OPTION_SWITCH) {
      if (equals != std::string_view::npos) {
        error = "la opción " + std::string(option->name) + " no lleva valor";
        return false;
      }
      line.*option->flag = true;
      continue;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      error = "falta el valor de " + std::string(option->name);
      return false;
    }
    if (!take_value(*option, value, line, error)) return false;
  }
  return true;
}

std::string help_text(std::span<const OptionEntry> options) {
  std::string text = "Uso: " + std::string(PROGRAM) +
                     " [OPCIÓN]...\n"
                     "Ranvel, un juego de números con regletas contra la computadora: por turnos,\n"
                     "cada uno pone una regleta en la recta numérica, y gana quien llega justo\n"
                     "al número meta. Sin opciones, el juego se abre en una ventana.\n"
                     "\n"
                     "Opciones:\n";
  for (const OptionEntry& o : options) {
    std::string left = "  " + option_with_value(o);
    // An option too long for the column has its help on the lines below.
    if (left.size() + 2 > HELP_COLUMN) {
      text.append(left).push_back('\n');
      left.clear();
    }
    left.append(HELP_COLUMN - left.size(), ' ');
    std::string_view help = o.help;
    for (;;) {
      const std::size_t newline = help.find('\n');
      text.append(left).append(help.substr(0, newline)).push_back('\n');
      if (newline == std::string_view::npos) break;
      help.remove_prefix(newline + 1);
      left.assign(HELP_COLUMN, ' ');
    }
  }
  text.append(
      "\n"
      "F11 o Alt+Intro cambian entre ventana y pantalla completa. Las teclas del\n"
      "juego se explican en sus páginas de información y en el manual (man ranvel).\n");
  return text;
}

std::string version_text() {
  return std::string(PROGRAM) + " " RANVEL_VERSION
                                "\n"
                                "Copyright (C) 2026 los desarrolladores de Ranvel.\n"
                                "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior\n"
                                "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                                "Esto es software libre: puede modificarlo y redistribuirlo.\n"
                                "No hay NINGUNA GARANTÍA, en la medida en que lo permita la ley.\n";
}

std::string usage_text(std::string_view error, std::span<const OptionEntry> options) {
  std::string text = std::string(PROGRAM) + ": " + std::string(error) + "\nUso: " + std::string(PROGRAM);
  for (const OptionEntry& o : options) text.append(" [").append(option_with_value(o)).append("]");
  text.append("\nMás información con " + quoted(std::string(PROGRAM) + " --help") + ".\n");
  return text;
}

WindowChoice window_choice(const CommandLine& line) {
  WindowChoice choice;
  choice.fullscreen = line.fullscreen;
  choice.scale = line.fullscreen ? 0 : line.scale;
  choice.integer_scale = line.integer_scale;
  choice.sound_off = line.sound_off;
  return choice;
}

TeachingAids teaching_choice(const CommandLine& line) {
  TeachingAids aids;
  aids.chosen = line.level >= 0 || line.hints;
  if (line.level >= 0) aids.level = static_cast<ComputerLevel>(line.level);
  aids.hints = line.hints;
  return aids;
}

CommandLineOutcome take_command_line(int argc, char** argv, CommandLine& line) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + std::max(argc, 1));
  std::string error;
  if (!parse_command_line(arguments, line, error)) {
    std::fputs(usage_text(error).c_str(), stderr);
    return UNREADABLE;
  }
  if (line.show_help || line.show_version) {
    std::fputs((line.show_help ? help_text() : version_text()).c_str(), stdout);
    return ANSWERED;
  }
  return RUN_GAME;
}

void apply_command_line(const CommandLine& line) {
  platform_configure(window_choice(line));
  teaching_aids = teaching_choice(line);
}
