// Reading PO files (see po_file.h).
#include "tools/po_file.h"

namespace {

// The string of a line that starts with a quote, its escapes undone; false
// when it is not one.
bool quoted_string(std::string_view line, std::string& out) {
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return false;
  for (std::size_t i = 1; i + 1 < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return false;
    if (c == '\\') {
      if (i + 2 >= line.size()) return false;
      switch (line[++i]) {
        case 'n': c = '\n'; break;
        case 't': c = '\t'; break;
        case 'r': c = '\r'; break;
        case '"': c = '"'; break;
        case '\\': c = '\\'; break;
        default: return false;
      }
    }
    out.push_back(c);
  }
  return true;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

PoFile read_po(std::string_view text) {
  PoFile file;
  PoEntry entry;
  bool flagged_fuzzy = false;
  std::string* target = nullptr;  // the string that continuation lines extend
  bool started = false;           // the entry has a msgid
  auto finish = [&] {
    if (started && !entry.msgid.empty()) file.entries.push_back(entry);
    entry = PoEntry{};
    started = false;
    target = nullptr;
  };
  int32_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    const auto fail = [&](const std::string& why) {
      file.entries.clear();
      file.error = std::to_string(number) + ": " + why;
      return file;
    };
    if (line.empty()) {
      target = nullptr;
      continue;
    }
    if (line.starts_with("#~")) continue;  // an obsolete entry
    if (line.starts_with("#,")) {
      if (started) finish();
      flagged_fuzzy = line.find("fuzzy") != std::string_view::npos;
      continue;
    }
    if (line.front() == '#') continue;
    if (line.front() == '"') {
      if (target == nullptr || !quoted_string(line, *target)) return fail("a string that continues nothing, or is not one");
      continue;
    }
    const std::size_t space = line.find(' ');
    const std::string_view keyword = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : trimmed(line.substr(space));
    std::string value;
    if (!quoted_string(rest, value)) return fail("a keyword without its string");
    if (keyword == "msgctxt" || (keyword == "msgid" && started && !entry.msgstr.empty())) finish();
    if (keyword == "msgctxt") {
      entry.context = value;
      target = &entry.context;
    } else if (keyword == "msgid") {
      if (started) finish();
      entry.msgid = value;
      entry.line = number;
      entry.fuzzy = flagged_fuzzy;
      flagged_fuzzy = false;
      started = true;
      target = &entry.msgid;
    } else if (keyword == "msgstr" || keyword == "msgstr[0]") {
      if (!started) return fail("a msgstr without its msgid");
      entry.msgstr = value;
      target = &entry.msgstr;
    } else if (keyword == "msgid_plural" || keyword.starts_with("msgstr[")) {
      target = nullptr;
    } else {
      return fail("an unknown keyword");
    }
  }
  finish();
  return file;
}
