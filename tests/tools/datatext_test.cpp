// Data text from BMP pictures and byte runs.
#include "tools/datatext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "core/runtime_error.h"
#include "platform/headless.h"
#include "surface/surface.h"

namespace {

namespace fs = std::filesystem;

// A folder of this test process, removed when the process ends.
struct ScratchDir {
  fs::path dir = fs::temp_directory_path() / ("ranvel-datatext-" + std::to_string(::getpid()));
  ScratchDir() { fs::create_directories(dir); }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

fs::path scratch(const std::string& name) {
  static ScratchDir folder;
  return folder.dir / name;
}

void put_le(std::vector<unsigned char>& b, std::size_t at, long long v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>((v >> (8 * i)) & 255);
}

// A BMP file: the 54-byte header followed (at offset 54) by the stored rows.
std::string write_bmp(const std::string& name, long long width, long long height, int bits,
                      const std::vector<unsigned char>& rows, long long offset = 54) {
  std::vector<unsigned char> b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  put_le(b, 2, static_cast<long long>(54 + rows.size()), 4);
  put_le(b, 10, offset, 4);
  put_le(b, 14, 40, 4);
  put_le(b, 18, width, 4);
  put_le(b, 22, height, 4);
  put_le(b, 26, 1, 2);
  put_le(b, 28, bits, 2);
  b.insert(b.end(), rows.begin(), rows.end());
  const fs::path p = scratch(name);
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return p.string();
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string convert(const std::string& picture, int32_t& width, int32_t& height, int32_t* status = nullptr) {
  const std::string out = scratch("out.txt").string();
  const int32_t s = BMPTODB(picture, out, width, height);
  if (status) *status = s;
  return read_file(out);
}

// The message of the error BMPTODB reports, or "" when it reports none.
std::string error_of(const std::string& picture, const std::string& out = scratch("out.txt").string()) {
  int32_t w = -5, h = -5;
  try {
    BMPTODB(picture, out, w, h);
  } catch (const DataTextError& e) {
    return e.message;
  }
  return "";
}

}  // namespace

TEST(DataText, EightBitRowsSkipTheirPadBytes) {
  // Stored bottom row first, each row padded to 4 bytes with 0xEE.
  const std::string p = write_bmp("8bit.bmp", 3, 2, 8, {7, 8, 9, 0xEE, 1, 2, 3, 0xEE});
  int32_t w = 0, h = 0, status = 1;
  EXPECT_EQ(convert(p, w, h, &status), "\r\n.byte 1, 2, 3\r\n.byte 7, 8, 9");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
}

TEST(DataText, OneBitRowsHoldEightPixelsPerByte) {
  // 20 pixels: 3 values per row, stride 4.
  const std::string p = write_bmp("1bit.bmp", 20, 2, 1, {0x0F, 0x00, 0xF0, 0xEE, 0xAA, 0x55, 0xF0, 0xEE});
  int32_t w = 0, h = 0;
  EXPECT_EQ(convert(p, w, h), "\r\n.byte 170, 85, 240\r\n.byte 15, 0, 240");
}

TEST(DataText, SixteenAndThirtyTwoBitValuesAreHex) {
  int32_t w = 0, h = 0;
  const std::string p16 = write_bmp("16bit.bmp", 3, 1, 16, {0xFF, 0x7F, 0x00, 0x00, 0x34, 0x12, 0xEE, 0xEE});
  EXPECT_EQ(convert(p16, w, h), "\r\n.word 0x7FFF, 0x0, 0x1234");
  const std::string p32 = write_bmp("32bit.bmp", 2, 1, 32, {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(convert(p32, w, h), "\r\n.long 0x12345678, 0xFFFFFFFF");
}

TEST(DataText, LongRowsBreakAfterSixteenValues) {
  // 24 bits, 6 pixels: 18 values, stride 20.
  std::vector<unsigned char> row;
  for (int i = 0; i < 18; ++i) row.push_back(static_cast<unsigned char>(i + 100));
  row.push_back(0xEE);
  row.push_back(0xEE);
  const std::string p = write_bmp("24bit.bmp", 6, 1, 24, row);
  int32_t w = 0, h = 0;
  EXPECT_EQ(convert(p, w, h),
            "\r\n.byte 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115"
            "\r\n.byte 116, 117");
}

TEST(DataText, UnsupportedDepthLeavesTheOutputEmpty) {
  const std::string out = scratch("old.txt").string();
  std::ofstream(out) << "old contents";
  const std::string p = write_bmp("4bit.bmp", 4, 1, 4, {0x12, 0x34, 0, 0});
  int32_t w = -1, h = -1;
  EXPECT_EQ(BMPTODB(p, out, w, h), -1);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_TRUE(fs::exists(out));
  EXPECT_EQ(read_file(out), "");
}

TEST(DataText, TopDownPictureWritesNoRows) {
  const std::string p = write_bmp("topdown.bmp", 3, -2, 8, {1, 2, 3, 0, 4, 5, 6, 0});
  int32_t w = 0, h = 0, status = 1;
  EXPECT_EQ(convert(p, w, h, &status), "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, -2);
}

TEST(DataText, PictureWithoutRowsNeedsNoRowBuffer) {
  // A top-down or empty picture reads no rows, so the width in its header
  // (here 8 GiB of row at 32 bits) must not be allocated either.
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  for (const long long height : {-1LL, 0LL, -2147483647LL - 1}) {
    const std::string p = write_bmp("widenorows.bmp", 2147483647, height, 32, {1, 2, 3, 4});
    int32_t w = 0, h = 0, status = 1;
    EXPECT_EQ(convert(p, w, h, &status), "") << height;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(w, 2147483647);
    EXPECT_EQ(h, height);
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "peak memory grew (KiB)";
}

TEST(DataText, MalformedPicturesAreReportedWithTheirName) {
  // Shorter than the header.
  const fs::path tiny = scratch("tiny.bmp");
  std::ofstream(tiny, std::ios::binary) << "BM123";
  std::string m = error_of(tiny.string());
  EXPECT_NE(m.find("tiny.bmp"), std::string::npos) << m;
  EXPECT_NE(m.find("header"), std::string::npos) << m;
  // Sizes the file cannot hold: nothing is allocated for them, nothing read.
  for (const auto& [name, width, height, bits] :
       {std::tuple{"huge.bmp", 65535, 65535, 24}, std::tuple{"huge32.bmp", 2147483647, 2147483647, 32},
        std::tuple{"onebyteshort.bmp", 3, 3, 8}}) {
    // 3 x 3 at 8 bits needs 4 + 4 + 3 bytes of rows (the last row's padding
    // may be missing); there are 10.
    const std::string p = write_bmp(name, width, height, bits, std::vector<unsigned char>(10, 1));
    m = error_of(p);
    EXPECT_NE(m.find(name), std::string::npos) << m;
  }
  for (const auto& [name, width] : {std::pair{"zerowidth.bmp", 0}, std::pair{"negwidth.bmp", -3}}) {
    const std::string p = write_bmp(name, width, 1, 8, {1, 2, 3, 4});
    m = error_of(p);
    EXPECT_NE(m.find(name), std::string::npos) << m;
    EXPECT_NE(m.find("width"), std::string::npos) << m;
  }
  const std::string far = write_bmp("offset.bmp", 1, 1, 8, {1, 0, 0, 0}, 4000000000LL);
  m = error_of(far);
  EXPECT_NE(m.find("offset.bmp"), std::string::npos) << m;
  const std::string past = write_bmp("offsetend.bmp", 4, 1, 8, {1, 2, 3, 4}, 56);
  EXPECT_NE(error_of(past).find("offsetend.bmp"), std::string::npos);
  // The same rows with the last pad bytes missing are complete.
  int32_t w = 0, h = 0;
  EXPECT_EQ(convert(write_bmp("nopad.bmp", 3, 2, 8, {7, 8, 9, 0, 1, 2, 3}), w, h), "\r\n.byte 1, 2, 3\r\n.byte 7, 8, 9");
  // A good picture converts after all that.
  EXPECT_EQ(convert(write_bmp("ok.bmp", 1, 1, 8, {9, 0, 0, 0}), w, h), "\r\n.byte 9");
}

TEST(DataText, MissingAndUnwritableFilesAreReported) {
  std::string m = error_of(scratch("no-such-picture.bmp").string());
  EXPECT_NE(m.find("no-such-picture.bmp"), std::string::npos) << m;
  const std::string p = write_bmp("fine.bmp", 1, 1, 8, {9, 0, 0, 0});
  m = error_of(p, "/nonexistent-folder/out.txt");
  EXPECT_NE(m.find("/nonexistent-folder/out.txt"), std::string::npos) << m;
  const std::uint8_t byte = 1;
  try {
    BINTODB(&byte, 1, "/nonexistent-folder/bytes.txt");
    ADD_FAILURE() << "no error for an unwritable output";
  } catch (const DataTextError& e) {
    EXPECT_NE(e.message.find("/nonexistent-folder/bytes.txt"), std::string::npos);
  }
}

TEST(DataText, ByteRunsInGroupsOfSixteen) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 17; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 15));
  const std::string out = scratch("bytes.txt").string();
  std::ofstream(out) << "old contents";
  EXPECT_EQ(BINTODB(bytes.data(), 0, out), 0);
  EXPECT_EQ(read_file(out), "");
  BINTODB(bytes.data(), 16, out);
  const std::string sixteen =
      " \r\n.byte 0, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 165, 180, 195, 210, 225";
  EXPECT_EQ(read_file(out), sixteen);
  BINTODB(bytes.data(), 17, out);
  EXPECT_EQ(read_file(out), sixteen + " \r\n.byte 240");
  BINTODB(bytes.data(), 2, out);
  EXPECT_EQ(read_file(out), " \r\n.byte 0, 15");
}

TEST(DataText, ByteRunWithoutAStartIsANullReference) {
  if (screen_open()) headless_key(" ");
  EXPECT_THROW(BINTODB(nullptr, 4, scratch("null.txt").string()), ProgramEnd);
  headless_reset();
}

#ifdef RANVEL_DATATEXT_BIN
TEST(DataText, CommandLineToolPrintsTheSizeAndReportsErrors) {
  const std::string p = write_bmp("cli.bmp", 3, 2, 8, {7, 8, 9, 0, 1, 2, 3, 0});
  const std::string out = scratch("cli.txt").string();
  const std::string log = scratch("cli.log").string();
  const std::string tool = RANVEL_DATATEXT_BIN;
  EXPECT_EQ(std::system((tool + " bmp " + p + " " + out + " > " + log + " 2>&1").c_str()), 0);
  EXPECT_EQ(read_file(log), "width 3, height 2\n");
  EXPECT_EQ(read_file(out), "\r\n.byte 1, 2, 3\r\n.byte 7, 8, 9");
  EXPECT_EQ(std::system((tool + " bin " + p + " " + out + " > " + log + " 2>&1").c_str()), 0);
  EXPECT_EQ(read_file(out).substr(0, 20), " \r\n.byte 66, 77, 62,");
  const std::string bad = write_bmp("cli-bad.bmp", 65535, 65535, 8, {1});
  EXPECT_NE(std::system((tool + " bmp " + bad + " " + out + " > " + log + " 2>&1").c_str()), 0);
  EXPECT_NE(read_file(log).find("cli-bad.bmp"), std::string::npos) << read_file(log);
  EXPECT_NE(std::system((tool + " bmp > " + log + " 2>&1").c_str()), 0);
}
#endif
