// The game's command line (see command_line.h).
#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "text/language.h"

#ifndef RANVEL_VERSION
#error "RANVEL_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace {

constexpr std::string_view PROGRAM = "ranvel";
// The languages as --idioma takes them, in the order of Language.
constexpr std::string_view LANGUAGE_WORDS = "es|ca|gl|eu|pt|en";
// Where the help's option column starts: two spaces, the longest option with
// its value, two spaces.
constexpr std::size_t HELP_COLUMN = 20;

constexpr std::array GAME_OPTIONS = {
    // TRANSLATORS: --help: what --fullscreen does (at most 58 letters a line).
    switch_option("--fullscreen", &CommandLine::fullscreen, plain_text("command line", "empieza en pantalla completa")),
    number_option("--scale", &CommandLine::scale, 1, 8, "N",
                  // TRANSLATORS: --help: what --scale N does (at most 58 letters a line).
                  plain_text("command line", "empieza con la ventana N veces más grande que la página\n"
                             "de 800 × 600 (N de 1 a 8; no cuenta con --fullscreen)")),
    switch_option("--integer-scale", &CommandLine::integer_scale,
                  // TRANSLATORS: --help: what --integer-scale does (at most 58 letters a line).
                  plain_text("command line", "amplía la página solo por múltiplos enteros, también\n"
                             "al cambiar el tamaño de la ventana y en pantalla completa")),
    word_option("--nivel", &CommandLine::level, "facil|medio|experto",
                // TRANSLATORS: --help: the computer's levels (at most 58 letters a line). The
                // words facil, medio and experto are what the option takes: keep them.
                plain_text("command line", "cómo juega la computadora:\n"
                           "facil: la mitad de las veces deja pasar la jugada que le\n"
                           "daría la victoria y, si no gana, pone una regleta al azar;\n"
                           "medio: nunca deja pasar la victoria y, si no, una vez de\n"
                           "cada cinco juega lo mejor que sabe y las demás al azar;\n"
                           "experto: siempre lo mejor que sabe (como sin esta opción)")),
    switch_option("--ayuda", &CommandLine::hints,
                  // TRANSLATORS: --help: what --ayuda does (at most 58 letters a line).
                  plain_text("command line", "marca en el suelo los totales ganadores y muestra la meta,\n"
                             "la suma y el turno; la tecla A las quita y las pone")),
    number_option("--meta", &CommandLine::target, 10, 100, "N",
                  // TRANSLATORS: --help: what --meta N does (at most 58 letters a line).
                  plain_text("command line", "el número meta con que empieza la pantalla de opciones\n"
                             "(de 10 a 100; se puede cambiar en ella)")),
    rods_option("--regletas", &CommandLine::rods, 1, 10, "LISTA",
                // TRANSLATORS: --help: what --regletas LISTA does (at most 58 letters a line).
                plain_text("command line", "las regletas en juego al empezar, separadas por comas,\n"
                           "por ejemplo 1,2,5 (al menos dos distintas)")),
    word_option("--empieza", &CommandLine::starter, "jugador|computadora",
                // TRANSLATORS: --help: what --empieza does (at most 58 letters a line). The
                // words jugador and computadora are what the option takes.
                plain_text("command line", "quién empieza la partida al principio")),
    word_option("--idioma", &CommandLine::language, LANGUAGE_WORDS,
                // TRANSLATORS: --help: what --idioma does (at most 58 letters a line).
                plain_text("command line", "el idioma del juego: es (español), ca (catalán),\n"
                           "gl (gallego), eu (euskera), pt (portugués) o en (inglés);\n"
                           "sin esta opción, el de la configuración regional")),
    switch_option("--sin-sonido", &CommandLine::sound_off,
                  // TRANSLATORS: --help: what --sin-sonido does (at most 58 letters a line).
                  plain_text("command line", "empieza sin sonido; la tecla M lo quita y lo pone")),
    // TRANSLATORS: --help: what --help does (at most 58 letters a line).
    switch_option("--help", &CommandLine::show_help, plain_text("command line", "muestra esta ayuda y termina")),
    // TRANSLATORS: --help: what --version does (at most 58 letters a line).
    switch_option("--version", &CommandLine::show_version, plain_text("command line", "muestra la versión y termina")),
};


// A text of the terminal in the chosen language, filled in.
std::string message(std::string_view spanish, std::initializer_list<std::string_view> parts) {
  return filled(translation("command line", spanish), parts);
}

// A word as a teacher may type it, made comparable: small letters, the
// accented letters of Spanish and its neighbours without their accents, and
// no spaces around it ("  Fácil" is "facil").
std::string plain_word(std::string_view text) {
  // Two-byte UTF-8 letters of Latin-1 (after the lead byte 0xC3): the plain
  // letter each stands for, from U+00C0 on; '?' for a sign that is none.
  static constexpr std::string_view LATIN1_LETTERS = "aaaaaaaceeeeiiii?nooooo?ouuuuy??aaaaaaaceeeeiiii?nooooo?ouuuuy?y";
  std::string word;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0xC3 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0xBF) {
        word.push_back(LATIN1_LETTERS[next - 0x80]);
        ++i;
        continue;
      }
    }
    word.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
  }
  const std::size_t first = word.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return word.substr(first, word.find_last_not_of(' ') - first + 1);
}

