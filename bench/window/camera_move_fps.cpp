// Frames per second of the camera move in a real window: the longest move of
// a game (a 10 laid at total 30, target 100: 2.5 s) replayed several times,
// with the window backend's counters compiled in. Run it under a display,
// e.g. `xvfb-run -s "-screen 0 2560x1600x24" ranvel-window-bench`.
//
// Usage: ranvel-window-bench [surface | opengl | opengles2 | software] [MOVES] [WxH]
// The first argument says how the page reaches the window: through the
// window's own pixels (what the game does) or a renderer of that driver; the
// third the window's size (by default the largest whole multiple of the page
// that fits the screen), e.g. 1920x1080 on a screen of that size for what
// full screen shows.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "assets/fonts.h"
#include "game/gamestate.h"
#include "scene/camera.h"
#include "scene/floor.h"
#include "scene/projection.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "surface/input.h"
#include "platform/present_stats.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

namespace {

double wall_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

int run(const std::string& path, int moves) {
  if (path != "surface") platform_force_renderer(path.c_str());

  // The objects of a run, made as start-up makes them.
  GAMESTATE game;
  SCREENDEF view;
  MAPPEDFONT font;
  game.LIGHTDIR = POINT3D{0.5, 0.3, std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3), 0.0};
  build_choice_rods(game.LIGHTDIR);
  font.FONTDATA = DIGIT_FONT;
  INITFONT(font);
  view.CENTERX = 400;
  view.CENTERY = 300;
  check_code(SETSCREENMODE(800, 600, 8, 1));
  Image frame = NEWIMAGE(800, 600);
  Image texture = NEWIMAGE(16, 16);
  MAKEPAL16X16(BASE_COLORS);
  PREPARETEXTURE(texture, 1330, 430);
  font.LABELHEIGHT = 0.5;
  font.INKCOLOR = 176;
  DEFINENUMBERS(100, font);
  PALETTEFORTEXTURE(0xC0C040);
  PALETTE0TO15(0x40A0FF);

  // Three tens laid: the total is 30.
  view.SCALE = 32.0;
  game.TARGET = 100;
  for (int i = 0; i < 3; ++i) LAYROD(10, game, 160);

  // Let the window appear and settle.
  for (int i = 0; i < 50; ++i) WAITMS(10);

  std::vector<double> fps, convert_ms, show_ms;
  int64_t frames = 0, presents = 0;
  for (int m = 0; m < moves; ++m) {
    GAMESTATE g = game;
    LAYROD(10, g, 160);
    platform_reset_present_stats();
    const double t0 = wall_seconds();
    SHIFTLOOKAT(30, 40, frame, texture, font, g, view);
    const double t1 = wall_seconds();
    const PresentStats s = platform_present_stats();
    fps.push_back(static_cast<double>(s.presents) / (t1 - t0));
    if (s.presents > 0) {
      convert_ms.push_back(1e3 * s.convert_seconds / static_cast<double>(s.presents));
      show_ms.push_back(1e3 * s.show_seconds / static_cast<double>(s.presents));
    }
    frames += s.frames;
    presents += s.presents;
    std::printf("move %d: %.2f s, %lld frames drawn, %lld presents, %.1f presents/s\n", m + 1, t1 - t0,
                static_cast<long long>(s.frames), static_cast<long long>(s.presents), fps.back());
    for (int i = 0; i < 20; ++i) WAITMS(10);
  }
  const PresentStats last = platform_present_stats();
  std::printf("%s%s: median %.1f presents/s; per present: convert %.3f ms, show %.3f ms (medians of %d moves)\n",
              path.c_str(), last.renderer ? " (renderer)" : " (window pixels)", median(fps), median(convert_ms),
              median(show_ms), moves);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "surface";
  const int moves = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  int width = 0, height = 0;
  if (argc > 3 && std::sscanf(argv[3], "%dx%d", &width, &height) != 2) {
    std::fprintf(stderr, "usage: ranvel-window-bench [surface | opengl | opengles2 | software] [MOVES] [WxH]\n");
    return 2;
  }
  if (width > 0 && height > 0) platform_force_window_size(width, height);
  try {
    return run(path, moves);
  } catch (const ProgramEnd& end) {
    std::fprintf(stderr, "ended with code %d\n", end.code);
    return 1;
  }
}
