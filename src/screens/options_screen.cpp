// The options screen: target number, rod values and starter, the
// information pages, "Jugar" and "Salir".
#include "screens/options_screen.h"

#include <algorithm>
#include <string>

#include "assets/fonts.h"
#include "core/runtime_error.h"
#include "game/evaluation.h"
#include "scene/bricks.h"
#include "scene/floor.h"
#include "screens/info_screen.h"
#include "screens/labels.h"
#include "screens/layout.h"
#include "screens/message_box.h"
#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "screens/widgets.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "sound/sounds.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

// The part of the frame behind the rod pictures that is kept to draw them
// again: from row 240 (higher when a rod reaches higher) down, 440 wide.
constexpr int32_t ROD_AREA_TOP = 240;
constexpr int32_t ROD_AREA_WIDTH = 440;
// Seconds each information page stays at least, and the closing page.
constexpr double INFO_PAGE_SECONDS = 0.5;
constexpr double CLOSING_PAGE_SECONDS = 5.0;

// Everything the screen works with while it is open.
struct OptionsScreen {
  Image frame;
  const std::uint8_t* texture;
  GAMESTATE& game;
  SCREENDEF& view;
  OptionRodList rods;
  Image rodsbackground = nullptr;  // the frame's rod area without rods
  int32_t rods_top = 0;            // the rod area's first row
  int32_t hovered = 0;
};

// Frees the copy of the rod area however the screen is left (a return, the
// end of the program or a run-time error).
struct RodsBackgroundOwner {
  Image& image;
  ~RodsBackgroundOwner() { FREEIMAGE(image); }
};

bool is_arrow(int32_t element) { return element >= ELEMENT_PLUS_TEN && element <= ELEMENT_MINUS_ONE; }

void draw_element(const OptionsScreen& s, int32_t element, int32_t state) {
  DRAWOPTIONSELEMENT(element, state, s.game, s.view);
}

// The whole screen again: the frame, then every element in its normal look.
void full_redraw(OptionsScreen& s) {
  check_code(BLITIMAGE(screen_page(), 0, 0, s.frame, BLIT_COPY));
  for (int32_t element = ELEMENT_FIRST_ROD; element <= ELEMENT_COUNT; ++element) draw_element(s, element, 0);
  s.hovered = 0;
  show_screen(SHOWN_OPTIONS);
}

void build_screen(OptionsScreen& s) {
  GAMESTATE& game = s.game;
  SCREENDEF& view = s.view;

  for (int32_t i = 1; i <= 10; ++i) {
    BRICK& rod = s.rods[i];
    rod.CORNER1 = POINT3D{1.6 * i - 16.0, -8.0, 0.0, 0.0};
    rod.CORNER2 = POINT3D{rod.CORNER1.X + 1.0, static_cast<double>(i - 8), 1.0, 0.0};
    DEFINELIGHTING8B(rod, game.LIGHTDIR, i * 16);
  }

  set_options_camera(view);
  draw_options_floor(s.frame, s.texture, view);
  check_code(BLITIMAGE(s.frame, 100, 18, WIDEPANEL, BLIT_TRANSPARENT));
  // TRANSLATORS: the title of the options screen, in large letters (at most
  // 560 pixels, about 25 letters): who reaches the target first.
  draw_label(s.frame, screen_text("options title", "¿Quién llega a 100?"), 264, 50, 400, LARGE_TEXT_FONT);
  // TRANSLATORS: on the options screen, above the rods that can be switched
  // on and off (at most 420 pixels, about 36 letters).
  draw_label(s.frame, screen_text("rods label", "Regletas válidas para el juego:"), 20, 236, 0);
  check_code(BLITIMAGE(s.frame, 454, 220, STARTERPANEL, BLIT_TRANSPARENT));
  // TRANSLATORS: on the options screen, the choice that the player starts
  // (at most 252 pixels, about 22 letters).
  draw_label(s.frame, screen_text("starter choice", "Jugador empieza"), 506, 248, 0);
  // TRANSLATORS: on the options screen, the choice that the computer starts
  // (at most 252 pixels, about 22 letters).
  draw_label(s.frame, screen_text("starter choice", "Computadora empieza"), 506, 288, 0);
  // The rod area reaches from above the tallest rod to the bottom of the
  // page, so that a rod switched off or on again is drawn whole.
  s.rods_top = ROD_AREA_TOP;
  for (int32_t i = 1; i <= 10; ++i)
    s.rods_top = std::min(s.rods_top, brick_top_row(2 * view.CENTERX, 2 * view.CENTERY, s.rods[i], view));
  s.rods_top = std::max(s.rods_top, 0);
  s.rodsbackground = NEWIMAGE(ROD_AREA_WIDTH, PAGE_HEIGHT - s.rods_top);
  const auto top = static_cast<float>(s.rods_top);
  check_code(GRABIMAGE(s.frame, 0, top, ROD_AREA_WIDTH - 1, PAGE_HEIGHT - 1, s.rodsbackground));
  DRAWOPTIONSRODS(s.frame, s.rods, game, view);

  PALETTE0TO15(SCREEN_UI_COLOUR);
  PALETTEFORTEXTURE(OPTIONS_TEXTURE_COLOUR);
  full_redraw(s);
}

