// A teacher's controls change the game while it runs, without a new start:
// the hints from the next frame (at once while the player thinks), the level
// from the computer's next move.
#include <gtest/gtest.h>

#include "game/teaching.h"
#include "platform/headless.h"
#include "scene/hints.h"
#include "tests/support/scripted_game.h"

TEST(TeacherControls, HintsAndLevelChangeDuringAGame) {
  teaching_aids = TeachingAids{};
  ScriptedGame d;
  int64_t frames = 0;
  d.until_options().key("\r").until_input().then([&] {
    frames = headless_frames();
    headless_change_settings(SettingsChange{LEVEL_EASY, 1});
  });
  d.wait(50).then([&] {
    EXPECT_TRUE(teaching_aids.hints);
    EXPECT_EQ(teaching_aids.level, LEVEL_EASY);
    EXPECT_EQ(headless_frames(), frames + 1) << "the hints are drawn at once";
    // The status line's box lies over the floor at the top left.
    EXPECT_NE(IMAGEINFO(screen_page()).pixels[(STATUS_TOP + 30) * 800 + STATUS_LEFT + 5], 0);
  });
  // The A key works from then on; a level alone leaves the hints as they are.
  d.key("a").wait(100).then([] {
    EXPECT_FALSE(teaching_aids.hints);
    headless_change_settings(SettingsChange{LEVEL_MEDIUM, -1});
  });
  d.key("3").wait(200).then([] {
    EXPECT_EQ(teaching_aids.level, LEVEL_MEDIUM);
    EXPECT_FALSE(teaching_aids.hints);
  });
  EXPECT_EQ(d.run(), 0);
  teaching_aids = TeachingAids{};
}
