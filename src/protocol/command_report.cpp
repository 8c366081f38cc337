// The command report's checksum.
#include "protocol/command_report.h"

namespace corvane {

uint8_t CommandChecksum(const uint8_t* report) {
  unsigned sum = 0;
  for (int i = kReportPayloadByte; i < kReportChecksumByte; ++i) sum += report[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

}  // namespace corvane
