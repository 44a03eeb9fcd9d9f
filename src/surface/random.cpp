// The one random generator of the program.
#include "surface/random.h"

#include <cstdint>
#include <cstring>

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
