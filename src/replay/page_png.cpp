// Paletted PNG files of the page, through libpng.
#include "replay/page_png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct FileCloser {
  std::FILE* f = nullptr;
  ~FileCloser() {
    // Reached with a file only after a failure already reported; the
    // successful write closes the file itself and checks the close.
    if (f != nullptr) std::fclose(f);  // NOLINT(cert-err33-c)
  }
};

// libpng reports errors by a long jump back into the function that set it up;
// these two functions keep no C++ object that needs cleaning up between the
// set-up and a jump.
// With a palette the rows are 8-bit indices; without one they are 8-bit
// red, green, blue and alpha.
bool write_png(std::FILE* f, png_bytep* rows, int32_t width, int32_t height, const std::uint8_t* palette) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {  // NOLINT(cert-err52-cpp): libpng reports errors only by a long jump
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  if (palette == nullptr) {
    // Pictures in colour are written once and kept: as small as deflate makes them.
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
  }
  // Shots are taken often (every end-to-end test writes several) and read
  // back by programs: the fastest deflate level keeps writing a page under a
  // few milliseconds, at files about half as large again as the default
  // level's; a smaller hash table than the default is quicker to set up and
  // to slide, and compresses these pages as well. Paletted rows are stored
  // unfiltered.
  png_set_compression_level(png, 1);
  png_set_compression_mem_level(png, 4);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color entries[256];
  for (int i = 0; i < 256; ++i) {
    entries[i].red = palette[i * 3];
    entries[i].green = palette[i * 3 + 1];
    entries[i].blue = palette[i * 3 + 2];
  }
  png_set_PLTE(png, info, entries, 256);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool read_png(std::FILE* f, PagePng& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {  // NOLINT(cert-err52-cpp): libpng reports errors only by a long jump
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colortype = png_get_color_type(png, info);
  const int bitdepth = png_get_bit_depth(png, info);
  const bool usable = colortype == PNG_COLOR_TYPE_PALETTE && bitdepth == 8 && width > 0 && height > 0 &&
                      width <= 8192 && height <= 8192 && png_get_rowbytes(png, info) == width;
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.color_type = colortype;
  out.bit_depth = bitdepth;
  if (usable) {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count) != 0) {
      out.palette.resize(static_cast<std::size_t>(count) * 3);
      for (int i = 0; i < count; ++i) {
        out.palette[i * 3] = entries[i].red;
        out.palette[i * 3 + 1] = entries[i].green;
        out.palette[i * 3 + 2] = entries[i].blue;
      }
    }
    out.pixels.resize(static_cast<std::size_t>(width) * height);
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, out.pixels.data() + static_cast<std::size_t>(y) * width, nullptr);
    png_read_end(png, nullptr);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return usable;
}

// Writes the rows (each row_bytes long) with the palette, or as red, green,
// blue and alpha when there is none.
bool write_png_file(const std::string& path, const std::uint8_t* pixels, int32_t width, int32_t height,
                    std::size_t row_bytes, const std::uint8_t* palette, std::string& error) {
  if (pixels == nullptr || width < 1 || height < 1) {
    error = "nothing to write";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int32_t y = 0; y < height; ++y)
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * row_bytes);
  FileCloser file;
  file.f = std::fopen(path.c_str(), "wb");
  if (file.f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  if (!write_png(file.f, rows.data(), width, height, palette)) {
    error = "the PNG encoder failed";
    return false;
  }
  const bool closed = std::fclose(file.f) == 0;
  file.f = nullptr;
  if (!closed) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool write_page_png(const std::string& path, const std::uint8_t* pixels, int32_t width, int32_t height,
                  const std::uint8_t* palette, std::string& error) {
  if (palette == nullptr) {
    error = "nothing to write";
    return false;
  }
  return write_png_file(path, pixels, width, height, static_cast<std::size_t>(width), palette, error);
}

bool write_rgba_png(const std::string& path, const std::uint8_t* rgba, int32_t width, int32_t height,
                    std::string& error) {
  return write_png_file(path, rgba, width, height, static_cast<std::size_t>(width) * 4, nullptr, error);
}

PagePng read_page_png(const std::string& path) {
  PagePng out;
  FileCloser file;
  file.f = std::fopen(path.c_str(), "rb");
  if (file.f == nullptr) return out;
  out.ok = read_png(file.f, out);
  if (!out.ok) {
    out.pixels.clear();
    out.palette.clear();
  }
  return out;
}
