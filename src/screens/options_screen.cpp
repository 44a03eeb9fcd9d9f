// The options screen: target number, rod values and starter, the
// information pages, "Jugar" and "Salir".
#include "screens/options_screen.h"

#include <algorithm>
#include <string>

#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "core/runtime_error.h"
#include "assets/fonts.h"
#include "game/evaluation.h"
#include "scene/floor.h"
#include "screens/info_screen.h"
#include "screens/widgets.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

constexpr uint32_t OPTIONS_UI_COLOUR = 0x40A0FF;
constexpr uint32_t OPTIONS_TEXTURE_COLOUR = 0xA05000;
constexpr uint32_t PLAY_TEXTURE_COLOUR = 0xC0C040;
constexpr uint32_t TOO_FEW_RODS_COLOUR = 0xE00000;
constexpr uint32_t QUIT_COLOUR = 0xC0C000;

constexpr int32_t ELEMENT_FIRST_ROD = 1;
constexpr int32_t ELEMENT_LAST_ROD = 10;
constexpr int32_t ELEMENT_TARGET = 12;
constexpr int32_t ELEMENT_PLUS_TEN = 13;
constexpr int32_t ELEMENT_MINUS_TEN = 14;
constexpr int32_t ELEMENT_PLUS_ONE = 15;
constexpr int32_t ELEMENT_MINUS_ONE = 16;
constexpr int32_t ELEMENT_PLAYER_STARTS = 17;
constexpr int32_t ELEMENT_COMPUTER_STARTS = 18;
constexpr int32_t ELEMENT_INFO = 19;
constexpr int32_t ELEMENT_PLAY = 20;
constexpr int32_t ELEMENT_QUIT = 21;
constexpr int32_t ELEMENT_COUNT = 21;

// Everything the screen works with while it is open.
struct optionsscreen {
  Image frame;
  const std::uint8_t* texture;
  GAMESTATE& game;
  SCREENDEF& view;
  OptionRodList rods;
  Image rodsbackground = nullptr;  // the frame's rod area without rods
  int32_t hovered = 0;
};

// Frees the copy of the rod area however the screen is left (a return, the
// end of the program or a run-time error).
struct rodsbackgroundowner {
  Image& image;
  ~rodsbackgroundowner() { FREEIMAGE(image); }
};

bool is_arrow(int32_t element) { return element >= ELEMENT_PLUS_TEN && element <= ELEMENT_MINUS_ONE; }

void draw_element(const optionsscreen& s, int32_t element, int32_t state) {
  DRAWOPTIONSELEMENT(element, state, s.game, s.view);
}

// The whole screen again: the frame, then every element in its normal look.
void full_redraw(optionsscreen& s) {
  check_code(BLITIMAGE(screen_page(), 0, 0, s.frame, BLIT_COPY));
  for (int32_t element = 1; element <= ELEMENT_COUNT; ++element) draw_element(s, element, 0);
  s.hovered = 0;
  show_screen(SHOWN_OPTIONS);
}

void build_screen(optionsscreen& s) {
  GAMESTATE& game = s.game;
  SCREENDEF& view = s.view;

  for (int32_t i = 1; i <= 10; ++i) {
    BRICK& rod = s.rods[i];
    rod.CORNER1 = POINT3D{1.6 * i - 16.0, -8.0, 0.0, 0.0};
    rod.CORNER2 = POINT3D{rod.CORNER1.X + 1.0, static_cast<double>(i - 8), 1.0, 0.0};
    DEFINELIGHTING8B(rod, game.LIGHTDIR, i * 16);
  }

  // The options camera: the floor seen almost from above.
  view.ORIGINX = 0.0;
  view.ORIGINY = 0.0;
  view.XAXISX = 1.0;
  view.XAXISY = -0.0001;
  view.YAXISX = 0.2;
  view.YAXISY = 0.9;
  view.SCALE = 24.0;

  draw_options_floor(s.frame, s.texture, view);
  check_code(BLITIMAGE(s.frame, 100, 18, WIDEPANEL, BLIT_TRANSPARENT));
  check_code(DRAWTEXT(s.frame, 264, 50, "\x7FQui]n llega a 100?", LARGE_FONT));
  check_code(DRAWTEXT(s.frame, 20, 236, "Regletas v[lidas para el juego:", SMALL_FONT));
  check_code(BLITIMAGE(s.frame, 454, 220, STARTERPANEL, BLIT_TRANSPARENT));
  check_code(DRAWTEXT(s.frame, 506, 248, "Jugador empieza", SMALL_FONT));
  check_code(DRAWTEXT(s.frame, 506, 288, "Computadora empieza", SMALL_FONT));
  check_code(GRABIMAGE(s.frame, 0, 240, 439, 599, s.rodsbackground));
  DRAWOPTIONSRODS(s.frame, s.rods, game, view);

  PALETTE0TO15(OPTIONS_UI_COLOUR);
  PALETTEFORTEXTURE(OPTIONS_TEXTURE_COLOUR);
  full_redraw(s);
}

