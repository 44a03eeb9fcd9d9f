// Data text from BMP pictures and byte runs (developer tools; the game never
// calls them).
#include "tools/datatext.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/runtime_error.h"

namespace {

constexpr std::size_t HEADER_SIZE = 54;

// The fields of the 54-byte BMP header that the conversion reads.
struct BITMAPHEADER {
  uint16_t type = 0x4D42;
  uint32_t file_size = 0;
  uint32_t offset = 54;
  uint32_t info_size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  int16_t bits_per_pixel = 0;
};

uint32_t read_le(const unsigned char* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

BITMAPHEADER parse_header(const unsigned char* b) {
  BITMAPHEADER h;
  h.type = static_cast<uint16_t>(read_le(b + 0, 2));
  h.file_size = read_le(b + 2, 4);
  h.offset = read_le(b + 10, 4);
  h.info_size = read_le(b + 14, 4);
  h.width = static_cast<int32_t>(read_le(b + 18, 4));
  h.height = static_cast<int32_t>(read_le(b + 22, 4));
  h.planes = static_cast<uint16_t>(read_le(b + 26, 2));
  h.bits_per_pixel = static_cast<int16_t>(read_le(b + 28, 2));
  return h;
}

std::string hex_value(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", v);  // NOLINT(cert-err33-c): 32 bits need 11 of the 16 bytes
  return text;
}

// Deletes the output (a missing file is fine) and creates it anew.
std::ofstream create_output(const std::string& output) {
  std::remove(output.c_str());  // NOLINT(cert-err33-c): a missing file is fine; creating it anew is checked
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  if (!out) throw DataTextError{output + ": cannot create the output file"};
  return out;
}

void finish_output(std::ofstream& out, const std::string& output) {
  out.close();
  if (out.fail()) throw DataTextError{output + ": cannot write the output file"};
}

// Row layout of a picture: values per row, bytes per value, directive and
// the stride of a stored row.
struct RowLayout {
  long long values = 0;
  int valuebytes = 1;
  const char* directive = ".byte ";
  long long stride = 0;
};

long long round_up4(long long v) { return (v + 3) / 4 * 4; }

bool row_layout(int bitsperpixel, long long w, RowLayout& l) {
  switch (bitsperpixel) {
    case 1: l = {(w + 7) / 8, 1, ".byte ", round_up4((w + 7) / 8)}; return true;
    case 8: l = {w, 1, ".byte ", round_up4(w)}; return true;
    case 16: l = {w, 2, ".word ", round_up4(2 * w)}; return true;
    case 24: l = {3 * w, 1, ".byte ", round_up4(3 * w)}; return true;
    case 32: l = {w, 4, ".long ", 4 * w}; return true;
    default: return false;
  }
}

}  // namespace

int32_t BMPTODB(const std::string& picture, const std::string& output, int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  std::ifstream in(picture, std::ios::binary);
  if (!in) throw DataTextError{picture + ": cannot open the picture file"};
  in.seekg(0, std::ios::end);
  const long long filesize = static_cast<long long>(in.tellg());
  in.seekg(0, std::ios::beg);
  if (filesize < 0) throw DataTextError{picture + ": cannot read the picture file"};
  std::ofstream out = create_output(output);

  unsigned char raw[HEADER_SIZE];
  if (filesize < static_cast<long long>(HEADER_SIZE))
    throw DataTextError{picture + ": shorter than the 54-byte BMP header (" + std::to_string(filesize) + " bytes)"};
  if (!in.read(reinterpret_cast<char*>(raw), HEADER_SIZE)) throw DataTextError{picture + ": cannot read the picture file"};
  const BITMAPHEADER h = parse_header(raw);

  RowLayout layout;
  if (!row_layout(h.bits_per_pixel, h.width, layout)) {
    finish_output(out, output);
    return -1;
  }
  // The header must describe rows that are really in the file: check it all
  // before reading a row or writing a value.
  if (h.width <= 0)
    throw DataTextError{picture + ": impossible width " + std::to_string(h.width) + " in the header"};
  const long long rows = h.height > 0 ? h.height : 0;  // stored top-down: no rows
  const long long rowbytes = layout.values * layout.valuebytes;
  if (h.offset > filesize)
    throw DataTextError{picture + ": pixel data offset " + std::to_string(h.offset) + " lies beyond the end of the file (" +
                        std::to_string(filesize) + " bytes)"};
  const long long available = filesize - h.offset;
  if (rows > 0 && (available < rowbytes || (available - rowbytes) / layout.stride < rows - 1))
    throw DataTextError{picture + ": the header promises " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                        " pixels at " + std::to_string(h.bits_per_pixel) + " bits from offset " +
                        std::to_string(h.offset) + ", more than the file's " + std::to_string(filesize) +
                        " bytes hold"};

  // The row buffer is sized only for rows the file was checked to hold: a
  // top-down or empty picture reads none, whatever width its header claims.
  std::vector<unsigned char> row(rows > 0 ? static_cast<std::size_t>(rowbytes) : 0);
  std::string text;
  for (long long r = 0; r < rows; ++r) {
    // Rows are stored bottom-up.
    in.seekg(static_cast<std::streamoff>(h.offset + (rows - 1 - r) * layout.stride));
    if (!in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(rowbytes)))
      throw DataTextError{picture + ": cannot read pixel row " + std::to_string(r)};
    text.clear();
    for (long long i = 1; i <= layout.values; ++i) {
      if (i % 16 == 1) text.append("\r\n").append(layout.directive);
      const unsigned char* p = row.data() + (i - 1) * layout.valuebytes;
      if (layout.valuebytes == 1)
        text.append(std::to_string(*p));
      else
        text.append(hex_value(read_le(p, layout.valuebytes)));
      if (i % 16 != 0 && i != layout.values) text.append(", ");
    }
    out << text;
    if (!out) throw DataTextError{output + ": cannot write the output file"};
  }
  finish_output(out, output);
  width = h.width;
  height = h.height;
  return 0;
}

int32_t BINTODB(const std::uint8_t* start, int32_t count, const std::string& output) {
  const std::uint8_t* bytes = check_ref(start);
  std::ofstream out = create_output(output);
  std::string text;
  for (int32_t i = 0; i < count; ++i) {
    if (i % 16 == 0) text.append(" \r\n.byte ");
    text.append(std::to_string(bytes[i]));
    if (i % 16 != 15 && i != count - 1) text.append(", ");
  }
  out << text;
  finish_output(out, output);
  return 0;
}
