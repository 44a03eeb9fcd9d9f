// The plain fixed-width text output of the error report.
#include <cstdio>
#include <string>

#include "surface/print_font.h"
#include "surface/surface.h"

namespace {

constexpr int32_t CELL = 8;       // glyph cell in font pixels
constexpr int32_t ZOOM = 2;       // each font pixel is 2 x 2 screen pixels
constexpr int32_t LEFT = 8;       // where lines start

int32_t cursor_x = LEFT;
int32_t cursor_y = 8;
int32_t foreground = 255;
int32_t background = 0;

void put_char(Image screen, unsigned char ch) {
  const ImageInfo info = IMAGEINFO(screen);
  const int32_t step = CELL * ZOOM;
  if (cursor_x + step > info.width) {
    cursor_x = LEFT;
    cursor_y += step;
  }
  const std::uint8_t* rows = (ch >= 32 && ch <= 126) ? PRINT_FONT[ch - 32] : PRINT_FONT['?' - 32];
  for (int32_t r = 0; r < CELL; ++r)
    for (int32_t c = 0; c < CELL; ++c) {
      const bool ink = (rows[r] >> (7 - c)) & 1;
      DRAWLINE(screen, static_cast<float>(cursor_x + c * ZOOM), static_cast<float>(cursor_y + r * ZOOM),
               static_cast<float>(cursor_x + c * ZOOM + ZOOM - 1), static_cast<float>(cursor_y + r * ZOOM + ZOOM - 1),
               ink ? foreground : background, LINE_KIND_FILLED_BOX);
    }
  cursor_x += step;
}

}  // namespace

void SETTEXTCOLORS(int32_t fg, int32_t bg) {
  foreground = fg & 255;
  background = bg & 255;
}

void PRINTTEXT(std::string_view text, bool endofline) {
  Image screen = screen_page();
  if (screen == nullptr) {
    std::fwrite(text.data(), 1, text.size(), stdout);  // NOLINT(cert-err33-c): a console write has no remedy
    if (endofline) std::fputc('\n', stdout);
    std::fflush(stdout);
    return;
  }
  for (unsigned char ch : text) put_char(screen, ch);
  if (endofline) {
    cursor_x = LEFT;
    cursor_y += CELL * ZOOM;
  }
}

void PRINTTEXT(long long number, bool endofline) {
  // Built by appending: g++ 12 warns falsely about " " + std::to_string().
  std::string text;
  if (number >= 0) text.push_back(' ');
  text.append(std::to_string(number));
  PRINTTEXT(std::string_view(text), endofline);
}
