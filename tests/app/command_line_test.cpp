#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

struct Parsed {
  bool ok = false;
  CommandLine line;
  std::string error;
};

Parsed parse(const std::vector<std::string>& arguments, std::span<const OptionEntry> options = game_options()) {
  Parsed p;
  p.ok = parse_command_line(arguments, p.line, p.error, options);
  return p;
}

// The kind of option a choice of level is: one entry of a table (here
// writing into the scale, for want of a field of its own).
constexpr OptionEntry LEVEL_OPTION[] = {word_option("--nivel", &CommandLine::scale, "facil|medio|experto", "el nivel")};

}  // namespace

TEST(CommandLine, EachOptionSetsItsChoiceAndALaterOneWins) {
  const Parsed none = parse({});
  ASSERT_TRUE(none.ok);
  EXPECT_FALSE(none.line.fullscreen || none.line.integer_scale || none.line.show_help || none.line.show_version);
  EXPECT_EQ(none.line.scale, 0);

  const Parsed all = parse({"--fullscreen", "--scale", "3", "--integer-scale", "--help", "--version"});
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_TRUE(all.line.fullscreen && all.line.integer_scale && all.line.show_help && all.line.show_version);
  EXPECT_EQ(all.line.scale, 3);

  EXPECT_EQ(parse({"--scale=1"}).line.scale, 1);
  EXPECT_EQ(parse({"--scale", "8", "--scale=2"}).line.scale, 2);
  // The sound reaches the platform with the window's choices.
  EXPECT_FALSE(window_choice(none.line).sound_off);
  EXPECT_TRUE(window_choice(parse({"--sin-sonido"}).line).sound_off);
}

TEST(CommandLine, AnythingElseIsAUsageErrorThatNamesIt) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"--bogus"}, "opción desconocida: «--bogus»"},
      {{"--colores=todos"}, "opción desconocida: «--colores»"},
      {{"-f"}, "opción desconocida: «-f»"},
      {{"--"}, "opción desconocida: «--»"},
      {{"juego"}, "argumento inesperado: «juego»"},
      {{"--fullscreen", "2"}, "argumento inesperado: «2»"},
      {{"--scale"}, "falta el valor de --scale"},
      {{"--scale", "0"}, "valor no válido para --scale: «0» (un número entero de 1 a 8)"},
      {{"--scale", "9"}, "valor no válido para --scale: «9» (un número entero de 1 a 8)"},
      {{"--scale", "-1"}, "valor no válido para --scale: «-1» (un número entero de 1 a 8)"},
      {{"--scale", "2x"}, "valor no válido para --scale: «2x» (un número entero de 1 a 8)"},
      {{"--scale="}, "valor no válido para --scale: «» (un número entero de 1 a 8)"},
      {{"--scale", "99999999999"}, "valor no válido para --scale: «99999999999» (un número entero de 1 a 8)"},
      {{"--fullscreen=quizá"}, "valor no válido para --fullscreen: «quizá» (sí o no)"},
      {{"--meta", "9"}, "valor no válido para --meta: «9» (un número entero de 10 a 100)"},
      {{"--regletas", "3"}, "valor no válido para --regletas: «3» (valores de 1 a 10 separados por comas, al menos dos distintos)"},
      {{"--regletas=3,3"}, "valor no válido para --regletas: «3,3» (valores de 1 a 10 separados por comas, al menos dos distintos)"},
      {{"--regletas=0,5"}, "valor no válido para --regletas: «0,5» (valores de 1 a 10 separados por comas, al menos dos distintos)"},
      {{"--regletas=1,,5"}, "valor no válido para --regletas: «1,,5» (valores de 1 a 10 separados por comas, al menos dos distintos)"},
      {{"--empieza", "yo"}, "valor no válido para --empieza: «yo» (jugador o computadora)"},
      {{"--help", "--scale", "x"}, "valor no válido para --scale: «x» (un número entero de 1 a 8)"},
  };
  for (const auto& [arguments, error] : bad) {
    const Parsed p = parse(arguments);
    EXPECT_FALSE(p.ok) << arguments[0];
    EXPECT_EQ(p.error, error);
  }
}

