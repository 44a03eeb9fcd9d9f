// Keyboard, mouse, waiting, clock and random numbers, on top of the platform.
#include "surface/input.h"

#include <cstring>

#include "platform/platform.h"
#include "surface/surface.h"

namespace {

// Every look at the input and every wait first shows what has been drawn.
void pump() {
  present_page();
  platform_pump();
}

}  // namespace

std::string POLLKEY() {
  pump();
  if (!platform_key_waiting()) return std::string();
  return platform_take_key();
}

MouseReading POLLMOUSE() {
  pump();
  const PlatformMouse m = platform_mouse();
  MouseReading r;
  if (m.x < 0 || m.y < 0 || m.buttons < 0) return r;  // outside: all -1
  r.x = m.x;
  r.y = m.y;
  r.buttons = m.buttons;
  return r;
}

void WAITMS(int32_t ms) {
  pump();
  if (ms == -1) {
    // Until a key waits; the key stays in the queue.
    while (!platform_key_waiting()) {
      platform_sleep(50);
      pump();
    }
    return;
  }
  if (ms <= 0) return;
  if (ms < 100) {
    platform_sleep(ms);
    return;
  }
  int32_t remaining = ms;
  while (remaining > 50) {
    if (platform_key_waiting()) return;
    platform_sleep(50);
    pump();
    remaining -= 50;
  }
  if (platform_key_waiting()) return;
  platform_sleep(remaining);
}

// Both backends keep a clock that never goes back (a steady clock, or the
// virtual clock that only moves forward), so no guard is kept here: a guard
// would also hide a test's reset of the virtual clock.
double CLOCKSECONDS() { return platform_clock(); }

namespace {

// xoshiro256** seeded through splitmix64: small, fast and fully determined
// by the seed.
uint64_t state[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 0x2545F4914F6CDD1Dull};

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

uint64_t splitmix(uint64_t& s) {
  uint64_t z = (s += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t next() {
  const uint64_t result = rotl(state[1] * 5, 7) * 9;
  const uint64_t t = state[1] << 17;
  state[2] ^= state[0];
  state[3] ^= state[1];
  state[1] ^= state[2];
  state[0] ^= state[3];
  state[2] ^= t;
  state[3] = rotl(state[3], 45);
  return result;
}

}  // namespace

void RANDOMSEED(double seed) {
  uint64_t bits = 0;
  std::memcpy(&bits, &seed, sizeof bits);
  for (auto& s : state) s = splitmix(bits);
}

double RANDOMUNIT() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
