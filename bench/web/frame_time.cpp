// The cost of a whole game frame as WebAssembly, with each floor kernel the
// build has: the scene frame with twenty rods laid (as BM_GameFrame measures
// it natively), the floor alone and the options screen's floor. Run in a
// browser by bench/web/web_bench.mjs (or under node); prints one JSON line a
// kernel, then "done".
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/startup.h"
#include "bench/frame_game.h"
#include "platform/headless.h"
#include "scene/floor.h"
#include "scene/rods.h"
#include "scene/scene_frame.h"
#include "screens/options_screen.h"

namespace {

constexpr int FRAMES = 300;

template <class Work>
double median_ms(Work work) {
  for (int i = 0; i < 20; ++i) work();
  std::vector<double> times;
  for (int i = 0; i < FRAMES; ++i) {
    const double t0 = emscripten_get_now();
    work();
    times.push_back(emscripten_get_now() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  // The objects of a run, made by the game's start-up on the headless
  // backend, with the play view.
  headless_reset();
  GameRun& r = start_up();
  r.view.SCALE = PLAY_SCALE;
  const GAMESTATE state = frame_game(r.game);
  SCREENDEF options = r.view;
  set_options_camera(options);

  for (FloorKernel kernel : {FLOOR_KERNEL_PLAIN, FLOOR_KERNEL_WASM128}) {
    if (!floor_kernel_available(kernel)) continue;
    set_floor_kernel(kernel);
    const double frame_ms = median_ms([&] { draw_scene_frame(r.frame, r.texture, r.font, state, r.view); });
    DEFINESCREEN(50.0, 100, r.view);
    const double floor_ms = median_ms([&] { DRAWBG(r.frame, r.texture, r.font, 100, r.view); });
    const double options_ms = median_ms([&] { draw_options_floor(r.frame, r.texture, options); });
    std::printf("{\"kernel\": \"%s\", \"frame_ms\": %.3f, \"floor_ms\": %.3f, \"options_floor_ms\": %.3f}\n",
                kernel == FLOOR_KERNEL_PLAIN ? "plain" : "wasm128", frame_ms, floor_ms, options_ms);
  }
  std::printf("done\n");
  return 0;
}
