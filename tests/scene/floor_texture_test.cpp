#include <gtest/gtest.h>

#include <cmath>

#include "scene/floor.h"
#include "tests/support/screen.h"

namespace {

// A blank 1330 x 430 block, the size of the game's texture.
struct TextureBlock {
  Image image = nullptr;
  ImageInfo info;
  TextureBlock() {
    open_test_screen();
    image = NEWIMAGE(1330, 430);
    info = IMAGEINFO(image);
  }
  ~TextureBlock() { FREEIMAGE(image); }
  void set(int32_t x, int32_t y, std::uint8_t c) { info.pixels[y * info.width + x] = c; }
};

}  // namespace

TEST(FloorTexture, KnownTexels) {
  EXPECT_NEAR(FLOORTEXTURE(0.0, 0.0), 0.53765, 5e-6);
  EXPECT_NEAR(FLOORTEXTURE(0.0, 1.0), 0.40592, 5e-6);
  EXPECT_EQ(std::floor(FLOORTEXTURE(0.0, 0.0) * 40.0) + 216, 237);
  EXPECT_EQ(std::floor(FLOORTEXTURE(0.0, 1.0) * 40.0) + 216, 232);
}

TEST(FloorTexture, PreparedTextureReplacesThePlaceholder) {
  open_test_screen();
  Image texture = NEWIMAGE(16, 16);
  ASSERT_NE(texture, nullptr);
  PREPARETEXTURE(texture, 1330, 430);
  ASSERT_NE(texture, nullptr);
  const ImageInfo info = IMAGEINFO(texture);
  ASSERT_EQ(info.width, 1330);
  ASSERT_EQ(info.height, 430);
  EXPECT_EQ(info.pixels[0], 237);
  EXPECT_EQ(info.pixels[1330], 232);
  int32_t low = 255, high = 0;
  for (int32_t i = 0; i < 1330 * 430; ++i) {
    low = std::min<int32_t>(low, info.pixels[i]);
    high = std::max<int32_t>(high, info.pixels[i]);
  }
  EXPECT_GE(low, 216);
  EXPECT_LE(high, 255);
  // The texture uses most of its 40 steps.
  EXPECT_LE(low, 222);
  EXPECT_GE(high, 250);
  // Every texel is floor(40 r) + 216 of its own coordinates.
  for (int32_t y = 0; y < 430; y += 37)
    for (int32_t x = 0; x < 1330; x += 53)
      ASSERT_EQ(info.pixels[y * 1330 + x], std::floor(FLOORTEXTURE(x, y) * 40.0) + 216) << x << "," << y;
  FREEIMAGE(texture);
}

TEST(FloorTexture, SamplingInsideTheTexture) {
  TextureBlock t;
  t.set(10, 20, 230);
  t.set(11, 20, 240);
  t.set(10, 21, 17);
  t.set(11, 21, 99);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 10.0, 20.0), 230);  // a texel exactly
  EXPECT_EQ(TEXTUREMAP8B(t.image, 11.0, 20.0), 240);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 10.5, 20.0), 235);
  t.set(11, 20, 241);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 10.5, 20.0), 235);  // 235.5 rounds down
  // Downward too: top 235.5, bottom 58, halfway 146.75.
  EXPECT_EQ(TEXTUREMAP8B(t.image, 10.5, 20.5), 146);
  // Falling colours round toward minus infinity as well: 240 -> 230 at 0.25 is 237.5.
  t.set(10, 20, 240);
  t.set(11, 20, 230);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 10.25, 20.0), 237);
}

TEST(FloorTexture, SamplingAtTheEdges) {
  TextureBlock t;
  for (int32_t y = 0; y < 430; ++y)
    for (int32_t x = 0; x < 1330; ++x) t.set(x, y, 200);
  t.set(1329, 5, 240);
  t.set(0, 0, 210);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 0.0, 0.0), 210);
  EXPECT_EQ(TEXTUREMAP8B(t.image, -0.01, 0.0), 0);  // floor gives -1
  EXPECT_EQ(TEXTUREMAP8B(t.image, 0.0, -0.01), 0);
  // Between columns 1328 and 1329: 200 + 40 * 0.99 = 239.6.
  EXPECT_EQ(TEXTUREMAP8B(t.image, 1328.99, 5.0), 239);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 1329.0, 5.0), 0);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 5.0, 428.5), 200);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 5.0, 429.0), 0);
  // Far away or not a number: 0, never a read outside the block.
  EXPECT_EQ(TEXTUREMAP8B(t.image, 1e300, 5.0), 0);
  EXPECT_EQ(TEXTUREMAP8B(t.image, -1e300, 5.0), 0);
  EXPECT_EQ(TEXTUREMAP8B(t.image, std::nan(""), 5.0), 0);
  EXPECT_EQ(TEXTUREMAP8B(t.image, 5.0, std::nan("")), 0);
}

TEST(FloorTexture, SamplingANullTextureIsARuntimeError) {
  open_test_screen();
  headless_key(" ");  // the error report waits for a key
  EXPECT_THROW(TEXTUREMAP8B(nullptr, 1.0, 1.0), ProgramEnd);
}
