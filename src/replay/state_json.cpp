// The state snapshot of a replay (see state_json.h).
#include "replay/state_json.h"

#include "game/teaching.h"
#include "text/language.h"
#include "sound/sounds.h"

#include <algorithm>
#include <charconv>
#include <cmath>

const char* screen_name(ShownScreen screen) {
  switch (screen) {
    case SHOWN_OPTIONS: return "options";
    case SHOWN_PLAY: return "play";
    case SHOWN_MESSAGE: return "message";
    case SHOWN_INFO: return "info";
    case SHOWN_ERROR: return "error";
    case SHOWN_NONE: break;
  }
  return "none";
}

std::string json_text(std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 32 || u > 126) {
      out.append("\\u00");
      out.push_back(hex[u >> 4]);
      out.push_back(hex[u & 15]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

std::string json_number(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string s(buffer, ec == std::errc() ? end : buffer);
  if (s.find_first_of(".eE") == std::string::npos) s.append(".0");
  return s;
}

namespace {

// The list of the first count entries, read without the checked access so
// that a broken record cannot start an error report from inside a snapshot.
template <class ARRAY>
std::string number_list(const ARRAY& values, std::size_t count) {
  std::string out = "[";
  count = std::min(count, values.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out.append(", ");
    out.append(std::to_string(static_cast<int>(values.data()[i])));
  }
  out.push_back(']');
  return out;
}

}  // namespace

std::string state_json(const RunReport& report, bool with_language, const std::vector<HeadlessSound>* sounds) {
  static const GAMESTATE fresh{};
  const GAMESTATE& g = report.game != nullptr ? *report.game : fresh;
  const std::size_t moves = g.MOVECOUNT;
  std::string out = "{";
  out.append("\"screen\": ").append(json_text(screen_name(report.screen)));
  out.append(", \"target\": ").append(std::to_string(g.TARGET));
  out.append(", \"validrods\": ").append(std::to_string(g.VALIDRODS));
  out.append(", \"starter\": ").append(std::to_string(g.STARTER));
  out.append(", \"turn\": ").append(std::to_string(g.TURN));
  out.append(", \"movecount\": ").append(std::to_string(g.MOVECOUNT));
  out.append(", \"rods\": ").append(number_list(g.RODS, moves));
  out.append(", \"totals\": ").append(number_list(g.TOTALS, moves + 1));
  out.append(", \"keyresidue\": ").append(std::to_string(g.KEYRESIDUE));
  out.append(", \"period\": ").append(std::to_string(g.PERIOD));
  out.append(", \"lookat\": ").append(json_number(g.LOOKAT));
  // A teacher's aids, only when they were asked for.
  if (teaching_aids.chosen) {
    out.append(", \"level\": ").append(json_text(level_name(teaching_aids.level)));
    out.append(", \"hints\": ").append(teaching_aids.hints ? "true" : "false");
    if (teaching_aids.hints) {
      const WinningTotals winning = winning_totals(g);
      std::string list = "[";
      for (int32_t t = 1; t <= g.TARGET; ++t) {
        if (winning[t] == 0) continue;
        if (list.size() > 1) list.append(", ");
        list.append(std::to_string(t));
      }
      out.append(", \"winning_totals\": ").append(list).append("]");
    }
  }
  if (with_language) {
    out.append(", \"language\": ").append(json_text(LANGUAGES[static_cast<std::size_t>(chosen_language())].code));
  }
  if (report.message != nullptr) {
    out.append(", \"message\": [");
    bool first = true;
    for (const std::string& line : report.message->items) {
      if (!first) out.append(", ");
      first = false;
      out.append(json_text(line));
    }
    out.push_back(']');
  }
  if (sounds != nullptr) {
    out.append(", \"sounds\": [");
    for (std::size_t i = 0; i < sounds->size(); ++i) {
      const HeadlessSound& s = (*sounds)[i];
      if (i > 0) out.append(", ");
      out.append("{\"name\": ").append(json_text(sound_name(s.number)));
      out.append(", \"ms\": ").append(std::to_string(s.ms)).append("}");
    }
    out.push_back(']');
  }
  out.append("}\n");
  return out;
}
