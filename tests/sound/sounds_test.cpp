#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/platform.h"
#include "sound/sounds.h"

TEST(Sounds, EachIsShortGentleUnclippedStartsAndEndsInSilenceAndIsPinned) {
  // Each sound's name, the longest it may last, and an FNV-1a hash of its
  // samples: a change to a sound must be a deliberate one (make sounds,
  // listen, look).
  const struct {
    SoundId id;
    std::string_view name;
    int32_t longest_ms;
    std::uint64_t hash;
  } sounds[] = {
      {SOUND_ROD, "rod", 150, 0xa9d6002d1283b2e8},    {SOUND_WIN, "win", 1500, 0x73c05b6de02839cc},
      {SOUND_LOSS, "loss", 1500, 0xf1100ff53bc102c8}, {SOUND_TIE, "tie", 1200, 0xc2f98a49523c4e76},
      {SOUND_REFUSAL, "no", 300, 0x34894a35bc5306ad}, {SOUND_CLICK, "click", 60, 0xc6ecc500b919e5eb},
  };
  for (const auto& e : sounds) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(sound_name(e.id), e.name);
    const std::span<const std::int16_t> s = sound_samples(e.id);
    ASSERT_GT(s.size(), static_cast<std::size_t>(SOUND_RATE / 1000));
    EXPECT_LE(1000.0 * static_cast<double>(s.size()) / SOUND_RATE, e.longest_ms);
    int32_t peak = 0, step = 0, last_ms = 0;
    std::uint64_t hash = 1469598103934665603ull;
    for (std::size_t i = 0; i < s.size(); ++i) {
      peak = std::max(peak, std::abs(static_cast<int32_t>(s[i])));
      if (i + SOUND_RATE / 1000 >= s.size()) last_ms = std::max(last_ms, std::abs(static_cast<int32_t>(s[i])));
      if (i > 0) step = std::max(step, std::abs(s[i] - s[i - 1]));
      for (const int shift : {0, 8}) hash = (hash ^ ((static_cast<std::uint16_t>(s[i]) >> shift) & 0xFF)) * 1099511628211ull;
    }
    const double peak_db = 20.0 * std::log10(peak / 32768.0);
    EXPECT_TRUE(peak_db >= -7.0 && peak_db <= -5.0) << peak_db;
    // No jump that would click, inside the sound or at its ends.
    EXPECT_LT(step, peak * 35 / 100);
    EXPECT_EQ(s.front(), 0);
    EXPECT_LE(last_ms, peak / 100);
    EXPECT_EQ(hash, e.hash) << std::hex << "0x" << hash;
  }
  EXPECT_EQ(sound_name(SOUND_COUNT), "unknown");
  EXPECT_EQ(sound_name(-1), "unknown");
}
