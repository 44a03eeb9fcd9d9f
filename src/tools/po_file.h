// Reading the translators' files (PO files, as gettext writes them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PoEntry {
  std::string context;  // msgctxt; empty when there is none
  std::string msgid;
  std::string msgstr;   // msgstr, or msgstr[0] of an entry with plural forms
  bool fuzzy = false;
  int32_t line = 0;     // where the entry's msgid is
};

struct PoFile {
  std::vector<PoEntry> entries;  // in file order, the header and obsolete entries left out
  std::string error;             // "LINE: what is wrong" when the file could not be read
};

PoFile read_po(std::string_view text);
