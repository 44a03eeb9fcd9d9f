// The sounds a window's backend is playing, mixed into one stream of
// samples. Kept apart from the window library so that the mixing can be
// checked without a sound card; the SDL backend runs it on its audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

// How many sounds may sound at once; a sound started when all are busy takes
// the place of the one that has played longest.
constexpr int32_t MIXER_VOICES = 4;

struct SoundVoice {
  const std::int16_t* samples = nullptr;
  int32_t count = 0;
  int32_t played = 0;  // samples given out so far
};

struct SoundMixer {
  std::array<SoundVoice, MIXER_VOICES> voices{};
};

void mixer_start(SoundMixer& mixer, const SoundClip& clip);
// Silences everything at once (the sound switched off).
void mixer_stop_all(SoundMixer& mixer);
// Writes the next count samples: the voices summed, held within 16 bits, and
// silence where none plays. Returns whether a voice still plays afterwards.
bool mixer_fill(SoundMixer& mixer, std::int16_t* out, int32_t count);
