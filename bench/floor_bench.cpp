// Frame costs (the floor, a whole game frame, the options screen's floor) and
// start-up costs (the texture, the sprites, the evaluation), next to a plain 480,000-byte copy measured in
// the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "assets/fonts.h"
#include "game/evaluation.h"
#include "game/gamestate.h"
#include "scene/floor.h"
#include "scene/projection.h"
#include "scene/rods.h"
#include "shade/palette.h"
#include "shade/rounded_box.h"
#include "platform/headless.h"
#include "surface/surface.h"
#include "text/mapped_font.h"

namespace {

// The objects of a run, made once as start-up makes them.
struct floor_run {
  Image frame = nullptr;
  Image texture = nullptr;
  MAPPEDFONT font;
  GAMESTATE state;
  SCREENDEF view;

  floor_run() {
    // The benchmarks run on the headless backend: no window, a virtual clock.
    headless_reset();
    SETSCREENMODE(800, 600, 8, 1);
    frame = NEWIMAGE(800, 600);
    texture = NEWIMAGE(16, 16);
    PREPARETEXTURE(texture, 1330, 430);
    font.FONTDATA = DIGIT_FONT;
    INITFONT(font);
    font.LABELHEIGHT = 0.5;
    font.INKCOLOR = 176;
    DEFINENUMBERS(100, font);
    state.LIGHTDIR = POINT3D{0.5, 0.3, std::sqrt(1.0 - 0.5 * 0.5 - 0.3 * 0.3), 0.0};
    build_choice_rods(state.LIGHTDIR);
    MAKEPAL16X16(BASE_COLORS);
    view.CENTERX = 400;
    view.CENTERY = 300;
    view.SCALE = 32.0;
  }
};

floor_run& run() {
  static floor_run r;
  return r;
}

void BM_DRAWBG(benchmark::State& bench) {
  floor_run& r = run();
  const int32_t previous = set_floor_threads(static_cast<int32_t>(bench.range(0)));
  DEFINESCREEN(50.0, 100, r.view);
  for (auto _ : bench) {
    DRAWBG(r.frame, r.texture, r.font, 100, r.view);
    benchmark::ClobberMemory();
  }
  set_floor_threads(previous);
}
BENCHMARK(BM_DRAWBG)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same floor on one thread with each kernel (0 one pixel at a time,
// 1 AVX2, 2 AVX-512; a kernel the processor lacks falls back to the best it has).
void BM_DRAWBGKernel(benchmark::State& bench) {
  floor_run& r = run();
  const int32_t previous_threads = set_floor_threads(1);
  const FloorKernel previous = set_floor_kernel(static_cast<FloorKernel>(bench.range(0)));
  DEFINESCREEN(50.0, 100, r.view);
  for (auto _ : bench) {
    DRAWBG(r.frame, r.texture, r.font, 100, r.view);
    benchmark::ClobberMemory();
  }
  set_floor_kernel(previous);
  set_floor_threads(previous_threads);
}
BENCHMARK(BM_DRAWBGKernel)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GameFrame(benchmark::State& bench) {
  floor_run& r = run();
  GAMESTATE state = r.state;
  state.TARGET = 100;
  // Twenty rods, 60 in all.
  for (int32_t i = 0; i < 20; ++i) {
    const int32_t v = 1 + i % 5;
    LAYROD(v, state, 16 * v);
  }
  for (auto _ : bench) {
    DEFINESCREEN(50.0, state.TARGET, r.view);
    DRAWBG(r.frame, r.texture, r.font, state.TARGET, r.view);
    DRAWNUMBERLINE(r.frame, state.TARGET, r.view, 176);
    DRAWRODS(r.frame, state, r.view);
    BLITIMAGE(screen_page(), 0.0F, 0.0F, r.frame, BLIT_COPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_PREPARETEXTURE(benchmark::State& bench) {
  run();
  Image texture = NEWIMAGE(16, 16);
  for (auto _ : bench) {
    PREPARETEXTURE(texture, 1330, 430);
    benchmark::ClobberMemory();
  }
  FREEIMAGE(texture);
}
BENCHMARK(BM_PREPARETEXTURE)->Unit(benchmark::kMillisecond);

void BM_OptionsFloor(benchmark::State& bench) {
  floor_run& r = run();
  SCREENDEF view = r.view;
  view.ORIGINX = 0.0;
  view.ORIGINY = 0.0;
  view.XAXISX = 1.0;
  view.XAXISY = -0.0001;
  view.YAXISX = 0.2;
  view.YAXISY = 0.9;
  view.SCALE = 24.0;
  for (auto _ : bench) {
    draw_options_floor(r.frame, r.texture, view);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OptionsFloor)->Unit(benchmark::kMillisecond);

void BM_Sprites(benchmark::State& bench) {
  run();
  for (auto _ : bench) {
    make_sprites();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Sprites)->Unit(benchmark::kMillisecond);

void BM_SETUPEVAL(benchmark::State& bench) {
  GAMESTATE state;
  state.TARGET = 100;
  state.VALIDRODS = 0x5FE;  // rods 1..8 and 10
  for (auto _ : bench) {
    benchmark::DoNotOptimize(SETUPEVAL(state));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SETUPEVAL)->Unit(benchmark::kMillisecond);

void BM_Memcpy480K(benchmark::State& bench) {
  std::vector<std::uint8_t> from(480000, 7);
  std::vector<std::uint8_t> to(480000, 0);
  for (auto _ : bench) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Memcpy480K)->Unit(benchmark::kMicrosecond);

}  // namespace
