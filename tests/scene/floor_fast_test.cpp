// The game's floor against the floor drawn exactly as its formulas read: the
// same bytes for every view, with every kernel and on one or two threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "assets/fonts.h"
#include "scene/floor.h"
#include "surface/headless.h"
#include "tests/scene/floor_reference.h"
#include "tests/surface/surface_fixture.h"

namespace {

struct fast_rig {
  IMAGE texture = nullptr;
  IMAGE expected = nullptr;
  IMAGE actual = nullptr;
  MAPPEDFONT font;
  fast_rig() {
    OPENTESTSCREEN();
    texture = NEWIMAGE(16, 16);
    PREPARETEXTURE(texture, 1330, 430);
    expected = NEWIMAGE(800, 600);
    actual = NEWIMAGE(800, 600);
    font.FONTDATA = DIGITFONT;
    INITFONT(font);
    font.LABELHEIGHT = 0.5;
    font.INKCOLOR = 176;
    DEFINENUMBERS(100, font);
  }
  ~fast_rig() {
    SETFLOORTHREADS(0);
    SETFLOORKERNEL(FLOORKERNELBEST());
    FREEIMAGE(texture);
    FREEIMAGE(expected);
    FREEIMAGE(actual);
  }
  // The first differing byte, or -1.
  long first_difference() const {
    const std::uint8_t* a = IMAGEINFO(expected).PIXELS;
    const std::uint8_t* b = IMAGEINFO(actual).PIXELS;
    for (long i = 0; i < 800L * 600L; ++i)
      if (a[i] != b[i]) return i;
    return -1;
  }
};

SCREENDEF game_view(double lookat, uint8_t target) {
  SCREENDEF view;
  view.CENTERX = 400;
  view.CENTERY = 300;
  view.SCALE = 32.0;
  DEFINESCREEN(lookat, target, view);
  return view;
}

SCREENDEF options_view() {
  SCREENDEF view;
  view.CENTERX = 400;
  view.CENTERY = 300;
  view.ORIGINX = 0.0;
  view.ORIGINY = 0.0;
  view.XAXISX = 1.0;
  view.XAXISY = -0.0001;
  view.YAXISX = 0.2;
  view.YAXISY = 0.9;
  view.SCALE = 24.0;
  return view;
}

struct game_case {
  uint8_t target;
  double lookat;
};

// The targets from..to, each at the lower end of the camera range, somewhere
// inside it (as an animation frame would be) and at its upper end.
std::vector<game_case> game_cases(int from, int to) {
  std::vector<game_case> cases;
  for (int target = from; target <= to; ++target) {
    const double high = std::max(12.0, target - 12.0);
    for (double f : {0.0, 0.3183098861837907, 1.0})
      cases.push_back({static_cast<uint8_t>(target), 12.0 + (high - 12.0) * f});
  }
  return cases;
}

std::vector<FLOORKERNEL> kernels_here() {
  std::vector<FLOORKERNEL> kernels;
  for (FLOORKERNEL k : {FLOORKERNEL_PLAIN, FLOORKERNEL_AVX2, FLOORKERNEL_AVX512})
    if (k <= FLOORKERNELBEST()) kernels.push_back(k);
  return kernels;
}

// Every kernel the processor has against the floor drawn as the formulas
// read: the one the game uses on one thread and on two, the others on two.
void compare_game_views(int from, int to) {
  fast_rig rig;
  int compared = 0;
  for (const game_case& c : game_cases(from, to)) {
    const SCREENDEF view = game_view(c.lookat, c.target);
    rig.font.LABELX = -1000.0;
    REFERENCEDRAWBG(rig.expected, rig.texture, rig.font, c.target, view);
    const double label_left = rig.font.LABELX;
    for (FLOORKERNEL kernel : kernels_here()) {
      SETFLOORKERNEL(kernel);
      for (int32_t threads : {1, 2}) {
        if (threads == 1 && kernel != FLOORKERNELBEST()) continue;
        SETFLOORTHREADS(threads);
        std::memset(IMAGEINFO(rig.actual).PIXELS, 0x5A, 800 * 600);
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
void compare_other_views(FLOORKERNEL kernel) {
  if (FLOORKERNELBEST() < kernel) GTEST_SKIP() << "the processor lacks this kernel";
  fast_rig rig;
  SETFLOORKERNEL(kernel);
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
    SETFLOORTHREADS(threads);
    for (std::size_t i = 0; i < views.size(); ++i) {
      REFERENCEOPTIONSFLOOR(rig.expected, rig.texture, views[i]);
      std::memset(IMAGEINFO(rig.actual).PIXELS, 0x5A, 800 * 600);
      DRAWOPTIONSFLOOR(rig.actual, rig.texture, views[i]);
      ASSERT_EQ(rig.first_difference(), -1) << "options view " << i << " threads " << threads;
      REFERENCEDRAWBG(rig.expected, rig.texture, rig.font, 100, views[i]);
      DRAWBG(rig.actual, rig.texture, rig.font, 100, views[i]);
      ASSERT_EQ(rig.first_difference(), -1) << "game floor, view " << i << " threads " << threads;
    }
  }
}

}  // namespace

// 273 views in all: every target from 10 to 100 at three camera positions.
TEST(FloorFast, GameViewsTargets10To55) { compare_game_views(10, 55); }
TEST(FloorFast, GameViewsTargets56To100) { compare_game_views(56, 100); }
TEST(FloorFast, OtherViewsPlain) { compare_other_views(FLOORKERNEL_PLAIN); }
TEST(FloorFast, OtherViewsAvx2) { compare_other_views(FLOORKERNEL_AVX2); }
TEST(FloorFast, OtherViewsAvx512) { compare_other_views(FLOORKERNEL_AVX512); }

TEST(FloorFast, BandEdgesAndOddWidths) {
  for (FLOORKERNEL kernel : {FLOORKERNEL_PLAIN, FLOORKERNEL_AVX2, FLOORKERNEL_AVX512}) {
    if (FLOORKERNELBEST() < kernel) continue;
    fast_rig rig;
    SETFLOORKERNEL(kernel);
    // A straight view whose centre row is exactly floor y = -2.0, with a
    // width that is no multiple of 4 or 16 (the vector rows end one pixel
    // at a time).
    SCREENDEF view;
    view.CENTERX = 397;
    view.CENTERY = 300;
    view.SCALE = 32.0;
    view.ORIGINX = 5.0;
    view.ORIGINY = -2.0;
    view.XAXISX = 1.0;
    view.XAXISY = 0.0;
    view.YAXISX = 0.0;
    view.YAXISY = 1.0;
    for (int32_t threads : {1, 2}) {
      SETFLOORTHREADS(threads);
      rig.font.LABELX = -1000.0;
      REFERENCEDRAWBG(rig.expected, rig.texture, rig.font, 100, view);
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
    REFERENCEDRAWBG(rig.expected, rig.texture, rig.font, 100, view);
    DRAWBG(rig.actual, rig.texture, rig.font, 100, view);
    EXPECT_EQ(rig.first_difference(), -1) << "kernel " << kernel;
  }
}

TEST(FloorFast, TexturesTooSmallToSample) {
  fast_rig rig;
  for (auto [w, h] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{2, 2}}) {
    IMAGE tiny = NEWIMAGE(w, h);
    std::memset(IMAGEINFO(tiny).PIXELS, 240, static_cast<std::size_t>(w) * h);
    const SCREENDEF view = game_view(12.0, 100);
    REFERENCEDRAWBG(rig.expected, tiny, rig.font, 100, view);
    DRAWBG(rig.actual, tiny, rig.font, 100, view);
    EXPECT_EQ(rig.first_difference(), -1) << w << "x" << h;
    REFERENCEOPTIONSFLOOR(rig.expected, tiny, options_view());
    DRAWOPTIONSFLOOR(rig.actual, tiny, options_view());
    EXPECT_EQ(rig.first_difference(), -1) << w << "x" << h;
    FREEIMAGE(tiny);
  }
}

TEST(FloorFast, MissingLabelIsReportedFromTheCallingThread) {
  fast_rig rig;
  SETFLOORTHREADS(2);
  // Labels laid out only up to 20, a floor that wants them up to 100: the
  // label table's check fails, on this thread, as drawing pixel by pixel does.
  DEFINENUMBERS(20, rig.font);
  HEADLESSKEY(" ");  // the error report waits for a key
  EXPECT_THROW(DRAWBG(rig.actual, rig.texture, rig.font, 100, game_view(30.0, 100)), PROGRAMEND);
  DEFINENUMBERS(100, rig.font);
}

TEST(FloorFast, NoLabelPaintedWhenNoLabelIsInView) {
  fast_rig rig;
  // With target 10 seen from far along the line, no label is in view and the
  // font record keeps whatever it held.
  const SCREENDEF view = game_view(88.0, 100);
  rig.font.LABELX = 123.0;
  DRAWBG(rig.actual, rig.texture, rig.font, 10, view);
  EXPECT_EQ(rig.font.LABELX, 123.0);
}

TEST(FloorFast, TextureIsTheSameOnAnyNumberOfThreads) {
  OPENTESTSCREEN();
  IMAGE expected = NEWIMAGE(16, 16);
  REFERENCETEXTURE(expected, 1330, 430);
  for (int32_t threads : {1, 2, 3}) {
    SETFLOORTHREADS(threads);
    IMAGE actual = NEWIMAGE(16, 16);
    PREPARETEXTURE(actual, 1330, 430);
    ASSERT_NE(actual, nullptr);
    EXPECT_EQ(std::memcmp(expected, actual, 4 + 1330 * 430), 0) << threads;
    // Small and odd sizes, fewer rows than a chunk.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{33, 17}}) {
      IMAGE small_expected = nullptr;
      IMAGE small_actual = nullptr;
      REFERENCETEXTURE(small_expected, w, h);
      PREPARETEXTURE(small_actual, w, h);
      EXPECT_EQ(std::memcmp(small_expected, small_actual, 4 + static_cast<std::size_t>(w) * h), 0);
      FREEIMAGE(small_expected);
      FREEIMAGE(small_actual);
    }
    FREEIMAGE(actual);
  }
  SETFLOORTHREADS(0);
  FREEIMAGE(expected);
  // A size NEWIMAGE refuses leaves no block, as drawing into no image draws nothing.
  IMAGE none = NEWIMAGE(16, 16);
  PREPARETEXTURE(none, 0, 430);
  EXPECT_EQ(none, nullptr);
}
