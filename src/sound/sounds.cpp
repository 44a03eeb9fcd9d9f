// The game's sounds, each a few tones (see synthesis.h). Notes are named by
// their pitch in Hz: C4 261.63, E4 329.63, G4 392.00, C5 523.25, E5 659.26,
// G5 783.99, C6 1046.50.
#include "sound/sounds.h"

#include <array>
#include <vector>

#include "core/checked.h"
#include "platform/platform.h"
#include "sound/synthesis.h"

namespace {

struct SoundRecipe {
  // cppcheck-suppress unusedStructMember ; read by sound_name
  std::string_view name;
  double length;  // seconds
  std::vector<Tone> tones;
};

// start, length, pitch, glide to, attack, decay, octave, level
const std::array<SoundRecipe, SOUND_COUNT>& recipes() {
  static const std::array<SoundRecipe, SOUND_COUNT> table = {{
      // A wooden knock: a low thud falling in pitch, with a short tap on top.
      {"rod", 0.12, {{0.0, 0.12, 210.0, 150.0, 0.002, 0.030, 0.3, 1.0},
                     {0.0, 0.05, 820.0, 700.0, 0.001, 0.008, 0.0, 0.35}}},
      // C5 E5 G5 rising, and C6 held.
      {"win", 1.3, {{0.00, 0.40, 523.25, 523.25, 0.006, 0.20, 0.25, 1.0},
                    {0.13, 0.40, 659.26, 659.26, 0.006, 0.20, 0.25, 1.0},
                    {0.26, 0.40, 783.99, 783.99, 0.006, 0.20, 0.25, 1.0},
                    {0.39, 0.91, 1046.50, 1046.50, 0.006, 0.35, 0.25, 1.0}}},
      // G4 E4 falling slowly, then a C4 that sinks a little.
      {"loss", 1.4, {{0.00, 0.45, 392.00, 392.00, 0.02, 0.30, 0.15, 1.0},
                     {0.24, 0.45, 329.63, 329.63, 0.02, 0.30, 0.15, 1.0},
                     {0.48, 0.92, 261.63, 246.94, 0.02, 0.45, 0.15, 1.0}}},
      // C4 E4 G4 C5 together, gently spread.
      {"tie", 1.1, {{0.00, 1.10, 261.63, 261.63, 0.04, 0.50, 0.1, 1.0},
                    {0.03, 1.07, 329.63, 329.63, 0.04, 0.50, 0.1, 0.9},
                    {0.06, 1.04, 392.00, 392.00, 0.04, 0.50, 0.1, 0.8},
                    {0.09, 1.01, 523.25, 523.25, 0.04, 0.45, 0.0, 0.5}}},
      // Two low hums, the second lower: "uh-uh".
      {"no", 0.28, {{0.00, 0.13, 233.08, 226.0, 0.012, 0.15, 0.4, 1.0},
                    {0.14, 0.14, 196.00, 185.0, 0.012, 0.15, 0.4, 1.0}}},
      // A short high tick over a softer lower one.
      {"click", 0.05, {{0.0, 0.04, 2400.0, 2000.0, 0.0008, 0.006, 0.0, 1.0},
                       {0.0, 0.05, 1200.0, 1100.0, 0.0008, 0.010, 0.0, 0.6}}},
  }};
  return table;
}

// Each sound's samples, made the first time it is played and never freed: a
// backend may still be playing them while the program ends. Making one takes
// a few milliseconds at most, so start-up makes none.
using SoundSet = CheckedArray<const std::vector<std::int16_t>*, SOUND_COUNT>;
SoundSet made_sounds{};

}  // namespace

std::string_view sound_name(int32_t number) {
  if (number < 0 || number >= SOUND_COUNT) return "unknown";
  return recipes()[static_cast<std::size_t>(number)].name;
}

std::span<const std::int16_t> sound_samples(SoundId sound) {
  const std::vector<std::int16_t>*& made = made_sounds[sound];
  if (made == nullptr) {
    const SoundRecipe& r = recipes()[static_cast<std::size_t>(sound)];
    made = new std::vector<std::int16_t>(synthesise(r.tones, r.length, SOUND_RATE));
  }
  return *made;
}

void play_sound(SoundId sound) {
  const std::span<const std::int16_t> samples = sound_samples(sound);
  platform_play_sound(SoundClip{sound, samples.data(), static_cast<int32_t>(samples.size())});
}
