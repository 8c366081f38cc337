// Definition files read from fixtures: buttons, flags, lighting modes, forward search of
// the children, the factory values pass and colour texts.
#include <gtest/gtest.h>

#include "catalogue/device_definition.h"
#include "catalogue/factory_defaults.h"

namespace corvane {
namespace {

const std::filesystem::path kDevices =
    std::filesystem::path(CORVANE_TEST_DATA_DIR) / "catalogue" / "device";

TEST(DeviceDefinitionTest, ReadsFlagsOnlyForTheExactTextOne) {
  const auto definition = LoadDeviceDefinition(kDevices / "edge_cases.xml");
  ASSERT_TRUE(definition);
  EXPECT_EQ(definition->mouse_image, "edge_keys.png");
  EXPECT_FALSE(definition->lighting);
  EXPECT_TRUE(definition->show_dpitips);
  EXPECT_FALSE(definition->show_savetips);  // "01"
  EXPECT_FALSE(definition->show_lod);       // " 1"
  EXPECT_FALSE(definition->show_sensor);    // "true"
  EXPECT_EQ(definition->firmware_url, "https://fw.edge.example/edge");
}

TEST(DeviceDefinitionTest, KeepsEveryKeyInFileOrderIncludingRepeatedIndexes) {
  const auto definition = LoadDeviceDefinition(kDevices / "edge_cases.xml");
  ASSERT_TRUE(definition);
  const auto& buttons = definition->buttons;
  ASSERT_EQ(buttons.size(), 5u);  // <button> is not a key
  EXPECT_EQ(buttons[0].name_id, 701);
  EXPECT_EQ(buttons[0].name_text, "701");
  EXPECT_EQ(buttons[0].direction, 1);
  EXPECT_EQ(buttons[0].func_desc_id, 106);
  EXPECT_EQ(buttons[0].func_type, 1);
  EXPECT_EQ(buttons[0].func_value, 1);
  EXPECT_EQ(buttons[1].key_value, 2);
  EXPECT_EQ(buttons[2].key_value, 2);
  EXPECT_EQ(buttons[2].func_type, 4);
  EXPECT_EQ(buttons[2].func_value, 12);
  EXPECT_EQ(buttons[3].name_id, 0);  // not a number: text id 0, text kept as written
  EXPECT_EQ(buttons[3].name_text, "left");
  EXPECT_EQ(buttons[3].func_desc_id, 0);
  EXPECT_EQ(buttons[3].func_desc_text, "Fire");
  EXPECT_EQ(buttons[4].direction, 0);
  EXPECT_EQ(buttons[4].func_type, 0);
}

TEST(DeviceDefinitionTest, SplitsRectTextsAtHashSigns) {
  const auto definition = LoadDeviceDefinition(kDevices / "edge_cases.xml");
  ASSERT_TRUE(definition);
  const auto rect = [&](size_t i) {
    const ButtonDefinition& b = definition->buttons[i];
    return std::array<int, 3>{b.x1, b.x2, b.y};
  };
  EXPECT_EQ(rect(0), (std::array<int, 3>{10, 20, 30}));
  EXPECT_EQ(rect(1), (std::array<int, 3>{0, 0, 7}));   // no "#": all of it is y
  EXPECT_EQ(rect(2), (std::array<int, 3>{1, 0, 2}));
  EXPECT_EQ(rect(3), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(rect(4), (std::array<int, 3>{10, 20, 30}));  // "30#40" reads as 30
}

TEST(DeviceDefinitionTest, LightModesAreSearchedForwardInsideLightInfo) {
  const auto definition = LoadDeviceDefinition(kDevices / "edge_cases.xml");
  ASSERT_TRUE(definition);
  // light_1 "01", light_3 missing, light_5 after light_6 so light_6 is passed over.
  EXPECT_EQ(definition->light_modes, (std::array<bool, 6>{false, true, false, true, true, false}));
}

TEST(DeviceDefinitionTest, ChildrenOutOfOrderArePassedOver) {
  const auto definition = LoadDeviceDefinition(kDevices / "out_of_order.xml");
  ASSERT_TRUE(definition);
  EXPECT_EQ(definition->mouse_image, "order_keys.png");
  EXPECT_TRUE(definition->lighting);
  EXPECT_FALSE(definition->show_dpitips);  // custom stands before menu
  EXPECT_EQ(definition->firmware_url, "https://fw.order.example/");
  EXPECT_EQ(definition->buttons.size(), 1u);
  EXPECT_EQ(definition->light_modes, (std::array<bool, 6>{}));  // mouse_info before mouse_key
}

TEST(DeviceDefinitionTest, UnusableFilesAndUnsafeNamesGiveNothing) {
  EXPECT_FALSE(LoadDeviceDefinition(kDevices / "missing.xml"));
  EXPECT_FALSE(LoadDeviceDefinition(kDevices / ".." / "malformed.xml"));
  EXPECT_FALSE(LoadDeviceDefinition(kDevices / ".." / "edge" / "config.xml"));  // not <mouse>
  EXPECT_FALSE(LoadDeviceDefinition({}));
  EXPECT_EQ(DefinitionPath("/prog", "wren"), std::filesystem::path("/prog/device/wren.xml"));
  for (const char* attr : {"", ".", "..", "../config", "a/b", "a\\b"}) {
    EXPECT_TRUE(DefinitionPath("/prog", attr).empty()) << attr;
  }
}

TEST(FactoryDefaultsTest, ReadsDpiStagesReportRateAndPowerOptions) {
  const auto defaults = LoadFactoryDefaults(kDevices / "factory.xml");
  ASSERT_TRUE(defaults);
  EXPECT_TRUE(defaults->has_dpi_info);
  EXPECT_EQ(defaults->default_dpi, 3);
  EXPECT_EQ(defaults->dpi_count, 5);
  EXPECT_TRUE(defaults->stages[0].present);
  EXPECT_EQ(defaults->stages[0].value, 400);
  EXPECT_EQ(defaults->stages[0].color, 65280);
  EXPECT_FALSE(defaults->stages[1].present);  // dpi_2 missing: stage 2 keeps its value
  EXPECT_EQ(defaults->stages[2].color, 16711680);
  EXPECT_EQ(defaults->stages[3].color, 0xFF);
  EXPECT_EQ(defaults->stages[4].color, 0x12 + 0x34 * 256 + 0x5 * 65536);
  EXPECT_EQ(defaults->stages[5].value, 0);
  EXPECT_EQ(defaults->stages[5].color, 0x80 * 256);
  EXPECT_EQ(defaults->report_rate, 1);
  EXPECT_EQ(defaults->sleep_light, 6);
  EXPECT_EQ(defaults->move_wakeup, 1);
  EXPECT_EQ(defaults->move_closelight, 0);
}

TEST(FactoryDefaultsTest, ValuesBeforeTheirPlaceAreMissed) {
  const auto defaults = LoadFactoryDefaults(kDevices / "factory_out_of_order.xml");
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->report_rate, std::nullopt);      // before dpi_info
  EXPECT_TRUE(defaults->stages[0].present);
  EXPECT_FALSE(defaults->stages[1].present);           // dpi_2 before dpi_1
  EXPECT_EQ(defaults->sleep_light, 30);
  EXPECT_EQ(defaults->move_wakeup, 0);
  EXPECT_EQ(defaults->move_closelight, std::nullopt);  // before sleep_light
}

TEST(FactoryDefaultsTest, MissingElementsLeaveTheirValuesUnset) {
  const auto defaults = LoadFactoryDefaults(kDevices / "out_of_order.xml");
  ASSERT_TRUE(defaults);
  EXPECT_FALSE(defaults->has_dpi_info);
  EXPECT_FALSE(defaults->stages[0].present);
  EXPECT_EQ(defaults->report_rate, std::nullopt);
  const auto none = LoadFactoryDefaults(kDevices / "edge_cases.xml");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->has_dpi_info);
  EXPECT_EQ(none->report_rate, 4);
  EXPECT_EQ(none->sleep_light, std::nullopt);
  EXPECT_FALSE(LoadFactoryDefaults(kDevices / "missing.xml"));
}

TEST(FactoryDefaultsTest, ColourTextsOfEveryLength) {
  EXPECT_EQ(ParseDefinitionColor("#00FF00"), 65280);
  EXPECT_EQ(ParseDefinitionColor("#0000FF"), 16711680);
  EXPECT_EQ(ParseDefinitionColor("#ff0000"), 255);
  EXPECT_EQ(ParseDefinitionColor("#AB"), 0xAB);
  EXPECT_EQ(ParseDefinitionColor("#ABC"), 0xAB + 0xC * 256);
  EXPECT_EQ(ParseDefinitionColor("#ABCD"), 0xAB + 0xCD * 256);
  EXPECT_EQ(ParseDefinitionColor("#"), 0);
  EXPECT_EQ(ParseDefinitionColor(""), 0);
  EXPECT_EQ(ParseDefinitionColor("x112233"), 0x11 + 0x22 * 256 + 0x33 * 65536);
  EXPECT_EQ(ParseDefinitionColor("#1G2233"), 0x1 + 0x22 * 256 + 0x33 * 65536);
}

}  // namespace
}  // namespace corvane
