// The headless backend: no window, a virtual clock and scripted input.
#include <cstdio>
#include <deque>

#include "surface/headless.h"
#include "surface/platform.h"

namespace {

constexpr int64_t STARTMS = 10000;
constexpr int64_t FRAMEMS = 16;

int64_t now_ms = STARTMS;
int64_t frames = 0;
std::deque<std::string> keys;
PLATFORMMOUSE mouse;
std::function<void(int64_t)> driver;
bool driving = false;

// The driver may end the program (by throwing); the guard lets the next run
// drive again.
struct driving_guard {
  driving_guard() { driving = true; }
  ~driving_guard() { driving = false; }
};

void drive() {
  if (!driver || driving) return;
  const driving_guard guard;
  driver(now_ms);
}

}  // namespace

void HEADLESSRESET() {
  now_ms = STARTMS;
  frames = 0;
  keys.clear();
  mouse = PLATFORMMOUSE{};
}

int64_t HEADLESSNOWMS() { return now_ms; }
void HEADLESSKEY(const std::string& key) { keys.push_back(key); }
void HEADLESSMOUSE(int32_t x, int32_t y, int32_t buttons) { mouse = PLATFORMMOUSE{x, y, buttons}; }
void HEADLESSSETDRIVER(std::function<void(int64_t)> d) { driver = std::move(d); }
int64_t HEADLESSFRAMES() { return frames; }

bool PLATFORMOPEN(int32_t, int32_t) { return true; }
void PLATFORMPUMP() { drive(); }

void PLATFORMSLEEP(int32_t ms) {
  if (ms > 0) now_ms += ms;
  drive();
}

double PLATFORMCLOCK() { return static_cast<double>(now_ms) / 1000.0; }
bool PLATFORMKEYWAITING() { return !keys.empty(); }

std::string PLATFORMTAKEKEY() {
  if (keys.empty()) return std::string();
  std::string k = keys.front();
  keys.pop_front();
  return k;
}

PLATFORMMOUSE PLATFORMMOUSESTATE() { return mouse; }

void PLATFORMFULLFRAME() {
  now_ms += FRAMEMS;
  ++frames;
}

// A replay has no one watching the screen: the report also goes to
// standard error.
void PLATFORMERRORREPORT(const std::string& text) {
  std::fputs((text + "\n").c_str(), stderr);
  std::fflush(stderr);
}
