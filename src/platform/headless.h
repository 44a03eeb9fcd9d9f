// Control of the headless backend: a virtual clock that moves only when the
// game waits (and by 16 ms for every whole frame copied to the screen), and
// input that a test or a replay script puts in place.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

// Puts the clock back to 10.000 s and empties the key queue; the pointer goes
// outside the window, the buttons are up and no setting has changed; no sound
// has been played, and the sound is on unless the command line switched it
// off.
void headless_reset();
// Virtual time now, in milliseconds.
int64_t headless_now_ms();
// Queues a key text (M switches the sound instead, as in a window); moves
// the pointer (x, y, buttons; -1s for outside).
void headless_key(const std::string& key);
void headless_mouse(int32_t x, int32_t y, int32_t buttons);
// Changes settings as a page's controls would; the game takes them when it
// next asks.
void headless_change_settings(const SettingsChange& change);
// Called whenever the game waits or polls, with the virtual time reached;
// the replay runner carries out its script from here.
void headless_set_driver(std::function<void(int64_t nowms)> driver);
// How many whole frames have been copied to the screen so far.
int64_t headless_frames();
// The presents so far (nothing is shown, but the surface's hand-over can be
// checked), and the last page update handed over.
int64_t headless_presents();
PageUpdate headless_last_present();
// A sound played (not while the sound is off): its number and the virtual
// time it began.
struct HeadlessSound {
  int32_t number = 0;
  int64_t ms = 0;
  bool operator==(const HeadlessSound&) const = default;
};
// The sounds played since the last call, oldest first (the latest 1000).
std::vector<HeadlessSound> headless_take_sounds();
