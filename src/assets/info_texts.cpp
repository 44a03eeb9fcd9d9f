// The four stored text blocks: three information pages and the closing page.
//
// The pages are written here line by line in the fonts' code page ([ is a,
// \ i, ] e, ^ n, _ u, ` o with their accents, { is N with tilde, | the
// opening exclamation mark, } u with diaeresis, ~ E with acute accent and \x7F
// the opening question mark). The compiler scrambles them into the stored form
// that DOMOVE undoes, and refuses a page that does not come to exactly its
// byte count + 1 bytes: pad a line with spaces (centring a title is the usual
// place) when a change of wording alters the count. Each page must also fit
// the information panel: at most 18 lines, every line no wider than 720
// pixels in the small font (the tests check both).
#include "assets/info_texts.h"

#include <array>
#include <cstddef>
#include <initializer_list>
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

// Lines to a stored block: the number of lines minus one, then each line's
// length and characters, every byte scrambled by its position.
template <std::size_t N>
constexpr std::array<std::uint8_t, N> encode(std::initializer_list<std::string_view> lines) {
  std::array<std::uint8_t, N> out{};
  std::size_t total = 1;
  for (std::string_view line : lines) total += 1 + line.size();
  if (total != N) throw "the page does not come to its byte count + 1";
  if (lines.size() < 1 || lines.size() > 18) throw "a page has 1 to 18 lines";
  std::size_t k = 0;
  out[k] = scramble(static_cast<std::uint8_t>(lines.size() - 1), k);
  ++k;
  for (std::string_view line : lines) {
    if (line.size() > 255) throw "a line holds at most 255 characters";
    out[k] = scramble(static_cast<std::uint8_t>(line.size()), k);
    ++k;
    for (char ch : line) {
      const auto c = static_cast<std::uint8_t>(ch);
      if (c < 32 || c > 127) throw "only the codes 32..127 of the fonts";
      out[k] = scramble(c, k);
      ++k;
    }
  }
  return out;
}

// Rules of the game and how to play.
constexpr auto page1 = encode<I_NFO1_COUNT + 1>({
    "                                    \x7FQui]n llega a 100?",
    "",
    "T_ y la computadora colocan por turnos una regleta sobre",
    "la recta num]rica, justo despu]s de las que ya est[n",
    "puestas. Cada regleta mide lo que vale: de 1 a 10.",
    "Gana quien lleva la suma exactamente hasta la meta.",
    "Si tu regleta pasa de la meta, pierdes la partida.",
    "Cuando ya no cabe ninguna regleta v[lida, es empate:",
    "la computadora lo dice en su turno, y en el tuyo",
    "tienes que reclamarlo t_.",
    "",
    "Para jugar, pulsa la cifra de la regleta (1 a 9; el 0 o",
    "los dos puntos valen 10) o haz clic en una regleta de",
    "la fila de abajo. Para reclamar el empate, pulsa X o",
    "\"Es empate\". Para rendirte, pulsa Esc o \"Salir\".",
});

// The options screen.
constexpr auto page2 = encode<I_NFO2_COUNT + 1>({
    "                                  La pantalla de opciones",
    "",
    "Meta (de 10 a 100): los botones de flecha de la",
    "izquierda cambian de 10 en 10 y los de la derecha,",
    "de 1 en 1. Con el teclado: arriba y abajo, 10;",
    "derecha e izquierda, 1.",
    "Regletas v[lidas: casillas o teclas de cifras",
    "(el 0 es la de 10). Elige al menos dos valores.",
    "J: empiezas t_.   C: empieza la computadora.",
    "I: informaci`n.   Enter o \"Jugar\": a jugar.",
    "Esc o \"Salir\": terminar el programa.",
});

// A hint of strategy.
constexpr auto page3 = encode<I_NFO3_COUNT + 1>({
    "                                          Un consejo",
    "",
    "Piensa hacia atr[s desde la meta. Si juegas con todas las",
    "regletas y tras tu jugada faltan 11, la computadora",
    "no puede ganar: ponga lo que ponga, t_ completas el 11.",
    "Las posiciones seguras son la meta menos 11,",
    "menos 22, menos 33, etc. Si las regletas elegidas son",
    "sim]tricas (como 2, 3 y 4), la suma de la menor y la",
    "mayor hace el papel del 11.",
    "",
    "Cuidado: la computadora tambi]n conoce el truco.",
    "Si le dejas una posici`n segura, |ganar[ ella!",
});

// The closing page.
constexpr auto pageend = encode<I_NFOEND_COUNT + 1>({
    "",
    "                                    |Gracias por jugar!",
    "",
    "     Espero que te hayas divertido con las regletas.",
    "     Vuelve pronto: la pr`xima vez, \x7Fllegar[s t_",
    "     primero a la meta?",
    "",
    "                                        |Hasta luego!",
});

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
