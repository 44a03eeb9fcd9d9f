// The stored information texts and their unscrambling.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "assets/fonts.h"
#include "assets/info_texts.h"
#include "core/checked.h"
#include "platform/headless.h"
#include "screens/info_screen.h"
#include "surface/surface.h"

namespace {

// The stored byte that HALFVALUE turns into c at position p, found by search
// so that the test does not share the game's own inverse.
std::uint8_t stored_byte(std::uint8_t c, int p) {
  for (int b = 0; b < 256; ++b)
    if (HALFVALUE(static_cast<std::uint8_t>(b), p) == c) return static_cast<std::uint8_t>(b);
  ADD_FAILURE() << "no stored byte gives " << int(c);
  return 0;
}

std::vector<std::uint8_t> scramble(const std::vector<int>& plain) {
  std::vector<std::uint8_t> out;
  for (std::size_t p = 0; p < plain.size(); ++p)
    out.push_back(stored_byte(static_cast<std::uint8_t>(plain[p]), static_cast<int>(p)));
  return out;
}

std::vector<int> plain_block(const std::vector<std::string>& lines) {
  std::vector<int> plain{static_cast<int>(lines.size()) - 1};
  for (const std::string& l : lines) {
    plain.push_back(static_cast<int>(l.size()));
    for (unsigned char c : l) plain.push_back(c);
  }
  return plain;
}

int small_width(const std::string& s) {
  int w = 0;
  for (unsigned char c : s) w += SMALL_FONT[4 + 3 + (c - 32)];
  return w;
}

struct StoredPage {
  const std::uint8_t* block;
  int32_t count;
  long long reserved;
};

const std::vector<StoredPage> stored_pages{
    {I_NFO1, I_NFO1_COUNT, 17}, {I_NFO2, I_NFO2_COUNT, 13}, {I_NFO3, I_NFO3_COUNT, 14}, {I_NFOEND, I_NFOEND_COUNT, 8}};

std::string joined(const TextList& list) {
  std::string all;
  for (const std::string& l : list) all += l + "\n";
  return all;
}

}  // namespace

TEST(StoredTexts, HalfValueUndoesTheScrambling) {
  EXPECT_EQ(HALFVALUE(10, 4), 3);
  EXPECT_EQ(HALFVALUE(5, 4), 128);   // v = 1 is odd: (1 + 255) / 2
  EXPECT_EQ(HALFVALUE(3, 4), 255);   // v = 255 is odd: (255 + 255) / 2
  EXPECT_EQ(HALFVALUE(0, 0), 0);
  EXPECT_EQ(HALFVALUE(0, 1), 255);   // v = 255 after the wrap-around
  EXPECT_EQ(HALFVALUE(7, 700), HALFVALUE(7, 700 - 256));
  // Every position maps the 256 stored bytes onto all 256 values.
  for (int p : {0, 1, 2, 255, 256, 661}) {
    std::set<int> seen;
    for (int b = 0; b < 256; ++b) seen.insert(HALFVALUE(static_cast<std::uint8_t>(b), p));
    EXPECT_EQ(seen.size(), 256u) << "position " << p;
  }
}

TEST(StoredTexts, DoMoveUnpacksLinesAndResizesTheList) {
  const std::vector<std::string> lines{"Hola", "", "S\\ o no", "\x7F" "Qu]?"};
  const std::vector<std::uint8_t> block = scramble(plain_block(lines));
  TextList list;
  list.resize(17);
  EXPECT_EQ(DOMOVE(block.data(), static_cast<int32_t>(block.size()) - 1, list), 0);
  ASSERT_EQ(list.size(), 4u);
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(list[static_cast<long long>(i)], lines[i]);
}

