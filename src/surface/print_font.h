#pragma once
#include <cstdint>
extern const std::uint8_t PRINTFONT[95][8];
