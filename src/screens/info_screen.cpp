// The information screen: one text list shown as a full-screen page until
// the player has seen it for the minimum time and answered with a key or a
// click.
#include "screens/info_screen.h"

#include "assets/fonts.h"
#include "screens/shown_screen.h"
#include "shade/rounded_box.h"
#include "sound/sounds.h"
#include "surface/input.h"
#include "surface/surface.h"

int32_t INFOSCREEN(const TextList& text, double minimumseconds) {
  Image screen = screen_page();
  check_code(BLITIMAGE(screen, 0, 0, FULLPANEL, BLIT_TRANSPARENT));
  for (long long i = 0; i <= text.upper(); ++i)
    check_code(draw_text(screen, 40, static_cast<float>(32 * i + 32), text[i], SMALL_TEXT_FONT));
  show_screen(SHOWN_INFO);
  const double shown = CLOCKSECONDS();

  // Wait for a key or a press.
  InputLook look;
  do {
    look = look_at_input(20);
  } while (!look.acted());
  bool clicked = look.mouse.buttons > 0;
  // Hold the page while a button is down or keys keep coming, and at least
  // for the minimum time.
  double released = 0.0;
  for (bool down = clicked;;) {
    look = look_at_input(20);
    if (look.mouse.buttons > 0) {
      down = clicked = true;
    } else if (down) {
      down = false;
      released = CLOCKSECONDS();
    }
    if (!look.acted() && CLOCKSECONDS() > shown + minimumseconds) break;
  }
  if (clicked) ignore_quick_presses(released);
  // The page is turned.
  play_sound(SOUND_CLICK);
  return 0;
}
