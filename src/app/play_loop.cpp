// The play loop: the player's turns read the mouse and the keys, the
// computer's turns are chosen by the evaluation, and after every rod the
// outcome is decided and shown.
#include "app/play_loop.h"

#include <string>

#include "app/messages.h"
#include "app/run_report.h"
#include "game/evaluation.h"
#include "scene/camera.h"
#include "scene/floor.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "surface/input.h"

namespace {

constexpr int32_t NOHOVER = -1;
constexpr uint32_t COLOURWIN = 0x20FF20;
constexpr uint32_t COLOURLOSS = 0xE00000;
constexpr uint32_t COLOURTIE = 0x200080;
constexpr uint32_t COLOURQUESTION = 0xC0C000;
// Outcomes are shown after a short pause, so the last rod can be seen.
constexpr int32_t OUTCOMEPAUSEMS = 1500;

// Everything a turn draws with.
struct PLAYSCENE {
  IMAGE frame;
  const std::uint8_t* texture;
  MAPPEDFONT& font;
  GAMESTATE& game;
  SCREENDEF& view;
};

enum class NEXT { COMPUTER, PLAYER, GAMEOVER };

bool is_choice_rod(int32_t code) { return code >= 0 && code <= 49; }
bool is_button(int32_t code) { return code == TIEBUTTON || code == QUITBUTTON; }
int32_t rod_of(int32_t code) { return code % 10 + 1; }

int32_t current_total(const GAMESTATE& game) { return game.TOTALS[game.MOVECOUNT]; }

void drop_waiting_keys() {
  while (!POLLKEY().empty()) {
  }
}

// A whole frame into the frame image, then onto the screen in one copy.
void redraw(PLAYSCENE& s) {
  DEFINESCREEN(s.game.LOOKAT, s.game.TARGET, s.view);
  DRAWBG(s.frame, s.texture, s.font, s.game.TARGET, s.view);
  DRAWNUMBERLINE(s.frame, s.game.TARGET, s.view, 176);
  DRAWRODS(s.frame, s.game, s.view);
  CHECKCODE(BLITIMAGE(SCREEN(), 0, 0, s.frame, BLITCOPY));
}

std::string with_target(const char* text, const GAMESTATE& game) {
  return std::string(text) + std::to_string(static_cast<int>(game.TARGET));
}

// The hover code under the mouse: a game button, a choice rod of the window,
// or nothing.
int32_t hover_code(const MOUSEREADING& mouse, const CHOICEWINDOW& window) {
  if (mouse.Y >= 500 && mouse.Y < 580) {
    if (mouse.X >= 24 && mouse.X < 264) return TIEBUTTON;
    if (mouse.X >= 620 && mouse.X < 760) return QUITBUTTON;
  }
  for (int32_t j = window.FIRST; j <= window.LAST; ++j) {
    const CHOICEBOX& box = CHOICEBOXES[j];
    if (box.X1 <= mouse.X && mouse.X <= box.X2 && box.Y1 <= mouse.Y && mouse.Y <= box.Y2) return j;
  }
  return NOHOVER;
}

// Hover feedback: rods light up through the palette, buttons change sprite.
void show_hover_change(const PLAYSCENE& s, int32_t previous, int32_t now) {
  if (is_choice_rod(previous)) HIGHLIGHTROD(rod_of(previous), BASECOLORS, 0);
  if (is_choice_rod(now)) HIGHLIGHTROD(rod_of(now), BASECOLORS, 1);
  if (is_button(previous)) DRAWGAMEBTN(previous, 0, s.game, s.view);
  if (is_button(now)) DRAWGAMEBTN(now, 2, s.game, s.view);
}

NEXT player_move(PLAYSCENE& s, int32_t total, int32_t rod) {
  GAMESTATE& game = s.game;
  LAYROD(rod, game, 16 * rod);
  SHIFTLOOKAT(total, current_total(game), s.frame, s.texture, s.font, game, s.view);
  redraw(s);
  const int32_t reached = current_total(game);
  if (reached == game.TARGET) {
    WAITMS(OUTCOMEPAUSEMS);
    SHOWMESSAGE(MSGPLAYERWINS, COLOURWIN, MESSAGENOTICE);
    return NEXT::GAMEOVER;
  }
  if (reached > game.TARGET) {
    WAITMS(OUTCOMEPAUSEMS);
    MSGOVERSHOOT[3] = with_target("sobrepasaste el ", game);
    SHOWMESSAGE(MSGOVERSHOOT, COLOURLOSS, MESSAGENOTICE);
    return NEXT::GAMEOVER;
  }
  return NEXT::COMPUTER;
}

// A tie can be claimed only when no rod fits any more; otherwise play goes on.
bool tie_claim_ends_game(const GAMESTATE& game, int32_t total) {
  if (RODLIST[0] + total > game.TARGET) {
    SHOWMESSAGE(MSGTIE, COLOURTIE, MESSAGENOTICE);
    return true;
  }
  SHOWMESSAGE(MSGNOTNOW, COLOURLOSS, MESSAGENOTICE);
  return false;
}

bool player_gives_up() { return SHOWMESSAGE(MSGGIVEUP, COLOURQUESTION, MESSAGEQUESTION) != 0; }

NEXT player_turn(PLAYSCENE& s) {
  GAMESTATE& game = s.game;
  drop_waiting_keys();
  const int32_t total = current_total(game);
  const CHOICEWINDOW window = CHOICEWINDOWFOR(total, game.TARGET);
  int32_t hover = NOHOVER;
  int32_t previous = NOHOVER;

  for (;;) {
    // Input: after a message or an ignored input the buttons are drawn normal,
    // but the previous hover code stays, so a look returns only when the mouse
    // leaves and comes back.
    DRAWGAMEBTN(TIEBUTTON, 0, game, s.view);
    DRAWGAMEBTN(QUITBUTTON, 0, game, s.view);
    drop_waiting_keys();

    std::string key;
    MOUSEREADING mouse;
    for (;;) {
      WAITMS(10);
      key = POLLKEY();
      mouse = POLLMOUSE();
      hover = hover_code(mouse, window);
      if (hover != previous) {
        show_hover_change(s, previous, hover);
        previous = hover;
      }
      if (!key.empty() || mouse.BUTTONS > 0) break;
    }
    if (is_choice_rod(hover)) HIGHLIGHTROD(rod_of(hover), BASECOLORS, 0);

    if (mouse.BUTTONS > 0) {
      // A press acts on what was under the mouse when it went down; a key
      // read in the same poll is dropped.
      while (mouse.BUTTONS > 0) {
        WAITMS(20);
        mouse = POLLMOUSE();
      }
      if (is_choice_rod(hover)) return player_move(s, total, rod_of(hover));
      if (hover == TIEBUTTON) {
        if (tie_claim_ends_game(game, total)) return NEXT::GAMEOVER;
      } else if (hover == QUITBUTTON) {
        if (player_gives_up()) return NEXT::GAMEOVER;
      }
      continue;
    }

    if (key == "x" || key == "X") {
      if (tie_claim_ends_game(game, total)) return NEXT::GAMEOVER;
      continue;
    }
    if (key.size() == 1 && key[0] == KEYESC) {
      if (player_gives_up()) return NEXT::GAMEOVER;
      continue;
    }
    if (key.size() == 1) {
      // The digits 1..9, and 0 or the colon (the code after 9) for a ten.
      int32_t n = static_cast<unsigned char>(key[0]) - '0';
      if (n >= 0 && n <= 10) {
        if (n == 0) n = 10;
        if (((game.VALIDRODS >> n) & 1u) != 0) return player_move(s, total, n);
        SHOWMESSAGE(MSGBADROD, COLOURLOSS, MESSAGENOTICE);
      }
    }
  }
}

NEXT computer_turn(PLAYSCENE& s) {
  GAMESTATE& game = s.game;
  const int32_t rod = DOEVAL(game);
  if (rod == 0) {
    WAITMS(OUTCOMEPAUSEMS);
    MSGCANNOTREACH[2] = with_target("Imposible alcanzar ", game);
    SHOWMESSAGE(MSGCANNOTREACH, COLOURTIE, MESSAGENOTICE);
    return NEXT::GAMEOVER;
  }
  const int32_t total = current_total(game);
  BRINGCOMPUROD(s.frame, rod, game, s.view);
  LAYROD(rod, game, 16 * rod);
  const int32_t reached = current_total(game);
  SHIFTLOOKAT(total, reached, s.frame, s.texture, s.font, game, s.view);
  if (reached == game.TARGET) {
    WAITMS(OUTCOMEPAUSEMS);
    SHOWMESSAGE(MSGCOMPUWINS, COLOURLOSS, MESSAGENOTICE);
    return NEXT::GAMEOVER;
  }
  // When the camera stays where it is, nothing has been drawn since the rod
  // arrived: draw the frame of the new total, so that the choice rods on the
  // screen are the ones the player's turn hit-tests.
  if (CLAMPLOOKAT(total, game.TARGET) == CLAMPLOOKAT(reached, game.TARGET)) redraw(s);
  return NEXT::PLAYER;
}

}  // namespace

void PLAYGAME(IMAGE frame, const std::uint8_t* texture, MAPPEDFONT& font, GAMESTATE& game, SCREENDEF& view) {
  SHOWSCREEN(SHOWN_PLAY);
  PLAYSCENE scene{frame, texture, font, game, view};
  NEXT next = game.TURN != 0 ? NEXT::COMPUTER : NEXT::PLAYER;
  while (next != NEXT::GAMEOVER) {
    next = next == NEXT::COMPUTER ? computer_turn(scene) : player_turn(scene);
  }
}
