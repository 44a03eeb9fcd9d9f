#include <gtest/gtest.h>

#include <vector>

#include "platform/sound_mixer.h"

TEST(SoundMixer, SoundsAddUpWithinSixteenBitsSilenceFollowsAndANewSoundTakesTheOldestPlace) {
  using Samples = std::vector<std::int16_t>;
  const auto start = [](SoundMixer& m, const Samples& s) {
    mixer_start(m, SoundClip{0, s.data(), static_cast<int32_t>(s.size())});
  };
  const Samples loud = {30000, -30000, 1000, 5}, soft = {3000, -3000, 2000};
  SoundMixer mixer;
  Samples out(3, 99);
  EXPECT_FALSE(mixer_fill(mixer, out.data(), 3));
  EXPECT_EQ(out, (Samples{0, 0, 0}));
  start(mixer, loud);
  start(mixer, soft);
  // Over two calls, as the audio thread asks for them.
  EXPECT_TRUE(mixer_fill(mixer, out.data(), 3));
  EXPECT_EQ(out, (Samples{32767, -32768, 3000}));
  EXPECT_FALSE(mixer_fill(mixer, out.data(), 3));
  EXPECT_EQ(out, (Samples{5, 0, 0}));
  // Switched off: silence at once.
  start(mixer, loud);
  mixer_stop_all(mixer);
  EXPECT_FALSE(mixer_fill(mixer, out.data(), 3));
  EXPECT_EQ(out, (Samples{0, 0, 0}));
  // Every voice busy: the first started, which has played longest, gives way.
  std::vector<Samples> clips;
  for (int32_t i = 0; i <= MIXER_VOICES; ++i) clips.push_back(Samples(10, static_cast<std::int16_t>(1 << i)));
  for (const Samples& c : clips) {
    start(mixer, c);
    mixer_fill(mixer, out.data(), 1);
  }
  EXPECT_EQ(out[0], (1 << (MIXER_VOICES + 1)) - 2);
}
