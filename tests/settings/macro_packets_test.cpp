// Macro event records, blob and packets.
#include <gtest/gtest.h>

#include "protocol/macro_packets.h"

namespace corvane {
namespace {

MacroEventRecord Ev(int type, int value) {
  MacroEventRecord e;
  e.type = type;
  e.value = value;
  return e;
}

// `count` key events (A down/up alternating), each followed by a 10 ms delay.
std::vector<MacroEventRecord> KeyEvents(int count) {
  std::vector<MacroEventRecord> events;
  for (int i = 0; i < count; ++i) {
    events.push_back(Ev(i % 2 == 0 ? kEventKeyDown : kEventKeyUp, 'A'));
    events.push_back(Ev(kEventDelay, 10));
  }
  return events;
}

TEST(MacroRecordsTest, KindsCodesAndDelays) {
  const auto records = MacroEventRecords({Ev(kEventKeyDown, 160), Ev(kEventDelay, 10),
                                          Ev(kEventKeyUp, 160), Ev(kEventKeyDown, 'A'),
                                          Ev(kEventDelay, 300), Ev(kEventKeyUp, 'A'),
                                          Ev(kEventMouseDown, 4), Ev(kEventMouseUp, 0x104)});
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0], (MacroRecordBytes{0x20, 0x0A, 0x00, 0x02}));
  EXPECT_EQ(records[1], (MacroRecordBytes{0xA0, 0x01, 0x00, 0x02}));  // no delay after: 1
  EXPECT_EQ(records[2], (MacroRecordBytes{0x30, 0x2C, 0x01, 0x04}));
  EXPECT_EQ(records[3], (MacroRecordBytes{0xB0, 0x01, 0x00, 0x04}));
  EXPECT_EQ(records[4], (MacroRecordBytes{0x10, 0x01, 0x00, 0x04}));
  EXPECT_EQ(records[5], (MacroRecordBytes{0x90, 0x01, 0x00, 0x04}));
}

TEST(MacroRecordsTest, DelaySumming) {
  // Delays before the first record, consecutive delays and trailing delays.
  auto records = MacroEventRecords({Ev(kEventDelay, 5), Ev(kEventKeyDown, 'B'),
                                    Ev(kEventDelay, 20), Ev(kEventDelay, 30),
                                    Ev(kEventKeyUp, 'B'), Ev(kEventDelay, 7), Ev(kEventDelay, 8)});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0][1] | records[0][2] << 8, 55);
  EXPECT_EQ(records[1][1] | records[1][2] << 8, 15);
  // A zero or negative sum becomes 1; a huge sum is held at 65535 rather than wrapped.
  records = MacroEventRecords({Ev(kEventKeyDown, 'B'), Ev(kEventDelay, -4),
                               Ev(kEventKeyUp, 'B'), Ev(kEventDelay, 31000),
                               Ev(kEventDelay, 31000), Ev(kEventDelay, 31000)});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0][1] | records[0][2] << 8, 1);
  EXPECT_EQ(records[1][1] | records[1][2] << 8, 0xFFFF);
  // Only delays, or unknown types: no records.
  EXPECT_TRUE(MacroEventRecords({Ev(kEventDelay, 10), Ev(kEventDelay, 20)}).empty());
  EXPECT_TRUE(MacroEventRecords({Ev(9, 10)}).empty());
  EXPECT_EQ(MacroBlob(3, {Ev(kEventDelay, 10)}), (std::vector<uint8_t>{3}));
}

TEST(MacroRecordsTest, ApplicationAndRightWindowsKeys) {
  const auto records = MacroEventRecords(
      {Ev(kEventKeyDown, 93), Ev(kEventKeyUp, 93), Ev(kEventKeyDown, 92), Ev(kEventKeyDown, 0)});
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0][0], 0x30);  // Application is an ordinary key, usage 101
  EXPECT_EQ(records[0][3], 101);
  EXPECT_EQ(records[1][0], 0xB0);
  EXPECT_EQ(records[2][0], 0x20);  // right Windows is a modifier, bit 128
  EXPECT_EQ(records[2][3], 0x80);
  EXPECT_EQ(records[3][0], 0x30);
  EXPECT_EQ(records[3][3], 0);
}

