// The simulated devices' interfaces and their answers to every command: enumeration,
// device information, writes changing state, read-back, checksums and refusals.
#include <gtest/gtest.h>

#include "sim/sim_firmware.h"
#include "sim_test_util.h"

namespace corvane::test {
namespace {

TEST(SimEnumerate, PresentsEveryCollectionOfEachPluggedDevice) {
  SimBackend both(TestIdentity(), SimMode::kBoth);
  const auto list = both.Enumerate();
  ASSERT_EQ(list.size(), 8u);
  int config = 0, upgrade = 0, ordinary = 0;
  for (const auto& info : list) {
    EXPECT_EQ(info.vendor_id, 0x1209);
    const bool accepted = (info.usage_page == 0x0001 && info.usage == 0x0000) ||
                          (info.usage_page == 0xFF01 && info.usage == 0x0010);
    if (accepted) ++config;
    if (info.usage_page == 0xFFEF && info.usage == 0x0000) ++upgrade;
    if (info.usage_page == 0x0001 && (info.usage == 0x0002 || info.usage == 0x0006)) ++ordinary;
  }
  EXPECT_EQ(config, 2);
  EXPECT_EQ(upgrade, 2);
  EXPECT_EQ(ordinary, 4);

  SimBackend wired(TestIdentity(), SimMode::kWired);
  for (const auto& info : wired.Enumerate()) EXPECT_EQ(info.product_id, 0x0001);
  SimBackend wireless(TestIdentity(), SimMode::kWireless);
  const auto receiver = wireless.Enumerate();
  ASSERT_EQ(receiver.size(), 4u);
  for (const auto& info : receiver) EXPECT_EQ(info.product_id, 0x0002);
  EXPECT_EQ(receiver[2].interface_number, 2);
  EXPECT_EQ(receiver[2].release_number, wireless.State().receiver_version);

  SimIdentity wired_only = TestIdentity();
  wired_only.receiver.exists = false;
  SimBackend model(wired_only, SimMode::kBoth);
  EXPECT_EQ(model.Enumerate().size(), 4u);
  model.Replug(SimLink::kReceiver);
  EXPECT_FALSE(model.IsPlugged(SimLink::kReceiver)) << "a model without a receiver never gets one";
}

TEST(SimEnumerate, OpensOnlyPresentPathsAndOrdinaryCollectionsTakeNoCommands) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  EXPECT_EQ(backend.Open(SimBackend::InterfacePath(SimLink::kReceiver, SimCollection::kConfig)),
            nullptr);
  EXPECT_EQ(backend.Open("no/such/path"), nullptr);
  auto mouse = backend.Open(SimBackend::InterfacePath(SimLink::kWired, SimCollection::kMouse));
  ASSERT_NE(mouse, nullptr);
  const auto command = BuildCommand(0x10, 0, 0, {});
  EXPECT_EQ(mouse->Write(command.data(), command.size()), -1);
  auto config = OpenConfig(backend, SimLink::kWired);
  EXPECT_EQ(config->ProductString(), u"Test Mouse");
  // A report id other than 0 does not exist on the configuration collection.
  auto wrong = command;
  wrong[0] = 0x05;
  EXPECT_EQ(config->Write(wrong.data(), wrong.size()), -1);
}

TEST(SimCommands, DeviceInformationOfWiredAndReceiver) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  backend.SetBattery(77, 1, false);
  auto wired = OpenConfig(backend, SimLink::kWired);
  auto receiver = OpenConfig(backend, SimLink::kReceiver);
  auto reply = ReadCommand(*wired, 0x10);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(reply[1], 0x00);
  EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 8), "C7A1");
  EXPECT_EQ(reply[10], 53);
  EXPECT_EQ(reply[11], 0x40);
  EXPECT_EQ(reply[12], 77);
  EXPECT_EQ(reply[13], 1);
  EXPECT_EQ(reply[14], 1);

  reply = ReadCommand(*receiver, 0x10);
  EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 8), "C7B2");
  EXPECT_EQ(reply[14], 1);
  backend.SetMouseOn(false);
  std::vector<uint8_t> notification(64);
  ASSERT_GT(receiver->ReadTimeout(notification.data(), notification.size(), 100), 0);
  reply = ReadCommand(*receiver, 0x10);
  EXPECT_EQ(reply[1], 0x00) << "the receiver itself still answers";
  EXPECT_EQ(reply[14], 0) << "but says the mouse is unreachable";
  EXPECT_NE(ReadCommand(*receiver, 0x12)[1], 0x00);
  EXPECT_EQ(ReadCommand(*wired, 0x12)[1], 0x00) << "the cable does not depend on the radio";
}

