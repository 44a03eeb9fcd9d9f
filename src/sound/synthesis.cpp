// Sounds computed from their tones (see synthesis.h).
#include "sound/synthesis.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TWO_PI = 6.283185307179586;

// A raised cosine from 0 to 1 as x goes from 0 to 1: no corner where it
// starts or where it ends, so nothing clicks.
double smooth_step(double x) {
  if (x <= 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  return 0.5 - 0.5 * std::cos(x * (TWO_PI / 2.0));
}

// Adds one tone into the mix.
void add_tone(const Tone& tone, std::vector<double>& mix, int32_t rate) {
  const auto first = static_cast<std::size_t>(std::lround(tone.start * rate));
  const auto count = static_cast<std::size_t>(std::lround(tone.length * rate));
  const double fade = TONE_FADE_SHARE * tone.length;
  const double ratio = tone.glide_to > 0.0 ? tone.glide_to / tone.pitch : 1.0;
  double phase = 0.0;
  for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double left = tone.length - t;
    double strength = tone.level * smooth_step(tone.attack > 0.0 ? t / tone.attack : 1.0) *
                      smooth_step(left / fade);
    if (tone.decay > 0.0) strength *= std::exp(-t / tone.decay);
    // A tone without its octave, or without a glide, skips that term's work:
    // the samples are the same to the bit.
    const double octave = tone.octave != 0.0 ? tone.octave * std::sin(2.0 * phase) : 0.0;
    mix[first + i] += strength * (std::sin(phase) + octave);
    const double pitch = ratio != 1.0 ? tone.pitch * std::pow(ratio, t / tone.length) : tone.pitch;
    phase = std::fmod(phase + TWO_PI * pitch / rate, TWO_PI);
  }
}

}  // namespace

std::vector<std::int16_t> synthesise(std::span<const Tone> tones, double length, int32_t rate) {
  std::vector<double> mix(static_cast<std::size_t>(std::lround(length * rate)), 0.0);
  for (const Tone& tone : tones) add_tone(tone, mix, rate);
  double loudest = 0.0;
  for (const double s : mix) loudest = std::max(loudest, std::fabs(s));
  std::vector<std::int16_t> samples(mix.size(), 0);
  if (loudest <= 0.0) return samples;
  const double scale = 32767.0 * std::pow(10.0, SOUND_PEAK_DB / 20.0) / loudest;
  for (std::size_t i = 0; i < mix.size(); ++i) samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
  return samples;
}
