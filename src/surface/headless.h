// Control of the headless backend: a virtual clock that moves only when the
// game waits (and by 16 ms for every whole frame copied to the screen), and
// input that a test or a replay script puts in place.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Puts the clock back to 10.000 s and empties the key queue; the pointer goes
// outside the window.
void HEADLESSRESET();
// Virtual time now, in milliseconds.
int64_t HEADLESSNOWMS();
// Queues a key text; moves the pointer (x, y, buttons; -1s for outside).
void HEADLESSKEY(const std::string& key);
void HEADLESSMOUSE(int32_t x, int32_t y, int32_t buttons);
// Called whenever the game waits or polls, with the virtual time reached;
// the replay runner carries out its script from here.
void HEADLESSSETDRIVER(std::function<void(int64_t nowms)> driver);
// How many whole frames have been copied to the screen so far.
int64_t HEADLESSFRAMES();
