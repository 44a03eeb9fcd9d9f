// What a window's backend keeps of the player's input between two looks of
// the game: the key texts typed, the pointer and the mouse buttons.
#pragma once

#include <cstdint>

#include "platform/key_map.h"
#include "platform/pointer_latch.h"

struct WindowInput {
  KeyQueue keys;
  KeyMapState key_state;
  // The pointer from the last pointer event, in the backend's coordinates.
  bool pointer_inside = false;
  int32_t pointer_x = 0;
  int32_t pointer_y = 0;
  // The buttons, with the presses the game has not seen yet.
  ButtonLatch buttons;
};
