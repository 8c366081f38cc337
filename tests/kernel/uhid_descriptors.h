// Report descriptors of the interfaces corvane-uhid presents to the kernel: the ordinary
// mouse and keyboard, the configuration collection (a different top-level usage on the
// cable and on the receiver, as the two real devices have) and the firmware-upgrade
// collection with its numbered 64-byte reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/sim_identity.h"

namespace corvane::uhid {

// The descriptor of one collection of one simulated device.
std::vector<uint8_t> ReportDescriptor(SimLink link, SimCollection collection);

// Bytes of one whole output report as hidraw hands it on (report id byte included),
// for the collections that take output reports; 0 for the others.
size_t WholeOutputReportBytes(SimLink link, SimCollection collection);

}  // namespace corvane::uhid
