// The four stored text blocks: three information pages and the closing page,
// in the scrambled form that DOMOVE undoes.
#pragma once

#include <cstdint>

// Each block encodes to exactly its byte count + 1 bytes.
constexpr int32_t I_NFO1_COUNT = 662;
constexpr int32_t I_NFO2_COUNT = 449;
constexpr int32_t I_NFO3_COUNT = 497;
constexpr int32_t I_NFOEND_COUNT = 239;
// Each name refers to the constant block (it is used as the block itself).
extern const std::uint8_t (&I_NFO1)[I_NFO1_COUNT + 1];
extern const std::uint8_t (&I_NFO2)[I_NFO2_COUNT + 1];
extern const std::uint8_t (&I_NFO3)[I_NFO3_COUNT + 1];
extern const std::uint8_t (&I_NFOEND)[I_NFOEND_COUNT + 1];
