// The game's floor against the floor drawn exactly as its formulas read: the
// same bytes for every view, with every kernel and on one or two threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "scene/floor.h"
#include "tests/support/floor_reference.h"
#include "tests/support/run.h"
#include "tests/support/screen.h"

namespace {

// The run's texture and digit font, and two frames to compare.
struct FastRig {
  Image texture = test_run().texture;
  MAPPEDFONT font = test_run().font;
  Image expected = NEWIMAGE(800, 600);
  Image actual = NEWIMAGE(800, 600);
  ~FastRig() {
    set_floor_threads(0);
    set_floor_kernel(floor_kernel_best());
    FREEIMAGE(expected);
    FREEIMAGE(actual);
  }
  // The first differing byte, or -1.
  long first_difference() const {
    const std::uint8_t* a = IMAGEINFO(expected).pixels;
    const std::uint8_t* b = IMAGEINFO(actual).pixels;
    for (long i = 0; i < 800L * 600L; ++i)
      if (a[i] != b[i]) return i;
    return -1;
  }
};

struct GameCase {
  uint8_t target;
  double lookat;
};

// The targets from..to, each at the lower end of the camera range, somewhere
// inside it (as an animation frame would be) and at its upper end.
std::vector<GameCase> game_cases(int from, int to) {
  std::vector<GameCase> cases;
  for (int target = from; target <= to; ++target) {
    const double high = std::max(12.0, target - 12.0);
    for (double f : {0.0, 0.3183098861837907, 1.0})
      cases.push_back({static_cast<uint8_t>(target), 12.0 + (high - 12.0) * f});
  }
  return cases;
}

std::vector<FloorKernel> kernels_here() {
  std::vector<FloorKernel> kernels;
  for (FloorKernel k : {FLOOR_KERNEL_PLAIN, FLOOR_KERNEL_AVX2, FLOOR_KERNEL_AVX512, FLOOR_KERNEL_WASM128})
    if (floor_kernel_available(k)) kernels.push_back(k);
  return kernels;
}

// Every kernel the processor has against the floor drawn as the formulas
// read: the one the game uses on one thread and on two, the others on two.
void compare_game_views(int from, int to) {
  FastRig rig;
  int compared = 0;
  for (const GameCase& c : game_cases(from, to)) {
    const SCREENDEF view = game_view(c.lookat, c.target);
    rig.font.LABELX = -1000.0;
    reference_draw_bg(rig.expected, rig.texture, rig.font, c.target, view);
    const double label_left = rig.font.LABELX;
    for (FloorKernel kernel : kernels_here()) {
      set_floor_kernel(kernel);
      for (int32_t threads : {1, 2}) {
        if (threads == 1 && kernel != floor_kernel_best()) continue;
        set_floor_threads(threads);
        std::memset(IMAGEINFO(rig.actual).pixels, 0x5A, 800 * 600);
        rig.font.LABELX = -1000.0;
        DRAWBG(rig.actual, rig.texture, rig.font, c.target, view);
        ASSERT_EQ(rig.first_difference(), -1) << "target " << int{c.target} << " look-at " << c.lookat
                                               << " kernel " << kernel << " threads " << threads;
        // The font record keeps the label selected last, as drawing row by row leaves it.
        ASSERT_EQ(rig.font.LABELX, label_left) << "target " << int{c.target} << " look-at " << c.lookat;
        ++compared;
      }
    }
  }
  EXPECT_GE(compared, (to - from + 1) * 3 * 2);
}

// The options floor, and other views through the same loop: a scale that is
// not a power of two (divided), far zoomed out (much of the view off the
// texture), and turned the other way round.
void compare_other_views(FloorKernel kernel) {
  if (!floor_kernel_available(kernel)) GTEST_SKIP() << "this build or processor lacks this kernel";
  FastRig rig;
  set_floor_kernel(kernel);
  std::vector<SCREENDEF> views;
  views.push_back(options_view());
  SCREENDEF v = options_view();
  v.ORIGINX = 3.3;
  v.ORIGINY = -1.7;
  views.push_back(v);
  v.SCALE = 4.0;  // most of the frame lies off the texture
  views.push_back(v);
  v.SCALE = 7.3;
  views.push_back(v);
  v = game_view(40.0, 100);
  v.SCALE = 24.0;
  views.push_back(v);
  v = game_view(40.0, 100);
  TURNCOORDS(3.0, 0.8, v);  // facing back
  views.push_back(v);
  for (int32_t threads : {1, 2}) {
    set_floor_threads(threads);
    for (std::size_t i = 0; i < views.size(); ++i) {
      reference_options_floor(rig.expected, rig.texture, views[i]);
      std::memset(IMAGEINFO(rig.actual).pixels, 0x5A, 800 * 600);
      draw_options_floor(rig.actual, rig.texture, views[i]);
      ASSERT_EQ(rig.first_difference(), -1) << "options view " << i << " threads " << threads;
      reference_draw_bg(rig.expected, rig.texture, rig.font, 100, views[i]);
      DRAWBG(rig.actual, rig.texture, rig.font, 100, views[i]);
      ASSERT_EQ(rig.first_difference(), -1) << "game floor, view " << i << " threads " << threads;
    }
  }
}

}  // namespace

