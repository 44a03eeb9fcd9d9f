// The work of one present in the window: the 800 x 600 page turned into
// 32-bit pixels through the palette lookup (done for every changed frame),
// and the lookup rebuilt (done only when the palette changed).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "surface/window_math.h"

static void BM_PresentConvert(benchmark::State& state) {
  std::vector<std::uint8_t> page(800 * 600);
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 7 + i / 800);
  std::vector<std::uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i);
  std::uint32_t lookup[256];
  PALETTETOLOOKUP(palette.data(), lookup);
  std::vector<std::uint32_t> out(800 * 600);
  for (auto _ : state) {
    CONVERTPAGE(page.data(), 800, 600, lookup, out.data(), 800 * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PresentConvert)->Unit(benchmark::kMicrosecond);

static void BM_PaletteLookup(benchmark::State& state) {
  std::vector<std::uint8_t> palette(768, 100);
  std::uint32_t lookup[256];
  for (auto _ : state) {
    PALETTETOLOOKUP(palette.data(), lookup);
    benchmark::DoNotOptimize(lookup);
  }
}
BENCHMARK(BM_PaletteLookup);