TEST(CommandLine, AWordOptionTakesThePositionOfItsWord) {
  // The game's own --nivel and --ayuda: a teacher's choice.
  EXPECT_FALSE(teaching_choice(parse({"--fullscreen"}).line).chosen);
  const TeachingAids easy = teaching_choice(parse({"--nivel", "facil"}).line);
  EXPECT_TRUE(easy.chosen);
  EXPECT_EQ(easy.level, LEVEL_EASY);
  EXPECT_FALSE(easy.hints);
  const TeachingAids hints = teaching_choice(parse({"--ayuda"}).line);
  EXPECT_TRUE(hints.chosen && hints.hints);
  EXPECT_EQ(hints.level, LEVEL_EXPERT);
  EXPECT_EQ(game_choice_options().size(), 7u);
  // The replay runner takes the sound's switch too.
  EXPECT_EQ(game_choice_options()[6].name, "--sin-sonido");
  EXPECT_EQ(parse({"--nivel", "facil"}, LEVEL_OPTION).line.scale, 0);
  EXPECT_EQ(parse({"--nivel=experto"}, LEVEL_OPTION).line.scale, 2);
  const Parsed p = parse({"--nivel", "dificil"}, LEVEL_OPTION);
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(p.error, "valor no válido para --nivel: «dificil» (facil, medio o experto)");
  EXPECT_NE(help_text(LEVEL_OPTION).find("\n  --nivel facil|medio|experto\n                    el nivel\n"),
            std::string::npos);
}

TEST(CommandLine, TextsListEveryOptionInAColumn) {
  const std::string help = help_text();
  EXPECT_EQ(help.rfind("Uso: ranvel [OPCIÓN]...\n", 0), 0u);
  EXPECT_NE(help.find("\n  --fullscreen      empieza en pantalla completa\n"), std::string::npos);
  EXPECT_NE(help.find("\n  --scale N         empieza con la ventana N veces más grande que la página\n"
                      "                    de 800 × 600 (N de 1 a 8; no cuenta con --fullscreen)\n"),
            std::string::npos);
  for (const char* name : {"--integer-scale ", "--nivel facil|medio|experto\n", "--ayuda ", "--sin-sonido ", "--help ", "--version "})
    EXPECT_NE(help.find(std::string("\n  ") + name), std::string::npos) << name;

  EXPECT_EQ(usage_text("opción desconocida: «-x»"),
            "ranvel: opción desconocida: «-x»\n"
            "Uso: ranvel [--fullscreen] [--scale N] [--integer-scale] [--nivel facil|medio|experto] [--ayuda] [--meta N] "
            "[--regletas LISTA] [--empieza jugador|computadora] [--idioma es|ca|gl|eu|pt|en] [--sin-sonido] [--help] "
            "[--version]\n"
            "Más información con «ranvel --help».\n");
  EXPECT_EQ(version_text().rfind("ranvel 1.", 0), 0u);
}

TEST(CommandLine, WordsAndSwitchesAsATeacherTypesThem) {
  // A shared link's spellings: capitals, accents, a yes or a no for a switch.
  const std::vector<std::pair<std::vector<std::string>, int32_t>> levels = {
      {{"--nivel", "fácil"}, LEVEL_EASY}, {{"--nivel=Facil"}, LEVEL_EASY}, {{"--nivel", "FÁCIL "}, LEVEL_EASY},
      {{"--nivel=Médio"}, LEVEL_MEDIUM},  {{"--nivel", "EXPERTO"}, LEVEL_EXPERT}};
  for (const auto& [arguments, level] : levels) {
    const Parsed p = parse(arguments);
    ASSERT_TRUE(p.ok) << arguments.back() << ": " << p.error;
    EXPECT_EQ(p.line.level, level) << arguments.back();
  }
  for (const char* yes : {"--ayuda", "--ayuda=1", "--ayuda=true", "--ayuda=Sí", "--ayuda=si"})
    EXPECT_TRUE(parse({yes}).line.hints) << yes;
  for (const char* no : {"--ayuda=0", "--ayuda=false", "--ayuda=No"}) {
    const Parsed p = parse({"--ayuda", no});
    EXPECT_TRUE(p.ok && !p.line.hints) << no;
  }
  EXPECT_EQ(parse({"--empieza=Computadora"}).line.starter, 1);
}

