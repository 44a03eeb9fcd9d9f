// Sounds mixed into one stream of samples (see sound_mixer.h).
#include "platform/sound_mixer.h"

#include <algorithm>

void mixer_start(SoundMixer& mixer, const SoundClip& clip) {
  if (clip.samples == nullptr || clip.count <= 0) return;
  SoundVoice* place = &mixer.voices[0];
  for (SoundVoice& v : mixer.voices) {
    if (v.played >= v.count) {
      place = &v;
      break;
    }
    if (v.played > place->played) place = &v;
  }
  *place = SoundVoice{clip.samples, clip.count, 0};
}

void mixer_stop_all(SoundMixer& mixer) { mixer.voices.fill(SoundVoice{}); }

bool mixer_fill(SoundMixer& mixer, std::int16_t* out, int32_t count) {
  std::fill(out, out + std::max(count, 0), std::int16_t{0});
  bool playing = false;
  for (SoundVoice& v : mixer.voices) {
    const int32_t n = std::min(count, v.count - v.played);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t sum = out[i] + v.samples[v.played + i];
      out[i] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
    }
    if (n > 0) v.played += n;
    playing = playing || v.played < v.count;
  }
  return playing;
}
