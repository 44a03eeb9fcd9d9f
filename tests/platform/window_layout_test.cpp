#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/window_layout.h"

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

TEST(WindowMath, LetterBoxShowsTheLargestWholeMultipleCentred) {
  EXPECT_EQ(letterbox(800, 600, 800, 600), (BoxRect{0, 0, 800, 600}));
  EXPECT_EQ(letterbox(1600, 1200, 800, 600), (BoxRect{0, 0, 1600, 1200}));
  EXPECT_EQ(letterbox(2400, 1800, 800, 600), (BoxRect{0, 0, 2400, 1800}));
  // A full-HD screen holds the page once (twice would need 1200 rows).
  EXPECT_EQ(letterbox(1920, 1080, 800, 600), (BoxRect{560, 240, 800, 600}));
  EXPECT_EQ(letterbox(2560, 1440, 800, 600), (BoxRect{480, 120, 1600, 1200}));
  EXPECT_EQ(letterbox(3840, 2160, 800, 600), (BoxRect{720, 180, 2400, 1800}));
  // Bars above and below, or left and right.
  EXPECT_EQ(letterbox(800, 1000, 800, 600), (BoxRect{0, 200, 800, 600}));
  EXPECT_EQ(letterbox(1001, 600, 800, 600), (BoxRect{100, 0, 800, 600}));
  // One pixel short of twice the page in either direction: once, centred,
  // the odd pixel on the right and at the bottom.
  EXPECT_EQ(letterbox(1599, 1200, 800, 600), (BoxRect{399, 300, 800, 600}));
  EXPECT_EQ(letterbox(1600, 1199, 800, 600), (BoxRect{400, 299, 800, 600}));
  EXPECT_EQ(letterbox(801, 601, 800, 600), (BoxRect{0, 0, 800, 600}));
  EXPECT_EQ(letterbox(0, 600, 800, 600), (BoxRect{}));
  EXPECT_EQ(letterbox(800, 600, 0, 600), (BoxRect{}));
}

TEST(WindowMath, LetterBoxShrinksThePageIntoASmallerWindow) {
  // Less than one page: as large as fits, proportions kept.
  EXPECT_EQ(letterbox(400, 300, 800, 600), (BoxRect{0, 0, 400, 300}));
  EXPECT_EQ(letterbox(799, 600, 800, 600), (BoxRect{0, 0, 799, 599}));
  EXPECT_EQ(letterbox(400, 600, 800, 600), (BoxRect{0, 150, 400, 300}));
  EXPECT_EQ(letterbox(1000, 300, 800, 600), (BoxRect{300, 0, 400, 300}));
  EXPECT_EQ(letterbox(1, 1, 800, 600), (BoxRect{0, 0, 1, 1}));
}

TEST(WindowMath, PointerMapsToPagePixelsAtEveryWholeScale) {
  for (int k = 1; k <= 4; ++k) {
    const int w = 800 * k, h = 600 * k;
    for (int x = 0; x < w; x += 7) {
      const PagePoint p = window_to_page(x, 0, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.inside);
      ASSERT_EQ(p.x, x / k) << "scale " << k << " window x " << x;
    }
    // Every window pixel of the last page column and row maps to it.
    for (int i = 0; i < k; ++i) {
      EXPECT_EQ(window_to_page(w - 1 - i, h - 1 - i, w, h, w, h, 800, 600), (PagePoint{799, 599, true}));
      EXPECT_EQ(window_to_page(i, i, w, h, w, h, 800, 600), (PagePoint{0, 0, true}));
    }
    EXPECT_FALSE(window_to_page(w, 10, w, h, w, h, 800, 600).inside);
    EXPECT_FALSE(window_to_page(10, h, w, h, w, h, 800, 600).inside);
    EXPECT_FALSE(window_to_page(-1, 10, w, h, w, h, 800, 600).inside);
  }
}

TEST(WindowMath, PointerOnTheBarsIsOutsideThePage) {
  // 1920 x 1080: the page is 800 x 600 from (560, 240).
  EXPECT_EQ(window_to_page(559, 500, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{-1, -1, false}));
  EXPECT_EQ(window_to_page(700, 239, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{-1, -1, false}));
  EXPECT_EQ(window_to_page(560, 240, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{0, 0, true}));
  EXPECT_EQ(window_to_page(1359, 839, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{799, 599, true}));
  EXPECT_EQ(window_to_page(1360, 500, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{-1, -1, false}));
  EXPECT_EQ(window_to_page(700, 840, 1920, 1080, 1920, 1080, 800, 600), (PagePoint{-1, -1, false}));
  // 2560 x 1440: twice the page from (480, 120); window pixel 480 + 9 is
  // page pixel 4.
  EXPECT_EQ(window_to_page(489, 129, 2560, 1440, 2560, 1440, 800, 600), (PagePoint{4, 4, true}));
}

