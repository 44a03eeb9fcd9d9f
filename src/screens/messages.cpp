// The texts of the game's messages. They are written in the code page of the
// game's fonts: "\" draws an i with an accent, "[" an a with an accent, "_" a
// u with an accent and code 127 an inverted question mark.
#include "screens/messages.h"

TextList MSGCOMPUWINS;
TextList MSGPLAYERWINS;
TextList MSGCANNOTREACH;
TextList MSGNOTNOW;
TextList MSGQUIT;
TextList MSGTOOFEWRODS;
TextList MSGOVERSHOOT;
TextList MSGTIE;
TextList MSGBADROD;
TextList MSGGIVEUP;

void set_messages() {
  MSGCOMPUWINS = {"   La computadora dice:", "", "|||  H E   G A N A D O  !!!"};
  MSGPLAYERWINS = {"   La computadora dice:", "", "   Me has ganado."};
  // Line 2 gets the target appended when the message is shown.
  MSGCANNOTREACH = {"   La computadora dice:", "", "Imposible alcanzar ", "   Esto es un empate."};
  MSGNOTNOW = {"   La computadora dice:", "", "Ahora no puedes hacer esto.", "   Todav\\a puedes hacer",
               "    una jugada v[lida."};
  MSGQUIT = {"\x7F" "Seguro que quieres salir?"};
  MSGTOOFEWRODS = {"     E R R O R:", " Tienes que seleccionar", "por lo menos dos regletas",
                   "  distintas para jugar."};
  // Line 3 gets the target appended when the message is shown.
  MSGOVERSHOOT = {"   La computadora dice:", "", "Perdiste, porque", "sobrepasaste el "};
  MSGTIE = {"   La computadora dice:", "", "Bien, tenemos un empate."};
  MSGBADROD = {"     E R R O R:", "", "Este n_mero no es v[lido."};
  MSGGIVEUP = {"\x7F" "Seguro que quieres rendirte?"};
}
