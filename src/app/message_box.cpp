// The message box: a notice or a yes/no question in a rounded box in the
// middle of the screen, drawn over whatever is shown and taken away again.
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/run_report.h"
#include "assets/fonts.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

constexpr int32_t BOXLEFT = 200;
constexpr int32_t BOXTOP = 150;
constexpr int32_t BOXWIDTH = 400;
constexpr int32_t BOXHEIGHT = 300;
// The colour of the options and play screens' buttons.
constexpr uint32_t SCREENUICOLOUR = 0x40A0FF;

// A button of the box: a dark frame around a light face, and its label.
void draw_answer_button(int32_t left, int32_t right, std::string_view label) {
  DRAWLINE(SCREEN(), static_cast<float>(left), 370, static_cast<float>(right), 410, 176, LINEKIND_FILLEDBOX);
  DRAWLINE(SCREEN(), static_cast<float>(left + 2), 372, static_cast<float>(right - 2), 408, 255,
           LINEKIND_FILLEDBOX);
  CHECKCODE(DRAWTEXT(SCREEN(), static_cast<float>(left + 20), 378, label, SMALLFONT));
}

void drop_waiting_keys() {
  while (!POLLKEY().empty()) {
  }
}

bool inside(int32_t x, int32_t y, int32_t left, int32_t right) {
  return y >= 370 && y <= 410 && x >= left && x <= right;
}

// Waits for the answer: 1 for a yes, 0 for a no or for any answer to a notice.
int32_t wait_for_answer(bool question) {
  for (;;) {
    std::string key;
    MOUSEREADING mouse;
    do {
      WAITMS(20);
      key = POLLKEY();
      mouse = POLLMOUSE();
    } while (key.empty() && mouse.BUTTONS <= 0);

    if (mouse.BUTTONS > 0) {
      // The answer is given where the button went down, once it is up again.
      const int32_t x = mouse.X;
      const int32_t y = mouse.Y;
      while (mouse.BUTTONS > 0) {
        WAITMS(20);
        mouse = POLLMOUSE();
      }
      if (!question) return 0;
      if (inside(x, y, 270, 370)) return 1;
      if (inside(x, y, 430, 530)) return 0;
      continue;
    }

    if (!question) return 0;
    if (key.size() == 1) {
      const char c = key[0];
      if (c == KEYENTER || c == 'S' || c == 's') return 1;
      if (c == KEYESC || c == 'N' || c == 'n') return 0;
    }
  }
}

}  // namespace

int32_t SHOWMESSAGE(const TEXTLIST& lines, uint32_t colour, int32_t kind) {
  IMAGE saved = NEWIMAGE(BOXWIDTH, BOXHEIGHT);
  CHECKCODE(GRABIMAGE(SCREEN(), BOXLEFT, BOXTOP, BOXLEFT + BOXWIDTH - 1, BOXTOP + BOXHEIGHT - 1, saved));
  const SHOWNSCREEN screen_before = SHOWSCREEN(SHOWN_MESSAGE);
  const TEXTLIST* message_before = REPORT.MESSAGE;
  REPORT.MESSAGE = &lines;

  PALETTE0TO15(colour);
  CHECKCODE(BLITIMAGE(SCREEN(), BOXLEFT, BOXTOP, MESSAGEBOX, BLITTRANSPARENT));
  const long long count = lines.UPPER() + 1;
  for (long long i = 0; i < count; ++i) {
    CHECKCODE(DRAWTEXT(SCREEN(), 240, static_cast<float>(260 - 18 * count + 36 * i), lines[i], SMALLFONT));
  }
  // Only the two kinds are used; any other kind is shown as a notice, so that
  // it can always be closed.
  const bool question = kind == MESSAGEQUESTION;
  if (question) {
    draw_answer_button(270, 370, "S\\");
    draw_answer_button(430, 530, "No");
  } else {
    draw_answer_button(340, 460, "Aceptar");
  }

  drop_waiting_keys();
  const int32_t result = wait_for_answer(question);

  CHECKCODE(BLITIMAGE(SCREEN(), BOXLEFT, BOXTOP, saved, BLITCOPY));
  FREEIMAGE(saved);
  PALETTE0TO15(SCREENUICOLOUR);
  REPORT.MESSAGE = message_before;
  SHOWSCREEN(screen_before);
  return result;
}
