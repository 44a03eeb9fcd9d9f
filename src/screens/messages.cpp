// The texts of the game's messages. They are written in the code page of the
// game's fonts: "\" draws an i with an accent, "[" an a with an accent, "_" a
// u with an accent and code 127 an inverted question mark.
#include "screens/messages.h"

#include <string>

const TextList MSGCOMPUWINS = {"   La computadora dice:", "", "|||  H E   G A N A D O  !!!"};
const TextList MSGPLAYERWINS = {"   La computadora dice:", "", "   Me has ganado."};
const TextList MSGCANNOTREACH = {"   La computadora dice:", "", "Imposible alcanzar ", "   Esto es un empate."};
const TextList MSGNOTNOW = {"   La computadora dice:", "", "Ahora no puedes hacer esto.", "   Todav\\a puedes hacer",
                            "    una jugada v[lida."};
const TextList MSGQUIT = {"\x7F" "Seguro que quieres salir?"};
const TextList MSGTOOFEWRODS = {"     E R R O R:", " Tienes que seleccionar", "por lo menos dos regletas",
                                "  distintas para jugar."};
const TextList MSGOVERSHOOT = {"   La computadora dice:", "", "Perdiste, porque", "sobrepasaste el "};
const TextList MSGTIE = {"   La computadora dice:", "", "Bien, tenemos un empate."};
const TextList MSGBADROD = {"     E R R O R:", "", "Este n_mero no es v[lido."};
const TextList MSGGIVEUP = {"\x7F" "Seguro que quieres rendirte?"};

TextList with_target(const TextList& lines, int32_t line, int32_t target) {
  TextList shown = lines;
  shown[line] += std::to_string(target);
  return shown;
}