// 273 views in all: every target from 10 to 100 at three camera positions.
TEST(FloorFast, GameViewsTargets10To55) { compare_game_views(10, 55); }
TEST(FloorFast, GameViewsTargets56To100) { compare_game_views(56, 100); }
TEST(FloorFast, OtherViewsPlain) { compare_other_views(FLOOR_KERNEL_PLAIN); }
TEST(FloorFast, OtherViewsAvx2) { compare_other_views(FLOOR_KERNEL_AVX2); }
TEST(FloorFast, OtherViewsAvx512) { compare_other_views(FLOOR_KERNEL_AVX512); }
// Built as WebAssembly with -msimd128 (the web build), run under node.
TEST(FloorFast, OtherViewsWasm128) { compare_other_views(FLOOR_KERNEL_WASM128); }

TEST(FloorFast, BandEdgesAndOddWidths) {
  for (FloorKernel kernel : kernels_here()) {
    FastRig rig;
    set_floor_kernel(kernel);
    // A straight view whose centre row is exactly floor y = -2.0, with a
    // width that is no multiple of 4 or 16 (the vector rows end one pixel
    // at a time).
    SCREENDEF view = straight_view(397);
    for (int32_t threads : {1, 2}) {
      set_floor_threads(threads);
      rig.font.LABELX = -1000.0;
      reference_draw_bg(rig.expected, rig.texture, rig.font, 100, view);
      const double label_left = rig.font.LABELX;
      rig.font.LABELX = -1000.0;
      DRAWBG(rig.actual, rig.texture, rig.font, 100, view);
      EXPECT_EQ(rig.first_difference(), -1) << "kernel " << kernel << " threads " << threads;
      EXPECT_EQ(rig.font.LABELX, label_left);
    }
    // Parallel axes: every pixel is the floor origin, as SCREENTOFLOORCOORD leaves it.
    view.CENTERX = 400;
    view.YAXISX = 1.0;
    view.YAXISY = 0.0;
    reference_draw_bg(rig.expected, rig.texture, rig.font, 100, view);
    DRAWBG(rig.actual, rig.texture, rig.font, 100, view);
    EXPECT_EQ(rig.first_difference(), -1) << "kernel " << kernel;
  }
}

TEST(FloorFast, TexturesTooSmallToSample) {
  FastRig rig;
  for (auto [w, h] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{2, 2}}) {
    Image tiny = NEWIMAGE(w, h);
    std::memset(IMAGEINFO(tiny).pixels, 240, static_cast<std::size_t>(w) * h);
    const SCREENDEF view = game_view(12.0, 100);
    reference_draw_bg(rig.expected, tiny, rig.font, 100, view);
    DRAWBG(rig.actual, tiny, rig.font, 100, view);
    EXPECT_EQ(rig.first_difference(), -1) << w << "x" << h;
    reference_options_floor(rig.expected, tiny, options_view());
    draw_options_floor(rig.actual, tiny, options_view());
    EXPECT_EQ(rig.first_difference(), -1) << w << "x" << h;
    FREEIMAGE(tiny);
  }
}

TEST(FloorFast, MissingLabelIsReportedFromTheCallingThread) {
  FastRig rig;
  set_floor_threads(2);
  // Labels laid out only up to 20, a floor that wants them up to 100: the
  // label table's check fails, on this thread, as drawing pixel by pixel does.
  DEFINENUMBERS(20, rig.font);
  headless_key(" ");  // the error report waits for a key
  EXPECT_THROW(DRAWBG(rig.actual, rig.texture, rig.font, 100, game_view(30.0, 100)), ProgramEnd);
  DEFINENUMBERS(100, rig.font);
}

TEST(FloorFast, NoLabelPaintedWhenNoLabelIsInView) {
  FastRig rig;
  // With target 10 seen from far along the line, no label is in view and the
  // font record keeps whatever it held.
  const SCREENDEF view = game_view(88.0, 100);
  rig.font.LABELX = 123.0;
  DRAWBG(rig.actual, rig.texture, rig.font, 10, view);
  EXPECT_EQ(rig.font.LABELX, 123.0);
}

TEST(FloorFast, TextureIsTheSameOnAnyNumberOfThreads) {
  open_test_screen();
  Image expected = NEWIMAGE(16, 16);
  reference_texture(expected, 1330, 430);
  for (int32_t threads : {1, 2, 3}) {
    set_floor_threads(threads);
    Image actual = NEWIMAGE(16, 16);
    PREPARETEXTURE(actual, 1330, 430);
    ASSERT_NE(actual, nullptr);
    EXPECT_EQ(std::memcmp(expected, actual, 4 + 1330 * 430), 0) << threads;
    // Small and odd sizes, fewer rows than a chunk.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{33, 17}}) {
      Image small_expected = nullptr;
      Image small_actual = nullptr;
      reference_texture(small_expected, w, h);
      PREPARETEXTURE(small_actual, w, h);
      EXPECT_EQ(std::memcmp(small_expected, small_actual, 4 + static_cast<std::size_t>(w) * h), 0);
      FREEIMAGE(small_expected);
      FREEIMAGE(small_actual);
    }
    FREEIMAGE(actual);
  }
  set_floor_threads(0);
  FREEIMAGE(expected);
  // A size NEWIMAGE refuses leaves no block, as drawing into no image draws nothing.
  Image none = NEWIMAGE(16, 16);
  PREPARETEXTURE(none, 0, 430);
  EXPECT_EQ(none, nullptr);
}
