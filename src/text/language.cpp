// The language of the game's texts (see language.h).
#include "text/language.h"

#include <algorithm>
#include <vector>

#include "assets/catalogues.h"

namespace {

Language chosen = LANGUAGE_SPANISH;
const Catalogue* catalogue = nullptr;

// The Spanish letter of each key, marked so that each language gives its own.
const std::array<std::string_view, 5> KEY_LETTERS{
    // TRANSLATORS: the key that answers yes to a question, whose button reads
    // "Sí": one capital letter that a child reading the button would guess.
    // M, A, X, I and the letter for "no" are taken.
    plain_text("key: yes", "S"),
    // TRANSLATORS: the key that answers no to a question, whose button reads
    // "No": one capital letter. M, A, X, I and the letter for "yes" are taken.
    plain_text("key: no", "N"),
    // TRANSLATORS: on the options screen, the key that makes the player start
    // (the choice "Jugador empieza"): one capital letter a child reading that
    // choice would guess. M, A, X, I and the computer's letter are taken.
    plain_text("key: player starts", "J"),
    // TRANSLATORS: on the options screen, the key that makes the computer
    // start (the choice "Computadora empieza"): one capital letter. M, A, X, I
    // and the player's letter are taken.
    plain_text("key: computer starts", "C"),
    // TRANSLATORS: during play, a second key that claims a tie (the button
    // "Es empate"), besides X, which claims it in every language: one capital
    // letter, or X itself when no other fits. M, A, I are taken.
    plain_text("key: claim tie", "X"),
};
constexpr std::array<std::string_view, 5> KEY_CONTEXTS{"key: yes", "key: no", "key: player starts",
                                                      "key: computer starts", "key: claim tie"};

bool before(const CatalogueEntry& e, std::string_view context, std::string_view spanish) {
  return e.context < context || (e.context == context && e.spanish < spanish);
}

}  // namespace

std::string language_codes() {
  std::string codes;
  for (const LanguageName& l : LANGUAGES) codes.append(codes.empty() ? "" : "|").append(l.code);
  return codes;
}

void choose_language(Language language) {
  chosen = LANGUAGE_SPANISH;
  catalogue = nullptr;
  const std::size_t index = static_cast<std::size_t>(language);
  if (index >= LANGUAGES.size()) index_error(Idx(language));
  chosen = language;
  for (std::size_t i = 0; i < CATALOGUE_COUNT; ++i)
    if (CATALOGUES[i].code == LANGUAGES[index].code) catalogue = &CATALOGUES[i];
}

Language chosen_language() { return chosen; }

std::string_view translation(std::string_view context, std::string_view spanish) {
  if (catalogue == nullptr) return spanish;
  const CatalogueEntry* end = catalogue->entries + catalogue->count;
  const CatalogueEntry* found =
      std::lower_bound(catalogue->entries, end, 0, [&](const CatalogueEntry& e, int) { return before(e, context, spanish); });
  if (found == end || found->context != context || found->spanish != spanish) return spanish;
  return found->text;
}

std::string filled(std::string_view text, std::span<const std::string_view> parts) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool place = text[i] == '%' && i + 1 < text.size() && (text[i + 1] == 'd' || text[i + 1] == 's');
    if (place && next < parts.size()) {
      out.append(parts[next++]);
      ++i;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string with_numbers(std::string_view text, std::initializer_list<int32_t> numbers) {
  std::vector<std::string> written;
  for (const int32_t number : numbers) written.push_back(std::to_string(number));
  const std::vector<std::string_view> parts(written.begin(), written.end());
  return filled(text, parts);
}

TextList lines_of(std::string_view text) {
  TextList lines;
  for (;;) {
    const std::size_t end = text.find('\n');
    lines.items.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

std::string joined_lines(const TextList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text.append(i == 0 ? "" : "\n").append(lines.items[i]);
  return text;
}

char key_letter(KeyMeaning meaning) {
  const auto i = static_cast<std::size_t>(meaning);
  if (i >= KEY_LETTERS.size()) index_error(Idx(meaning));
  const std::string_view letter = translation(KEY_CONTEXTS[i], KEY_LETTERS[i]);
  return letter.size() == 1 ? letter[0] : KEY_LETTERS[i][0];
}

bool key_means(std::string_view key, KeyMeaning meaning) {
  if (key.size() != 1) return false;
  const auto i = static_cast<std::size_t>(meaning);
  if (i >= KEY_LETTERS.size()) index_error(Idx(meaning));
  const char c = (key[0] >= 'a' && key[0] <= 'z') ? static_cast<char>(key[0] - 'a' + 'A') : key[0];
  return c == KEY_LETTERS[i][0] || c == key_letter(meaning);
}
