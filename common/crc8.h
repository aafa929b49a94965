#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// CRC-8 of frames and macro images: x^8 + x^5 + x^4 + 1, reflected (0x8C),
// initial value 0xFF, no final XOR.
void Crc8Step(uint8_t data, uint8_t& crc);
uint8_t Crc8(const uint8_t* bytes, size_t count);

}  // namespace qv