TEST(MacroRecordsTest, KeysNumbered224To231AreOrdinaryKeys) {
  // 226 is the ISO backslash key; 224..231 are modifier numbers only as HID usages.
  const auto records = MacroEventRecords(
      {Ev(kEventKeyDown, 226), Ev(kEventKeyUp, 226), Ev(kEventKeyDown, 164), Ev(kEventKeyUp, 91)});
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0][0], 0x30);
  EXPECT_EQ(records[0][3], 100);
  EXPECT_EQ(records[1][0], 0xB0);
  EXPECT_EQ(records[1][3], 100);
  EXPECT_EQ(records[2][0], 0x20);  // left Alt
  EXPECT_EQ(records[2][3], 0x04);
  EXPECT_EQ(records[3][0], 0xA0);  // left Windows
  EXPECT_EQ(records[3][3], 0x08);
}

TEST(MacroPacketsTest, SixEventsTravelInOnePacket) {
  const auto blob = MacroBlob(2, KeyEvents(6));
  ASSERT_EQ(blob.size(), 25u);
  std::vector<CommandReport> packets;
  ASSERT_TRUE(MacroPackets(blob, packets));
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].length, 33);
  EXPECT_EQ(packets[0].bytes[1], 0x08);
  EXPECT_EQ(packets[0].bytes[3], 0x01);
  EXPECT_EQ(packets[0].bytes[4], 25);
  EXPECT_EQ(packets[0].bytes[5], 2);
  EXPECT_TRUE(std::equal(blob.begin(), blob.end(), packets[0].bytes.begin() + 5));
}

TEST(MacroPacketsTest, SevenEventsTravelInTwoPackets) {
  const auto blob = MacroBlob(1, KeyEvents(7));
  ASSERT_EQ(blob.size(), 29u);
  std::vector<CommandReport> packets;
  ASSERT_TRUE(MacroPackets(blob, packets));
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].bytes[3], 0x02);
  EXPECT_EQ(packets[0].bytes[4], 27);
  EXPECT_EQ(packets[1].bytes[3], 0x12);
  EXPECT_EQ(packets[1].bytes[4], 2);
  EXPECT_TRUE(std::equal(blob.begin(), blob.begin() + 27, packets[0].bytes.begin() + 5));
  EXPECT_EQ(packets[1].bytes[5], blob[27]);
  EXPECT_EQ(packets[1].bytes[6], blob[28]);
  EXPECT_EQ(packets[1].bytes[7], 0);
}

TEST(MacroPacketsTest, PacketLimit) {
  // 101 events make 405 bytes: exactly fifteen full packets.
  std::vector<CommandReport> packets;
  ASSERT_TRUE(MacroFitsPackets(KeyEvents(101)));
  ASSERT_TRUE(MacroPackets(MacroBlob(0, KeyEvents(101)), packets));
  ASSERT_EQ(packets.size(), 15u);
  EXPECT_EQ(packets[14].bytes[3], 0xEF);
  EXPECT_EQ(packets[14].bytes[4], 27);
  // One more event would need a sixteenth packet: refused, nothing built.
  EXPECT_FALSE(MacroFitsPackets(KeyEvents(102)));
  EXPECT_FALSE(MacroPackets(MacroBlob(0, KeyEvents(102)), packets));
  EXPECT_TRUE(packets.empty());
  EXPECT_EQ(MacroPacketCount(1), 1);
  EXPECT_EQ(MacroPacketCount(25), 1);
  EXPECT_EQ(MacroPacketCount(29), 2);
  EXPECT_EQ(MacroPacketCount(54), 2);
  EXPECT_EQ(MacroPacketCount(55), 3);
}

}  // namespace
}  // namespace corvane