TEST(SimCommands, ShortReadsTruncateAndShortWritesArePadded) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto handle = OpenConfig(backend, SimLink::kWired);
  const auto reply = Exchange(*handle, BuildCommand(0x10, 0, 0, {}, 65), 33);
  ASSERT_EQ(reply.size(), 33u);
  EXPECT_EQ(reply[0], 0x10);
  EXPECT_EQ(reply[1], 0x00);
  // The checksum byte sits at 32 whatever the length, so a 65-byte write is the same.
  EXPECT_EQ(Exchange(*handle, BuildCommand(0x02, 1, 1, {4}, 65))[1], 0x00);
  EXPECT_EQ(backend.State().settings.report_rate, 4);
}

TEST(SimCommands, PerformanceWritesChangeStateAndReadBack) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  ASSERT_EQ(Exchange(*h, BuildCommand(0x02, 1, 1, {8}, 65))[1], 0);
  EXPECT_EQ(ReadCommand(*h, 0x12)[4], 8);

  // dpi_count 6, dpi_index 2; stage n = code 10 + n (twice), stage 5 = 0x0123.
  ASSERT_EQ(Exchange(*h, BuildCommand(0x03, 1, 37, {0x26, 10, 0,  10,   0,    11,   0,   11, 0,
                                                    12,   0,  12, 0,    13,   0,    13,  0,  14,
                                                    0,    14, 0,  0x23, 0x01, 0x23, 0x01}))[1],
            0);
  auto r = ReadCommand(*h, 0x13);
  EXPECT_EQ(r[4], 0x26);
  EXPECT_EQ(r[5], 10);
  EXPECT_EQ(r[5 + 4 * 5], 0x23);
  EXPECT_EQ(r[6 + 4 * 5], 0x01);
  EXPECT_EQ(backend.State().settings.dpi_index, 2);

  ASSERT_EQ(
      Exchange(
          *h, BuildCommand(0x04, 1, 18,
                           {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}, 65))[1],
      0);
  r = ReadCommand(*h, 0x14);
  EXPECT_EQ(backend.State().settings.dpi_color[0], 0x030201u);
  EXPECT_EQ(r[4 + 3 * 5 + 2], 18);

  ASSERT_EQ(Exchange(*h, BuildCommand(0x06, 1, 5, {2, 1, 0, 0, 0}, 65))[1], 0);
  r = ReadCommand(*h, 0x16);
  EXPECT_EQ(r[4], 2);
  EXPECT_EQ(r[5], 1);
  EXPECT_EQ(r[6], 0);

  ASSERT_EQ(Exchange(*h, BuildCommand(0x07, 1, 4, {6, 0, 1, 12}, 65))[1], 0);
  r = ReadCommand(*h, 0x17);
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 4, r.begin() + 8),
            (std::vector<uint8_t>{6, 0, 1, 12}));
  EXPECT_EQ(ReadCommand(*h, 0x11)[1], 0);
}

TEST(SimCommands, DpiStagesRefuseImpossibleCountsAndClampStaleIndex) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  EXPECT_NE(Exchange(*h, BuildCommand(0x03, 1, 37, {0x07}))[1], 0);
  EXPECT_NE(Exchange(*h, BuildCommand(0x03, 1, 37, {0x00}))[1], 0);
  EXPECT_EQ(backend.State().settings.dpi_count, 6);
  EXPECT_EQ(Exchange(*h, BuildCommand(0x03, 1, 37, {0x52, 1, 0, 1, 0}))[1], 0);
  EXPECT_EQ(backend.State().settings.dpi_count, 2);
  EXPECT_EQ(backend.State().settings.dpi_index, 1);
}

TEST(SimCommands, LightingModesAndReadBack) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  ASSERT_EQ(
      Exchange(*h, BuildCommand(0x05, 1, 24, {2,  0x31, 7,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                              10, 11,   12, 13, 14, 15, 16, 17, 18, 19, 20, 21},
                                65))[1],
      0);
  auto s = backend.State().settings;
  EXPECT_EQ(s.light_color[6], 0x151413u);
  ASSERT_EQ(Exchange(*h, BuildCommand(0x05, 1, 5, {3, 0x42, 0xAA, 0xBB, 0xCC}, 65))[1], 0);
  EXPECT_EQ(backend.State().settings.light_color[0], 0xCCBBAAu);
  auto r = ReadCommand(*h, 0x15);
  EXPECT_EQ(r[4], 3);
  EXPECT_EQ(r[5], 0x42);
  // The light reset puts mode, level and colours back to the factory effect.
  ASSERT_EQ(Exchange(*h, BuildCommand(0x0E, 1, 0x01, {0x01}))[1], 0);
  r = ReadCommand(*h, 0x15);
  const SimSettings factory;
  EXPECT_EQ(r[4], factory.light_mode);
  EXPECT_EQ(r[5], factory.light_level);
  EXPECT_EQ(backend.State().settings.light_color, factory.light_color);
  // Mode 2 without its seven colours is refused and changes nothing.
  EXPECT_NE(Exchange(*h, BuildCommand(0x05, 1, 2, {2, 0x11}, 65))[1], 0);
  EXPECT_EQ(backend.State().settings.light_mode, factory.light_mode);
}

