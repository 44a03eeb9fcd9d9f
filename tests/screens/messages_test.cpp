#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/messages.h"

namespace {

std::vector<std::string> lines_of(const TextList& list) { return list.items; }

}  // namespace

TEST(Messages, TheTenListsHoldTheirExactLines) {
  using L = std::vector<std::string>;
  EXPECT_EQ(lines_of(MSGCOMPUWINS), (L{"   La computadora dice:", "", "|||  H E   G A N A D O  !!!"}));
  EXPECT_EQ(lines_of(MSGPLAYERWINS), (L{"   La computadora dice:", "", "   Me has ganado."}));
  EXPECT_EQ(lines_of(MSGCANNOTREACH),
            (L{"   La computadora dice:", "", "Imposible alcanzar %d", "   Esto es un empate."}));
  EXPECT_EQ(lines_of(MSGNOTNOW), (L{"   La computadora dice:", "", "Ahora no puedes hacer esto.",
                                    "   Todav\\a puedes hacer", "    una jugada v[lida."}));
  EXPECT_EQ(lines_of(MSGTOOFEWRODS), (L{"     E R R O R:", " Tienes que seleccionar", "por lo menos dos regletas",
                                        "  distintas para jugar."}));
  EXPECT_EQ(lines_of(MSGOVERSHOOT), (L{"   La computadora dice:", "", "Perdiste, porque", "sobrepasaste el %d"}));
  EXPECT_EQ(lines_of(MSGTIE), (L{"   La computadora dice:", "", "Bien, tenemos un empate."}));
  EXPECT_EQ(lines_of(MSGBADROD), (L{"     E R R O R:", "", "Este n_mero no es v[lido."}));
}

TEST(Messages, TheTargetIsWrittenWhereTheTextSays) {
  using L = std::vector<std::string>;
  EXPECT_EQ(lines_of(shown_message(MSGOVERSHOOT, 47)), (L{"   La computadora dice:", "", "Perdiste, porque", "sobrepasaste el 47"}));
  EXPECT_EQ(lines_of(shown_message(MSGCANNOTREACH, 100))[2], "Imposible alcanzar 100");
  EXPECT_EQ(&shown_message(MSGTIE), &MSGTIE);  // Spanish: the list itself
}

TEST(Messages, QuestionsStartWithTheInvertedQuestionMarkCode) {
  ASSERT_EQ(MSGQUIT.size(), 1u);
  ASSERT_EQ(MSGGIVEUP.size(), 1u);
  EXPECT_EQ(static_cast<unsigned char>(MSGQUIT[0][0]), 0x7F);
  EXPECT_EQ(MSGQUIT[0].substr(1), "Seguro que quieres salir?");
  EXPECT_EQ(static_cast<unsigned char>(MSGGIVEUP[0][0]), 0x7F);
  EXPECT_EQ(MSGGIVEUP[0].substr(1), "Seguro que quieres rendirte?");
  EXPECT_EQ(MSGGIVEUP[0].size(), 29u);
}
