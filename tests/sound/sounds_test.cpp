#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/headless.h"
#include "platform/platform.h"
#include "sound/sounds.h"

namespace {

// FNV-1a over the samples' bytes: pins every sample of a sound.
std::uint64_t samples_hash(std::span<const std::int16_t> samples) {
  std::uint64_t h = 1469598103934665603ull;
  for (const std::int16_t s : samples)
    for (const int shift : {0, 8}) h = (h ^ ((static_cast<std::uint16_t>(s) >> shift) & 0xFF)) * 1099511628211ull;
  return h;
}

struct Expected {
  SoundId id;
  std::string_view name;
  int32_t longest_ms;
  std::uint64_t hash;
};

// The name, the longest the sound may last, and its samples' hash: a change
// to a sound must be a deliberate one (make sounds, then listen).
constexpr Expected SOUNDS[] = {
    {SOUND_ROD, "rod", 150, 0x47f1463a7980d0a2},      {SOUND_WIN, "win", 1500, 0xf4905333373289a7},
    {SOUND_LOSS, "loss", 1500, 0xc4e1c62b55d09e60},   {SOUND_TIE, "tie", 1200, 0xf38dcd71896af417},
    {SOUND_REFUSAL, "no", 300, 0x420657f6fca2eb12},   {SOUND_CLICK, "click", 60, 0xdbc6d194cacd2cec},
};

}  // namespace

TEST(Sounds, EachIsShortGentleUnclippedAndStartsAndEndsInSilence) {
  for (const Expected& e : SOUNDS) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(sound_name(e.id), e.name);
    const std::span<const std::int16_t> s = sound_samples(e.id);
    ASSERT_GT(s.size(), 0u);
    EXPECT_LE(1000.0 * static_cast<double>(s.size()) / SOUND_RATE, e.longest_ms);
    int32_t peak = 0, step = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      peak = std::max(peak, std::abs(static_cast<int32_t>(s[i])));
      if (i > 0) step = std::max(step, std::abs(s[i] - s[i - 1]));
    }
    const double peak_db = 20.0 * std::log10(peak / 32768.0);
    EXPECT_GE(peak_db, -7.0);
    EXPECT_LE(peak_db, -5.0);
    // No jump a click would make, inside the sound or at its ends.
    EXPECT_LT(step, peak * 35 / 100);
    EXPECT_EQ(s.front(), 0);
    const auto last_ms = s.subspan(s.size() - SOUND_RATE / 1000);
    for (const std::int16_t v : last_ms) EXPECT_LE(std::abs(v), peak / 100);
    EXPECT_EQ(samples_hash(s), e.hash) << std::hex << "0x" << samples_hash(s);
  }
  EXPECT_EQ(sound_name(SOUND_COUNT), "unknown");
  EXPECT_EQ(sound_name(-1), "unknown");
}

TEST(Sounds, TheHeadlessBackendNotesEachWhenItBeganUnlessMSwitchedTheSoundOff) {
  headless_reset();
  headless_take_sounds();
  play_sound(SOUND_TIE);
  platform_sleep(250);
  headless_key("M");
  play_sound(SOUND_ROD);
  EXPECT_FALSE(headless_sound_on());
  EXPECT_FALSE(platform_key_waiting());
  headless_key("m");
  play_sound(SOUND_CLICK);
  EXPECT_EQ(headless_take_sounds(), (std::vector<HeadlessSound>{{SOUND_TIE, 10000}, {SOUND_CLICK, 10250}}));
  EXPECT_TRUE(headless_take_sounds().empty());
  headless_reset();
}
