#include "protocol/performance_commands.h"

#include <gtest/gtest.h>

#include <map>

#include "worker/model_context.h"

namespace corvane {
namespace {

ConfigReader FromMap(std::map<std::string, int> values) {
  return [values = std::move(values)](const std::string& key) {
    auto it = values.find(key);
    return it == values.end() ? 0 : it->second;
  };
}

TEST(PerformanceCommandsTest, DpiStagesPackIndexCountAndClampedCodes) {
  auto config = FromMap({{"dpi_count", 6},
                         {"dpi_index", 2},
                         {"dpi_group0_value", 50},
                         {"dpi_group1_value", 1600},
                         {"dpi_group2_value", 99999},
                         {"dpi_group3_value", 3200},
                         {"dpi_group4_value", 6400},
                         {"dpi_group5_value", 26000}});
  CommandReport report = BuildDpiStagesCommand(config, 4);  // sensor 4: 100..8000
  EXPECT_EQ(report.length, 33);
  EXPECT_EQ(report.bytes[1], 0x03);
  EXPECT_EQ(report.bytes[3], 0x01);
  EXPECT_EQ(report.bytes[4], 37);
  EXPECT_EQ(report.bytes[5], 0x26);
  EXPECT_EQ(report.bytes[6], 1);    // 50 clamped to 100 -> code 1
  EXPECT_EQ(report.bytes[8], 1);    // repeated
  EXPECT_EQ(report.bytes[10], 16);  // 1600 -> 16
  EXPECT_EQ(report.bytes[14], 80);  // above the maximum -> 8000 -> 80
  EXPECT_EQ(report.bytes[30], 0);
  EXPECT_EQ(report.bytes[31], 0);
}

TEST(PerformanceCommandsTest, AStageBeyondTheCountIsSentAsTheFirstAsThePageShowsIt) {
  EXPECT_EQ(BuildDpiStagesCommand(FromMap({{"dpi_count", 3}, {"dpi_index", 3}}), 4).bytes[5], 0x03);
  EXPECT_EQ(BuildDpiStagesCommand(FromMap({{"dpi_count", 3}, {"dpi_index", 2}}), 4).bytes[5], 0x23);
}

TEST(PerformanceCommandsTest, SixteenBitCodesAreLittleEndian) {
  auto config = FromMap({{"dpi_count", 1}, {"dpi_group0_value", 26000}});
  CommandReport report = BuildDpiStagesCommand(config, 99);  // 26000/50-1 = 519
  EXPECT_EQ(report.bytes[6], 519 & 0xFF);
  EXPECT_EQ(report.bytes[7], 519 >> 8);
}

TEST(PerformanceCommandsTest, OptionCommandsCarryOnlyTheirBits) {
  auto config = FromMap({{"sensor_flag", 53},
                         {"liftoff_height", 2},
                         {"report_rate", 4},
                         {"sleep_light", 6},
                         {"move_wakeup", 1},
                         {"move_closelight", 0},
                         {"button_respondtime", 8},
                         {"dpi_group0_rgb", 0x030201}});
  CommandReport sensor = BuildSensorCommand(config);
  EXPECT_EQ(sensor.bytes[4], 5);
  EXPECT_EQ(sensor.bytes[5], 2);
  EXPECT_EQ(sensor.bytes[6], 0);  // 53 has bit 3 clear
  EXPECT_EQ(sensor.bytes[7], 1);  // and bit 2 set
  CommandReport rate = BuildReportRateCommand(config);
  EXPECT_EQ(rate.length, 65);
  EXPECT_EQ(rate.bytes[4], 1);
  EXPECT_EQ(rate.bytes[5], 4);
  CommandReport power = BuildPowerCommand(config);
  EXPECT_EQ((std::vector<int>{power.bytes[5], power.bytes[6], power.bytes[7], power.bytes[8]}),
            (std::vector<int>{6, 1, 0, 8}));
  CommandReport colours = BuildDpiColoursCommand(config);
  EXPECT_EQ(colours.bytes[4], 18);
  EXPECT_EQ((std::vector<int>{colours.bytes[5], colours.bytes[6], colours.bytes[7]}),
            (std::vector<int>{1, 2, 3}));
  CommandReport restore = BuildRestoreDefaultsCommand();
  EXPECT_EQ(restore.length, 33);
  EXPECT_EQ(restore.bytes[4], 0x01);
  EXPECT_EQ(restore.bytes[5], 0xFF);
}

TEST(PerformanceCommandsTest, ReadbackKeepsLowStagesAndRebuildsSensorFlag) {
  uint8_t reply[33] = {};
  reply[4] = 0x24;  // index 2, count 4
  reply[5] = 15;    // code 15 -> 800 with the generic scale
  reply[9] = 0;     // code 0 -> 50, stored
  auto writes = ParsePerformanceReadback(CommandId::kReadDpiStages, reply, sizeof reply, 99);
  std::map<std::string, std::string> stored(writes.begin(), writes.end());
  EXPECT_EQ(stored["dpi_count"], "4");
  EXPECT_EQ(stored["dpi_flag"], "4");
  EXPECT_EQ(stored["dpi_index"], "2");
  EXPECT_EQ(stored["dpi_group0_value"], "800");

  // Sensor 4 maps code 0 to 0 DPI: below 50, so that stage keeps its value.
  writes = ParsePerformanceReadback(CommandId::kReadDpiStages, reply, sizeof reply, 4);
  stored = std::map<std::string, std::string>(writes.begin(), writes.end());
  EXPECT_EQ(stored.count("dpi_group1_value"), 0u);
  EXPECT_EQ(stored["dpi_group0_value"], "1500");

  uint8_t sensor[33] = {};
  sensor[4] = 1;
  sensor[5] = 1;
  sensor[6] = 0;
  writes = ParsePerformanceReadback(CommandId::kReadSensor, sensor, sizeof sensor, 0);
  stored = std::map<std::string, std::string>(writes.begin(), writes.end());
  EXPECT_EQ(stored["sensor_flag"], "8");
  EXPECT_TRUE(ParsePerformanceReadback(CommandId::kReadPower, sensor, 6, 0).empty());  // too short
}

TEST(PerformanceCommandsTest, OutOfRangeStageCountsAndIndicesAreClampedBeforeStoring) {
  struct Case {
    uint8_t byte;  // index << 4 | count, as the mouse reports it
    const char* count;
    const char* index;
  };
  for (const Case& c : {Case{0xFF, "6", "5"}, Case{0x00, "1", "0"}, Case{0x93, "3", "2"}}) {
    uint8_t reply[33] = {};
    reply[4] = c.byte;
    auto writes = ParsePerformanceReadback(CommandId::kReadDpiStages, reply, sizeof reply, 99);
    std::map<std::string, std::string> stored(writes.begin(), writes.end());
    EXPECT_EQ(stored["dpi_count"], c.count) << int(c.byte);
    EXPECT_EQ(stored["dpi_flag"], c.count) << int(c.byte);
    EXPECT_EQ(stored["dpi_index"], c.index) << int(c.byte);
  }
  // The same rule for a device definition's defaults.
  FactoryDefaults defaults;
  defaults.has_dpi_info = true;
  defaults.default_dpi = -7;
  defaults.dpi_count = 40;
  DeviceConfigDefaults values = FactoryConfigValues(defaults, true, false);
  EXPECT_EQ(values["dpi_index"], "0");
  EXPECT_EQ(values["dpi_count"], "6");
  defaults.default_dpi = 9;
  defaults.dpi_count = 2;
  values = FactoryConfigValues(defaults, true, false);
  EXPECT_EQ(values["dpi_index"], "1");
  EXPECT_EQ(values["dpi_flag"], "2");
}

}  // namespace
}  // namespace corvane
