// The mouse buttons as the game sees them.
#include "platform/pointer_latch.h"

void note_button_down(ButtonLatch& latch, uint32_t mask, int32_t x, int32_t y, int64_t nowms) {
  latch.held |= mask;
  const bool listening = latch.read && nowms - latch.read_ms <= BUTTON_LISTEN_MS;
  if (!listening) return;
  if (latch.unseen == 0) {
    latch.press_x = x;
    latch.press_y = y;
  }
  latch.unseen |= mask;
}

void note_button_up(ButtonLatch& latch, uint32_t mask) { latch.held &= ~mask; }

void clear_buttons(ButtonLatch& latch) {
  latch.held = 0;
  latch.unseen = 0;
}

ButtonReading read_buttons(ButtonLatch& latch, int64_t nowms) {
  ButtonReading r;
  r.buttons = latch.held | latch.unseen;
  // A press is acted on where it went down.
  if (latch.unseen != 0) {
    r.at_press = true;
    r.x = latch.press_x;
    r.y = latch.press_y;
  }
  latch.unseen = 0;
  latch.read = true;
  latch.read_ms = nowms;
  return r;
}
