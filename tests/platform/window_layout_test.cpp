#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/window_layout.h"
#include "tests/support/scaled_reference.h"

TEST(WindowMath, StartingScaleIsTheLargestWholeMultipleThatFits) {
  EXPECT_EQ(choose_window_scale(1920, 1040, 800, 600), 1);
  EXPECT_EQ(choose_window_scale(1600, 1200, 800, 600), 2);
  EXPECT_EQ(choose_window_scale(1599, 1200, 800, 600), 1);
  EXPECT_EQ(choose_window_scale(2560, 1600, 800, 600), 2);
  EXPECT_EQ(choose_window_scale(3840, 2160, 800, 600), 3);
  EXPECT_EQ(choose_window_scale(7680, 4320, 800, 600), 7);
  // A desktop smaller than the page still gets the page at 1x.
  EXPECT_EQ(choose_window_scale(640, 480, 800, 600), 1);
  EXPECT_EQ(choose_window_scale(0, 0, 800, 600), 1);
}

TEST(WindowMath, LetterBoxFillsTheWindowAtThePagesProportions) {
  constexpr ScaleRule FILL = ScaleRule::FILL;
  EXPECT_EQ(letterbox(800, 600, 800, 600, FILL), (BoxRect{0, 0, 800, 600}));
  EXPECT_EQ(letterbox(1600, 1200, 800, 600, FILL), (BoxRect{0, 0, 1600, 1200}));
  // Full screen: the height filled, bars left and right.
  EXPECT_EQ(letterbox(1920, 1080, 800, 600, FILL), (BoxRect{240, 0, 1440, 1080}));
  EXPECT_EQ(letterbox(2560, 1440, 800, 600, FILL), (BoxRect{320, 0, 1920, 1440}));
  EXPECT_EQ(letterbox(3840, 2160, 800, 600, FILL), (BoxRect{480, 0, 2880, 2160}));
  // 2560 x 1600: 533 times 4 x 3, the odd pixels on the right and at the bottom.
  EXPECT_EQ(letterbox(2560, 1600, 800, 600, FILL), (BoxRect{214, 0, 2132, 1599}));
  EXPECT_EQ(letterbox(1000, 700, 800, 600, FILL), (BoxRect{34, 0, 932, 699}));
  EXPECT_EQ(letterbox(1023, 767, 800, 600, FILL), (BoxRect{1, 1, 1020, 765}));
  EXPECT_EQ(letterbox(800, 1000, 800, 600, FILL), (BoxRect{0, 200, 800, 600}));
  // Smaller than the page.
  EXPECT_EQ(letterbox(600, 450, 800, 600, FILL), (BoxRect{0, 0, 600, 450}));
  EXPECT_EQ(letterbox(799, 600, 800, 600, FILL), (BoxRect{1, 1, 796, 597}));
  EXPECT_EQ(letterbox(1000, 300, 800, 600, FILL), (BoxRect{300, 0, 400, 300}));
  EXPECT_EQ(letterbox(4, 3, 800, 600, FILL), (BoxRect{0, 0, 4, 3}));
  EXPECT_EQ(letterbox(3, 3, 800, 600, FILL), (BoxRect{}));
  EXPECT_EQ(letterbox(0, 600, 800, 600, FILL), (BoxRect{}));
  EXPECT_EQ(letterbox(800, 600, 0, 600, FILL), (BoxRect{}));
}

