// The knobs that make the simulated mouse fill the reply bytes the protocol leaves open
// (byte 0, bytes 2 and 3), answer busy before it answers, and present other USB ids; and
// how they are set by name from the command line and from CORVANE_SIM_FAULTS.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "sim/sim_setup.h"
#include "sim/sim_state_file.h"
#include "sim_test_util.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

std::vector<uint8_t> ReadReport(HidHandle& h) {
  std::vector<uint8_t> out(64, 0);
  const int n = h.ReadTimeout(out.data(), out.size(), 100);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

TEST(SimReplyBytes, Byte0AndBytes23FollowTheirKnobsAndTheRestOfTheReplyStays) {
  SimBackend plain(TestIdentity(), SimMode::kWired);
  auto reference = OpenConfig(plain, SimLink::kWired);
  const std::vector<uint8_t> echo = ReadCommand(*reference, 0x13);
  ASSERT_EQ(echo[0], 0x13);

  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.reply_byte0 = SimReplyBytes::kZero;
  faults.reply_bytes23 = SimReplyBytes::kRandom;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  std::set<int> seen_23;
  for (int i = 0; i < 40; ++i) {
    const std::vector<uint8_t> reply = ReadCommand(*h, 0x13);
    ASSERT_EQ(reply.size(), echo.size());
    EXPECT_EQ(reply[0], 0x00);
    EXPECT_EQ(reply[1], 0x00);
    seen_23.insert(reply[2] << 8 | reply[3]);
    EXPECT_TRUE(std::equal(reply.begin() + 4, reply.end(), echo.begin() + 4)) << "data changed";
  }
  EXPECT_GT(seen_23.size(), 20u) << "bytes 2 and 3 are not random";
}

TEST(SimReplyBytes, RandomByte0NeverTakesANotificationType) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.reply_byte0 = SimReplyBytes::kRandom;
  faults.forced_status = 0x03;  // refusals are shaped the same way
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const std::vector<uint8_t> reply = ReadCommand(*h, 0x12);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[1], 0x03);
    seen.insert(reply[0]);
  }
  EXPECT_EQ(seen.count(0xC0), 0u);
  EXPECT_EQ(seen.count(0xC2), 0u);
  EXPECT_GT(seen.size(), 200u);
}

TEST(SimReplyBytes, BusyRepliesComeFirstForTheNextNCommandsOnly) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.busy_status_replies = 2;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  for (int command = 0; command < 3; ++command) {
    ASSERT_GT(h->Write(BuildCommand(0x12, 0, 0, {}).data(), 33), 0);
    std::vector<uint8_t> first = ReadReport(*h);
    ASSERT_FALSE(first.empty());
    if (command < 2) {
      EXPECT_EQ(first[1], Byte(ReplyStatus::kBusy)) << command;
      first = ReadReport(*h);
    }
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[1], 0x00) << command;
    EXPECT_EQ(first[4], 1) << "the real reply carries the report rate";
    EXPECT_TRUE(ReadReport(*h).empty()) << "one reply per command";
  }
  EXPECT_EQ(backend.Faults(SimLink::kWired).busy_status_replies, 0);
}

TEST(SimReplyBytes, KnobsAreSetByNameAndFromTheEnvironment) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  std::string error;
  EXPECT_TRUE(ApplySimFault(backend, "wired:reply_byte0=random", error)) << error;
  EXPECT_TRUE(ApplySimFault(backend, "receiver:reply_bytes23=zero", error)) << error;
  EXPECT_TRUE(ApplySimFault(backend, "receiver:busy_status_replies=3", error)) << error;
  EXPECT_EQ(backend.Faults(SimLink::kWired).reply_byte0, SimReplyBytes::kRandom);
  EXPECT_EQ(backend.Faults(SimLink::kReceiver).reply_bytes23, SimReplyBytes::kZero);
  EXPECT_EQ(backend.Faults(SimLink::kReceiver).busy_status_replies, 3);
  EXPECT_FALSE(ApplySimFault(backend, "wired:reply_byte0=7", error));
  EXPECT_FALSE(ApplySimFault(backend, "wired:busy_status_replies=random", error));
  EXPECT_FALSE(ApplySimFault(backend, "wired:busy_status_replies=-1", error));

  TempHome home;
  ASSERT_EQ(setenv(kSimFaultsVariable, "wired:reply_byte0=zero,receiver:drop_replies=2", 1), 0);
  auto sim = CreateSimBackend(ShippedDataDir(), "both", "", "", error);
  ASSERT_NE(sim, nullptr) << error;
  EXPECT_EQ(sim->Faults(SimLink::kWired).reply_byte0, SimReplyBytes::kZero);
  EXPECT_EQ(sim->Faults(SimLink::kReceiver).drop_replies, 2);
  ASSERT_EQ(setenv(kSimFaultsVariable, "wired:reply_byte0=sometimes", 1), 0);
  EXPECT_EQ(CreateSimBackend(ShippedDataDir(), "both", "", "", error), nullptr);
  EXPECT_NE(error.find(kSimFaultsVariable), std::string::npos) << error;
  unsetenv(kSimFaultsVariable);
}

TEST(SimReplyBytes, StateIdsReplaceTheCatalogueIdsAndSurviveRestoreDefaults) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  SimState state = backend.State();
  std::string error;
  ASSERT_TRUE(SimStateFile::Parse("usb_vid=0x1d50\nusb_pid=0x7777\nreceiver_usb_pid=0x0042\n",
                                  state, error))
      << error;
  backend.SetState(state);
  auto h = OpenConfig(backend, SimLink::kWired);
  const std::vector<uint8_t> restored = Exchange(*h, BuildCommand(0x0F, 0x01, 0x01, {0xFF}));
  ASSERT_FALSE(restored.empty());
  ASSERT_EQ(restored[1], 0x00);
  for (const HidInterfaceInfo& info : backend.Enumerate()) {
    const bool wired = info.path.find("wired") != std::string::npos;
    EXPECT_EQ(info.vendor_id, wired ? 0x1d50 : 0x1209) << info.path;
    EXPECT_EQ(info.product_id, wired ? 0x7777 : 0x0042) << info.path;
  }
  const std::string saved = SimStateFile::Format(backend.State());
  EXPECT_NE(saved.find("usb_pid=0x7777\n"), std::string::npos);
  EXPECT_NE(saved.find("receiver_usb_vid=0x0000\n"), std::string::npos);
}

}  // namespace
}  // namespace corvane::test
