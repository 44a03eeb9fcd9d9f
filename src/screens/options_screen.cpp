// The options screen: target number, rod values and starter, the
// information pages, "Jugar" and "Salir".
#include "screens/options_screen.h"

#include <algorithm>
#include <string>

#include "app/messages.h"
#include "app/run_report.h"
#include "app/runtime_error.h"
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

constexpr uint32_t OPTIONSUICOLOR = 0x40A0FF;
constexpr uint32_t OPTIONSTEXTURECOLOR = 0xA05000;
constexpr uint32_t PLAYTEXTURECOLOR = 0xC0C040;
constexpr uint32_t TOOFEWRODSCOLOR = 0xE00000;
constexpr uint32_t QUITCOLOR = 0xC0C000;

constexpr int32_t ELEMENTFIRSTROD = 1;
constexpr int32_t ELEMENTLASTROD = 10;
constexpr int32_t ELEMENTTARGET = 12;
constexpr int32_t ELEMENTPLUSTEN = 13;
constexpr int32_t ELEMENTMINUSTEN = 14;
constexpr int32_t ELEMENTPLUSONE = 15;
constexpr int32_t ELEMENTMINUSONE = 16;
constexpr int32_t ELEMENTPLAYERSTARTS = 17;
constexpr int32_t ELEMENTCOMPUTERSTARTS = 18;
constexpr int32_t ELEMENTINFO = 19;
constexpr int32_t ELEMENTPLAY = 20;
constexpr int32_t ELEMENTQUIT = 21;
constexpr int32_t ELEMENTCOUNT = 21;

// Everything the screen works with while it is open.
struct optionsscreen {
  IMAGE frame;
  const std::uint8_t* texture;
  GAMESTATE& game;
  SCREENDEF& view;
  OPTIONRODLIST rods;
  IMAGE rodsbackground = nullptr;  // the frame's rod area without rods
  int32_t hovered = 0;
};

// Frees the copy of the rod area however the screen is left (a return, the
// end of the program or a run-time error).
struct rodsbackgroundowner {
  IMAGE& image;
  ~rodsbackgroundowner() { FREEIMAGE(image); }
};

bool is_arrow(int32_t element) { return element >= ELEMENTPLUSTEN && element <= ELEMENTMINUSONE; }

void draw_element(const optionsscreen& s, int32_t element, int32_t state) {
  DRAWOPTIONSELEMENT(element, state, s.game, s.view);
}

// The whole screen again: the frame, then every element in its normal look.
void full_redraw(optionsscreen& s) {
  CHECKCODE(BLITIMAGE(SCREEN(), 0, 0, s.frame, BLITCOPY));
  for (int32_t element = 1; element <= ELEMENTCOUNT; ++element) draw_element(s, element, 0);
  s.hovered = 0;
  SHOWSCREEN(SHOWN_OPTIONS);
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

  DRAWOPTIONSFLOOR(s.frame, s.texture, view);
  CHECKCODE(BLITIMAGE(s.frame, 100, 18, WIDEPANEL, BLITTRANSPARENT));
  CHECKCODE(DRAWTEXT(s.frame, 264, 50, "\x7FQui]n llega a 100?", LARGEFONT));
  CHECKCODE(DRAWTEXT(s.frame, 20, 236, "Regletas v[lidas para el juego:", SMALLFONT));
  CHECKCODE(BLITIMAGE(s.frame, 454, 220, STARTERPANEL, BLITTRANSPARENT));
  CHECKCODE(DRAWTEXT(s.frame, 506, 248, "Jugador empieza", SMALLFONT));
  CHECKCODE(DRAWTEXT(s.frame, 506, 288, "Computadora empieza", SMALLFONT));
  CHECKCODE(GRABIMAGE(s.frame, 0, 240, 439, 599, s.rodsbackground));
  DRAWOPTIONSRODS(s.frame, s.rods, game, view);

  PALETTE0TO15(OPTIONSUICOLOR);
  PALETTEFORTEXTURE(OPTIONSTEXTURECOLOR);
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
    if (x >= 603 && x < 627) return y <= 158 ? ELEMENTPLUSTEN : ELEMENTMINUSTEN;
    if (x >= 727 && x < 751) return y <= 158 ? ELEMENTPLUSONE : ELEMENTMINUSONE;
  }
  if (x >= 454 && x < 774) {
    if (y >= 220 && y < 280) return ELEMENTPLAYERSTARTS;
    if (y >= 280 && y < 340) return ELEMENTCOMPUTERSTARTS;
  }
  if (x >= 454 && x < 694 && y >= 380 && y < 460) return ELEMENTINFO;
  if (y >= 500 && y < 580) {
    if (x >= 454 && x < 594) return ELEMENTPLAY;
    if (x >= 620 && x < 760) return ELEMENTQUIT;
  }
  return 0;
}

// Moves the target, kept within 10..100, and shows the new number.
void change_target(optionsscreen& s, int32_t delta) {
  const int32_t target = std::clamp(static_cast<int32_t>(s.game.TARGET) + delta, 10, 100);
  s.game.TARGET = static_cast<uint8_t>(target);
  draw_element(s, ELEMENTTARGET, 0);
}

int32_t arrow_step(int32_t element) {
  switch (element) {
    case ELEMENTPLUSTEN:
      return 10;
    case ELEMENTMINUSTEN:
      return -10;
    case ELEMENTPLUSONE:
      return 1;
    default:
      return -1;
  }
}

