// Replay scripts (see script.h).
#include "replay/script.h"

#include <charconv>

#include "surface/surface.h"

namespace {

constexpr int64_t CLICK_HOLD_MS = 60;

bool blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && blank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !blank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A whole number written with digits only.
bool whole_number(std::string_view word, int64_t max, int64_t& out) {
  if (word.empty()) return false;
  for (const char c : word)
    if (c < '0' || c > '9') return false;
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  if (ec != std::errc() || end != word.data() + word.size() || v > max) return false;
  out = v;
  return true;
}

// The key text for the word of a "key" command; empty when it names none.
std::string key_text(std::string_view word) {
  if (word.size() == 1) {
    const auto c = static_cast<unsigned char>(word[0]);
    if (c > 32 && c < 127) return std::string(word);
    return std::string();
  }
  if (word == "enter") return std::string(1, '\r');
  if (word == "esc") return std::string(1, '\x1B');
  if (word == "space") return std::string(1, ' ');
  if (word == "left") return std::string("\xFF") + "K";
  if (word == "right") return std::string("\xFF") + "M";
  if (word == "up") return std::string("\xFF") + "H";
  if (word == "down") return std::string("\xFF") + "P";
  return std::string();
}

// Output names stay inside the output folder: letters, digits, '-', '_' and
// '.', not starting with '.'.
bool file_name(std::string_view word) {
  if (word.empty() || word.size() > 100 || word[0] == '.') return false;
  for (const char c : word) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                    c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

bool page_point(const std::vector<std::string_view>& words, int32_t& x, int32_t& y) {
  if (words.size() != 3) return false;
  int64_t vx = 0, vy = 0;
  if (!whole_number(words[1], PAGE_WIDTH - 1, vx) || !whole_number(words[2], PAGE_HEIGHT - 1, vy)) return false;
  x = static_cast<int32_t>(vx);
  y = static_cast<int32_t>(vy);
  return true;
}

// Reads one line that is neither blank nor a comment; returns an error
// message, or an empty string after appending its commands.
std::string parse_line(std::string_view line, int32_t number, std::vector<ReplayCommand>& out) {
  const std::vector<std::string_view> words = words_of(line);
  const std::string_view verb = words[0];
  ReplayCommand c;
  c.line = number;

  if (verb == "wait") {
    if (words.size() != 2 || !whole_number(words[1], REPLAY_MAX_WAIT, c.ms))
      return "wait needs one whole number of milliseconds (0 or more)";
    c.kind = REPLAY_WAIT;
    out.push_back(c);
  } else if (verb == "key") {
    if (words.size() != 2)
      return "key needs exactly one key: a printable character or one of enter esc space left right up down";
    c.key = key_text(words[1]);
    if (c.key.empty()) return "unknown key '" + std::string(words[1]) + "'";
    c.kind = REPLAY_KEY;
    out.push_back(c);
  } else if (verb == "text") {
    // Everything after "text" and the one blank that follows it.
    const std::size_t at = line.find("text") + 4;
    const std::string_view typed = at < line.size() ? line.substr(at + 1) : std::string_view();
    if (typed.empty()) return "text needs the characters to type";
    for (const char ch : typed) {
      const auto u = static_cast<unsigned char>(ch);
      if (u < 32 || u > 126) return "text may hold only printable ASCII characters and spaces";
    }
    for (const char ch : typed) {
      c.kind = REPLAY_KEY;
      c.key = std::string(1, ch);
      out.push_back(c);
    }
  } else if (verb == "mouse") {
    if (words.size() == 2 && words[1] == "out") {
      c.kind = REPLAY_MOUSE_OUT;
      out.push_back(c);
    } else {
      if (!page_point(words, c.x, c.y)) return "mouse needs X Y inside the page (0..799 0..599), or out";
      c.kind = REPLAY_MOUSE;
      out.push_back(c);
    }
  } else if (verb == "down" || verb == "up") {
    if (words.size() != 1) return std::string(verb) + " takes nothing after it";
    c.kind = verb == "down" ? REPLAY_DOWN : REPLAY_UP;
    out.push_back(c);
  } else if (verb == "click") {
    if (!page_point(words, c.x, c.y)) return "click needs X Y inside the page (0..799 0..599)";
    c.kind = REPLAY_MOUSE;
    out.push_back(c);
    ReplayCommand step;
    step.line = number;
    step.kind = REPLAY_DOWN;
    out.push_back(step);
    step.kind = REPLAY_WAIT;
    step.ms = CLICK_HOLD_MS;
    out.push_back(step);
    step.kind = REPLAY_UP;
    step.ms = 0;
    out.push_back(step);
    step.kind = REPLAY_WAIT;
    step.ms = CLICK_HOLD_MS;
    out.push_back(step);
  } else if (verb == "shot" || verb == "state") {
    if (words.size() != 2 || !file_name(words[1]))
      return std::string(verb) + " needs one NAME of letters, digits, '-', '_' and '.' (not starting with '.')";
    c.kind = verb == "shot" ? REPLAY_SHOT : REPLAY_STATE;
    c.name = std::string(words[1]);
    out.push_back(c);
  } else {
    return "unknown command '" + std::string(verb) + "'";
  }
  return std::string();
}

}  // namespace

ReplayScript parse_replay_script(std::string_view text, std::string_view scriptname) {
  ReplayScript script;
  int32_t number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t first = 0;
    while (first < line.size() && blank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    const std::string message = parse_line(line.substr(first), number, script.commands);
    if (!message.empty()) {
      script.ok = false;
      script.error = std::string(scriptname) + ":" + std::to_string(number) + ": " + message;
      script.commands.clear();
      return script;
    }
  }
  return script;
}
