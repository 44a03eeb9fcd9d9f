// ranvel-catalogue: turns the translators' files into the catalogues the game
// carries, at build time.
//
//   ranvel-catalogue OUT.cpp OUT.js po/LL.po...
//
// OUT.cpp gets one catalogue a language (assets/catalogues.h): the texts
// drawn on the screen (the contexts of text/screen_rooms.h) in the fonts'
// code page, keyed by their Spanish text in the same code page; the keys'
// letters; the terminal's texts as they are. OUT.js gets the web page's texts
// (context "web page") for page.js. An entry that is fuzzy or not translated
// is left out (the game then shows the Spanish text). A translation the game
// cannot show stops the build, naming the file, the entry and the fault: a
// character the fonts cannot draw, a "%d" more or less than the Spanish text
// has, a key that is not one free letter.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/text_marks.h"
#include "text/code_page.h"
#include "text/screen_rooms.h"
#include "tools/po_file.h"

namespace {

struct Translated {
  std::string context, spanish, text;
};

struct Language {
  std::string code;
  std::vector<Translated> entries;                 // the game's
  std::vector<std::pair<std::string, std::string>> page;  // the page's: Spanish, translation
};

std::string read_file(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  ok = static_cast<bool>(in) || in.eof();
  return text.str();
}

int count_numbers(const std::string& s) {
  int n = 0;
  for (std::size_t i = 0; (i = s.find("%d", i)) != std::string::npos; i += 2) ++n;
  return n;
}

// A screen text's lines, each in the fonts' code page.
bool screen_code_page(const std::string& utf8, std::string& out, std::string& error) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = utf8.find('\n', start);
    const CodePageText line = to_code_page(std::string_view(utf8).substr(start, end - start));
    if (!line.error.empty()) {
      error = line.error;
      return false;
    }
    out += line.text;
    if (end == std::string::npos) return true;
    out.push_back('\n');
    start = end + 1;
  }
}

bool free_key(const std::string& context, const std::string& letter) {
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') return false;
  // M (sound), A (the aids) and I (the information pages) keep their meaning
  // in every language, and X claims a tie.
  if (letter == "M" || letter == "A" || letter == "I") return false;
  return letter != "X" || context == "key: claim tie";
}

// A C++ string literal of these bytes.
std::string literal(const std::string& bytes) {
  std::string out = "\"";
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (c >= 32 && c < 127 && c != '?') {
      out.push_back(ch);
    } else {
      out.push_back('\\');
      for (const int shift : {6, 3, 0}) out.push_back(static_cast<char>('0' + ((c >> shift) & 7)));
    }
  }
  return out + "\"";
}

// A JavaScript string literal (the text is UTF-8, written as it is).
std::string js_literal(const std::string& text) {
  std::string out = "'";
  for (const char ch : text) {
    if (ch == '\'' || ch == '\\') out.push_back('\\');
    if (ch == '\n') {
      out += "\\n";
      continue;
    }
    out.push_back(ch);
  }
  return out + "'";
}

bool take_language(const std::string& path, Language& language) {
  const std::size_t slash = path.find_last_of('/');
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  language.code = name.substr(0, name.find('.'));
  bool ok = false;
  const PoFile po = read_po(read_file(path, ok));
  if (!ok) {
    std::fprintf(stderr, "ranvel-catalogue: %s: cannot read it\n", path.c_str());
    return false;
  }
  if (!po.error.empty()) {
    std::fprintf(stderr, "ranvel-catalogue: %s:%s\n", path.c_str(), po.error.c_str());
    return false;
  }
  bool good = true;
  for (const PoEntry& e : po.entries) {
    if (e.context.empty() || e.fuzzy || e.msgstr.empty()) continue;
    const auto fault = [&](const std::string& why) {
      std::fprintf(stderr, "ranvel-catalogue: %s:%d: language %s, msgctxt \"%s\" msgid \"%s\": %s\n", path.c_str(),
                   e.line, language.code.c_str(), e.context.c_str(), e.msgid.c_str(), why.c_str());
      good = false;
    };
    if (count_numbers(e.msgid) != count_numbers(e.msgstr)) {
      fault("the translation must hold \"%d\" as often as the Spanish text");
      continue;
    }
    if (e.context == "web page") {
      language.page.emplace_back(e.msgid, e.msgstr);
      continue;
    }
    Translated t{e.context, e.msgid, e.msgstr};
    if (screen_room(e.context) != nullptr) {
      t.spanish.clear();
      t.text.clear();
      std::string why;
      if (spanish_code_page(e.msgid, [&](char c) { t.spanish.push_back(c); }) >= 0) {
        fault("the Spanish text holds a character the fonts do not draw");
        continue;
      }
      if (!screen_code_page(e.msgstr, t.text, why)) {
        fault(why);
        continue;
      }
    } else if (e.context.starts_with("key: ")) {
      std::string letter = e.msgstr;
      if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z') letter[0] = static_cast<char>(letter[0] - 32);
      if (!free_key(e.context, letter)) {
        fault("a key is one letter, and not M, A, I (nor X but to claim a tie)");
        continue;
      }
      t.text = letter;
    }
    language.entries.push_back(t);
  }
  std::sort(language.entries.begin(), language.entries.end(), [](const Translated& a, const Translated& b) {
    return a.context != b.context ? a.context < b.context : a.spanish < b.spanish;
  });
  return good;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: ranvel-catalogue OUT.cpp OUT.js po/LL.po...\n");
    return 2;
  }
  std::vector<Language> languages;
  bool good = true;
  for (int i = 3; i < argc; ++i) {
    Language l;
    good = take_language(argv[i], l) && good;
    languages.push_back(l);
  }
  if (!good) return 1;

  std::ostringstream cpp;
  cpp << "// Made by ranvel-catalogue from the translators' files: do not edit.\n"
         "#include \"assets/catalogues.h\"\n\nnamespace {\n";
  for (const Language& l : languages) {
    cpp << "\nconstexpr CatalogueEntry ENTRIES_" << l.code << "[] = {\n";
    for (const Translated& t : l.entries)
      cpp << "    {" << literal(t.context) << ", " << literal(t.spanish) << ", " << literal(t.text) << "},\n";
    if (l.entries.empty()) cpp << "    {\"\", \"\", \"\"},\n";
    cpp << "};\n";
  }
  cpp << "\n}  // namespace\n\nconst Catalogue CATALOGUES[] = {\n";
  for (const Language& l : languages)
    cpp << "    {\"" << l.code << "\", ENTRIES_" << l.code << ", " << l.entries.size() << "},\n";
  if (languages.empty()) cpp << "    {\"\", nullptr, 0},\n";
  cpp << "};\nconst std::size_t CATALOGUE_COUNT = " << languages.size() << ";\n";

  std::ostringstream js;
  js << "// Made by ranvel-catalogue from the translators' files: do not edit.\n"
        "// The web page's texts in each language but Spanish, by their Spanish text.\n"
        "window.RANVEL_PAGE_TEXTS = {\n";
  for (const Language& l : languages) {
    js << "  " << l.code << ": {\n";
    for (const auto& [spanish, text] : l.page) js << "    " << js_literal(spanish) << ": " << js_literal(text) << ",\n";
    js << "  },\n";
  }
  js << "};\n";

  for (const auto& [path, text] : {std::pair<std::string, std::string>{argv[1], cpp.str()}, {argv[2], js.str()}}) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
      std::fprintf(stderr, "ranvel-catalogue: %s: cannot write it\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