void toggle_rod(optionsscreen& s, int32_t value) {
  s.game.VALIDRODS = static_cast<uint16_t>(s.game.VALIDRODS ^ (1u << value));
  CHECKCODE(BLITIMAGE(s.frame, 0, 240, s.rodsbackground, BLITCOPY));
  DRAWOPTIONSRODS(s.frame, s.rods, s.game, s.view);
  CHECKCODE(BLITIMAGE(SCREEN(), 0, 240, s.frame, BLITCOPY, 0, 240, 440, 599));
  for (int32_t element = ELEMENTFIRSTROD; element <= ELEMENTLASTROD; ++element) draw_element(s, element, 0);
}

// choice 17: the player starts; 18: the computer starts. Nothing happens
// when it is the present setting.
void choose_starter(optionsscreen& s, int32_t choice) {
  const bool change = (s.game.STARTER == 1 && choice == ELEMENTPLAYERSTARTS) ||
                      (s.game.STARTER == 0 && choice == ELEMENTCOMPUTERSTARTS);
  if (!change) return;
  s.game.STARTER = static_cast<uint8_t>(s.game.STARTER ^ 1);
  draw_element(s, ELEMENTPLAYERSTARTS, 36 - 2 * choice);
  draw_element(s, ELEMENTCOMPUTERSTARTS, 2 * choice - 34);
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
    SHOWMESSAGE(MSGTOOFEWRODS, TOOFEWRODSCOLOR, MESSAGENOTICE);
    SHOWSCREEN(SHOWN_OPTIONS);
    return false;
  }
  FREEIMAGE(s.rodsbackground);
  SETUPEVAL(s.game);
  PALETTEFORTEXTURE(PLAYTEXTURECOLOR);
  PALETTE0TO15(OPTIONSUICOLOR);
  return true;
}

void quit(optionsscreen& s) {
  if (SHOWMESSAGE(MSGQUIT, QUITCOLOR, MESSAGEQUESTION) == 0) {
    SHOWSCREEN(SHOWN_OPTIONS);
    return;
  }
  INFOSCREEN(INFOTEXTEND, 5.0);
  FREEIMAGE(s.rodsbackground);
  ENDPROGRAM(0);
}

// A press: the element is the one under the pointer when the button went
// down, wherever it is released. The target arrows change the target at once
// and again every 0.2 s while the button stays down.
bool mouse_press(optionsscreen& s, int32_t element) {
  double t = CLOCKSECONDS() - 0.2;
  const bool arrow = is_arrow(element);
  if (arrow) draw_element(s, element, ELEMENTHIGHLIGHT | ELEMENTPRESSED);
  bool first = true;
  for (int32_t buttons = 1; buttons > 0; buttons = POLLMOUSE().BUTTONS) {
    if (arrow && (first || CLOCKSECONDS() > t + 0.2)) {
      t = CLOCKSECONDS();
      change_target(s, arrow_step(element));
    }
    first = false;
    WAITMS(20);
  }

  if (element >= ELEMENTFIRSTROD && element <= ELEMENTLASTROD) {
    toggle_rod(s, element);
  } else if (arrow) {
    draw_element(s, element, ELEMENTHIGHLIGHT);
  } else if (element == ELEMENTPLAYERSTARTS || element == ELEMENTCOMPUTERSTARTS) {
    choose_starter(s, element);
  } else if (element == ELEMENTINFO) {
    information_pages(s);
  } else if (element == ELEMENTPLAY) {
    return leave_to_play(s);
  } else if (element == ELEMENTQUIT) {
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
    choose_starter(s, ELEMENTCOMPUTERSTARTS);
  } else if (key == "J" || key == "j") {
    choose_starter(s, ELEMENTPLAYERSTARTS);
  } else if (key == KEYLEFT) {
    change_target(s, -1);
  } else if (key == KEYRIGHT) {
    change_target(s, 1);
  } else if (key == KEYUP) {
    change_target(s, 10);
  } else if (key == KEYDOWN) {
    change_target(s, -10);
  } else {
    const int32_t digit = static_cast<unsigned char>(key[0]) - 48;
    if (digit >= 0 && digit <= 9) toggle_rod(s, digit == 0 ? 10 : digit);
  }
  return false;
}

}  // namespace

int32_t OPTIONSSCREEN(IMAGE frame, const std::uint8_t* texture, GAMESTATE& game, SCREENDEF& view) {
  optionsscreen s{frame, texture, game, view, {}, nullptr, 0};
  s.rodsbackground = NEWIMAGE(440, NEAREST(view.CENTERY * 1.2));
  const rodsbackgroundowner owner{s.rodsbackground};
  while (!POLLKEY().empty()) {
  }
  build_screen(s);

  for (;;) {
    std::string key;
    MOUSEREADING mouse;
    int32_t element = 0;
    do {
      WAITMS(20);
      key = POLLKEY();
      mouse = POLLMOUSE();
      element = hit_test(view, mouse.X, mouse.Y);
      if (element != s.hovered) {
        draw_element(s, s.hovered, 0);
        draw_element(s, element, ELEMENTHIGHLIGHT);
        s.hovered = element;
      }
    } while (key.empty() && mouse.BUTTONS <= 0);

    // A key read in the same turn as a press is dropped.
    const bool play = mouse.BUTTONS > 0 ? mouse_press(s, element) : key_press(s, key);
    if (play) return 0;
  }
}