TEST(WindowMath, LetterBoxOfWholeMultiplesOnly) {
  constexpr ScaleRule WHOLE = ScaleRule::WHOLE_MULTIPLES;
  EXPECT_EQ(letterbox(1600, 1200, 800, 600, WHOLE), (BoxRect{0, 0, 1600, 1200}));
  // A full-HD screen holds the page once (twice would need 1200 rows).
  EXPECT_EQ(letterbox(1920, 1080, 800, 600, WHOLE), (BoxRect{560, 240, 800, 600}));
  EXPECT_EQ(letterbox(2560, 1440, 800, 600, WHOLE), (BoxRect{480, 120, 1600, 1200}));
  EXPECT_EQ(letterbox(1599, 1200, 800, 600, WHOLE), (BoxRect{399, 300, 800, 600}));
  EXPECT_EQ(letterbox(801, 601, 800, 600, WHOLE), (BoxRect{0, 0, 800, 600}));
  // Below the page's own size, shrunk as with FILL.
  EXPECT_EQ(letterbox(600, 450, 800, 600, WHOLE), (BoxRect{0, 0, 600, 450}));
  EXPECT_EQ(letterbox(799, 600, 800, 600, WHOLE), (BoxRect{1, 1, 796, 597}));
}

TEST(WindowMath, PointerMapsToPagePixelsAtEveryWholeScale) {
  for (int k = 1; k <= 4; ++k) {
    const int w = 800 * k, h = 600 * k;
    for (int x = 0; x < w; x += 7) {
      const PagePoint p = window_to_page(x, 0, w, h, w, h, 800, 600, ScaleRule::FILL);
      ASSERT_TRUE(p.inside);
      ASSERT_EQ(p.x, x / k) << "scale " << k << " window x " << x;
    }
    // Every window pixel of the last page column and row maps to it.
    for (int i = 0; i < k; ++i) {
      EXPECT_EQ(window_to_page(w - 1 - i, h - 1 - i, w, h, w, h, 800, 600, ScaleRule::FILL), (PagePoint{799, 599, true}));
      EXPECT_EQ(window_to_page(i, i, w, h, w, h, 800, 600, ScaleRule::FILL), (PagePoint{0, 0, true}));
    }
    EXPECT_FALSE(window_to_page(w, 10, w, h, w, h, 800, 600, ScaleRule::FILL).inside);
    EXPECT_FALSE(window_to_page(10, h, w, h, w, h, 800, 600, ScaleRule::FILL).inside);
    EXPECT_FALSE(window_to_page(-1, 10, w, h, w, h, 800, 600, ScaleRule::FILL).inside);
  }
}

