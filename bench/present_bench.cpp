// The work of one present in the window: the 800 x 600 page turned into
// 32-bit pixels through the palette lookup, at the page's size (a renderer's
// texture) or scaled into the window at once and twice the size (done for
// every changed frame); the comparison with the page last shown that finds
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

// The page scaled into a window of k times its size, as the window backend
// does for a whole changed page.
static void BM_PresentScale(benchmark::State& state) {
  const int32_t k = static_cast<int32_t>(state.range(0));
  const TestPage t = test_page();
  const std::uint8_t* page = t.pixels.data();
  const std::uint32_t* lookup = t.lookup;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(800 * k) * (600 * k));
  const BoxRect box{0, 0, 800 * k, 600 * k};
  for (auto _ : state) {
    scale_page(page, 800, 600, lookup, box, 0, 599, out.data(), 800 * k * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PresentScale)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

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