TEST(SimCommands, ButtonsAndMacrosInOneAndSeveralPackets) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  ASSERT_EQ(Exchange(*h, BuildCommand(0x09, 1, 15, {0x10, 0x02, 0, 0x10, 0x01, 0, 0x90, 2, 1}))[1],
            0);
  auto s = backend.State().settings;
  EXPECT_EQ(s.buttons[0], (SimButtonEntry{0x10, 0x02, 0x00}));
  EXPECT_EQ(s.buttons[2], (SimButtonEntry{0x90, 2, 1}));
  EXPECT_EQ(s.buttons[5], (SimButtonEntry{0, 0, 0}));

  // Six events in one packet: button 2, 24 record bytes.
  std::vector<uint8_t> blob{2};
  for (int i = 0; i < 24; ++i) blob.push_back(static_cast<uint8_t>(i));
  auto one = BuildCommand(0x08, 0x01, 25, {});
  std::copy(blob.begin(), blob.end(), one.begin() + 5);
  unsigned sum = 0;
  for (int i = 5; i <= 31; ++i) sum += one[i];
  one[32] = static_cast<uint8_t>(sum);
  ASSERT_EQ(Exchange(*h, one)[1], 0);
  EXPECT_EQ(backend.State().settings.macros.at(2).size(), 24u);

  // Seven events: 29 bytes in packets 0x02 (27 bytes) and 0x12 (2 bytes).
  auto first =
      BuildCommand(0x08, 0x02, 27, {4,  1, 10,   0, 0x04, 1, 20,   0, 0x05, 1, 30,   0, 0x06, 1,
                                    40, 0, 0x07, 1, 50,   0, 0x08, 1, 60,   0, 0x09, 1, 70});
  auto second = BuildCommand(0x08, 0x12, 2, {0, 0x0A});
  ASSERT_EQ(Exchange(*h, first)[1], 0);
  EXPECT_EQ(backend.State().settings.macros.count(4), 0u) << "not complete yet";
  ASSERT_EQ(Exchange(*h, second)[1], 0);
  ASSERT_EQ(backend.State().settings.macros.at(4).size(), 28u);
  EXPECT_EQ(backend.State().settings.macros.at(4).back(), 0x0A);

  // A second packet without its first is refused.
  EXPECT_NE(Exchange(*h, BuildCommand(0x08, 0x12, 2, {0, 0x0B}))[1], 0);
  EXPECT_EQ(backend.State().settings.macros.at(4).back(), 0x0A);
}

TEST(SimCommands, ChecksumUnknownCommandsAndRestoreDefaults) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  auto h = OpenConfig(backend, SimLink::kWired);
  auto bad = BuildCommand(0x02, 1, 1, {8});
  bad[32] ^= 0xFF;
  EXPECT_EQ(Exchange(*h, bad)[1], Byte(ReplyStatus::kBadChecksum));
  EXPECT_EQ(backend.State().settings.report_rate, SimSettings{}.report_rate);
  EXPECT_EQ(ReadCommand(*h, 0x33)[1], Byte(ReplyStatus::kUnknownCommand));
  EXPECT_NE(ReadCommand(*h, 0x20)[1], 0) << "the wired mouse has no receiver version";

  auto receiver = OpenConfig(backend, SimLink::kReceiver);
  const auto version = ReadCommand(*receiver, 0x20);
  EXPECT_EQ(version[1], 0);
  EXPECT_EQ(version[4], 0x01);
  EXPECT_EQ(version[5], 0x05);

  ASSERT_EQ(Exchange(*h, BuildCommand(0x07, 1, 4, {6, 0, 1, 12}, 65))[1], 0);
  ASSERT_EQ(Exchange(*h, BuildCommand(0x09, 1, 15, {0, 0, 0}))[1], 0);
  EXPECT_NE(Exchange(*h, BuildCommand(0x0F, 1, 0x01, {0x00}))[1], 0) << "needs 01 FF";
  EXPECT_NE(backend.State().settings, SimSettings{});
  backend.SetBattery(12, 0, false);
  ASSERT_EQ(Exchange(*h, BuildCommand(0x0F, 1, 0x01, {0xFF}))[1], 0);
  EXPECT_EQ(backend.State().settings, SimSettings{});
  EXPECT_EQ(backend.State().battery_a, 12) << "hardware facts survive a restore";
}

}  // namespace
}  // namespace corvane::test
