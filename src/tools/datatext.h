// Developer tools: turn BMP pictures and byte runs into assembler data text.
//
// The text is lines of ".byte ", ".word " or ".long " directives with up to
// sixteen values each, lines ending in CR LF; bytes are written in decimal,
// 16- and 32-bit values as upper-case hexadecimal ("0x0", "0x7FFF").
#pragma once

#include <cstdint>
#include <string>

// A file that cannot be read or written, or a picture whose header does not
// match its contents (too short, impossible sizes, rows beyond the end of the
// file). The message names the file.
struct DataTextError {
  std::string message;
};

// Writes the pixel rows of a BMP picture, top row first. 0 done; -1 bits per
// pixel not 1, 8, 16, 24 or 32 (width and height set to 0, output left
// empty). Throws DataTextError as described above; the picture is checked
// before anything is written, so the output is then left empty too.
int32_t BMPTODB(const std::string& picture, const std::string& output, int32_t& width, int32_t& height);
// Writes count bytes from start as ".byte " lines; returns 0. A null start is
// a null reference (run-time error 7); a file that cannot be written throws
// DataTextError.
int32_t BINTODB(const std::uint8_t* start, int32_t count, const std::string& output);