// Moves the target, kept within 10..100, and shows the new number.
void change_target(OptionsScreen& s, int32_t delta) {
  play_sound(SOUND_CLICK);
  const int32_t target = std::clamp(static_cast<int32_t>(s.game.TARGET) + delta, 10, 100);
  s.game.TARGET = static_cast<uint8_t>(target);
  draw_element(s, ELEMENT_TARGET, 0);
}

int32_t arrow_step(int32_t element) {
  switch (element) {
    case ELEMENT_PLUS_TEN:
      return 10;
    case ELEMENT_MINUS_TEN:
      return -10;
    case ELEMENT_PLUS_ONE:
      return 1;
    default:
      return -1;
  }
}

void toggle_rod(OptionsScreen& s, int32_t value) {
  play_sound(SOUND_CLICK);
  s.game.VALIDRODS = static_cast<uint16_t>(s.game.VALIDRODS ^ (1u << value));
  const auto top = static_cast<float>(s.rods_top);
  check_code(BLITIMAGE(s.frame, 0, top, s.rodsbackground, BLIT_COPY));
  DRAWOPTIONSRODS(s.frame, s.rods, s.game, s.view);
  check_code(BLITIMAGE(screen_page(), 0, top, s.frame, BLIT_COPY, 0, top, ROD_AREA_WIDTH, PAGE_HEIGHT - 1));
  for (int32_t element = ELEMENT_FIRST_ROD; element <= ELEMENT_LAST_ROD; ++element) draw_element(s, element, 0);
}

// choice 17: the player starts; 18: the computer starts. Nothing happens
// when it is the present setting.
void choose_starter(OptionsScreen& s, int32_t choice) {
  const bool change = (s.game.STARTER == 1 && choice == ELEMENT_PLAYER_STARTS) ||
                      (s.game.STARTER == 0 && choice == ELEMENT_COMPUTER_STARTS);
  if (!change) return;
  play_sound(SOUND_CLICK);
  s.game.STARTER = static_cast<uint8_t>(s.game.STARTER ^ 1);
  draw_element(s, ELEMENT_PLAYER_STARTS, 36 - 2 * choice);
  draw_element(s, ELEMENT_COMPUTER_STARTS, 2 * choice - 34);
}

void information_pages(OptionsScreen& s) {
  play_sound(SOUND_CLICK);
  INFOSCREEN(INFOTEXT1, INFO_PAGE_SECONDS);
  INFOSCREEN(INFOTEXT2, INFO_PAGE_SECONDS);
  INFOSCREEN(INFOTEXT3, INFO_PAGE_SECONDS);
  full_redraw(s);
}

// True when the game may start: the evaluation is prepared and the play
// ramps are set.
bool leave_to_play(OptionsScreen& s) {
  int32_t count = 0;
  for (int32_t v = 1; v <= 10; ++v)
    if (((s.game.VALIDRODS >> v) & 1) != 0) ++count;
  if (count < 2) {
    play_sound(SOUND_REFUSAL);
    SHOWMESSAGE(shown_message(MSGTOOFEWRODS), COLOUR_LOSS, MESSAGE_NOTICE);
    show_screen(SHOWN_OPTIONS);
    return false;
  }
  play_sound(SOUND_CLICK);
  FREEIMAGE(s.rodsbackground);
  SETUPEVAL(s.game);
  PALETTEFORTEXTURE(PLAY_TEXTURE_COLOUR);
  PALETTE0TO15(SCREEN_UI_COLOUR);
  return true;
}