TEST(StoredTexts, DoMoveStopsAtTheCount) {
  const std::vector<std::uint8_t> block = scramble(plain_block({"abc", "de"}));  // positions 0..7
  TextList list;
  // The count runs out inside the first line: the line keeps blanks for the
  // characters not read, the next line stays empty.
  DOMOVE(block.data(), 3, list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], "ab ");
  EXPECT_EQ(list[1], "");
  DOMOVE(block.data(), 5, list);
  EXPECT_EQ(list[0], "abc");
  EXPECT_EQ(list[1], "  ");
  DOMOVE(block.data(), 6, list);
  EXPECT_EQ(list[1], "d ");
  DOMOVE(block.data(), 7, list);
  EXPECT_EQ(list[1], "de");
  // A length byte at the count itself: no character past the count is read.
  DOMOVE(block.data(), 1, list);
  EXPECT_EQ(list[0], "   ");
  EXPECT_EQ(list[1], "");
}

TEST(StoredTexts, DoMoveNeverReadsPastTheCount) {
  // Four lines announced, but the block ends after two empty ones; the bytes
  // that follow would read as a line of five characters.
  const std::vector<std::uint8_t> bytes = scramble({3, 0, 0, 5, 'x', 'x', 'x', 'x', 'x'});
  const std::vector<std::uint8_t> block(bytes.begin(), bytes.begin() + 3);  // exactly count + 1 bytes
  std::vector<std::uint8_t> tail(bytes);
  TextList list;
  DOMOVE(block.data(), 2, list);
  ASSERT_EQ(list.size(), 4u);
  for (long long i = 0; i < 4; ++i) EXPECT_EQ(list[i], "") << i;
  DOMOVE(tail.data(), 2, list);
  EXPECT_EQ(list[2], "");
}

TEST(StoredTexts, DoMoveWithoutABlockIsANullReference) {
  TextList list;
  if (screen_open()) headless_key(" ");
  EXPECT_THROW(DOMOVE(nullptr, 10, list), ProgramEnd);
  headless_reset();
}

TEST(StoredTexts, EveryPageFitsThePanelAndUsesItsWholeBlock) {
  for (const StoredPage& page : stored_pages) {
    TextList list;
    list.resize(page.reserved);
    ASSERT_EQ(DOMOVE(page.block, page.count, list), 0);
    EXPECT_GE(list.size(), 1u);
    EXPECT_LE(list.size(), 18u);
    // Scrambling the unpacked lines again gives back every stored byte, so
    // the block is exactly count + 1 bytes of lines.
    std::vector<std::string> lines(list.begin(), list.end());
    const std::vector<std::uint8_t> again = scramble(plain_block(lines));
    ASSERT_EQ(again.size(), static_cast<std::size_t>(page.count) + 1);
    for (std::size_t p = 0; p < again.size(); ++p) ASSERT_EQ(again[p], page.block[p]) << "position " << p;
    for (const std::string& line : lines) {
      for (unsigned char c : line) EXPECT_TRUE(c >= 32 && c <= 127) << line;
      // Drawn from x = 40 with the small font, inside the panel's 20-pixel rim.
      EXPECT_LE(40 + small_width(line), 800 - 40) << line;
      EXPECT_TRUE(line.empty() || line.back() != ' ') << "trailing blanks: " << line;
    }
  }
}

TEST(StoredTexts, ThePagesTeachTheGame) {
  std::vector<TextList> pages(4);
  for (std::size_t i = 0; i < 4; ++i) DOMOVE(stored_pages[i].block, stored_pages[i].count, pages[i]);
  const std::string rules = joined(pages[0]);
  const std::string options = joined(pages[1]);
  EXPECT_NE(rules.find("\x7F" "Qui]n llega a 100?"), std::string::npos);
  for (const char* word : {"meta", "empate", "\"Es empate\"", "Esc", "\"Salir\"", "X", "los dos puntos", "el 0"})
    EXPECT_NE(rules.find(word), std::string::npos) << word;
  for (const char* word : {"flecha", "casillas", "J:", "C:", "I:", "Enter", "\"Jugar\"", "Esc"})
    EXPECT_NE(options.find(word), std::string::npos) << word;
  EXPECT_NE(joined(pages[2]).find("11"), std::string::npos);
  EXPECT_NE(joined(pages[3]).find("|Gracias por jugar!"), std::string::npos);
}