TEST(WindowMath, HiDpiWindowInPointsOverALargerOutput) {
  // A window of 800 x 600 points drawn on 1600 x 1200 pixels: one point is
  // two pixels, and the pointer still names the page pixel under it.
  EXPECT_EQ(window_to_page(0, 0, 800, 600, 1600, 1200, 800, 600), (PagePoint{0, 0, true}));
  EXPECT_EQ(window_to_page(400, 300, 800, 600, 1600, 1200, 800, 600), (PagePoint{400, 300, true}));
  EXPECT_EQ(window_to_page(799, 599, 800, 600, 1600, 1200, 800, 600), (PagePoint{799, 599, true}));
  // 1000 x 600 points on 2000 x 1200 pixels: bars of 100 points each side.
  EXPECT_FALSE(window_to_page(99, 300, 1000, 600, 2000, 1200, 800, 600).inside);
  EXPECT_EQ(window_to_page(100, 300, 1000, 600, 2000, 1200, 800, 600), (PagePoint{0, 300, true}));
  EXPECT_EQ(window_to_page(899, 300, 1000, 600, 2000, 1200, 800, 600), (PagePoint{799, 300, true}));
  EXPECT_FALSE(window_to_page(900, 300, 1000, 600, 2000, 1200, 800, 600).inside);
  // A window shrunk to half the page: every point covers two page pixels.
  EXPECT_EQ(window_to_page(10, 10, 400, 300, 400, 300, 800, 600), (PagePoint{21, 21, true}));
}

TEST(WindowMath, PointerMapsBackAtLetterBoxedSizesThatAreNoWholeScale) {
  // Window sizes a player gets by dragging the frame: wider, taller, and
  // both a little off the page's proportions.
  const int sizes[][2] = {{1000, 700}, {1023, 767}, {1366, 768}, {850, 1000}, {801, 601}, {2399, 1799}, {600, 500}};
  for (const auto& size : sizes) {
    const int w = size[0], h = size[1];
    const BoxRect box = letterbox(w, h, 800, 600);
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    // When the page is shown at least at its own size, the middle of the
    // window pixels that show page column px maps back to px, and likewise
    // for the rows. (Smaller, some page pixels are not shown at all.)
    for (int px = 0; box.w >= 800 && px < 800; ++px) {
      const int x = box.x + (2 * px + 1) * box.w / 1600;
      const PagePoint p = window_to_page(x, box.y + box.h / 2, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.inside) << "column " << px;
      ASSERT_EQ(p.x, px);
    }
    for (int py = 0; box.h >= 600 && py < 600; ++py) {
      const int y = box.y + (2 * py + 1) * box.h / 1200;
      const PagePoint p = window_to_page(box.x + box.w / 2, y, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.inside) << "row " << py;
      ASSERT_EQ(p.y, py);
    }
    // Across the box the page columns never go back and never skip one
    // when the page is shown larger than itself; the bars are outside.
    int last = -1;
    for (int x = box.x; x < box.x + box.w; ++x) {
      const PagePoint p = window_to_page(x, box.y, w, h, w, h, 800, 600);
      ASSERT_TRUE(p.inside);
      ASSERT_GE(p.x, last);
      if (box.w >= 800) {
        ASSERT_LE(p.x, last + 1);
      }
      last = p.x;
    }
    EXPECT_EQ(last, 799);
    EXPECT_FALSE(window_to_page(box.x - 1, box.y, w, h, w, h, 800, 600).inside);
    EXPECT_FALSE(window_to_page(box.x + box.w, box.y, w, h, w, h, 800, 600).inside);
    EXPECT_FALSE(window_to_page(box.x, box.y - 1, w, h, w, h, 800, 600).inside);
    EXPECT_FALSE(window_to_page(box.x, box.y + box.h, w, h, w, h, 800, 600).inside);
  }
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

// The page under the centre of output pixel i of a box of "shown" pixels.
int32_t page_under(int64_t i, int64_t shown, int64_t page) { return static_cast<int32_t>((2 * i + 1) * page / (2 * shown)); }

struct ScaledOutput {
  std::vector<std::uint8_t> page;
  std::uint32_t lookup[256];
  std::vector<std::uint32_t> out;
  int32_t width, height;  // of the output, in pixels
  int32_t stride;         // pixels per output row (rows may be padded)

  ScaledOutput(int32_t pw, int32_t ph, int32_t ow, int32_t oh) : width(ow), height(oh), stride(ow + 3) {
    page.resize(static_cast<std::size_t>(pw) * ph);
    for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 37 + i / pw * 11);
    for (int i = 0; i < 256; ++i) lookup[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010307);
    out.assign(static_cast<std::size_t>(stride) * oh, 0xDEADBEEFu);
  }
  std::uint32_t at(int32_t x, int32_t y) const { return out[static_cast<std::size_t>(y) * stride + x]; }
};

}  // namespace

