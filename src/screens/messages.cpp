// The texts of the game's messages, in the order of their lines. Leading
// spaces move a line to the right, to centre it in the box.
#include "screens/messages.h"

#include <map>
#include <string>

#include "text/language.h"

const TextList MSGCOMPUWINS = lines_of(
    // TRANSLATORS: a message box (at most 5 lines, each at most 340 pixels, about
    // 30 letters). Lines start with spaces to centre them; do the same. The
    // computer has reached the target and won.
    screen_text("message", "   La computadora dice:\n\n¡¡¡  H E   G A N A D O  !!!").text());
const TextList MSGPLAYERWINS = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the player
    // has reached the target and won.
    screen_text("message", "   La computadora dice:\n\n   Me has ganado.").text());
const TextList MSGCANNOTREACH = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): no rod the
    // computer may lay fits below the target (%d), so the game is a tie.
    screen_text("message", "   La computadora dice:\n\nImposible alcanzar %d\n   Esto es un empate.").text());
const TextList MSGNOTNOW = lines_of(
    screen_text("message",
                // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the
                // player claimed a tie while a rod still fits.
                "   La computadora dice:\n\nAhora no puedes hacer esto.\n   Todavía puedes hacer\n    una jugada válida.")
        .text());
const TextList MSGQUIT = lines_of(
    // TRANSLATORS: a question in a message box (one line of about 30 letters),
    // answered with "Sí" or "No": does the player want to leave the program?
    screen_text("message", "¿Seguro que quieres salir?").text());
const TextList MSGTOOFEWRODS = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the player
    // wants to play with fewer than two different rods switched on.
    screen_text("message", "     E R R O R:\n Tienes que seleccionar\npor lo menos dos regletas\n  distintas para jugar.")
        .text());
const TextList MSGOVERSHOOT = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the player
    // laid a rod that passes the target (%d), and loses.
    screen_text("message", "   La computadora dice:\n\nPerdiste, porque\nsobrepasaste el %d").text());
const TextList MSGTIE = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the player
    // claimed a tie when no rod fits any more.
    screen_text("message", "   La computadora dice:\n\nBien, tenemos un empate.").text());
const TextList MSGBADROD = lines_of(
    // TRANSLATORS: a message box (at most 5 lines of about 30 letters): the player
    // pressed the digit of a rod that is not in play.
    screen_text("message", "     E R R O R:\n\nEste número no es válido.").text());
const TextList MSGGIVEUP = lines_of(
    // TRANSLATORS: a question in a message box (one line of about 30 letters),
    // answered with "Sí" or "No": does the player want to give the game up?
    screen_text("message", "¿Seguro que quieres rendirte?").text());

const TextList& shown_message(const TextList& lines) {
  if (chosen_language() == LANGUAGE_SPANISH) return lines;
  // Each message is translated once, the first time it is shown.
  static std::map<const TextList*, TextList> translated;
  auto [place, made] = translated.try_emplace(&lines);
  if (made) place->second = lines_of(translation("message", joined_lines(lines)));
  return place->second;
}

TextList shown_message(const TextList& lines, int32_t number) {
  const TextList& shown = shown_message(lines);
  TextList numbered;
  for (const std::string& line : shown) numbered.items.push_back(with_numbers(line, {number}));
  return numbered;
}
