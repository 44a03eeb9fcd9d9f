// The state snapshot of a replay: one JSON object with what is shown, the
// game record and the lines of an open message box, e.g.
//
// {"screen": "play", "target": 100, "validrods": 2046, "starter": 0, "turn": 0,
//  "movecount": 2, "rods": [1, 10], "totals": [0, 1, 11], "keyresidue": 1,
//  "period": 11, "lookat": 12.0, "message": ["   La computadora dice:", ...]}
//
// written on one line. "rods" holds the first movecount rods, "totals" the
// totals 0..movecount; "message" is there only while a message box is open,
// with its lines as stored (bytes below 32 or above 126 as \u00XX, quotes and
// backslashes escaped). When asked for, "sounds" ends it: the sounds played
// since the snapshot before, each with its name and the virtual time it
// began, e.g. "sounds": [{"name": "rod", "ms": 10832}].
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/headless.h"
#include "screens/shown_screen.h"

// "options", "play", "message", "info", "error", or "none" before the first
// screen is shown.
const char* screen_name(ShownScreen screen);
// A JSON string literal for a line of text in the game's code page.
std::string json_text(std::string_view text);
// A double as JSON, always with a fraction or exponent (12.0, 43.25).
std::string json_number(double value);
// The snapshot of the run as a JSON object, ending with a new line. With
// with_language it also tells the language of the texts ("language": "en"),
// and the list of sounds when it is given.
std::string state_json(const RunReport& report, bool with_language = false,
                       const std::vector<HeadlessSound>* sounds = nullptr);