TEST(WindowMath, PointerAtFractionalScalesAndOnTheBars) {
  auto at = [](int x, int y, int w, int h, ScaleRule rule) { return window_to_page(x, y, w, h, w, h, 800, 600, rule); };
  // 1920 x 1080 filled: the page is 1440 x 1080 from x = 240, so page
  // x = floor((x - 240) * 800 / 1440).
  EXPECT_EQ(at(239, 500, 1920, 1080, ScaleRule::FILL), (PagePoint{-1, -1, false}));
  EXPECT_EQ(at(240, 0, 1920, 1080, ScaleRule::FILL), (PagePoint{0, 0, true}));
  EXPECT_EQ(at(241, 1, 1920, 1080, ScaleRule::FILL), (PagePoint{0, 0, true}));
  EXPECT_EQ(at(242, 2, 1920, 1080, ScaleRule::FILL), (PagePoint{1, 1, true}));
  EXPECT_EQ(at(249, 9, 1920, 1080, ScaleRule::FILL), (PagePoint{5, 5, true}));
  EXPECT_EQ(at(1679, 1079, 1920, 1080, ScaleRule::FILL), (PagePoint{799, 599, true}));
  EXPECT_EQ(at(1680, 500, 1920, 1080, ScaleRule::FILL), (PagePoint{-1, -1, false}));
  EXPECT_EQ(at(700, 1080, 1920, 1080, ScaleRule::FILL), (PagePoint{-1, -1, false}));
  // 600 x 450: each window pixel covers 4/3 of a page pixel.
  EXPECT_EQ(at(3, 2, 600, 450, ScaleRule::FILL), (PagePoint{4, 2, true}));
  EXPECT_EQ(at(599, 449, 600, 450, ScaleRule::FILL), (PagePoint{798, 598, true}));
  // The same 1920 x 1080 with whole multiples only: the page once from
  // (560, 240).
  EXPECT_EQ(at(559, 500, 1920, 1080, ScaleRule::WHOLE_MULTIPLES), (PagePoint{-1, -1, false}));
  EXPECT_EQ(at(560, 240, 1920, 1080, ScaleRule::WHOLE_MULTIPLES), (PagePoint{0, 0, true}));
  EXPECT_EQ(at(1359, 839, 1920, 1080, ScaleRule::WHOLE_MULTIPLES), (PagePoint{799, 599, true}));
  EXPECT_EQ(at(1360, 500, 1920, 1080, ScaleRule::WHOLE_MULTIPLES), (PagePoint{-1, -1, false}));

  // Window sizes a player gets by dragging the frame: across the page the
  // columns never go back, never skip one when the page is shown larger
  // than itself, and end at the last; the bars are outside.
  const int sizes[][2] = {{1000, 700}, {1023, 767}, {1366, 768}, {850, 1000}, {801, 601}, {2399, 1799}, {600, 500}};
  for (const auto& size : sizes) {
    const int w = size[0], h = size[1];
    const BoxRect box = letterbox(w, h, 800, 600, ScaleRule::FILL);
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    int last = -1;
    for (int x = box.x; x < box.x + box.w; ++x) {
      const PagePoint p = at(x, box.y, w, h, ScaleRule::FILL);
      ASSERT_TRUE(p.inside);
      ASSERT_GE(p.x, last);
      if (box.w >= 800) {
        ASSERT_LE(p.x, last + 1);
      }
      last = p.x;
    }
    if (box.w >= 800) {
      EXPECT_EQ(last, 799);
      EXPECT_EQ(at(box.x, box.y + box.h - 1, w, h, ScaleRule::FILL).y, 599);
    }
    EXPECT_FALSE(at(box.x - 1, box.y, w, h, ScaleRule::FILL).inside);
    EXPECT_FALSE(at(box.x + box.w, box.y, w, h, ScaleRule::FILL).inside);
    EXPECT_FALSE(at(box.x, box.y - 1, w, h, ScaleRule::FILL).inside);
    EXPECT_FALSE(at(box.x, box.y + box.h, w, h, ScaleRule::FILL).inside);
  }
}

TEST(WindowMath, HiDpiWindowInPointsOverALargerOutput) {
  auto at = [](int x, int y, int w, int h, int ow, int oh) {
    return window_to_page(x, y, w, h, ow, oh, 800, 600, ScaleRule::FILL);
  };
  // A window of 800 x 600 points drawn on 1600 x 1200 pixels: one point is
  // two pixels, and the pointer still names the page pixel under it.
  EXPECT_EQ(at(0, 0, 800, 600, 1600, 1200), (PagePoint{0, 0, true}));
  EXPECT_EQ(at(400, 300, 800, 600, 1600, 1200), (PagePoint{400, 300, true}));
  EXPECT_EQ(at(799, 599, 800, 600, 1600, 1200), (PagePoint{799, 599, true}));
  // 1000 x 600 points on 2000 x 1200 pixels: bars of 100 points each side.
  EXPECT_FALSE(at(99, 300, 1000, 600, 2000, 1200).inside);
  EXPECT_EQ(at(100, 300, 1000, 600, 2000, 1200), (PagePoint{0, 300, true}));
  EXPECT_EQ(at(899, 300, 1000, 600, 2000, 1200), (PagePoint{799, 300, true}));
  EXPECT_FALSE(at(900, 300, 1000, 600, 2000, 1200).inside);
  // 960 x 540 points full screen on 1920 x 1080 pixels: the page is 1440 x
  // 1080 pixels from pixel 240, point 120; point 125 is pixel 250, page
  // floor(10 * 800 / 1440) = 5.
  EXPECT_FALSE(at(119, 270, 960, 540, 1920, 1080).inside);
  EXPECT_EQ(at(125, 5, 960, 540, 1920, 1080), (PagePoint{5, 5, true}));
  EXPECT_EQ(at(839, 539, 960, 540, 1920, 1080), (PagePoint{798, 598, true}));
  // A window shrunk to half the page: every point covers two page pixels.
  EXPECT_EQ(at(10, 10, 400, 300, 400, 300), (PagePoint{20, 20, true}));
}

