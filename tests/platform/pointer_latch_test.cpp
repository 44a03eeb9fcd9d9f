#include <gtest/gtest.h>

#include "platform/pointer_latch.h"

namespace {

// A latch whose game has just looked at the mouse, at time 1000 ms.
ButtonLatch listening_latch() {
  ButtonLatch latch;
  read_buttons(latch, 1000);
  return latch;
}

}  // namespace

TEST(MouseButtons, AClickFasterThanTheGameLooksIsSeenOnceWhereItWentDown) {
  ButtonLatch latch = listening_latch();
  // Down and up between two looks, the pointer gone elsewhere since.
  note_button_down(latch, 1, 252, 432, 1012);
  note_button_up(latch, 1);
  ButtonReading r = read_buttons(latch, 1020);
  EXPECT_EQ(r.buttons, 1u);
  EXPECT_TRUE(r.at_press);
  EXPECT_EQ(r.x, 252);
  EXPECT_EQ(r.y, 432);
  // The next look sees it released, at the pointer.
  r = read_buttons(latch, 1040);
  EXPECT_EQ(r.buttons, 0u);
  EXPECT_FALSE(r.at_press);
}

TEST(MouseButtons, AHeldButtonStaysDownUntilItsRelease) {
  ButtonLatch latch = listening_latch();
  note_button_down(latch, 1, 10, 20, 1005);
  EXPECT_EQ(read_buttons(latch, 1010).buttons, 1u);
  const ButtonReading held = read_buttons(latch, 1030);
  EXPECT_EQ(held.buttons, 1u);
  EXPECT_FALSE(held.at_press);  // seen already: the pointer's position counts
  note_button_up(latch, 1);
  EXPECT_EQ(read_buttons(latch, 1050).buttons, 0u);
}

TEST(MouseButtons, TwoPressesBeforeALookKeepTheFirstPlace) {
  ButtonLatch latch = listening_latch();
  note_button_down(latch, 1, 5, 6, 1002);
  note_button_up(latch, 1);
  note_button_down(latch, 4, 70, 80, 1004);
  const ButtonReading r = read_buttons(latch, 1010);
  EXPECT_EQ(r.buttons, 5u);
  EXPECT_EQ(r.x, 5);
  EXPECT_EQ(r.y, 6);
  EXPECT_EQ(read_buttons(latch, 1020).buttons, 4u);
}

TEST(MouseButtons, AClickWhileTheGameIsNotLookingIsNotKeptForLater) {
  // The game last looked at 1000 ms and then animated for two seconds; a
  // click made meanwhile is over before it looks again.
  ButtonLatch latch = listening_latch();
  note_button_down(latch, 1, 252, 432, 1000 + BUTTON_LISTEN_MS + 1);
  note_button_up(latch, 1);
  ButtonReading r = read_buttons(latch, 3000);
  EXPECT_EQ(r.buttons, 0u);
  EXPECT_FALSE(r.at_press);
  // One still held when it looks is seen held, like any held button.
  note_button_down(latch, 1, 100, 100, 4000);
  r = read_buttons(latch, 4500);
  EXPECT_EQ(r.buttons, 1u);
  EXPECT_FALSE(r.at_press);
  // Before the first look nothing is kept either.
  ButtonLatch fresh;
  note_button_down(fresh, 1, 1, 1, 5);
  note_button_up(fresh, 1);
  EXPECT_EQ(read_buttons(fresh, 10).buttons, 0u);
}

TEST(MouseButtons, LosingTheFocusForgetsEveryButton) {
  ButtonLatch latch = listening_latch();
  note_button_down(latch, 1, 5, 6, 1001);
  clear_buttons(latch);
  EXPECT_EQ(read_buttons(latch, 1010).buttons, 0u);
}
