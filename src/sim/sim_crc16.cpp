// Bitwise CRC-16/MODBUS; blocks are 18 bytes, so a table would buy nothing.
#include "sim/sim_crc16.h"

namespace corvane {

uint16_t SimCrc16Modbus(const uint8_t* data, size_t length) {
  constexpr uint16_t kPolynomial = 0xA001;
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ kPolynomial)
                      : static_cast<uint16_t>(crc >> 1);
    }
  }
  return crc;
}

}  // namespace corvane
