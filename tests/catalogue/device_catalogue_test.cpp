// The config.xml device list read from fixture files: id spellings, missing attributes,
// element order rules, models without modes, and what a bad file leaves.
#include "catalogue/device_catalogue.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::filesystem::path kFixtures = std::filesystem::path(CORVANE_TEST_DATA_DIR) / "catalogue";

class DeviceCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(catalogue_.Load(kFixtures / "edge")); }
  DeviceCatalogue catalogue_;
};

TEST_F(DeviceCatalogueTest, ListsEveryMouseInFileOrderWithMissingAttributesEmpty) {
  const auto& models = catalogue_.Models();
  ASSERT_EQ(models.size(), 4u);  // the keyboard element is not a model
  EXPECT_EQ(models[0].name, "Prefixed");
  EXPECT_EQ(models[0].device_attr, "prefixed");
  EXPECT_EQ(models[0].image, "prefixed.png");
  EXPECT_EQ(models[1].name, "No modes");
  EXPECT_EQ(models[1].device_type, 22);
  EXPECT_EQ(models[3].name, "");
  EXPECT_EQ(models[3].device_type, 0);
  EXPECT_EQ(models[3].device_attr, "");
  for (const CatalogEntry& model : models) {
    EXPECT_EQ(model.mode, ConnectionMode::kWired);
    EXPECT_EQ(model.vendor_id, 0);
    EXPECT_EQ(model.product_id, 0);
  }
  EXPECT_EQ(models[0].ImagePath("/skins/dark"), "/skins/dark/device/prefixed.png");
}

TEST_F(DeviceCatalogueTest, ReadsHexIdsWithOrWithoutPrefix) {
  const auto& interfaces = catalogue_.Interfaces();
  ASSERT_EQ(interfaces.size(), 4u);
  EXPECT_EQ(interfaces[0].vendor_id, 0x1209);
  EXPECT_EQ(interfaces[1].vendor_id, 0x1209);  // "1209" and "0x1209" are the same id
  EXPECT_EQ(interfaces[0].product_id, 0x000A);
  EXPECT_EQ(interfaces[1].product_id, 0x000B);
  EXPECT_EQ(interfaces[2].vendor_id, 0x12);  // "12G4": digits up to the first bad one
  EXPECT_EQ(interfaces[2].product_id, 0);    // "zz": none at all
  EXPECT_EQ(ParseHexId(" 0x10"), 0x10);
  EXPECT_EQ(ParseHexId("0x"), 0);
  EXPECT_EQ(ParseHexId("0xg"), 0);
  EXPECT_EQ(ParseHexId("FFFFFFFFFF"), 2147483647);
}

TEST_F(DeviceCatalogueTest, ModesKeepTheirMouseFieldsAndOwnAttributes) {
  const auto& wired = catalogue_.Interfaces()[0];
  EXPECT_EQ(wired.name, "Prefixed");
  EXPECT_EQ(wired.device_type, 21);
  EXPECT_EQ(wired.mode, ConnectionMode::kWired);
  EXPECT_EQ(wired.description, "wired");
  EXPECT_EQ(wired.dev_id, "AB12");
  EXPECT_EQ(wired.hid_interface, "2");
  const auto& wireless = catalogue_.Interfaces()[1];
  EXPECT_EQ(wireless.mode, ConnectionMode::kReceiver);
  EXPECT_EQ(wireless.dev_id, "AB1");  // kept short; the device manager decides what it means
  EXPECT_EQ(wireless.description, "");
  const auto& bare = catalogue_.Interfaces()[3];
  EXPECT_EQ(bare.mode, ConnectionMode::kWired);
  EXPECT_EQ(bare.dev_id, "");
}

TEST_F(DeviceCatalogueTest, KnownDevicesFollowCatalogueOrderAndSkipModelsWithoutModes) {
  const std::vector<KnownDeviceIds> known = catalogue_.KnownDevices();
  ASSERT_EQ(known.size(), 4u);
  EXPECT_EQ(known[0].vendor_id, 0x1209);
  EXPECT_EQ(known[0].product_id, 0x000A);
  EXPECT_EQ(known[0].device_type, 21);
  EXPECT_EQ(known[0].mode, ConnectionMode::kWired);
  EXPECT_EQ(known[0].dev_id, "AB12");
  EXPECT_EQ(known[1].mode, ConnectionMode::kReceiver);
  EXPECT_EQ(known[2].device_type, 21);  // the second model of the same type
  for (const KnownDeviceIds& ids : known) EXPECT_NE(ids.device_type, 22);
  EXPECT_TRUE(catalogue_.ModesOf(1).empty());
  EXPECT_EQ(catalogue_.ModesOf(0).size(), 2u);
  EXPECT_EQ(catalogue_.ModesOf(2).size(), 1u);
  EXPECT_TRUE(catalogue_.ModesOf(99).empty());
}

TEST_F(DeviceCatalogueTest, RepeatedDeviceTypeFindsTheFirstModel) {
  ASSERT_NE(catalogue_.FindModel(21), nullptr);
  EXPECT_EQ(catalogue_.FindModel(21)->device_attr, "prefixed");
  EXPECT_EQ(catalogue_.FindModel(22)->name, "No modes");
  EXPECT_EQ(catalogue_.FindModel(30), nullptr);
  EXPECT_EQ(catalogue_.FirstWiredAndWirelessModel(), &catalogue_.Models()[0]);
}

TEST_F(DeviceCatalogueTest, SoftwareLinksAreSearchedForwardInTheirOrder) {
  const SoftwareInfo& software = catalogue_.Software();
  EXPECT_EQ(software.version, "2.3.4");
  EXPECT_EQ(software.website, "https://www.edge.example/");
  EXPECT_EQ(software.feedback, "https://feedback.edge.example/");
  EXPECT_EQ(software.qa, "");  // it stands before feedback, which was found first
  EXPECT_EQ(software.store, "https://store.edge.example/");
  EXPECT_EQ(software.upgrade, "https://update.edge.example/");
  EXPECT_EQ(software.copyright, "(c) Edge & Co");
}

TEST(DeviceCatalogueOrderTest, SoftwareBeforeDeviceIsNotFound) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadFile(kFixtures / "software_first.xml"));
  ASSERT_EQ(catalogue.Models().size(), 1u);
  EXPECT_EQ(catalogue.Interfaces()[0].product_id, 5);
  EXPECT_EQ(catalogue.Software().version, "");
  EXPECT_EQ(catalogue.Software().website, "");
}

TEST(DeviceCatalogueOrderTest, SoftwareWithoutDeviceListIsRead) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadFile(kFixtures / "software_only.xml"));
  EXPECT_TRUE(catalogue.Models().empty());
  EXPECT_EQ(catalogue.FirstWiredAndWirelessModel(), nullptr);
  EXPECT_EQ(catalogue.Software().version, "1.2");
  EXPECT_EQ(catalogue.Software().upgrade, "https://update.example/");
}

TEST(DeviceCatalogueOrderTest, BadFilesLeaveAnEmptyCatalogue) {
  for (const char* name : {"malformed.xml", "wrong_root.xml", "missing.xml"}) {
    DeviceCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load(kFixtures / "edge"));
    EXPECT_FALSE(catalogue.LoadFile(kFixtures / name)) << name;
    EXPECT_TRUE(catalogue.Models().empty()) << name;
    EXPECT_TRUE(catalogue.Interfaces().empty()) << name;
    EXPECT_TRUE(catalogue.KnownDevices().empty()) << name;
    EXPECT_EQ(catalogue.Software().version, "") << name;
  }
}

}  // namespace
}  // namespace corvane
