// Parsing of the device information reply.
#include "protocol/device_info.h"

namespace corvane {

std::string DevIdFromDeviceInfo(const uint8_t* info) {
  std::string dev_id;
  for (size_t i = 0; i < kDevIdLength; ++i) {
    const uint8_t byte = info[kInfoDevIdByte + i];
    if (byte == 0) break;
    if (byte < 0x80) {
      dev_id += static_cast<char>(byte);
    } else {
      dev_id += static_cast<char>(0xC0 | (byte >> 6));
      dev_id += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return dev_id;
}

int RateClassFromCapability(uint8_t capability) {
  switch (capability) {
    case 0x10: return 5;
    case 0x20: return 6;
    case 0x40: return 7;
    default: return 4;
  }
}

}  // namespace corvane
