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

#include "app/startup.h"
#include "core/runtime_error.h"
#include "platform/present_stats.h"
#include "scene/camera.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "surface/input.h"

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

  // The objects of a run, made by the game's start-up, with the play palette.
  GameRun& run = start_up();
  GAMESTATE& game = run.game;
  SCREENDEF& view = run.view;
  Image frame = run.frame;
  Image texture = run.texture;
  MAPPEDFONT& font = run.font;
  PALETTEFORTEXTURE(PLAY_TEXTURE_COLOUR);
  PALETTE0TO15(SCREEN_UI_COLOUR);

  // Three tens laid: the total is 30.
  view.SCALE = PLAY_SCALE;
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
