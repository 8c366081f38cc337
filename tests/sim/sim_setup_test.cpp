// Building the simulator from config.xml: the default model, --sim-model by number,
// file stem or name, and the errors for models and modes that cannot be presented.
#include "sim/sim_setup.h"

#include <gtest/gtest.h>

#include "catalogue/device_catalogue.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

constexpr const char* kConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <device>
    <mouse name="Solo" device_type="3" device_attr="solo" image="s.png">
      <mode value="0" vid="0x1209" pid="0x0005" dev_id="SO03"/>
    </mouse>
    <mouse name="Empty" device_type="4" device_attr="empty" image="e.png"/>
    <mouse name="Pair" device_type="5" device_attr="pair" image="p.png">
      <mode value="1" vid="0x1209" pid="0x0007" dev_id="PR05"/>
      <mode value="0" vid="0x1209" pid="0x0006" dev_id="PW05"/>
      <mode value="0" vid="0x1209" pid="0x0009" dev_id="XX05"/>
    </mouse>
  </device>
</config>
)";

class SimSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteFileBytes(home_.Root() / "prog" / "config.xml", kConfig));
    ASSERT_TRUE(catalogue_.Load(home_.Root() / "prog"));
  }
  TempHome home_;
  DeviceCatalogue catalogue_;
};

TEST_F(SimSetupTest, DefaultIsTheFirstModelWithBothModes) {
  SimIdentity id;
  std::string error;
  ASSERT_TRUE(SimIdentityFromCatalogue(catalogue_, "", id, error)) << error;
  EXPECT_EQ(id.device_type, 5);
  EXPECT_EQ(id.product_name, "Pair");
  EXPECT_EQ(id.wired.product_id, 0x0006) << "the first wired mode counts";
  EXPECT_EQ(id.wired.dev_id, "PW05");
  EXPECT_EQ(id.receiver.product_id, 0x0007);
  EXPECT_EQ(id.receiver.dev_id, "PR05");
  EXPECT_TRUE(id.wired.exists && id.receiver.exists);
}

TEST_F(SimSetupTest, ModelsAreFoundByNumberStemOrName) {
  for (const char* name : {"3", "solo", "Solo"}) {
    SimIdentity id;
    std::string error;
    ASSERT_TRUE(SimIdentityFromCatalogue(catalogue_, name, id, error)) << name << error;
    EXPECT_EQ(id.device_type, 3);
    EXPECT_TRUE(id.wired.exists);
    EXPECT_FALSE(id.receiver.exists);
  }
  SimIdentity id;
  std::string error;
  EXPECT_FALSE(SimIdentityFromCatalogue(catalogue_, "9", id, error));
  EXPECT_EQ(error, "the catalogue has no model 9");
  EXPECT_FALSE(SimIdentityFromCatalogue(catalogue_, "4", id, error));
  EXPECT_NE(error.find("neither"), std::string::npos);
}

TEST_F(SimSetupTest, CreateChecksModeModelAndStateFile) {
  const auto prog = home_.Root() / "prog";
  std::string error;
  auto backend = CreateSimBackend(prog, "", "solo", "", error);
  ASSERT_NE(backend, nullptr) << error;
  EXPECT_EQ(backend->Enumerate().size(), 4u);
  EXPECT_EQ(CreateSimBackend(prog, "wireless", "solo", "", error), nullptr);
  EXPECT_EQ(error, "model Solo has no wireless mode");
  EXPECT_EQ(CreateSimBackend(prog, "radio", "", "", error), nullptr);
  EXPECT_NE(error.find("radio"), std::string::npos);
  EXPECT_EQ(CreateSimBackend(home_.Root() / "nowhere", "", "", "", error), nullptr);
  EXPECT_NE(error.find("config.xml"), std::string::npos);

  const auto state = home_.Root() / "sim.state";
  ASSERT_TRUE(WriteFileBytes(state, "nonsense=1\n"));
  EXPECT_EQ(CreateSimBackend(prog, "both", "", state.string(), error), nullptr);
  EXPECT_NE(error.find("unknown key 'nonsense'"), std::string::npos);
}

TEST(SimSetupShipped, ShippedCatalogueGivesAPluggableDefaultModel) {
  std::string error;
  auto backend = CreateSimBackend(ShippedDataDir(), "both", "", "", error);
  ASSERT_NE(backend, nullptr) << error;
  const SimIdentity& id = backend->Identity();
  EXPECT_TRUE(id.wired.exists && id.receiver.exists);
  EXPECT_EQ(id.wired.dev_id.size(), 4u);
  EXPECT_EQ(backend->Enumerate().size(), 8u);
}

}  // namespace
}  // namespace corvane::test
