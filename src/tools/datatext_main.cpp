// ranvel-datatext: the data-text tools from the command line.
//
//   ranvel-datatext bmp PICTURE OUT   pixel rows of a BMP picture; prints its size
//   ranvel-datatext bin FILE OUT      every byte of a file
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "tools/datatext.h"

namespace {

int usage() {
  std::cerr << "usage: ranvel-datatext bmp PICTURE OUT\n"
               "       ranvel-datatext bin FILE OUT\n";
  return 2;
}

int convert_picture(const std::string& picture, const std::string& output) {
  int32_t width = 0, height = 0;
  if (BMPTODB(picture, output, width, height) != 0) {
    std::cerr << "ranvel-datatext: " << picture << ": bits per pixel must be 1, 8, 16, 24 or 32\n";
    return 1;
  }
  std::cout << "width " << width << ", height " << height << "\n";
  return 0;
}

int convert_bytes(const std::string& file, const std::string& output) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw DataTextError{file + ": cannot open the file"};
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw DataTextError{file + ": cannot read the file"};
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
    throw DataTextError{file + ": larger than 2 GiB"};
  static const std::uint8_t nothing = 0;
  BINTODB(bytes.empty() ? &nothing : bytes.data(), static_cast<int32_t>(bytes.size()), output);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  const std::string mode = argv[1];
  try {
    if (mode == "bmp") return convert_picture(argv[2], argv[3]);
    if (mode == "bin") return convert_bytes(argv[2], argv[3]);
  } catch (const DataTextError& e) {
    std::cerr << "ranvel-datatext: " << e.message << "\n";
    return 1;
  } catch (const ProgramEnd&) {
    return 1;
  }
  return usage();
}
