// Report descriptor collections and the arrival/removal decision, with synthetic
// descriptors and events.
#include <gtest/gtest.h>

#include "device/hidapi_backend.h"
#include "device/hotplug_match.h"
#include "device/report_descriptor.h"

namespace corvane {
namespace {

TEST(ReportDescriptor, TopLevelCollectionsOnly) {
  const uint8_t descriptor[] = {
      0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,        // Generic Desktop / Mouse, Application
      0x09, 0x01, 0xA1, 0x00,                    //   Pointer, Physical (nested: ignored)
      0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x81, 0x02, 0xC0, 0xC0,
      0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01,  // vendor page 0xFF01 / 0x10
      0x85, 0x05, 0x75, 0x08, 0x95, 0x3F, 0x91, 0x02, 0xC0,
      0x0B, 0x00, 0x00, 0xEF, 0xFF, 0xA1, 0x01, 0xC0,  // 4-byte usage carrying page 0xFFEF
      0xA1, 0x01, 0xC0};                                // no usage: page of the last global
  const auto collections = ParseTopLevelCollections(descriptor, sizeof descriptor);
  ASSERT_EQ(collections.size(), 4u);
  EXPECT_EQ(collections[0].usage_page, 0x0001);
  EXPECT_EQ(collections[0].usage, 0x0002);
  EXPECT_EQ(collections[1].usage_page, 0xFF01);
  EXPECT_EQ(collections[1].usage, 0x0010);
  EXPECT_EQ(collections[2].usage_page, 0xFFEF);
  EXPECT_EQ(collections[2].usage, 0x0000);
  EXPECT_EQ(collections[3].usage_page, 0xFF01);
}

TEST(ReportDescriptor, TruncatedAndHostileInputIsSafe) {
  const uint8_t truncated[] = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x06, 0x01};
  const auto collections = ParseTopLevelCollections(truncated, sizeof truncated);
  ASSERT_EQ(collections.size(), 1u);
  EXPECT_EQ(collections[0].usage, 0x0006);
  const uint8_t long_item[] = {0xFE, 0xFF, 0x00};  // claims 255 data bytes
  EXPECT_TRUE(ParseTopLevelCollections(long_item, sizeof long_item).empty());
  std::vector<uint8_t> pushes(1000, 0xA4);  // Push without end
  EXPECT_TRUE(ParseTopLevelCollections(pushes.data(), pushes.size()).empty());
  EXPECT_TRUE(ParseTopLevelCollections(nullptr, 10).empty());
}

TEST(HidapiBackendPaths, DescriptorPathOnlyForHidrawNodes) {
  EXPECT_EQ(HidapiBackend::ReportDescriptorPath("/dev/hidraw3"),
            "/sys/class/hidraw/hidraw3/device/report_descriptor");
  EXPECT_EQ(HidapiBackend::ReportDescriptorPath("/dev/hidraw3/../../etc"), "");
  EXPECT_EQ(HidapiBackend::ReportDescriptorPath("/dev/sda"), "");
  EXPECT_EQ(HidapiBackend::ReportDescriptorPath("1-2:1.0"), "");
}

class HotplugMatchTest : public ::testing::Test {
 protected:
  HotplugEvent Arrival(int pid, std::vector<HidCollectionUsage> collections, bool read = true) {
    HotplugEvent event;
    event.action = HotplugEvent::Action::kArrival;
    event.path = "/dev/hidraw7";
    event.vendor_id = 0x1209;
    event.product_id = pid;
    event.collections_read = read;
    event.collections = std::move(collections);
    return event;
  }
  HotplugEvent Removal(int pid, int interface_number) {
    HotplugEvent event;
    event.action = HotplugEvent::Action::kRemoval;
    event.vendor_id = 0x1209;
    event.product_id = pid;
    event.interface_number = interface_number;
    return event;
  }
  std::vector<KnownDevice> catalogue_{{0x1209, 0x0001, 11, ConnectionMode::kWired, "KP11"},
                                      {0x1209, 0x0002, 11, ConnectionMode::kReceiver, "KP11"}};
};

TEST_F(HotplugMatchTest, ArrivalPostsOnlyForAConfigurationCollection) {
  EXPECT_EQ(MatchHotplugEvent(Arrival(1, {{0xFF01, 0x0010}}), catalogue_, false),
            HotplugAction::kPostRefresh);
  EXPECT_EQ(MatchHotplugEvent(Arrival(2, {{0x0001, 0x0000}}), catalogue_, false),
            HotplugAction::kPostRefresh);
  EXPECT_EQ(MatchHotplugEvent(Arrival(1, {{0x0001, 0x0002}}), catalogue_, true), HotplugAction::kNothing);
  EXPECT_EQ(MatchHotplugEvent(Arrival(1, {{0x0001, 0x0006}}), catalogue_, true), HotplugAction::kNothing);
  EXPECT_EQ(MatchHotplugEvent(Arrival(1, {{0xFF01, 0x0010}}, false), catalogue_, true),
            HotplugAction::kNothing);  // descriptor unreadable
  EXPECT_EQ(MatchHotplugEvent(Arrival(9, {{0xFF01, 0x0010}}), catalogue_, true), HotplugAction::kNothing);
  EXPECT_EQ(TaskOf(HotplugAction::kPostRefresh), WorkerTask::kArrival);
}

TEST_F(HotplugMatchTest, RemovalNeedsInterfaceTwoAndTheIdlePoll) {
  EXPECT_EQ(MatchHotplugEvent(Removal(2, 2), catalogue_, true), HotplugAction::kPostReenumerate);
  EXPECT_EQ(MatchHotplugEvent(Removal(2, 2), catalogue_, false), HotplugAction::kNothing);
  EXPECT_EQ(MatchHotplugEvent(Removal(1, 0), catalogue_, true), HotplugAction::kNothing);
  EXPECT_EQ(MatchHotplugEvent(Removal(5, 2), catalogue_, true), HotplugAction::kNothing);
  EXPECT_EQ(TaskOf(HotplugAction::kPostReenumerate), WorkerTask::kRemoval);
  EXPECT_FALSE(TaskOf(HotplugAction::kNothing).has_value());
  HotplugEvent other;
  other.vendor_id = 0x1209;
  other.product_id = 1;
  EXPECT_EQ(MatchHotplugEvent(other, catalogue_, true), HotplugAction::kNothing);
}

}  // namespace
}  // namespace corvane