TEST(PageConversion, EveryIndexShowsItsPaletteColour) {
  std::uint8_t palette[768];
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = static_cast<std::uint8_t>(i);
    palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
    palette[i * 3 + 2] = static_cast<std::uint8_t>(i ^ 0x5A);
  }
  std::uint32_t lookup[256];
  palette_to_lookup(palette, lookup);
  EXPECT_EQ(lookup[0], 0xFF00FF5Au);
  EXPECT_EQ(lookup[255], 0xFFFF00A5u);
  // A 3 x 2 page into rows padded to 4 pixels; the padding is left alone.
  const std::uint8_t page[6] = {0, 1, 2, 253, 254, 255};
  std::uint32_t out[8];
  for (auto& o : out) o = 0xDEADBEEFu;
  convert_page(page, 3, 2, lookup, out, 16);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(out[i], lookup[page[i]]);
    EXPECT_EQ(out[4 + i], lookup[page[3 + i]]);
  }
  EXPECT_EQ(out[3], 0xDEADBEEFu);
  EXPECT_EQ(out[7], 0xDEADBEEFu);

  // Rows longer than eight pixels, and not a multiple of eight.
  std::uint8_t wide[2 * 21];
  for (int i = 0; i < 42; ++i) wide[i] = static_cast<std::uint8_t>(250 - 7 * i);
  std::uint32_t wideout[2 * 22];
  convert_page(wide, 21, 2, lookup, wideout, 22 * 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 21; ++x) EXPECT_EQ(wideout[y * 22 + x], lookup[wide[y * 21 + x]]) << x << "," << y;
}

namespace {

// A page with every index in use, a palette whose channels differ, and an
// output with padded rows around the box, filled with a colour no pixel has.
constexpr std::uint32_t UNTOUCHED = 0xDEADBEEFu;

struct ScaledOutput {
  int32_t pagewidth, pageheight;
  std::vector<std::uint8_t> page;
  std::uint8_t palette[768];
  std::uint32_t lookup[256];
  BoxRect box;
  int32_t stride;  // pixels per output row
  std::vector<std::uint32_t> out;

  ScaledOutput(int32_t pw, int32_t ph, int32_t bw, int32_t bh)
      : pagewidth(pw), pageheight(ph), box{3, 1, bw, bh}, stride(bw + 5) {
    page.resize(static_cast<std::size_t>(pw) * ph);
    for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 37 + i / pw * 11);
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i * 7 + i / 3);
    palette_to_lookup(palette, lookup);
    out.assign(static_cast<std::size_t>(stride) * (bh + 2), UNTOUCHED);
  }
  BoxRect scale(int32_t first, int32_t last) {
    return scale_page(page.data(), pagewidth, pageheight, lookup, box, first, last, out.data(), stride * 4);
  }
  std::uint32_t at(int32_t x, int32_t y) const { return out[static_cast<std::size_t>(box.y + y) * stride + box.x + x]; }
  // Shown pixel (x, y) as the rules compute it, in the lookup's format.
  std::uint32_t reference(const ReferenceAxis& ax, const ReferenceAxis& ay, int32_t x, int32_t y) const {
    std::uint32_t v = 0xFF000000u;
    for (int c = 0; c < 3; ++c)
      v |= static_cast<std::uint32_t>(reference_channel(page.data(), pagewidth, palette, ax, ay, x, y, c)) << (16 - 8 * c);
    return v;
  }
};

}  // namespace

