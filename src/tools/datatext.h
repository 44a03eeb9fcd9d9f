// Developer tools: turn BMP pictures and byte runs into assembler data text.
#pragma once

#include <cstdint>
#include <string>

// 0 done; -1 bits per pixel not 1, 8, 16, 24 or 32 (width and height set to 0,
// output left empty). A file that cannot be read or written, or that is
// shorter than its header or rows, is reported as an error naming the file.
int32_t BMPTODB(const std::string& picture, const std::string& output, int32_t& width, int32_t& height);
int32_t BINTODB(const std::uint8_t* start, int32_t count, const std::string& output);
