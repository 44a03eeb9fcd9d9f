// ranvel-icon: draws the game's icons with the game's own code.
//
//   ranvel-icon OUTDIR         writes OUTDIR/16x16.png ... OUTDIR/256x256.png
//   ranvel-icon --web OUTDIR   writes the web page's icons (WEB_ICONS) into OUTDIR
#include <iostream>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "platform/headless.h"
#include "replay/page_png.h"
#include "tools/icon.h"

namespace {

bool write_icon(const IconPicture& icon, const std::string& path) {
  std::string error;
  if (!write_rgba_png(path, icon.rgba.data(), icon.size, icon.size, error)) {
    std::cerr << "ranvel-icon: " << path << ": " << error << "\n";
    return false;
  }
  std::cout << path << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool web = argc == 3 && std::string_view(argv[1]) == "--web";
  if (argc != 2 && !web) {
    std::cerr << "usage: ranvel-icon [--web] OUTDIR\n";
    return 2;
  }
  const std::string folder = argv[argc - 1];
  // The tool never waits: a wait can only be a run-time error report waiting
  // for a key that no one will press, so it ends the tool instead.
  headless_set_driver([](int64_t) { end_program(1); });
  try {
    prepare_icon_drawing();
    if (web) {
      for (const WebIcon& icon : WEB_ICONS)
        if (!write_icon(draw_web_icon(icon), folder + "/" + icon.name)) return 1;
    } else {
      for (const int32_t size : ICON_SIZES) {
        std::string path = folder + "/";
        path += std::to_string(size);
        path += "x";
        path += std::to_string(size);
        path += ".png";
        if (!write_icon(draw_icon(size), path)) return 1;
      }
    }
  } catch (const ProgramEnd&) {
    return 1;
  }
  return 0;
}
