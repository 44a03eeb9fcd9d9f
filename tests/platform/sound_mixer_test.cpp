#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/sound_mixer.h"

namespace {

using Samples = std::vector<std::int16_t>;

Samples fill(SoundMixer& mixer, int32_t count, bool* playing = nullptr) {
  Samples out(static_cast<std::size_t>(count), 99);
  const bool p = mixer_fill(mixer, out.data(), count);
  if (playing != nullptr) *playing = p;
  return out;
}

SoundClip clip(const Samples& s, int32_t number = 0) { return SoundClip{number, s.data(), static_cast<int32_t>(s.size())}; }

}  // namespace

TEST(SoundMixer, SoundsAddUpWithinSixteenBitsAndSilenceFollows) {
  const Samples loud = {30000, -30000, 1000, 5};
  const Samples soft = {3000, -3000, 2000};
  SoundMixer mixer;
  bool playing = true;
  EXPECT_EQ(fill(mixer, 2, &playing), (Samples{0, 0}));
  EXPECT_FALSE(playing);
  mixer_start(mixer, clip(loud));
  mixer_start(mixer, clip(soft));
  // Over several calls, as the audio thread asks for them.
  EXPECT_EQ(fill(mixer, 3, &playing), (Samples{32767, -32768, 3000}));
  EXPECT_TRUE(playing);
  EXPECT_EQ(fill(mixer, 3, &playing), (Samples{5, 0, 0}));
  EXPECT_FALSE(playing);
  // Switched off: everything stops at once.
  mixer_start(mixer, clip(loud));
  mixer_stop_all(mixer);
  EXPECT_EQ(fill(mixer, 2, &playing), (Samples{0, 0}));
  EXPECT_FALSE(playing);
}

TEST(SoundMixer, WithEveryVoiceBusyANewSoundTakesTheOldestOnesPlace) {
  std::vector<Samples> clips;
  for (int32_t i = 0; i <= MIXER_VOICES; ++i) clips.push_back(Samples(10, static_cast<std::int16_t>(1 << i)));
  SoundMixer mixer;
  for (int32_t i = 0; i < MIXER_VOICES; ++i) {
    mixer_start(mixer, clip(clips[static_cast<std::size_t>(i)]));
    fill(mixer, 1);  // the first has played longest
  }
  mixer_start(mixer, clip(clips.back()));
  // 1 << 0 is gone; the others and the new one sound.
  EXPECT_EQ(fill(mixer, 1)[0], (1 << (MIXER_VOICES + 1)) - 2);
}
