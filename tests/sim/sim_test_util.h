// Helpers shared by the simulator tests: a test identity and a host-side command
// exchange written independently of the simulator's own code.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "sim/sim_backend.h"
#include "support/test_identity.h"

namespace corvane::test {

inline std::unique_ptr<HidHandle> OpenConfig(SimBackend& backend, SimLink link) {
  return backend.Open(SimBackend::InterfacePath(link, SimCollection::kConfig));
}

// A command as the tool builds it: report id 0, command id, 0, sequence, length,
// payload from byte 5 and the sum of bytes 5..31 in byte 32.
inline std::vector<uint8_t> BuildCommand(uint8_t id, uint8_t sequence, uint8_t length,
                                         std::initializer_list<uint8_t> payload, size_t size = 33) {
  std::vector<uint8_t> buffer(65, 0);
  buffer[1] = id;
  buffer[3] = sequence;
  buffer[4] = length;
  size_t at = 5;
  for (uint8_t b : payload) buffer[at++] = b;
  unsigned sum = 0;
  for (int i = 5; i <= 31; ++i) sum += buffer[i];
  buffer[32] = static_cast<uint8_t>(sum);
  buffer.resize(size);
  return buffer;
}

// Writes the command and returns the first reply read within 200 ms (empty if none).
inline std::vector<uint8_t> Exchange(HidHandle& handle, const std::vector<uint8_t>& command,
                                     size_t read_length = 64) {
  if (handle.Write(command.data(), command.size()) <= 0) return {};
  std::vector<uint8_t> reply(read_length, 0);
  const int n = handle.ReadTimeout(reply.data(), reply.size(), 200);
  if (n <= 0) return {};
  reply.resize(static_cast<size_t>(n));
  return reply;
}

// A read request (only the command id set); returns the reply.
inline std::vector<uint8_t> ReadCommand(HidHandle& handle, uint8_t id) {
  return Exchange(handle, BuildCommand(id, 0x00, 0, {}));
}

}  // namespace corvane::test
