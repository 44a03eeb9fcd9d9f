// Fuzz target: any bytes as a BMP picture file for BMPTODB.
//
// The input is written to a scratch file and converted. A picture that the
// conversion cannot use must give DataTextError or status -1; whatever the
// header claims, nothing may be read outside the file, and the work and the
// output must stay in proportion to the file (a 65535 x 65535 header on a
// tiny file is rejected before any row is read).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "core/runtime_error.h"
#include "tools/datatext.h"

namespace {

// The scratch files live in memory where possible: creating and deleting a
// file on disk twice per run would make the disk, not the code, the limit.
std::string scratch_dir() {
  const char* dir = std::getenv("TMPDIR");
  if (dir != nullptr && *dir != '\0') return dir;
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return "/tmp";
}

std::string scratch_name(const char* ending) {
  return scratch_dir() + "/ranvel-fuzz-" + std::to_string(getpid()) + ending;
}

const std::string picture = scratch_name(".bmp");
const std::string output = scratch_name(".txt");

void remove_scratch() {
  std::remove(picture.c_str());
  std::remove(output.c_str());
}

long long file_size(const std::string& name) {
  std::ifstream in(name, std::ios::binary | std::ios::ate);
  return in ? static_cast<long long>(in.tellg()) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(remove_scratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(picture, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
  }
  int32_t width = 12345;
  int32_t height = 12345;
  int32_t status = 0;
  try {
    status = BMPTODB(picture, output, width, height);
  } catch (const DataTextError& e) {
    // Refused: the message names the picture and the output says nothing.
    if (e.message.rfind(picture, 0) != 0 && e.message.rfind(output, 0) != 0) std::abort();
    if (width != 0 || height != 0) std::abort();
    return 0;
  } catch (const ProgramEnd&) {
    // A checked index or reference failed inside the conversion.
    std::abort();
  }
  const long long written = file_size(output);
  if (status == -1) {
    if (width != 0 || height != 0 || written != 0) std::abort();
    return 0;
  }
  if (status != 0 || size < 54) std::abort();
  // Every value read comes from the file, and no value takes more than six
  // characters of text per byte ("255, " plus its share of a line start).
  if (written < 0 || written > 6 * static_cast<long long>(size) + 16) std::abort();
  return 0;
}