TEST(PageScaling, EveryShownPixelIsTheReferenceBlendOrAreaMean) {
  // Full screen at 1920 x 1080 and 2560 x 1440, sizes between and below
  // whole multiples, and small pages enlarged, shrunk or both at once.
  const int32_t cases[][4] = {{800, 600, 1440, 1080}, {800, 600, 1920, 1440}, {800, 600, 932, 699},
                              {800, 600, 600, 450},   {800, 600, 212, 159},   {7, 5, 13, 9},
                              {7, 5, 15, 11},         {7, 5, 4, 3},           {7, 5, 16, 3}};
  for (const auto& c : cases) {
    ScaledOutput o(c[0], c[1], c[2], c[3]);
    SCOPED_TRACE(std::to_string(c[0]) + "x" + std::to_string(c[1]) + " in " + std::to_string(c[2]) + "x" +
                 std::to_string(c[3]));
    EXPECT_EQ(o.scale(0, c[1] - 1), o.box);
    const ReferenceAxis ax = reference_axis(c[2], c[0]), ay = reference_axis(c[3], c[1]);
    for (int32_t y = -o.box.y; y < c[3] + 1; ++y)
      for (int32_t x = -o.box.x; x < o.stride - o.box.x; ++x) {
        const bool inside = x >= 0 && x < c[2] && y >= 0 && y < c[3];
        ASSERT_EQ(o.at(x, y), inside ? o.reference(ax, ay, x, y) : UNTOUCHED) << x << "," << y;
      }
  }
}

TEST(PageScaling, WholeMultiplesAreThePageEnlargedUnblurred) {
  for (int32_t k = 1; k <= 3; ++k) {
    ScaledOutput o(800, 600, 800 * k, 600 * k);
    o.scale(0, 599);
    const ReferenceAxis ax = reference_axis(800 * k, 800), ay = reference_axis(600 * k, 600);
    for (int32_t y = 0; y < 600 * k; ++y) {
      ASSERT_EQ(ay.taps[static_cast<std::size_t>(y)].size(), 1u);
      for (int32_t x = 0; x < 800 * k; ++x)
        ASSERT_EQ(o.at(x, y), o.lookup[o.page[static_cast<std::size_t>(y / k) * 800 + x / k]]) << k << ": " << x << "," << y;
    }
    for (const auto& taps : ax.taps) ASSERT_EQ(taps.size(), 1u);
  }
}

TEST(PageScaling, BlendAndAreaMeanRoundHalfUp) {
  // A black and a white page pixel shown three wide (enlarged twice, then
  // reduced): black, their mean 127.5 rounded up, white.
  ScaledOutput two(2, 1, 3, 1);
  two.page = {0, 1};
  two.lookup[0] = 0xFF000000u;
  two.lookup[1] = 0xFFFFFFFFu;
  two.scale(0, 0);
  EXPECT_EQ(two.at(0, 0), 0xFF000000u);
  EXPECT_EQ(two.at(1, 0), 0xFF808080u);
  EXPECT_EQ(two.at(2, 0), 0xFFFFFFFFu);
  // Black, white, black, white shown three wide: pixel 0 is 3/4 black and
  // 1/4 white (63.75), pixel 1 half each, pixel 2 1/4 black and 3/4 white.
  ScaledOutput four(4, 1, 3, 1);
  four.page = {0, 1, 0, 1};
  four.lookup[0] = 0xFF000000u;
  four.lookup[1] = 0xFFFFFFFFu;
  four.scale(0, 0);
  EXPECT_EQ(four.at(0, 0), 0xFF404040u);
  EXPECT_EQ(four.at(1, 0), 0xFF808080u);
  EXPECT_EQ(four.at(2, 0), 0xFFBFBFBFu);
  // Two page rows blended: three rows shown five tall, shown row 1 takes
  // 179/256 of page row 0 and 77/256 of row 1. Black over red 128, green
  // 251: red 77 * 128 / 256 = 38.5 rounds up to 39, green 75.496 down to 75.
  ScaledOutput tall(1, 3, 1, 5);
  tall.page = {0, 1, 1};
  tall.lookup[0] = 0xFF000000u;
  tall.lookup[1] = 0xFF80FB00u;
  tall.scale(0, 2);
  EXPECT_EQ(tall.at(0, 1), 0xFF274B00u);
}

