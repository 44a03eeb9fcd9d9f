// The language of the game's texts. Spanish is the game's own: its texts are
// the ones written in the code, so with Spanish nothing is looked up. The
// other languages come from the catalogues built from po/LL.po.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "core/checked.h"
#include "core/text_marks.h"

enum Language : int32_t {
  LANGUAGE_SPANISH = 0,
  LANGUAGE_CATALAN = 1,
  LANGUAGE_GALICIAN = 2,
  LANGUAGE_BASQUE = 3,
  LANGUAGE_PORTUGUESE = 4,
  LANGUAGE_ENGLISH = 5,
};

struct LanguageName {
  std::string_view code;  // as --idioma and ?idioma= take it, and a locale starts
  std::string_view name;  // the language's name in itself (UTF-8)
};
// In the order of Language.
inline constexpr std::array<LanguageName, 6> LANGUAGES{{{"es", "Español"},
                                                       {"ca", "Català"},
                                                       {"gl", "Galego"},
                                                       {"eu", "Euskara"},
                                                       {"pt", "Português"},
                                                       {"en", "English"}}};

// The language's codes as a word list for the command line: "es|ca|...".
std::string language_codes();

// Chosen once at start-up (the command line, the locale or the page), before
// any text is shown.
void choose_language(Language language);
Language chosen_language();

// A marked text in the chosen language: its translation, or the Spanish text
// itself (for Spanish, or when no translation is known).
std::string_view translation(std::string_view context, std::string_view spanish);
template <std::size_t N>
std::string_view translation(const ScreenText<N>& text) {
  return translation(text.context, text.text());
}

// The text with each "%s" or "%d" replaced by the next of the parts, in
// order; with_numbers writes numbers in decimal.
std::string filled(std::string_view text, std::span<const std::string_view> parts);
inline std::string filled(std::string_view text, std::initializer_list<std::string_view> parts) {
  return filled(text, std::span<const std::string_view>(parts.begin(), parts.size()));
}
std::string with_numbers(std::string_view text, std::initializer_list<int32_t> numbers);

// The lines of a text, split at its line breaks, and the lines joined again.
TextList lines_of(std::string_view text);
std::string joined_lines(const TextList& lines);

// The keys that answer a question, choose who starts and claim a tie. In
// every language the Spanish letter works (S, N, J, C, X), and so does the
// chosen language's own letter, which its catalogue gives.
enum KeyMeaning : int32_t { KEY_YES, KEY_NO, KEY_PLAYER_STARTS, KEY_COMPUTER_STARTS, KEY_CLAIM_TIE };
bool key_means(std::string_view key, KeyMeaning meaning);
// The chosen language's own letter for it (a capital).
char key_letter(KeyMeaning meaning);
