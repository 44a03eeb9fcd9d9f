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
      {{"--fullscreen=yes"}, "la opción --fullscreen no lleva valor"},
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
  EXPECT_EQ(teaching_options().size(), 2u);
  // The replay runner takes the sound's switch too.
  EXPECT_EQ(replay_options().size(), 3u);
  EXPECT_EQ(replay_options()[2].name, "--sin-sonido");
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
            "Uso: ranvel [--fullscreen] [--scale N] [--integer-scale] [--nivel facil|medio|experto] [--ayuda] "
            "[--sin-sonido] [--help] [--version]\n"
            "Más información con «ranvel --help».\n");
  EXPECT_EQ(version_text().rfind("ranvel 1.", 0), 0u);
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
