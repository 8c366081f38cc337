// The descriptors corvane-uhid gives the kernel must name the collections the simulator
// reports for the same interfaces, or the VM test would prove a different device.
#include <gtest/gtest.h>

#include "device/device_manager.h"
#include "device/report_descriptor.h"
#include "kernel/uhid_descriptors.h"
#include "device/command_transaction.h"
#include "protocol/firmware_transfer.h"
#include "sim/sim_backend.h"

namespace corvane::uhid {
namespace {

TEST(UhidDescriptors, CollectionsMatchTheSimulatorsInterfaces) {
  SimIdentity identity;
  identity.device_type = 11;
  identity.wired = {0x1209, 0x0001, "KP11"};
  identity.receiver = {0x1209, 0x0002, "KP11"};
  SimBackend sim(identity, SimMode::kBoth);
  const auto interfaces = sim.Enumerate();
  ASSERT_EQ(interfaces.size(), 2u * kSimCollectionCount);
  int config = 0;
  for (int l = 0; l < kSimLinkCount; ++l) {
    for (int c = 0; c < kSimCollectionCount; ++c) {
      const auto link = static_cast<SimLink>(l);
      const auto collection = static_cast<SimCollection>(c);
      const std::string path = SimBackend::InterfacePath(link, collection);
      SCOPED_TRACE(path);
      const std::vector<uint8_t> descriptor = ReportDescriptor(link, collection);
      const auto parsed = ParseTopLevelCollections(descriptor.data(), descriptor.size());
      ASSERT_EQ(parsed.size(), 1u);
      for (const HidInterfaceInfo& info : interfaces) {
        if (info.path != path) continue;
        EXPECT_EQ(parsed[0].usage_page, info.usage_page);
        EXPECT_EQ(parsed[0].usage, info.usage);
      }
      if (IsConfigCollection(parsed[0].usage_page, parsed[0].usage)) ++config;
    }
  }
  EXPECT_EQ(config, 2);  // one configuration collection per device, none elsewhere
}

TEST(UhidDescriptors, OutputReportsHaveTheProtocolsLengths) {
  for (SimLink link : {SimLink::kWired, SimLink::kReceiver}) {
    EXPECT_EQ(WholeOutputReportBytes(link, SimCollection::kConfig), size_t{kReportBufferSize});
    EXPECT_EQ(WholeOutputReportBytes(link, SimCollection::kUpgrade), kUpgradeReportSize);
    EXPECT_EQ(WholeOutputReportBytes(link, SimCollection::kMouse), 0u);
    // The keyboard's LED report is the kernel's business, not the firmware's.
    EXPECT_EQ(WholeOutputReportBytes(link, SimCollection::kKeyboard), 0u);
  }
}

}  // namespace
}  // namespace corvane::uhid
