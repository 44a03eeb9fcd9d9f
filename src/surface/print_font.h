#pragma once
#include <cstdint>
extern const std::uint8_t PRINT_FONT[95][8];