TEST(PageScaling, EveryOutputPixelShowsThePagePixelUnderItsCentre) {
  // Whole multiples, a window shrunk below the page, and odd page sizes.
  const int32_t cases[][4] = {{800, 600, 800, 600},  {800, 600, 1600, 1200}, {800, 600, 2400, 1800},
                              {800, 600, 2000, 1500}, {800, 600, 400, 300},   {800, 600, 533, 400},
                              {7, 5, 21, 15},         {7, 5, 13, 9},          {7, 5, 4, 3},
                              {21, 4, 21, 4},         {21, 4, 42, 8},         {21, 4, 84, 16}};
  for (const auto& c : cases) {
    const int32_t pw = c[0], ph = c[1];
    ScaledOutput o(pw, ph, c[2] + 10, c[3] + 4);
    const BoxRect box{6, 1, c[2], c[3]};
    const BoxRect written = scale_page(o.page.data(), pw, ph, o.lookup, box, 0, ph - 1, o.out.data(), o.stride * 4);
    EXPECT_EQ(written, box);
    for (int32_t y = 0; y < o.height; ++y)
      for (int32_t x = 0; x < o.stride; ++x) {
        const bool inside = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
        const std::uint32_t expected =
            inside ? o.lookup[o.page[static_cast<std::size_t>(page_under(y - box.y, box.h, ph)) * pw +
                                     page_under(x - box.x, box.w, pw)]]
                   : 0xDEADBEEFu;
        ASSERT_EQ(o.out[static_cast<std::size_t>(y) * o.stride + x], expected)
            << pw << "x" << ph << " in " << box.w << "x" << box.h << " at " << x << "," << y;
      }
  }
}

TEST(PageScaling, ThePointerNamesThePixelShownUnderIt) {
  // Letter-boxed at twice the size, and shrunk: the page pixel the pointer
  // maps to is the one whose colour is drawn at that window pixel.
  for (const auto& size : {std::pair{1700, 1300}, std::pair{600, 500}}) {
    ScaledOutput o(800, 600, size.first, size.second);
    const BoxRect box = letterbox(o.width, o.height, 800, 600);
    scale_page(o.page.data(), 800, 600, o.lookup, box, 0, 599, o.out.data(), o.stride * 4);
    for (int32_t y = box.y; y < box.y + box.h; y += 3)
      for (int32_t x = box.x; x < box.x + box.w; x += 5) {
        const PagePoint p = window_to_page(x, y, o.width, o.height, o.width, o.height, 800, 600);
        ASSERT_TRUE(p.inside);
        ASSERT_EQ(o.at(x, y), o.lookup[o.page[static_cast<std::size_t>(p.y) * 800 + p.x]]) << x << "," << y;
      }
  }
}

TEST(PageScaling, OnlyTheRowsShowingTheChangedPageRowsAreWritten) {
  ScaledOutput o(800, 600, 1600, 1200);
  const BoxRect box{0, 0, 1600, 1200};
  // Page rows 10..12 are output rows 20..25 at twice the size.
  EXPECT_EQ(scale_page(o.page.data(), 800, 600, o.lookup, box, 10, 12, o.out.data(), o.stride * 4),
            (BoxRect{0, 20, 1600, 6}));
  for (int32_t y = 0; y < 1200; ++y) {
    const bool drawn = y >= 20 && y <= 25;
    EXPECT_EQ(o.at(799, y) != 0xDEADBEEFu, drawn) << y;
  }
  // Rows beyond the page are ignored; nothing left is nothing written.
  EXPECT_EQ(scale_page(o.page.data(), 800, 600, o.lookup, box, 598, 700, o.out.data(), o.stride * 4),
            (BoxRect{0, 1196, 1600, 4}));
  EXPECT_EQ(scale_page(o.page.data(), 800, 600, o.lookup, box, 5, 4, o.out.data(), o.stride * 4), (BoxRect{}));
  EXPECT_EQ(scale_page(o.page.data(), 800, 600, o.lookup, BoxRect{}, 0, 599, o.out.data(), o.stride * 4),
            (BoxRect{}));
  // Shrunk to half: page rows 10..12 lie under output rows 5 (row 11) only.
  ScaledOutput half(800, 600, 400, 300);
  EXPECT_EQ(scale_page(half.page.data(), 800, 600, half.lookup, BoxRect{0, 0, 400, 300}, 10, 12, half.out.data(),
                      half.stride * 4),
            (BoxRect{0, 5, 400, 1}));
  // Output column 0 shows page column 1 (under its centre).
  EXPECT_EQ(half.at(0, 5), half.lookup[half.page[11 * 800 + 1]]);
}
