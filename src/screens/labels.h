// Drawing a marked text of the screen in the chosen language.
#pragma once

#include <string_view>

#include "assets/font_image.h"
#include "assets/fonts.h"
#include "core/runtime_error.h"
#include "surface/surface.h"
#include "text/language.h"
#include "text/screen_rooms.h"

// Draws the text with its top-left at (x, y): Spanish where the game has
// always drawn it, a translation there too, or centred on centre_x when its
// place centres translations (a button's label: the translation may be
// longer or shorter than the Spanish).
template <std::size_t N>
void draw_label(Image target, const ScreenText<N>& label, double x, double y, double centre_x,
                const TextFont& font = SMALL_TEXT_FONT) {
  const std::string_view text = translation(label);
  const ScreenRoom* room = screen_room(label.context);
  // A text with no translation is the Spanish one itself, drawn where it always is.
  const bool translated = text.data() != label.text().data();
  if (translated && room != nullptr && room->centred) x = centre_x - text_width(text, font) / 2;
  check_code(draw_text(target, static_cast<float>(x), static_cast<float>(y), text, font));
}