TEST(PageScaling, ThePointerNamesAPixelShownUnderItOrJustBefore) {
  // The pointer takes the page pixel under the window pixel's left (top)
  // edge, the picture samples at its centre: the page pixel named colours
  // the window pixel under the pointer or the one before it, never further.
  for (const auto& size : {std::pair{1920, 1080}, std::pair{1700, 1300}, std::pair{1000, 700}, std::pair{600, 450}}) {
    const BoxRect box = letterbox(size.first, size.second, 800, 600, ScaleRule::FILL);
    for (const bool across : {true, false}) {
      const int32_t shown = across ? box.w : box.h;
      const ReferenceAxis axis = reference_axis(shown, across ? 800 : 600);
      auto shows = [&](int32_t i, int32_t page) {
        if (i < 0) return false;
        for (const ReferenceTap& t : axis.taps[static_cast<std::size_t>(i)])
          if (t.page == page) return true;
        return false;
      };
      for (int32_t i = 0; i < shown; ++i) {
        const PagePoint p = across ? window_to_page(box.x + i, box.y, size.first, size.second, size.first, size.second,
                                                    800, 600, ScaleRule::FILL)
                                   : window_to_page(box.x, box.y + i, size.first, size.second, size.first,
                                                    size.second, 800, 600, ScaleRule::FILL);
        const int32_t named = across ? p.x : p.y;
        ASSERT_TRUE(shows(i, named) || shows(i - 1, named))
            << size.first << "x" << size.second << (across ? " window x " : " window y ") << i << " page " << named;
      }
    }
  }
}

TEST(PageScaling, OnlyTheRowsTakingFromTheChangedPageRowsAreWritten) {
  // Twice the size: page rows 10..12 are output rows 20..25.
  ScaledOutput twice(800, 600, 1600, 1200);
  EXPECT_EQ(twice.scale(10, 12), (BoxRect{3, 21, 1600, 6}));
  EXPECT_EQ(twice.at(799, 19), UNTOUCHED);
  EXPECT_EQ(twice.at(799, 26), UNTOUCHED);
  // Rows beyond the page are ignored; nothing left is nothing written.
  EXPECT_EQ(twice.scale(598, 700), (BoxRect{3, 1197, 1600, 4}));
  EXPECT_EQ(twice.scale(5, 4), (BoxRect{}));

  // Blended (full screen at 1920 x 1080) and area-averaged (600 x 450): for
  // each changed page row, exactly the output rows with a weight from it
  // are written, as they are when the whole page is drawn, and they lie
  // within one row of those the row covers.
  for (const auto& size : {std::pair{1440, 1080}, std::pair{600, 450}}) {
    ScaledOutput whole(800, 600, size.first, size.second);
    whole.scale(0, 599);
    const ReferenceAxis ay = reference_axis(size.second, 600);
    for (int32_t q : {0, 1, 10, 299, 300, 598, 599}) {
      ScaledOutput o(800, 600, size.first, size.second);
      const BoxRect written = o.scale(q, q);
      int32_t top = -1, bottom = -1;
      for (int32_t y = 0; y < size.second; ++y) {
        bool takes = false;
        for (const ReferenceTap& t : ay.taps[static_cast<std::size_t>(y)]) takes = takes || t.page == q;
        ASSERT_EQ(o.at(0, y) != UNTOUCHED, takes) << size.second << " rows, page row " << q << ", output row " << y;
        if (!takes) continue;
        ASSERT_EQ(o.at(size.first - 1, y), whole.at(size.first - 1, y));
        ASSERT_GE(y, q * size.second / 600 - 1);
        ASSERT_LE(y, ((q + 1) * size.second + 599) / 600);
        if (top < 0) top = y;
        bottom = y;
      }
      EXPECT_EQ(written, (BoxRect{3, 1 + top, size.first, bottom - top + 1}));
    }
  }
}
