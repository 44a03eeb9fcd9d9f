// The message box: a notice or a yes/no question in a rounded box in the
// middle of the screen, drawn over whatever is shown and taken away again.
#include <string>
#include <string_view>

#include "screens/messages.h"
#include "screens/shown_screen.h"
#include "assets/fonts.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

constexpr int32_t BOX_LEFT = 200;
constexpr int32_t BOX_TOP = 150;
constexpr int32_t BOX_WIDTH = 400;
constexpr int32_t BOX_HEIGHT = 300;
// The colour of the options and play screens' buttons.
constexpr uint32_t SCREEN_UI_COLOUR = 0x40A0FF;

// A button of the box: a dark frame around a light face, and its label.
void draw_answer_button(int32_t left, int32_t right, std::string_view label) {
  DRAWLINE(screen_page(), static_cast<float>(left), 370, static_cast<float>(right), 410, 176, LINE_KIND_FILLED_BOX);
  DRAWLINE(screen_page(), static_cast<float>(left + 2), 372, static_cast<float>(right - 2), 408, 255,
           LINE_KIND_FILLED_BOX);
  check_code(DRAWTEXT(screen_page(), static_cast<float>(left + 20), 378, label, SMALL_FONT));
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
    MouseReading mouse;
    do {
      WAITMS(20);
      key = POLLKEY();
      mouse = POLLMOUSE();
    } while (key.empty() && mouse.buttons <= 0);

    if (mouse.buttons > 0) {
      // The answer is given where the button went down, once it is up again.
      const int32_t x = mouse.x;
      const int32_t y = mouse.y;
      while (mouse.buttons > 0) {
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
      if (c == KEY_ENTER || c == 'S' || c == 's') return 1;
      if (c == KEY_ESC || c == 'N' || c == 'n') return 0;
    }
  }
}

}  // namespace

int32_t SHOWMESSAGE(const TextList& lines, uint32_t colour, int32_t kind) {
  Image saved = NEWIMAGE(BOX_WIDTH, BOX_HEIGHT);
  check_code(GRABIMAGE(screen_page(), BOX_LEFT, BOX_TOP, BOX_LEFT + BOX_WIDTH - 1, BOX_TOP + BOX_HEIGHT - 1, saved));
  const ShownScreen screen_before = show_screen(SHOWN_MESSAGE);
  const TextList* message_before = run_report.message;
  run_report.message = &lines;

  PALETTE0TO15(colour);
  check_code(BLITIMAGE(screen_page(), BOX_LEFT, BOX_TOP, MESSAGEBOX, BLIT_TRANSPARENT));
  const long long count = lines.upper() + 1;
  for (long long i = 0; i < count; ++i) {
    check_code(DRAWTEXT(screen_page(), 240, static_cast<float>(260 - 18 * count + 36 * i), lines[i], SMALL_FONT));
  }
  // Only the two kinds are used; any other kind is shown as a notice, so that
  // it can always be closed.
  const bool question = kind == MESSAGE_QUESTION;
  if (question) {
    draw_answer_button(270, 370, "S\\");
    draw_answer_button(430, 530, "No");
  } else {
    draw_answer_button(340, 460, "Aceptar");
  }

  drop_waiting_keys();
  const int32_t result = wait_for_answer(question);

  check_code(BLITIMAGE(screen_page(), BOX_LEFT, BOX_TOP, saved, BLIT_COPY));
  FREEIMAGE(saved);
  PALETTE0TO15(SCREEN_UI_COLOUR);
  run_report.message = message_before;
  show_screen(screen_before);
  return result;
}
