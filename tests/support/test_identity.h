// The simulated mouse most tests use: device type 7, wired 1209:0001 "C7A1" and receiver
// 1209:0002 "C7B2".
#pragma once

#include "sim/sim_identity.h"

namespace corvane::test {

inline SimIdentity TestIdentity() {
  SimIdentity id;
  id.device_type = 7;
  id.product_name = "Test Mouse";
  id.wired = {0x1209, 0x0001, "C7A1"};
  id.receiver = {0x1209, 0x0002, "C7B2"};
  return id;
}

}  // namespace corvane::test