void quit(OptionsScreen& s) {
  play_sound(SOUND_CLICK);
  if (SHOWMESSAGE(shown_message(MSGQUIT), COLOUR_QUESTION, MESSAGE_QUESTION) == 0) {
    show_screen(SHOWN_OPTIONS);
    return;
  }
  INFOSCREEN(INFOTEXTEND, CLOSING_PAGE_SECONDS);
  FREEIMAGE(s.rodsbackground);
  end_program(0);
}

// A press: the element is the one under the pointer when the button went
// down, wherever it is released. The target arrows change the target at once
// and again every 0.2 s while the button stays down.
bool mouse_press(OptionsScreen& s, int32_t element) {
  double t = CLOCKSECONDS() - 0.2;
  const bool arrow = is_arrow(element);
  if (arrow) draw_element(s, element, ELEMENT_HIGHLIGHT | ELEMENT_PRESSED);
  bool first = true;
  for (int32_t buttons = 1; buttons > 0; buttons = POLLMOUSE().buttons) {
    if (arrow && (first || CLOCKSECONDS() > t + 0.2)) {
      t = CLOCKSECONDS();
      change_target(s, arrow_step(element));
    }
    first = false;
    WAITMS(20);
  }

  if (element >= ELEMENT_FIRST_ROD && element <= ELEMENT_LAST_ROD) {
    toggle_rod(s, element);
  } else if (arrow) {
    draw_element(s, element, ELEMENT_HIGHLIGHT);
  } else if (element == ELEMENT_PLAYER_STARTS || element == ELEMENT_COMPUTER_STARTS) {
    choose_starter(s, element);
  } else if (element == ELEMENT_INFO) {
    information_pages(s);
  } else if (element == ELEMENT_PLAY) {
    return leave_to_play(s);
  } else if (element == ELEMENT_QUIT) {
    quit(s);
  }
  return false;
}

// True when the key starts the game.
bool key_press(OptionsScreen& s, const std::string& key) {
  if (key == "\r") return leave_to_play(s);
  if (key == "\x1B") {
    quit(s);
  } else if (key == "I" || key == "i") {
    information_pages(s);
  } else if (key_means(key, KEY_COMPUTER_STARTS)) {
    choose_starter(s, ELEMENT_COMPUTER_STARTS);
  } else if (key_means(key, KEY_PLAYER_STARTS)) {
    choose_starter(s, ELEMENT_PLAYER_STARTS);
  } else if (key == KEY_LEFT) {
    change_target(s, -1);
  } else if (key == KEY_RIGHT) {
    change_target(s, 1);
  } else if (key == KEY_UP) {
    change_target(s, 10);
  } else if (key == KEY_DOWN) {
    change_target(s, -10);
  } else {
    const int32_t digit = static_cast<unsigned char>(key[0]) - 48;
    if (digit >= 0 && digit <= 9) toggle_rod(s, digit == 0 ? 10 : digit);
  }
  return false;
}

}  // namespace

int32_t OPTIONSSCREEN(Image frame, const std::uint8_t* texture, GAMESTATE& game, SCREENDEF& view) {
  OptionsScreen s{frame, texture, game, view, {}, nullptr, ELEMENT_NONE};
  const RodsBackgroundOwner owner{s.rodsbackground};
  drop_waiting_keys();
  build_screen(s);

  for (;;) {
    InputLook look;
    int32_t element = ELEMENT_NONE;
    do {
      look = look_at_input(20);
      element = element_at(look.mouse.x, look.mouse.y, view);
      if (element != s.hovered) {
        draw_element(s, s.hovered, 0);
        draw_element(s, element, ELEMENT_HIGHLIGHT);
        s.hovered = element;
      }
    } while (!look.acted());

    // A key read in the same turn as a press is dropped.
    const bool play = look.mouse.buttons > 0 ? mouse_press(s, element) : key_press(s, look.key);
    if (play) return 0;
  }
}

void set_options_camera(SCREENDEF& view) {
  // The floor seen almost from above.
  view.ORIGINX = 0.0;
  view.ORIGINY = 0.0;
  view.XAXISX = 1.0;
  view.XAXISY = -0.0001;
  view.YAXISX = 0.2;
  view.YAXISY = 0.9;
  view.SCALE = 24.0;
}
