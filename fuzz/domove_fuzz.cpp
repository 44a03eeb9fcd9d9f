// Fuzz target: DOMOVE on any stored block with any count.
//
// DOMOVE may read positions 0..count of its block, so the block handed to it
// is a heap copy of exactly count + 1 bytes (one byte for a count below 1):
// AddressSanitizer then reports any read past the count. The count is chosen
// by the first two input bytes and ranges from negative values to the whole
// block, so blocks whose lines promise far more characters than the count
// allows are common.
//
// Input: byte 0 selects how the count is chosen, byte 1 is a parameter, the
// rest is the block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "core/checked.h"
#include "screens/info_screen.h"

namespace {

// The stored byte that HALFVALUE turns into c at position p: the inverse of
// its shift-and-rotate, written out independently of the game's encoder.
std::uint8_t stored_byte(std::uint8_t c, long long p) {
  const unsigned rotated = ((c << 1) | (c >> 7)) & 255u;
  return static_cast<std::uint8_t>((rotated + static_cast<unsigned long long>(p)) & 255u);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t mode = data[0];
  const std::uint8_t parameter = data[1];
  const std::uint8_t* body = data + 2;
  const long long bodysize = static_cast<long long>(size) - 2;  // at least 1: position 0 is always read

  int32_t count = 0;
  switch (mode % 4) {
    case 0: count = static_cast<int32_t>(bodysize - 1); break;                  // the whole block
    case 1: count = static_cast<int32_t>(parameter % bodysize); break;         // a short count
    case 2: count = -static_cast<int32_t>(parameter); break;                    // zero or negative
    default: count = std::numeric_limits<int32_t>::min() + parameter; break;   // far negative
  }
  const long long blocksize = count >= 1 ? static_cast<long long>(count) + 1 : 1;
  std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[static_cast<std::size_t>(blocksize)]);
  std::memcpy(block.get(), body, static_cast<std::size_t>(blocksize));

  TextList text;
  text.resize(3);
  text[1] = "left from before";
  int32_t result = -1;
  try {
    result = DOMOVE(block.get(), count, text);
  } catch (const ProgramEnd&) {
    std::abort();  // a checked index or reference failed
  }
  if (result != 0) std::abort();

  // The list holds exactly the lines the block announces.
  const long long lines = HALFVALUE(block[0], 0) + 1LL;
  if (static_cast<long long>(text.size()) != lines) std::abort();

  // Re-encoding the lines gives back the block up to the position where the
  // count stopped DOMOVE; characters past it are blanks and later lines empty.
  long long k = 1;
  bool stopped = false;
  for (const std::string& line : text) {
    if (stopped || k > count) {
      if (!line.empty()) std::abort();
      stopped = true;
      continue;
    }
    if (stored_byte(static_cast<std::uint8_t>(line.size()), k) != block[static_cast<std::size_t>(k)]) std::abort();
    ++k;
    if (k > count) stopped = true;  // the length byte was the last one
    for (const char c : line) {
      if (stopped) {
        if (c != ' ') std::abort();
        continue;
      }
      if (stored_byte(static_cast<std::uint8_t>(c), k) != block[static_cast<std::size_t>(k)]) std::abort();
      ++k;
      if (k > count) stopped = true;
    }
  }
  return 0;
}
