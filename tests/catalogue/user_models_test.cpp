// Models a user added: read after the shipped catalogue, their definition found in the user
// folder, shipped ids, types and names winning, and broken files skipped with a warning.
#include <gtest/gtest.h>

#include <cstdlib>

#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

std::string Entry(const std::string& name, int type, const std::string& attr,
                  const std::string& pid, const std::string& vid = "0x1d50") {
  return "<?xml version=\"1.0\"?>\n<!-- drafted -->\n<mouse name=\"" + name + "\" device_type=\"" +
         std::to_string(type) + "\" device_attr=\"" + attr +
         "\" image=\"wren.png\">\n  <mode value=\"0\" desc=\"wired\" vid=\"" + vid + "\" pid=\"" +
         pid + "\" dev_id=\"AB12\" hid_interface=\"2\"/>\n</mouse>\n";
}

class UserModelsTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const { return home_.DataHome() / "corvane" / "models"; }
  void Add(const std::string& attr, const std::string& entry, bool with_definition = true) {
    ASSERT_TRUE(WriteFileBytes(Folder() / (attr + ".xml"), entry));
    if (with_definition) {
      ASSERT_TRUE(WriteFileBytes(Folder() / "device" / (attr + ".xml"),
                                 ReadFileBytes(ShippedDataDir() / "device" / "wren.xml")));
    }
  }
  // The warning about `file`, or an empty text.
  std::string WarningFor(const DeviceCatalogue& catalogue, const std::string& file) const {
    for (const std::string& warning : catalogue.Warnings()) {
      if (warning.rfind((Folder() / file).string() + " skipped: ", 0) == 0) return warning;
    }
    return {};
  }
  TempHome home_;
};

TEST_F(UserModelsTest, UserModelsFollowTheShippedOnesWithTheirOwnDefinitionFile) {
  EXPECT_EQ(UserModelsFolder(), Folder());
  Add("user_b", Entry("Second", 1001, "user_b", "0x0002"));
  Add("user_a", Entry("First & <best>", 1000, "user_a", "0x0001"));
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadWithUserModels(ShippedDataDir()));
  ASSERT_EQ(catalogue.Models().size(), 4u);
  EXPECT_EQ(catalogue.Models()[1].name, "Corvane Wren");
  EXPECT_EQ(catalogue.Models()[2].device_type, 1000) << "files are read in name order";
  EXPECT_EQ(catalogue.Models()[3].name, "Second");
  const std::vector<CatalogEntry> modes = catalogue.ModesOf(2);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0].vendor_id, 0x1d50);
  EXPECT_EQ(modes[0].dev_id, "AB12");
  EXPECT_EQ(catalogue.KnownDevices().back().device_type, 1001);
  EXPECT_EQ(catalogue.DefinitionFile("/prog", "user_a"), Folder() / "device" / "user_a.xml");
  EXPECT_EQ(catalogue.DefinitionFile("/prog", "wren"), DefinitionPath("/prog", "wren"));
  EXPECT_TRUE(catalogue.Warnings().empty());

  DeviceCatalogue shipped_only;
  ASSERT_TRUE(shipped_only.Load(ShippedDataDir()));
  EXPECT_EQ(shipped_only.Models().size(), 2u);
}

TEST_F(UserModelsTest, TheShippedCatalogueWinsOverAUserModelWithItsIdsTypeOrName) {
  Add("ids", Entry("Ids", 1000, "ids", "0x0003", "0x1209"));  // Wren's ids
  Add("type", Entry("Type", 12, "type", "0x0010"));           // Wren's device type
  Add("wren", Entry("Name", 1002, "wren", "0x0011"));         // Wren's definition name
  Add("zz_repeat",
      Entry("Repeat", 1003, "zz_repeat", "0x0012"));  // ids of a user model read before
  Add("ok", Entry("Ok", 1004, "ok", "0x0012"));
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadWithUserModels(ShippedDataDir()));
  ASSERT_EQ(catalogue.Models().size(), 3u) << "only Ok joins";
  EXPECT_EQ(catalogue.Models()[2].name, "Ok");
  EXPECT_NE(WarningFor(catalogue, "ids.xml").find("1209:0003 are already Corvane Wren's"),
            std::string::npos);
  EXPECT_NE(WarningFor(catalogue, "type.xml").find("device_type 12"), std::string::npos);
  EXPECT_NE(WarningFor(catalogue, "wren.xml").find("device_attr wren"), std::string::npos);
  EXPECT_FALSE(WarningFor(catalogue, "zz_repeat.xml").empty());
  EXPECT_EQ(catalogue.DefinitionFile(ShippedDataDir(), "wren"),
            DefinitionPath(ShippedDataDir(), "wren"));
}

TEST_F(UserModelsTest, BrokenFilesAreSkippedWithAWarningNamingThem) {
  Add("cut", "<mouse name=\"Cut\" device_type=\"1000\"");
  Add("root", "<config><mouse name=\"R\"/></config>");
  Add("no_def", Entry("No definition", 1001, "no_def", "0x0001"), false);
  Add("bad_attr", Entry("Escape", 1002, "../../x", "0x0002"));
  Add("no_mode", "<mouse name=\"M\" device_type=\"1003\" device_attr=\"no_mode\" image=\"\"/>");
  Add("ids_only", Entry("Ids only", 101, "ids_only", "0x0004"));
  Add("big", std::string(100 * 1024, ' '));
  Add("good", Entry("Good", 1005, "good", "0x0005"));
  ASSERT_TRUE(WriteFileBytes(Folder() / "notes.txt", "not a model"));
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadWithUserModels(ShippedDataDir()));
  ASSERT_EQ(catalogue.Models().size(), 3u);
  EXPECT_EQ(catalogue.Models()[2].name, "Good");
  for (const char* file : {"cut.xml", "root.xml", "no_def.xml", "bad_attr.xml", "no_mode.xml",
                           "ids_only.xml", "big.xml"}) {
    EXPECT_FALSE(WarningFor(catalogue, file).empty()) << file;
  }
  EXPECT_EQ(catalogue.Warnings().size(), 7u);
  EXPECT_NE(WarningFor(catalogue, "no_def.xml").find("definition file"), std::string::npos);
}

TEST_F(UserModelsTest, NoFolderNoHomeAndAMissingConfigLeaveNothingToAdd) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.LoadWithUserModels(ShippedDataDir()));  // the folder does not exist
  EXPECT_EQ(catalogue.Models().size(), 2u);
  EXPECT_TRUE(catalogue.Warnings().empty());
  Add("good", Entry("Good", 1005, "good", "0x0005"));
  EXPECT_FALSE(catalogue.LoadWithUserModels(home_.Root() / "nowhere"));
  EXPECT_TRUE(catalogue.Models().empty()) << "no user models without the shipped catalogue";
  const std::string data_home = std::getenv("XDG_DATA_HOME");
  const std::string home = std::getenv("HOME");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserModelsFolder(), std::filesystem::path(home) / ".local/share/corvane/models");
  unsetenv("HOME");
  EXPECT_TRUE(UserModelsFolder().empty());
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", data_home.c_str(), 1);
}

}  // namespace
}  // namespace corvane::test
