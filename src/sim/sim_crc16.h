// CRC-16/MODBUS, the checksum of every firmware block on the upgrade collection.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

// CRC-16/MODBUS of `length` bytes: reflected polynomial 0xA001, initial value 0xFFFF,
// no final XOR. Returns 0xFFFF for no bytes.
uint16_t SimCrc16Modbus(const uint8_t* data, size_t length);

}  // namespace corvane
