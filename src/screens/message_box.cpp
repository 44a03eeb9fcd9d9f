// The message box: a notice or a yes/no question in a rounded box in the
// middle of the screen, drawn over whatever is shown and taken away again.
#include "screens/message_box.h"

#include <string>

#include "assets/fonts.h"
#include "screens/labels.h"
#include "screens/layout.h"
#include "screens/shown_screen.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "sound/sounds.h"
#include "surface/input.h"
#include "surface/surface.h"

namespace {

constexpr int32_t BOX_LEFT = 200;
constexpr int32_t BOX_TOP = 150;
constexpr int32_t BOX_WIDTH = 400;
constexpr int32_t BOX_HEIGHT = 300;

// The answer buttons: a question's "Sí" and "No", a notice's "Aceptar". A
// click anywhere closes a notice; a question takes it on its buttons only.
constexpr ScreenBox YES_BOX{270, 370, 370, 410};
constexpr ScreenBox NO_BOX{430, 370, 530, 410};
constexpr ScreenBox ACCEPT_BOX{340, 370, 460, 410};
// TRANSLATORS: the button that answers yes to a question (about 8 letters).
constexpr auto YES_LABEL = screen_text("answer button", "Sí");
// TRANSLATORS: the button that answers no to a question (about 8 letters).
constexpr auto NO_LABEL = screen_text("answer button", "No");
// TRANSLATORS: the button that closes a notice (about 8 letters).
constexpr auto ACCEPT_LABEL = screen_text("answer button", "Aceptar");

// A dark frame around a light face, and the label.
template <std::size_t N>
void draw_answer_button(const ScreenBox& b, const ScreenText<N>& label) {
  const auto f = [](double v) { return static_cast<float>(v); };
  DRAWLINE(screen_page(), f(b.x1), f(b.y1), f(b.x2), f(b.y2), INK_COLOUR, LINE_KIND_FILLED_BOX);
  DRAWLINE(screen_page(), f(b.x1 + 2), f(b.y1 + 2), f(b.x2 - 2), f(b.y2 - 2), PAPER_COLOUR, LINE_KIND_FILLED_BOX);
  draw_label(screen_page(), label, b.x1 + 20, b.y1 + 8, (b.x1 + b.x2 + 1) / 2.0);
}

// Waits for the answer: 1 for a yes, 0 for a no or for any answer to a notice.
int32_t wait_for_answer(bool question) {
  for (;;) {
    InputLook look;
    do {
      look = look_at_input(20);
    } while (!look.acted());

    if (look.mouse.buttons > 0) {
      // The answer is given where the button went down, once it is up again.
      const int32_t x = look.mouse.x;
      const int32_t y = look.mouse.y;
      wait_for_release(look.mouse);
      const bool answered = !question || YES_BOX.contains(x, y) || NO_BOX.contains(x, y);
      if (!answered) continue;
      ignore_quick_presses(CLOCKSECONDS());
      return question && YES_BOX.contains(x, y) ? 1 : 0;
    }

    if (!question) return 0;
    if (look.key.size() == 1) {
      const char c = look.key[0];
      if (c == KEY_ENTER || key_means(look.key, KEY_YES)) return 1;
      if (c == KEY_ESC || key_means(look.key, KEY_NO)) return 0;
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
    check_code(draw_text(screen_page(), 240, static_cast<float>(260 - 18 * count + 36 * i), lines[i], SMALL_TEXT_FONT));
  }
  // Only the two kinds are used; any other kind is shown as a notice, so that
  // it can always be closed.
  const bool question = kind == MESSAGE_QUESTION;
  if (question) {
    draw_answer_button(YES_BOX, YES_LABEL);
    draw_answer_button(NO_BOX, NO_LABEL);
  } else {
    draw_answer_button(ACCEPT_BOX, ACCEPT_LABEL);
  }

  drop_waiting_keys();
  const int32_t result = wait_for_answer(question);
  play_sound(SOUND_CLICK);

  check_code(BLITIMAGE(screen_page(), BOX_LEFT, BOX_TOP, saved, BLIT_COPY));
  FREEIMAGE(saved);
  PALETTE0TO15(SCREEN_UI_COLOUR);
  run_report.message = message_before;
  show_screen(screen_before);
  return result;
}