TEST(CommandLine, TheSetUpStartsTheOptionsScreen) {
  const GameSetup none = setup_choice(parse({}).line);
  EXPECT_EQ(none.target, 100);
  EXPECT_EQ(none.valid_rods, 0x7FE);
  EXPECT_EQ(none.starter, 0);
  const Parsed p = parse({"--meta", "30", "--regletas", "1, 2,5,2", "--empieza", "computadora"});
  ASSERT_TRUE(p.ok) << p.error;
  const GameSetup setup = setup_choice(p.line);
  EXPECT_EQ(setup.target, 30);
  EXPECT_EQ(setup.valid_rods, (1 << 1) | (1 << 2) | (1 << 5));
  EXPECT_EQ(setup.starter, 1);
  EXPECT_EQ(setup_choice(parse({"--meta=10", "--regletas=9,10"}).line).valid_rods, (1 << 9) | (1 << 10));
}

TEST(CommandLine, TheLanguageComesFromTheSwitchThenTheLocaleThenSpanish) {
  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG, and the language chosen.
  const struct {
    const char *language, *lc_all, *lc_messages, *lang;
    Language chosen;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, LANGUAGE_SPANISH},
      {nullptr, nullptr, nullptr, "ca_ES.UTF-8", LANGUAGE_CATALAN},
      {nullptr, nullptr, "eu_ES.UTF-8", "ca_ES.UTF-8", LANGUAGE_BASQUE},
      {nullptr, "pt_BR.UTF-8", "eu_ES.UTF-8", "ca_ES.UTF-8", LANGUAGE_PORTUGUESE},
      {nullptr, "", "", "en_GB", LANGUAGE_ENGLISH},
      {"gl:en", nullptr, nullptr, "ca_ES.UTF-8", LANGUAGE_GALICIAN},
      {"fr:en", nullptr, nullptr, "ca_ES.UTF-8", LANGUAGE_ENGLISH},
      {"fr", nullptr, nullptr, "ca_ES.UTF-8", LANGUAGE_SPANISH},    // LANGUAGE carried none
      {"en", "C", nullptr, "ca_ES.UTF-8", LANGUAGE_SPANISH},        // C: LANGUAGE is not read
      {"en", nullptr, nullptr, "POSIX", LANGUAGE_SPANISH},
      {nullptr, nullptr, nullptr, "C.UTF-8", LANGUAGE_SPANISH},
      {nullptr, nullptr, nullptr, "de_DE.UTF-8", LANGUAGE_SPANISH},  // not carried
      {nullptr, nullptr, nullptr, "ca@valencia", LANGUAGE_CATALAN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(language_of_locale(c.language, c.lc_all, c.lc_messages, c.lang), c.chosen)
        << (c.language ? c.language : "-") << " " << (c.lang ? c.lang : "-");
  EXPECT_EQ(parse({"--idioma", "EU"}).line.language, LANGUAGE_BASQUE);
  EXPECT_EQ(parse({"--idioma=en"}).line.language, LANGUAGE_ENGLISH);
  EXPECT_FALSE(parse({"--idioma", "fr"}).ok);
}

TEST(CommandLine, TheScaleCountsOnlyInAWindow) {
  CommandLine line;
  line.scale = 3;
  line.integer_scale = true;
  WindowChoice w = window_choice(line);
  EXPECT_FALSE(w.fullscreen);
  EXPECT_EQ(w.scale, 3);
  EXPECT_TRUE(w.integer_scale);
  line.fullscreen = true;
  w = window_choice(line);
  EXPECT_TRUE(w.fullscreen);
  EXPECT_EQ(w.scale, 0);
  EXPECT_TRUE(w.integer_scale);
}
