// Frame costs (the floor, a whole game frame, the options screen's floor) and
// start-up costs (the texture, the sprites, the evaluation), next to a plain 480,000-byte copy measured in
// the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/startup.h"
#include "bench/frame_game.h"
#include "game/evaluation.h"
#include "platform/headless.h"
#include "scene/floor.h"
#include "scene/rods.h"
#include "scene/scene_frame.h"
#include "screens/options_screen.h"
#include "shade/rounded_box.h"

namespace {

// The objects of a run, made once by the game's start-up (on the headless
// backend: no window, a virtual clock), with the play view. Its trace lines
// go to standard error: standard output holds the benchmarks' results only
// (--benchmark_format=json must parse).
GameRun& run() {
  static GameRun& r = [] () -> GameRun& {
    headless_reset();
    GameRun& started = start_up(stderr);
    started.view.SCALE = PLAY_SCALE;
    return started;
  }();
  return r;
}

// One whole floor of the game view (target 100, look-at 50) on this many
// threads with this kernel.
void floor_loop(benchmark::State& bench, int32_t threads, FloorKernel kernel) {
  GameRun& r = run();
  const int32_t previous_threads = set_floor_threads(threads);
  const FloorKernel previous = set_floor_kernel(kernel);
  DEFINESCREEN(50.0, 100, r.view);
  for (auto _ : bench) {
    DRAWBG(r.frame, r.texture, r.font, 100, r.view);
    benchmark::ClobberMemory();
  }
  set_floor_kernel(previous);
  set_floor_threads(previous_threads);
}

void BM_DRAWBG(benchmark::State& bench) {
  floor_loop(bench, static_cast<int32_t>(bench.range(0)), floor_kernel_best());
}
BENCHMARK(BM_DRAWBG)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same floor on one thread with each kernel (0 one pixel at a time,
// 1 AVX2, 2 AVX-512; a kernel the processor lacks falls back to the best it has).
void BM_DRAWBGKernel(benchmark::State& bench) { floor_loop(bench, 1, static_cast<FloorKernel>(bench.range(0))); }
BENCHMARK(BM_DRAWBGKernel)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GameFrame(benchmark::State& bench) {
  GameRun& r = run();
  const GAMESTATE state = frame_game(r.game);
  for (auto _ : bench) {
    draw_scene_frame(r.frame, r.texture, r.font, state, r.view);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_PREPARETEXTURE(benchmark::State& bench) {
  run();
  Image texture = NEWIMAGE(16, 16);
  for (auto _ : bench) {
    PREPARETEXTURE(texture, TEXTURE_WIDTH, TEXTURE_HEIGHT);
    benchmark::ClobberMemory();
  }
  FREEIMAGE(texture);
}
BENCHMARK(BM_PREPARETEXTURE)->Unit(benchmark::kMillisecond);

void BM_OptionsFloor(benchmark::State& bench) {
  GameRun& r = run();
  SCREENDEF view = r.view;
  set_options_camera(view);
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
