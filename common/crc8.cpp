#include "common/crc8.h"

namespace qv {

void Crc8Step(uint8_t data, uint8_t& crc) {
  for (int bit = 0; bit < 8; ++bit) {
    const bool carry = ((crc ^ data) & 0x01) != 0;
    crc = static_cast<uint8_t>(crc >> 1);
    if (carry)
      crc ^= 0x8C;
    data = static_cast<uint8_t>(data >> 1);
  }
}

uint8_t Crc8(const uint8_t* bytes, size_t count) {
  uint8_t crc = 0xFF;
  for (size_t i = 0; i < count; ++i)
    Crc8Step(bytes[i], crc);
  return crc;
}

}  // namespace qv