// A yes or a no as a switch's value: 1 or 0, -1 for anything else.
int32_t yes_or_no(std::string_view text) {
  const std::string word = plain_word(text);
  for (const std::string_view yes : {"1", "si", "true", "yes", "on"})
    if (word == yes) return 1;
  for (const std::string_view no : {"0", "no", "false", "off"})
    if (word == no) return 0;
  return -1;
}

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
  // TRANSLATORS: in a message of the terminal, the last two of a list of
  // words the option takes: "facil, medio o experto".
  const std::string_view last_two = translation("command line", plain_text("command line", "%s o %s"));
  std::string list;
  for (;;) {
    const std::size_t bar = words.find('|');
    if (bar == std::string_view::npos) return list + std::string(words);
    const std::string_view word = words.substr(0, bar);
    words.remove_prefix(bar + 1);
    if (words.find('|') == std::string_view::npos) return list + filled(last_two, {word, words});
    list.append(word).append(", ");
  }
}

// A whole number from low to high, and nothing else.
bool whole_number(std::string_view text, int32_t low, int32_t high, int32_t& number) {
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
  return !text.empty() && fault == std::errc() && end == text.data() + text.size() && number >= low && number <= high;
}

// Takes the option's value into the record; false with the reason when it
// is not one the option accepts.
bool take_value(const OptionEntry& option, std::string_view text, CommandLine& line, std::string& error) {
  const std::string low = std::to_string(option.low);
  const std::string high = std::to_string(option.high);
  if (option.kind == OPTION_WORD) {
    const int32_t position = word_position(option.words, plain_word(text));
    if (position < 0) {
      // TRANSLATORS: a message of the terminal: the option (%s), the value
      // given (%s) and, in brackets, the values it takes (%s).
      error = message(plain_text("command line", "valor no válido para %s: «%s» (%s)"),
                      {option.name, text, word_list(option.words)});
      return false;
    }
    line.*option.value = position;
    return true;
  }
  if (option.kind == OPTION_RODS) {
    int32_t bits = 0;
    int32_t count = 0;
    bool readable = true;
    for (std::size_t start = 0; start <= text.size() && readable;) {
      const std::size_t comma = std::min(text.find(',', start), text.size());
      int32_t value = 0;
      readable = whole_number(plain_word(text.substr(start, comma - start)), option.low, option.high, value);
      if (readable && (bits & (1 << value)) == 0) {
        bits |= 1 << value;
        ++count;
      }
      start = comma + 1;
    }
    if (!readable || count < 2) {
      // TRANSLATORS: a message of the terminal: the option (%s), the value
      // given (%s), and the lowest (%s) and highest (%s) rod value.
      error = message(plain_text("command line", "valor no válido para %s: «%s» (valores de %s a %s separados por comas, al menos "
                                 "dos distintos)"),
                      {option.name, text, low, high});
      return false;
    }
    line.*option.value = bits;
    return true;
  }
  int32_t number = 0;
  if (!whole_number(text, option.low, option.high, number)) {
    // TRANSLATORS: a message of the terminal: the option (%s), the value given
    // (%s), and the lowest (%s) and highest (%s) number it takes.
    error = message(plain_text("command line", "valor no válido para %s: «%s» (un número entero de %s a %s)"),
                    {option.name, text, low, high});
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

std::span<const OptionEntry> game_choice_options() {
  // From --nivel to --sin-sonido, next to each other in the game's table.
  constexpr std::size_t COUNT = 7;
  for (std::size_t i = 0; i + COUNT <= GAME_OPTIONS.size(); ++i)
    if (GAME_OPTIONS[i].name == "--nivel") return std::span<const OptionEntry>(GAME_OPTIONS).subspan(i, COUNT);
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
      // TRANSLATORS: a message of the terminal: an option (%s) the game does not know.
      if (argument.starts_with("-")) error = message(plain_text("command line", "opción desconocida: «%s»"), {name});
      // TRANSLATORS: a message of the terminal: a word (%s) given where an option was expected.
      else error = message(plain_text("command line", "argumento inesperado: «%s»"), {argument});
      return false;
    }
    if (option->kind == OPTION_SWITCH) {
      const int32_t yes = equals == std::string_view::npos ? 1 : yes_or_no(argument.substr(equals + 1));
      if (yes < 0) {
        // TRANSLATORS: a message of the terminal: the option (%s) takes a yes
        // or a no, but was given another value (%s).
        error = message(plain_text("command line", "valor no válido para %s: «%s» (sí o no)"),
                        {option->name, argument.substr(equals + 1)});
        return false;
      }
      line.*option->flag = yes == 1;
      continue;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      // TRANSLATORS: a message of the terminal: the option (%s) needs a value.
      error = message(plain_text("command line", "falta el valor de %s"), {option->name});
      return false;
    }
    if (!take_value(*option, value, line, error)) return false;
  }
  return true;
}

