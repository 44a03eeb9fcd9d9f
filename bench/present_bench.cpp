// The work of one present in the window: the 800 x 600 page turned into
// 32-bit pixels through the palette lookup, at the page's size or scaled
// into windows of several sizes (done for every changed frame); the comparison with the page last shown that finds
// the changed rows; and the lookup rebuilt (done only when the palette
// changed).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/window_layout.h"
#include "surface/surface.h"

namespace {

// A page with every index in use, and the lookup of a grey-ramp palette.
struct TestPage {
  std::vector<std::uint8_t> pixels;
  std::uint32_t lookup[256];
};

TestPage test_page() {
  TestPage t;
  t.pixels.resize(800 * 600);
  for (std::size_t i = 0; i < t.pixels.size(); ++i) t.pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 800);
  std::vector<std::uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i);
  palette_to_lookup(palette.data(), t.lookup);
  return t;
}

}  // namespace

static void BM_PresentConvert(benchmark::State& state) {
  const TestPage t = test_page();
  const std::uint8_t* page = t.pixels.data();
  const std::uint32_t* lookup = t.lookup;
  std::vector<std::uint32_t> out(800 * 600);
  for (auto _ : state) {
    convert_page(page, 800, 600, lookup, out.data(), 800 * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PresentConvert)->Unit(benchmark::kMicrosecond);

// The page scaled into a window of this size, as the window backend does for
// a whole changed page (a camera move changes every row): at once and twice
// the page's size, full screen at 1920 x 1080 and 2560 x 1440 (shown at
// 1440 x 1080 and 1920 x 1440, between whole multiples), a window smaller
// than the page, and 1920 x 1080 with whole multiples only.
static void BM_PresentScale(benchmark::State& state) {
  const auto w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
  const ScaleRule rule = state.range(2) != 0 ? ScaleRule::WHOLE_MULTIPLES : ScaleRule::FILL;
  const TestPage t = test_page();
  const std::uint8_t* page = t.pixels.data();
  const std::uint32_t* lookup = t.lookup;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const BoxRect box = letterbox(w, h, 800, 600, rule);
  for (auto _ : state) {
    scale_page(page, 800, 600, lookup, box, 0, 599, out.data(), w * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PresentScale)
    ->ArgNames({"w", "h", "whole"})
    ->Args({800, 600, 0})
    ->Args({1600, 1200, 0})
    ->Args({1920, 1080, 0})
    ->Args({2560, 1440, 0})
    ->Args({600, 450, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMicrosecond);

// Two pages that differ only in their last row: the whole comparison.
static void BM_ChangedRows(benchmark::State& state) {
  std::vector<std::uint8_t> a(800 * 600, 3), b(800 * 600, 3);
  b[599 * 800 + 400] = 4;
  for (auto _ : state) {
    const RowSpan span = changed_rows(a.data(), b.data(), 800, 600);
    benchmark::DoNotOptimize(span);
  }
}
BENCHMARK(BM_ChangedRows)->Unit(benchmark::kMicrosecond);

static void BM_PaletteLookup(benchmark::State& state) {
  std::vector<std::uint8_t> palette(768, 100);
  std::uint32_t lookup[256];
  for (auto _ : state) {
    palette_to_lookup(palette.data(), lookup);
    benchmark::DoNotOptimize(lookup);
  }
}
BENCHMARK(BM_PaletteLookup);
