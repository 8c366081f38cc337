// CaptureBackend over the simulator: the exact line format, reads logged as
// returned, time-outs not logged, and a handle outliving its backend.
#include <gtest/gtest.h>

#include <sstream>

#include "device/capture_backend.h"
#include "sim/sim_backend.h"
#include "support/temp_home.h"
#include "support/test_identity.h"

namespace corvane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CaptureBackend, FormatIsTagPathLengthUpperHex) {
  const uint8_t bytes[] = {0x00, 0x10, 0xAB, 0x0F};
  EXPECT_EQ(CaptureBackend::FormatLine("OUT", "sim/x", bytes, 4), "OUT sim/x 4 0010AB0F");
  EXPECT_EQ(CaptureBackend::FormatLine("IN ", "p", bytes, 1), "IN  p 1 00");
}

TEST(CaptureBackend, LogsWritesAndReadsButNotTimeouts) {
  test::TempHome home;
  const auto file = home.Root() / "capture.txt";
  auto sim = std::make_shared<SimBackend>(test::TestIdentity(), SimMode::kWired);
  auto capture = std::make_unique<CaptureBackend>(sim, file.string());
  ASSERT_TRUE(capture->Ok());
  EXPECT_EQ(capture->Enumerate().size(), sim->Enumerate().size());
  const std::string path = SimBackend::InterfacePath(SimLink::kWired, SimCollection::kConfig);
  auto handle = capture->Open(path);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(capture->Open("no/such/path"), nullptr);

  std::vector<uint8_t> request(33, 0);
  request[1] = 0x10;
  ASSERT_GT(handle->Write(request.data(), request.size()), 0);
  uint8_t reply[33] = {};
  const int got = handle->ReadTimeout(reply, sizeof reply, 200);
  ASSERT_GT(got, 0);
  EXPECT_EQ(handle->ReadTimeout(reply, sizeof reply, 5), 0);  // nothing more: not logged

  capture.reset();  // the handle keeps logging after its backend is gone
  handle->Write(request.data(), request.size());
  handle.reset();

  const auto lines = Lines(test::ReadFileBytes(file));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "OUT " + path + " 33 0010" + std::string(62, '0'));
  EXPECT_EQ(lines[1].rfind("IN  " + path + " " + std::to_string(got) + " 1000", 0), 0u);
  EXPECT_EQ(lines[1].size(), ("IN  " + path + " " + std::to_string(got) + " ").size() + 2 * got);
  EXPECT_EQ(lines[2].rfind("OUT ", 0), 0u);
}

TEST(CaptureBackend, UnwritableFileIsReported) {
  auto sim = std::make_shared<SimBackend>(test::TestIdentity(), SimMode::kWired);
  CaptureBackend capture(sim, "/nonexistent-dir/capture.txt");
  EXPECT_FALSE(capture.Ok());
  EXPECT_NE(capture.Open(SimBackend::InterfacePath(SimLink::kWired, SimCollection::kConfig)), nullptr);
}

}  // namespace
}  // namespace corvane
