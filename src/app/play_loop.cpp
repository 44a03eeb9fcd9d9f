// The play loop: the player's turns read the mouse and the keys, the
// computer's turns are chosen by the evaluation, and after every rod the
// outcome is decided and shown.
#include "app/play_loop.h"

#include <string>

#include "game/evaluation.h"
#include "game/teaching.h"
#include "scene/camera.h"
#include "scene/rods.h"
#include "scene/scene_frame.h"
#include "screens/game_buttons.h"
#include "screens/layout.h"
#include "screens/message_box.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "shade/palette.h"
#include "sound/sounds.h"
#include "surface/input.h"
#include "text/language.h"

namespace {

constexpr int32_t NO_HOVER = -1;
// Outcomes are shown after a short pause, so the last rod can be seen.
constexpr int32_t OUTCOME_PAUSE_MS = 1500;

// Everything a turn draws with.
struct PlayScene {
  Image frame;
  const std::uint8_t* texture;
  MAPPEDFONT& font;
  GAMESTATE& game;
  SCREENDEF& view;
};

enum class Next { COMPUTER, PLAYER, GAME_OVER };

bool is_choice_rod(int32_t code) { return code >= 0 && code <= 49; }
bool is_button(int32_t code) { return code == TIEBUTTON || code == QUITBUTTON; }
int32_t rod_of(int32_t code) { return code % 10 + 1; }

int32_t current_total(const GAMESTATE& game) { return game.TOTALS[game.MOVECOUNT]; }

// A whole frame into the frame image, then onto the screen in one copy.
void redraw(PlayScene& s) { draw_scene_frame(s.frame, s.texture, s.font, s.game, s.view); }

// The hover code under the mouse: a game button, a choice rod of the window,
// or nothing.
int32_t hover_code(const MouseReading& mouse, const ChoiceWindow& window, const ChoiceBoxList& boxes) {
  for (const int32_t button : {TIEBUTTON, QUITBUTTON})
    if (game_button_box(button).contains(mouse.x, mouse.y)) return button;
  for (int32_t j = window.first; j <= window.last; ++j)
    if (inside_choice_box(boxes[j], mouse.x, mouse.y)) return j;
  return NO_HOVER;
}

// Hover feedback: rods light up through the palette, buttons change sprite.
void show_hover_change(const PlayScene& s, int32_t previous, int32_t now) {
  if (is_choice_rod(previous)) HIGHLIGHTROD(rod_of(previous), BASE_COLORS, 0);
  if (is_choice_rod(now)) HIGHLIGHTROD(rod_of(now), BASE_COLORS, 1);
  if (is_button(previous)) DRAWGAMEBTN(previous, 0, s.game, s.view);
  if (is_button(now)) DRAWGAMEBTN(now, 2, s.game, s.view);
}

Next player_move(PlayScene& s, int32_t total, int32_t rod) {
  GAMESTATE& game = s.game;
  LAYROD(rod, game, 16 * rod);
  play_sound(SOUND_ROD);
  SHIFTLOOKAT(total, current_total(game), s.frame, s.texture, s.font, game, s.view);
  redraw(s);
  const int32_t reached = current_total(game);
  if (reached == game.TARGET) {
    WAITMS(OUTCOME_PAUSE_MS);
    play_sound(SOUND_WIN);
    SHOWMESSAGE(shown_message(MSGPLAYERWINS), COLOUR_WIN, MESSAGE_NOTICE);
    return Next::GAME_OVER;
  }
  if (reached > game.TARGET) {
    WAITMS(OUTCOME_PAUSE_MS);
    play_sound(SOUND_LOSS);
    SHOWMESSAGE(shown_message(MSGOVERSHOOT, game.TARGET), COLOUR_LOSS, MESSAGE_NOTICE);
    return Next::GAME_OVER;
  }
  return Next::COMPUTER;
}

// A tie can be claimed only when no rod fits any more; otherwise play goes on.
bool tie_claim_ends_game(const GAMESTATE& game, int32_t total) {
  if (RODLIST[0] + total > game.TARGET) {
    play_sound(SOUND_TIE);
    SHOWMESSAGE(shown_message(MSGTIE), COLOUR_TIE, MESSAGE_NOTICE);
    return true;
  }
  play_sound(SOUND_REFUSAL);
  SHOWMESSAGE(shown_message(MSGNOTNOW), COLOUR_LOSS, MESSAGE_NOTICE);
  return false;
}

bool player_gives_up() {
  play_sound(SOUND_CLICK);
  return SHOWMESSAGE(shown_message(MSGGIVEUP), COLOUR_QUESTION, MESSAGE_QUESTION) != 0;
}

Next player_turn(PlayScene& s) {
  GAMESTATE& game = s.game;
  if (take_teacher_changes()) redraw(s);
  drop_waiting_keys();
  forget_earlier_presses();
  const int32_t total = current_total(game);
  // The rods on the screen are those of the frame drawn last, with this view.
  const ChoiceWindow window = choice_window_for(total, game.TARGET);
  const ChoiceBoxList boxes = CHOICEBOXES(game, s.view);
  int32_t hover = NO_HOVER;
  int32_t previous = NO_HOVER;

  for (;;) {
    // Input: after a message or an ignored input the buttons are drawn normal,
    // but the previous hover code stays, so a look returns only when the mouse
    // leaves and comes back.
    DRAWGAMEBTN(TIEBUTTON, 0, game, s.view);
    DRAWGAMEBTN(QUITBUTTON, 0, game, s.view);
    drop_waiting_keys();

    InputLook look;
    for (;;) {
      look = look_at_input(10);
      // Hints switched on or off by a teacher while the player thinks.
      if (take_teacher_changes()) {
        redraw(s);
        DRAWGAMEBTN(TIEBUTTON, 0, game, s.view);
        DRAWGAMEBTN(QUITBUTTON, 0, game, s.view);
      }
      hover = hover_code(look.mouse, window, boxes);
      if (hover != previous) {
        show_hover_change(s, previous, hover);
        previous = hover;
      }
      if (look.acted()) break;
    }
    if (is_choice_rod(hover)) HIGHLIGHTROD(rod_of(hover), BASE_COLORS, 0);

    if (look.mouse.buttons > 0) {
      // A press acts on what was under the mouse when it went down; a key
      // read in the same poll is dropped.
      wait_for_release(look.mouse);
      if (is_choice_rod(hover)) return player_move(s, total, rod_of(hover));
      if (hover == TIEBUTTON) {
        if (tie_claim_ends_game(game, total)) return Next::GAME_OVER;
      } else if (hover == QUITBUTTON) {
        if (player_gives_up()) return Next::GAME_OVER;
      }
      continue;
    }

    const std::string& key = look.key;
    if ((key == "a" || key == "A") && teaching_aids.chosen) {
      // A teacher's aids: the hints shown or hidden.
      teaching_aids.hints = !teaching_aids.hints;
      redraw(s);
      continue;
    }
    if (key_means(key, KEY_CLAIM_TIE)) {
      if (tie_claim_ends_game(game, total)) return Next::GAME_OVER;
      continue;
    }
    if (key.size() == 1 && key[0] == KEY_ESC) {
      if (player_gives_up()) return Next::GAME_OVER;
      continue;
    }
    if (key.size() == 1) {
      // The digits 1..9, and 0 or the colon (the code after 9) for a ten.
      int32_t n = static_cast<unsigned char>(key[0]) - '0';
      if (n >= 0 && n <= 10) {
        if (n == 0) n = 10;
        if (((game.VALIDRODS >> n) & 1u) != 0) return player_move(s, total, n);
        play_sound(SOUND_REFUSAL);
        SHOWMESSAGE(shown_message(MSGBADROD), COLOUR_LOSS, MESSAGE_NOTICE);
      }
    }
  }
}

Next computer_turn(PlayScene& s) {
  GAMESTATE& game = s.game;
  take_teacher_changes();
  const int32_t rod = computer_rod(game, teaching_aids.level);
  if (rod == 0) {
    WAITMS(OUTCOME_PAUSE_MS);
    play_sound(SOUND_TIE);
    SHOWMESSAGE(shown_message(MSGCANNOTREACH, game.TARGET), COLOUR_TIE, MESSAGE_NOTICE);
    return Next::GAME_OVER;
  }
  const int32_t total = current_total(game);
  BRINGCOMPUROD(s.frame, rod, game, s.view);
  LAYROD(rod, game, 16 * rod);
  play_sound(SOUND_ROD);
  const int32_t reached = current_total(game);
  SHIFTLOOKAT(total, reached, s.frame, s.texture, s.font, game, s.view);
  if (reached == game.TARGET) {
    WAITMS(OUTCOME_PAUSE_MS);
    play_sound(SOUND_LOSS);
    SHOWMESSAGE(shown_message(MSGCOMPUWINS), COLOUR_LOSS, MESSAGE_NOTICE);
    return Next::GAME_OVER;
  }
  // When the camera stays where it is, nothing has been drawn since the rod
  // arrived: draw the frame of the new total, so that the choice rods on the
  // screen are the ones the player's turn hit-tests.
  if (clamp_look_at(total, game.TARGET) == clamp_look_at(reached, game.TARGET)) redraw(s);
  return Next::PLAYER;
}

}  // namespace

void play_game(Image frame, const std::uint8_t* texture, MAPPEDFONT& font, GAMESTATE& game, SCREENDEF& view) {
  show_screen(SHOWN_PLAY);
  PlayScene scene{frame, texture, font, game, view};
  Next next = game.TURN != 0 ? Next::COMPUTER : Next::PLAYER;
  while (next != Next::GAME_OVER) {
    next = next == Next::COMPUTER ? computer_turn(scene) : player_turn(scene);
  }
}
