// Keyboard, mouse, waiting, clock and random numbers.
#pragma once

#include <cstdint>
#include <string>

// The oldest waiting key as a key text, removed from the queue; empty when none
// waits. One character for an ordinary key (Enter 13, Esc 27); code 255 and a
// scan-code letter for the arrows (H up, K left, M right, P down). Never waits.
std::string POLLKEY();

struct MouseReading {
  int32_t x = -1;
  int32_t y = -1;
  int32_t buttons = -1;
};
// Pointer position in page pixels and a bit per pressed button; all -1 when
// the pointer is outside the window. Never waits.
MouseReading POLLMOUSE();

// -1: wait for a key (left waiting), checking every 50 ms. 100 and more: wait
// in 50 ms steps, returning early when a key waits. 1..99: plain wait.
// 0 or below: return at once.
void WAITMS(int32_t ms);

// Seconds since an origin fixed for the run; never decreases.
double CLOCKSECONDS();

// The one random generator of the program.
void RANDOMSEED(double seed);
double RANDOMUNIT();

// Keys the game compares against.
inline constexpr char KEY_ENTER = 13;
inline constexpr char KEY_ESC = 27;
inline const std::string KEY_LEFT = std::string("\xFF") + "K";
inline const std::string KEY_RIGHT = std::string("\xFF") + "M";
inline const std::string KEY_UP = std::string("\xFF") + "H";
inline const std::string KEY_DOWN = std::string("\xFF") + "P";
