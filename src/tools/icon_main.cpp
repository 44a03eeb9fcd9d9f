// ranvel-icon: draws the game's icons with the game's own code.
//
//   ranvel-icon OUTDIR   writes OUTDIR/16x16.png ... OUTDIR/256x256.png
#include <iostream>
#include <string>

#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "tools/icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: ranvel-icon OUTDIR\n";
    return 2;
  }
  // The tool never waits: a wait can only be a run-time error report waiting
  // for a key that no one will press, so it ends the tool instead.
  headless_set_driver([](int64_t) { end_program(1); });
  try {
    prepare_icon_drawing();
    for (const int32_t size : ICON_SIZES) {
      const IconPicture icon = draw_icon(size);
      const std::string path = std::string(argv[1]) + "/" + std::to_string(size) + "x" + std::to_string(size) + ".png";
      std::string error;
      if (!write_rgba_png(path, icon.rgba.data(), icon.size, icon.size, error)) {
        std::cerr << "ranvel-icon: " << path << ": " << error << "\n";
        return 1;
      }
      std::cout << path << "\n";
    }
  } catch (const ProgramEnd&) {
    return 1;
  }
  return 0;
}
