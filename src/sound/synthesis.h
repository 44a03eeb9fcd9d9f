// Sounds computed from a few numbers each: a sound is a handful of tones,
// each a sine with a little of its octave, gliding from one pitch to another
// under a soft attack and a decay, and faded to silence at its end.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct Tone {
  double start = 0.0;     // seconds from the start of the sound
  double length = 0.0;    // seconds
  double pitch = 0.0;     // Hz at its start
  double glide_to = 0.0;  // Hz at its end (the pitch moves evenly on a musical scale)
  double attack = 0.0;    // seconds to full strength
  double decay = 0.0;     // seconds for the strength to fall to a third (1/e)
  double octave = 0.0;    // strength of the octave above, against the tone's own
  double level = 1.0;     // strength against the other tones of the sound
};

// Every sound's loudest sample lies this far below the largest a sample can
// hold, in decibels: clear but gentle, never clipped.
constexpr double SOUND_PEAK_DB = -6.0;
// Every tone fades out over the last quarter of its length, so a sound ends
// in silence, gently and never with a click.
constexpr double TONE_FADE_SHARE = 0.25;

// The tones mixed at rate samples a second for length seconds, scaled so that
// the loudest sample is SOUND_PEAK_DB, as 16-bit samples. The same numbers
// always give the same samples.
std::vector<std::int16_t> synthesise(std::span<const Tone> tones, double length, int32_t rate);
