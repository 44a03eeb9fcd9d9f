// Fuzz target: the replay script parser.
//
// Every input is either a script whose commands are all well formed, or a
// "SCRIPT:LINE: message" error with no commands at all.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "replay/script.h"

namespace {

constexpr std::string_view name = "fuzz.txt";

bool name_ok(const std::string& name) {
  if (name.empty() || name.size() > 100 || name[0] == '.') return false;
  for (const char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
          c == '.'))
      return false;
  return true;
}

bool key_ok(const std::string& key) {
  if (key.size() == 1) {
    const auto c = static_cast<unsigned char>(key[0]);
    return (c >= 32 && c < 127) || c == 13 || c == 27;
  }
  return key.size() == 2 && key[0] == '\xFF' && (key[1] == 'H' || key[1] == 'K' || key[1] == 'M' || key[1] == 'P');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  long long lines = 0;
  for (const char c : text) lines += c == '\n';
  if (!text.empty() && text.back() != '\n') ++lines;

  const ReplayScript script = parse_replay_script(text, name);
  if (!script.ok) {
    // "fuzz.txt:LINE: message" with line a line of the input.
    if (!script.commands.empty()) std::abort();
    const std::string& e = script.error;
    if (e.compare(0, name.size() + 1, std::string(name) + ":") != 0) std::abort();
    std::size_t i = name.size() + 1;
    long long line = 0;
    const std::size_t digits = i;
    while (i < e.size() && e[i] >= '0' && e[i] <= '9' && i - digits < 12) line = line * 10 + (e[i++] - '0');
    if (i == digits || line < 1 || line > lines) std::abort();
    if (e.compare(i, 2, ": ") != 0 || e.size() <= i + 2) std::abort();
    return 0;
  }
  if (!script.error.empty()) std::abort();
  int32_t last = 0;
  for (const ReplayCommand& c : script.commands) {
    if (c.line < 1 || c.line > lines || c.line < last) std::abort();
    last = c.line;
    switch (c.kind) {
      case REPLAY_WAIT:
        if (c.ms < 0 || c.ms > REPLAY_MAX_WAIT) std::abort();
        break;
      case REPLAY_KEY:
        if (!key_ok(c.key)) std::abort();
        break;
      case REPLAY_MOUSE:
        if (c.x < 0 || c.x > 799 || c.y < 0 || c.y > 599) std::abort();
        break;
      case REPLAY_MOUSE_OUT:
      case REPLAY_DOWN:
      case REPLAY_UP:
        break;
      case REPLAY_SHOT:
      case REPLAY_STATE:
        if (!name_ok(c.name)) std::abort();
        break;
      default:
        std::abort();
    }
  }
  return 0;
}
