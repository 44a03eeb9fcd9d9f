// The game's sounds: what each event sounds like, computed once from a few
// numbers (sounds.cpp), and the call that plays one.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The sounds by their numbers, as the platform is handed them.
enum SoundId : int32_t {
  SOUND_ROD = 0,   // a rod lands on the number line: a soft knock
  SOUND_WIN,       // the player wins: a short rising tune
  SOUND_LOSS,      // the player loses: a short falling tune
  SOUND_TIE,       // a tie: a calm chord
  SOUND_REFUSAL,   // a move that is not allowed: a soft low "no"
  SOUND_CLICK,     // a button, a check box, an arrow, a page turned: a light click
  SOUND_COUNT
};

// The sound's short name ("rod", "win", "loss", "tie", "no", "click"), or
// "unknown" for a number that names none.
std::string_view sound_name(int32_t number);
// The sound's samples (16-bit mono at SOUND_RATE), computed the first time
// it is asked for (a few milliseconds at most) and kept for the whole run.
std::span<const std::int16_t> sound_samples(SoundId sound);
// Plays the sound now, without waiting for it.
void play_sound(SoundId sound);