std::string help_text(std::span<const OptionEntry> options) {
  // TRANSLATORS: the start of --help (lines of at most 78 letters): how to
  // call the program (%s is its name), what the game is, and the title of
  // the list of options that follows.
  std::string text = message(plain_text("command line", "Uso: %s [OPCIÓN]...\n"
                                        "Ranvel, un juego de números con regletas contra la computadora: por turnos,\n"
                                        "cada uno pone una regleta en la recta numérica, y gana quien llega justo\n"
                                        "al número meta. Sin opciones, el juego se abre en una ventana.\n"
                                        "\n"
                                        "Opciones:\n"),
                             {PROGRAM});
  for (const OptionEntry& o : options) {
    std::string left = "  " + option_with_value(o);
    // An option too long for the column has its help on the lines below.
    if (left.size() + 2 > HELP_COLUMN) {
      text.append(left).push_back('\n');
      left.clear();
    }
    left.append(HELP_COLUMN - left.size(), ' ');
    std::string_view help = translation("command line", o.help);
    for (;;) {
      const std::size_t newline = help.find('\n');
      text.append(left).append(help.substr(0, newline)).push_back('\n');
      if (newline == std::string_view::npos) break;
      help.remove_prefix(newline + 1);
      left.assign(HELP_COLUMN, ' ');
    }
  }
  // TRANSLATORS: the end of --help (lines of at most 78 letters).
  text.append(translation("command line", plain_text("command line", "\n"
                                                     "F11 o Alt+Intro cambian entre ventana y pantalla completa. Las teclas del\n"
                                                     "juego se explican en sus páginas de información y en el manual (man ranvel).\n")));
  return text;
}

std::string version_text() {
  return std::string(PROGRAM) + " " RANVEL_VERSION "\n" +
         std::string(translation("command line",
                                 // TRANSLATORS: --version, after the program's name and version
                                 // (lines of at most 78 letters).
                                 plain_text("command line", "Copyright (C) 2026 los desarrolladores de Ranvel.\n"
                                            "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior\n"
                                            "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                                            "Esto es software libre: puede modificarlo y redistribuirlo.\n"
                                            "No hay NINGUNA GARANTÍA, en la medida en que lo permita la ley.\n")));
}

std::string usage_text(std::string_view error, std::span<const OptionEntry> options) {
  std::string call = std::string(PROGRAM);
  for (const OptionEntry& o : options) call.append(" [").append(option_with_value(o)).append("]");
  // TRANSLATORS: what the terminal shows for a command line that cannot be
  // read: the program's name (%s), what is wrong (%s), how to call the
  // program (%s), and where to read more (%s is "ranvel --help").
  return message(plain_text("command line", "%s: %s\nUso: %s\nMás información con «%s».\n"),
                 {PROGRAM, error, call, std::string(PROGRAM) + " --help"});
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

GameSetup setup_choice(const CommandLine& line) {
  GameSetup setup;
  if (line.target != 0) setup.target = static_cast<uint8_t>(line.target);
  if (line.rods != 0) setup.valid_rods = static_cast<uint16_t>(line.rods);
  if (line.starter >= 0) setup.starter = static_cast<uint8_t>(line.starter);
  return setup;
}

Language language_of_locale(const char* language, const char* lc_all, const char* lc_messages, const char* lang) {
  const auto carried = [](std::string_view locale, Language& found) {
    // "pt_BR.UTF-8", "ca@valencia", "en": the language is what comes before
    // the territory, the encoding and the variant.
    const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
    for (std::size_t i = 0; i < LANGUAGES.size(); ++i)
      if (code == LANGUAGES[i].code) {
        found = static_cast<Language>(i);
        return true;
      }
    return false;
  };
  std::string_view locale;
  for (const char* v : {lc_all, lc_messages, lang})
    if (v != nullptr && *v != '\0') {
      locale = v;
      break;
    }
  const bool plain = locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
  Language found = LANGUAGE_SPANISH;
  if (plain) return found;
  if (language != nullptr && *language != '\0') {
    // A list of languages by preference: the first the game carries, or the
    // game's own text when it carries none of them.
    std::string_view list = language;
    for (;;) {
      const std::size_t colon = list.find(':');
      if (carried(list.substr(0, colon), found)) return found;
      if (colon == std::string_view::npos) return LANGUAGE_SPANISH;
      list.remove_prefix(colon + 1);
    }
  }
  return carried(locale, found) ? found : LANGUAGE_SPANISH;
}

CommandLineOutcome take_command_line(int argc, char** argv, CommandLine& line) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + std::max(argc, 1));
  // A language asked for is the one to speak in, also when another argument
  // cannot be read.
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::vector<std::string> asked{arguments[i]};
    if (arguments[i] == "--idioma" && i + 1 < arguments.size()) asked.push_back(arguments[i + 1]);
    CommandLine language;
    std::string ignored;
    if (arguments[i].starts_with("--idioma") && parse_command_line(asked, language, ignored) && language.language >= 0)
      choose_language(static_cast<Language>(language.language));
  }
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
  if (line.language >= 0) choose_language(static_cast<Language>(line.language));
  platform_configure(window_choice(line));
  teaching_aids = teaching_choice(line);
  starting_setup = setup_choice(line);
}
