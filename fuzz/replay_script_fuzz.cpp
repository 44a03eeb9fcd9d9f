// Fuzz target: the replay script parser.
//
// Every input is either a script whose commands are all well formed, or a
// "SCRIPT:LINE: message" error with no commands at all.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "surface/replay_script.h"

namespace {

constexpr std::string_view NAME = "fuzz.txt";

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

  const REPLAYSCRIPT script = PARSEREPLAYSCRIPT(text, NAME);
  if (!script.OK) {
    // "fuzz.txt:LINE: message" with LINE a line of the input.
    if (!script.COMMANDS.empty()) std::abort();
    const std::string& e = script.ERROR;
    if (e.compare(0, NAME.size() + 1, std::string(NAME) + ":") != 0) std::abort();
    std::size_t i = NAME.size() + 1;
    long long line = 0;
    const std::size_t digits = i;
    while (i < e.size() && e[i] >= '0' && e[i] <= '9' && i - digits < 12) line = line * 10 + (e[i++] - '0');
    if (i == digits || line < 1 || line > lines) std::abort();
    if (e.compare(i, 2, ": ") != 0 || e.size() <= i + 2) std::abort();
    return 0;
  }
  if (!script.ERROR.empty()) std::abort();
  int32_t last = 0;
  for (const REPLAYCOMMAND& c : script.COMMANDS) {
    if (c.LINE < 1 || c.LINE > lines || c.LINE < last) std::abort();
    last = c.LINE;
    switch (c.KIND) {
      case REPLAY_WAIT:
        if (c.MS < 0 || c.MS > REPLAYMAXWAIT) std::abort();
        break;
      case REPLAY_KEY:
        if (!key_ok(c.KEY)) std::abort();
        break;
      case REPLAY_MOUSE:
        if (c.X < 0 || c.X > 799 || c.Y < 0 || c.Y > 599) std::abort();
        break;
      case REPLAY_MOUSEOUT:
      case REPLAY_DOWN:
      case REPLAY_UP:
        break;
      case REPLAY_SHOT:
      case REPLAY_STATE:
        if (!name_ok(c.NAME)) std::abort();
        break;
      default:
        std::abort();
    }
  }
  return 0;
}