// The element under the pointer, 0 for none.
int32_t hit_test(const SCREENDEF& view, int32_t x, int32_t y) {
  if (y >= view.CENTERY + 188 && y < view.CENTERY + 212) {
    for (int32_t i = 1; i <= 10; ++i) {
      const double left = view.CENTERX - 384 + (i - 1) * 38.4;
      if (left <= x && x <= left + 24) return i;
    }
  }
  if (y >= 135 && y < 183) {
    if (x >= 603 && x < 627) return y <= 158 ? ELEMENT_PLUS_TEN : ELEMENT_MINUS_TEN;
    if (x >= 727 && x < 751) return y <= 158 ? ELEMENT_PLUS_ONE : ELEMENT_MINUS_ONE;
  }
  if (x >= 454 && x < 774) {
    if (y >= 220 && y < 280) return ELEMENT_PLAYER_STARTS;
    if (y >= 280 && y < 340) return ELEMENT_COMPUTER_STARTS;
  }
  if (x >= 454 && x < 694 && y >= 380 && y < 460) return ELEMENT_INFO;
  if (y >= 500 && y < 580) {
    if (x >= 454 && x < 594) return ELEMENT_PLAY;
    if (x >= 620 && x < 760) return ELEMENT_QUIT;
  }
  return 0;
}

// Moves the target, kept within 10..100, and shows the new number.
void change_target(optionsscreen& s, int32_t delta) {
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

void toggle_rod(optionsscreen& s, int32_t value) {
  s.game.VALIDRODS = static_cast<uint16_t>(s.game.VALIDRODS ^ (1u << value));
  check_code(BLITIMAGE(s.frame, 0, 240, s.rodsbackground, BLIT_COPY));
  DRAWOPTIONSRODS(s.frame, s.rods, s.game, s.view);
  check_code(BLITIMAGE(screen_page(), 0, 240, s.frame, BLIT_COPY, 0, 240, 440, 599));
  for (int32_t element = ELEMENT_FIRST_ROD; element <= ELEMENT_LAST_ROD; ++element) draw_element(s, element, 0);
}

// choice 17: the player starts; 18: the computer starts. Nothing happens
// when it is the present setting.
void choose_starter(optionsscreen& s, int32_t choice) {
  const bool change = (s.game.STARTER == 1 && choice == ELEMENT_PLAYER_STARTS) ||
                      (s.game.STARTER == 0 && choice == ELEMENT_COMPUTER_STARTS);
  if (!change) return;
  s.game.STARTER = static_cast<uint8_t>(s.game.STARTER ^ 1);
  draw_element(s, ELEMENT_PLAYER_STARTS, 36 - 2 * choice);
  draw_element(s, ELEMENT_COMPUTER_STARTS, 2 * choice - 34);
}

void information_pages(optionsscreen& s) {
  INFOSCREEN(INFOTEXT1, 0.5);
  INFOSCREEN(INFOTEXT2, 0.5);
  INFOSCREEN(INFOTEXT3, 0.5);
  full_redraw(s);
}

// True when the game may start: the evaluation is prepared and the play
// ramps are set.
bool leave_to_play(optionsscreen& s) {
  int32_t count = 0;
  for (int32_t v = 1; v <= 10; ++v)
    if (((s.game.VALIDRODS >> v) & 1) != 0) ++count;
  if (count < 2) {
    SHOWMESSAGE(MSGTOOFEWRODS, TOO_FEW_RODS_COLOUR, MESSAGE_NOTICE);
    show_screen(SHOWN_OPTIONS);
    return false;
  }
  FREEIMAGE(s.rodsbackground);
  SETUPEVAL(s.game);
  PALETTEFORTEXTURE(PLAY_TEXTURE_COLOUR);
  PALETTE0TO15(OPTIONS_UI_COLOUR);
  return true;
}

void quit(optionsscreen& s) {
  if (SHOWMESSAGE(MSGQUIT, QUIT_COLOUR, MESSAGE_QUESTION) == 0) {
    show_screen(SHOWN_OPTIONS);
    return;
  }
  INFOSCREEN(INFOTEXTEND, 5.0);
  FREEIMAGE(s.rodsbackground);
  end_program(0);
}

// A press: the element is the one under the pointer when the button went
// down, wherever it is released. The target arrows change the target at once
// and again every 0.2 s while the button stays down.
bool mouse_press(optionsscreen& s, int32_t element) {
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
bool key_press(optionsscreen& s, const std::string& key) {
  if (key == "\r") return leave_to_play(s);
  if (key == "\x1B") {
    quit(s);
  } else if (key == "I" || key == "i") {
    information_pages(s);
  } else if (key == "C" || key == "c") {
    choose_starter(s, ELEMENT_COMPUTER_STARTS);
  } else if (key == "J" || key == "j") {
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
  optionsscreen s{frame, texture, game, view, {}, nullptr, 0};
  s.rodsbackground = NEWIMAGE(440, nearest(view.CENTERY * 1.2));
  const rodsbackgroundowner owner{s.rodsbackground};
  while (!POLLKEY().empty()) {
  }
  build_screen(s);

  for (;;) {
    std::string key;
    MouseReading mouse;
    int32_t element = 0;
    do {
      WAITMS(20);
      key = POLLKEY();
      mouse = POLLMOUSE();
      element = hit_test(view, mouse.x, mouse.y);
      if (element != s.hovered) {
        draw_element(s, s.hovered, 0);
        draw_element(s, element, ELEMENT_HIGHLIGHT);
        s.hovered = element;
      }
    } while (key.empty() && mouse.buttons <= 0);

    // A key read in the same turn as a press is dropped.
    const bool play = mouse.buttons > 0 ? mouse_press(s, element) : key_press(s, key);
    if (play) return 0;
  }
}
