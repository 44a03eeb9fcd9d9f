// The arithmetic of the game window, kept apart from the window library so
// that it can be checked without a display: the starting scale, the
// letter-box rectangle, the pointer mapped back to page pixels, and the key
// texts a key press or a piece of typed text gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest whole multiple of the page that fits the desktop, at least 1.
int32_t CHOOSEWINDOWSCALE(int32_t desktopwidth, int32_t desktopheight, int32_t pagewidth, int32_t pageheight);

struct BOXRECT {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t W = 0;
  int32_t H = 0;
  bool operator==(const BOXRECT&) const = default;
};

// Where the page is shown inside an output of this many pixels: the largest
// whole multiple of the page that fits, centred, the rest left black, so that
// every page pixel is shown as a square of the same size. An output smaller
// than the page shows it shrunk to fit, with its proportions kept.
BOXRECT LETTERBOX(int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight);

struct PAGEPOINT {
  int32_t X = -1;
  int32_t Y = -1;
  bool INSIDE = false;
  bool operator==(const PAGEPOINT&) const = default;
};

// Maps a pointer position in window coordinates to a page pixel. The window
// may be measured in points while the output has more pixels (HiDPI), so
// both sizes are given. Outside the letter-boxed page: INSIDE false, -1, -1.
PAGEPOINT WINDOWTOPAGE(int32_t windowx, int32_t windowy, int32_t windowwidth, int32_t windowheight,
                       int32_t outputwidth, int32_t outputheight, int32_t pagewidth, int32_t pageheight);

// The mouse buttons between two looks of the game. The game reads the
// buttons only every 10 to 20 ms, and a press and its release can both arrive
// in between (a tap on a touchpad, a click sent by a tool): such a press must
// still be seen once, where it happened, or the click is lost. Only while the
// game is looking at the mouse, though: a click made while it draws an
// animation and reads nothing is not kept for later, just as a key typed then
// is dropped.
struct BUTTONLATCH {
  uint32_t HELD = 0;    // buttons down now
  uint32_t UNSEEN = 0;  // buttons that went down since the last reading
  int32_t PRESSX = 0;   // window position of the first unseen press
  int32_t PRESSY = 0;
  bool READ = false;    // the game has read the buttons at least once
  int64_t READMS = 0;   // when it last did
};

// A press is kept for the game when it read the buttons at most this long
// before the press.
constexpr int64_t BUTTONLISTENMS = 100;

struct BUTTONREADING {
  uint32_t BUTTONS = 0;  // held now or pressed since the last reading
  bool ATPRESS = false;  // the position to use is the press's, not the pointer's
  int32_t X = 0;
  int32_t Y = 0;
};

// Times are milliseconds of one clock that never goes back.
void NOTEBUTTONDOWN(BUTTONLATCH& latch, uint32_t mask, int32_t x, int32_t y, int64_t nowms);
void NOTEBUTTONUP(BUTTONLATCH& latch, uint32_t mask);
// Forgets every button (the window lost the focus; a release may never come).
void CLEARBUTTONS(BUTTONLATCH& latch);
// What the game sees now; the presses it sees are no longer unseen.
BUTTONREADING READBUTTONS(BUTTONLATCH& latch, int64_t nowms);

// The palette (256 red, green, blue bytes) as 0xAARRGGBB words, opaque.
void PALETTETOLOOKUP(const std::uint8_t* palette, std::uint32_t* lookup);
// Turns the page's indices into 32-bit pixels through the lookup table; the
// destination rows are pitch bytes apart.
void CONVERTPAGE(const std::uint8_t* page, int32_t width, int32_t height, const std::uint32_t* lookup,
                 std::uint32_t* out, int32_t pitch);

// The page shown in the box of a 32-bit output (rows pitch bytes apart), each
// output pixel taking the colour of the page pixel under its centre (the one
// WINDOWTOPAGE names for it), so nothing is blurred. Only the output rows that
// show page rows firstrow..lastrow are written; the result is the rectangle
// of the output that was written (empty when none).
BOXRECT SCALEPAGE(const std::uint8_t* page, int32_t pagewidth, int32_t pageheight, const std::uint32_t* lookup,
                  const BOXRECT& box, int32_t firstrow, int32_t lastrow, std::uint32_t* out, int32_t pitch);

struct ROWSPAN {
  int32_t FIRST = 0;
  int32_t LAST = -1;  // LAST < FIRST: no row
  bool EMPTY() const { return LAST < FIRST; }
  bool operator==(const ROWSPAN&) const = default;
};

// The first and last rows in which two pages of the same size differ.
ROWSPAN CHANGEDROWS(const std::uint8_t* before, const std::uint8_t* after, int32_t width, int32_t height);

// The keys the game cares about, named by where they are on the keyboard;
// the window backend turns its own key codes into these.
enum PHYSICALKEY : int32_t {
  PKEY_OTHER = 0,
  PKEY_ROWDIGIT,     // a key of the number row; DIGIT says which
  PKEY_PADDIGIT,     // a digit key of the keypad; DIGIT says which
  PKEY_ENTER,
  PKEY_PADENTER,
  PKEY_ESCAPE,
  PKEY_LEFT,
  PKEY_RIGHT,
  PKEY_UP,
  PKEY_DOWN,
  PKEY_F11,
};

struct KEYPRESS {
  PHYSICALKEY KEY = PKEY_OTHER;
  int32_t DIGIT = 0;  // 0..9 for the two digit kinds
  bool ALT = false;
};

// What the keyboard mapping remembers between events: a digit key queues its
// digit at once, so the character the same press also sends as typed text
// must be dropped.
struct KEYMAPSTATE {
  bool DROPNEXTTEXT = false;
};

struct KEYDOWNRESULT {
  std::vector<std::string> KEYS;
  bool TOGGLEFULLSCREEN = false;
};

// A key going down (or repeating). Letters and signs are not queued here:
// they come from typed text, so the player's layout is respected.
KEYDOWNRESULT MAPKEYDOWN(const KEYPRESS& press, KEYMAPSTATE& state);
// Typed text (UTF-8): every printable ASCII character becomes a key; other
// characters are dropped, since the game compares only ASCII key texts.
std::vector<std::string> MAPTYPEDTEXT(std::string_view text, KEYMAPSTATE& state);
