// The four stored text blocks: three information pages and the closing page.
//
// The pages are written here in Spanish, a line break between lines, and
// marked for the translators (core/text_marks.h); the compiler turns them
// into the fonts' code page and scrambles them into the stored form that
// DOMOVE undoes, and refuses a page that does not come to exactly its byte
// count + 1 bytes: pad a line with spaces (centring a title is the usual
// place) when a change of wording alters the count. Each page must also fit
// the information panel: at most 18 lines, every line no wider than 720
// pixels in the small font (the tests check both).
#include "assets/info_texts.h"

#include "core/text_marks.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

// The stored byte that HALFVALUE turns into c at position p.
constexpr std::uint8_t scramble(std::uint8_t c, std::size_t p) {
  const unsigned v = c < 128 ? 2u * c : 2u * c - 255u;
  return static_cast<std::uint8_t>((v + p) & 255u);
}

// A page to a stored block: the number of lines minus one, then each line's
// length and characters, every byte scrambled by its position.
template <std::size_t N, std::size_t M>
constexpr std::array<std::uint8_t, N> encode(const ScreenText<M>& page) {
  const std::string_view text = page.text();
  std::size_t lines = 1;
  for (char ch : text) lines += ch == '\n' ? 1 : 0;
  if (text.size() + 1 + 1 != N) throw "the page does not come to its byte count + 1";
  if (lines > 18) throw "a page has 1 to 18 lines";
  std::array<std::uint8_t, N> out{};
  std::size_t k = 0;
  out[k] = scramble(static_cast<std::uint8_t>(lines - 1), k);
  ++k;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n') ++end;
    if (end - start > 255) throw "a line holds at most 255 characters";
    out[k] = scramble(static_cast<std::uint8_t>(end - start), k);
    ++k;
    for (std::size_t i = start; i < end; ++i) {
      out[k] = scramble(static_cast<std::uint8_t>(text[i]), k);
      ++k;
    }
    start = end + 1;
  }
  return out;
}

// Rules of the game and how to play.
constexpr auto page1 = encode<I_NFO1_COUNT + 1>(screen_text(
    "information page",
    // TRANSLATORS: an information page (at most 15 lines, each at most 720
    // pixels, about 60 letters; fewer lines are fine). The first line is its
    // title, centred with leading spaces: do the same with yours.
    "                                    ¿Quién llega a 100?\n"
    "\n"
    "Tú y la computadora colocan por turnos una regleta sobre\n"
    "la recta numérica, justo después de las que ya están\n"
    "puestas. Cada regleta mide lo que vale: de 1 a 10.\n"
    "Gana quien lleva la suma exactamente hasta la meta.\n"
    "Si tu regleta pasa de la meta, pierdes la partida.\n"
    "Cuando ya no cabe ninguna regleta válida, es empate:\n"
    "la computadora lo dice en su turno, y en el tuyo\n"
    "tienes que reclamarlo tú.\n"
    "\n"
    "Para jugar, pulsa la cifra de la regleta (1 a 9; el 0 o\n"
    "los dos puntos valen 10) o haz clic en una regleta de\n"
    "la fila de abajo. Para reclamar el empate, pulsa X o\n"
    "\"Es empate\". Para rendirte, pulsa Esc o \"Salir\"."));

// The options screen.
constexpr auto page2 = encode<I_NFO2_COUNT + 1>(screen_text(
    "information page",
    // TRANSLATORS: an information page (at most 11 lines, each at most 720
    // pixels, about 60 letters; fewer lines are fine). The first line is its
    // title, centred with leading spaces: do the same with yours. The keys are
    // those of your language (J and C become its letters for who starts).
    "                                  La pantalla de opciones\n"
    "\n"
    "Meta (de 10 a 100): los botones de flecha de la\n"
    "izquierda cambian de 10 en 10 y los de la derecha,\n"
    "de 1 en 1. Con el teclado: arriba y abajo, 10;\n"
    "derecha e izquierda, 1.\n"
    "Regletas válidas: casillas o teclas de cifras\n"
    "(el 0 es la de 10). Elige al menos dos valores.\n"
    "J: empiezas tú.   C: empieza la computadora.\n"
    "I: información.   Enter o \"Jugar\": a jugar.\n"
    "Esc o \"Salir\": terminar el programa."));

// A hint of strategy.
constexpr auto page3 = encode<I_NFO3_COUNT + 1>(screen_text(
    "information page",
    // TRANSLATORS: an information page (at most 12 lines, each at most 720
    // pixels, about 60 letters; fewer lines are fine). The first line is its
    // title, centred with leading spaces: do the same with yours.
    "                                          Un consejo\n"
    "\n"
    "Piensa hacia atrás desde la meta. Si juegas con todas las\n"
    "regletas y tras tu jugada faltan 11, la computadora\n"
    "no puede ganar: ponga lo que ponga, tú completas el 11.\n"
    "Las posiciones seguras son la meta menos 11,\n"
    "menos 22, menos 33, etc. Si las regletas elegidas son\n"
    "simétricas (como 2, 3 y 4), la suma de la menor y la\n"
    "mayor hace el papel del 11.\n"
    "\n"
    "Cuidado: la computadora también conoce el truco.\n"
    "Si le dejas una posición segura, ¡ganará ella!"));

// The closing page, shown when the player leaves.
constexpr auto pageend = encode<I_NFOEND_COUNT + 1>(screen_text(
    "information page",
    // TRANSLATORS: the closing page (at most 8 lines, each at most 720 pixels,
    // about 60 letters), shown when the player leaves the program. Lines are
    // centred with leading spaces: do the same.
    "\n"
    "                                    ¡Gracias por jugar!\n"
    "\n"
    "     Espero que te hayas divertido con las regletas.\n"
    "     Vuelve pronto: la próxima vez, ¿llegarás tú\n"
    "     primero a la meta?\n"
    "\n"
    "                                        ¡Hasta luego!"));

// The blocks as plain byte arrays, the form the start-up code hands to DOMOVE.
template <const auto& PAGE, class INDICES>
struct StoredBytes;
template <const auto& PAGE, std::size_t... I>
struct StoredBytes<PAGE, std::index_sequence<I...>> {
  static constexpr std::uint8_t bytes[sizeof...(I)] = {PAGE[I]...};
};
template <const auto& PAGE>
using Stored = StoredBytes<PAGE, std::make_index_sequence<std::tuple_size_v<std::decay_t<decltype(PAGE)>>>>;

}  // namespace

const std::uint8_t (&I_NFO1)[I_NFO1_COUNT + 1] = Stored<page1>::bytes;
const std::uint8_t (&I_NFO2)[I_NFO2_COUNT + 1] = Stored<page2>::bytes;
const std::uint8_t (&I_NFO3)[I_NFO3_COUNT + 1] = Stored<page3>::bytes;
const std::uint8_t (&I_NFOEND)[I_NFOEND_COUNT + 1] = Stored<pageend>::bytes;
