// The shipped udev rule must grant access to every USB id the shipped catalogue
// lists, or that model's interfaces stay unreadable for the user.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <utility>

#include "catalogue/device_catalogue.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

std::set<std::pair<int, int>> RuleIds(const std::string& rules) {
  std::set<std::pair<int, int>> ids;
  std::istringstream in(rules);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#' || line.find("TAG+=\"uaccess\"") == std::string::npos) continue;
    unsigned vid = 0, pid = 0;
    const size_t v = line.find("ATTRS{idVendor}==\"");
    const size_t p = line.find("ATTRS{idProduct}==\"");
    if (v == std::string::npos || p == std::string::npos) continue;
    if (std::sscanf(line.c_str() + v + 18, "%4x", &vid) != 1) continue;
    if (std::sscanf(line.c_str() + p + 19, "%4x", &pid) != 1) continue;
    if (line.find("KERNEL==\"hidraw*\"") == std::string::npos) continue;
    ids.insert({static_cast<int>(vid), static_cast<int>(pid)});
  }
  return ids;
}

TEST(UdevRule, CoversEveryCataloguedInterface) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(test::ShippedDataDir()));
  const std::string rules = test::ReadFileBytes(test::ShippedDataDir() / "70-corvane.rules");
  ASSERT_FALSE(rules.empty());
  const auto granted = RuleIds(rules);
  ASSERT_FALSE(catalogue.KnownDevices().empty());
  for (const KnownDeviceIds& known : catalogue.KnownDevices()) {
    EXPECT_TRUE(granted.count({known.vendor_id, known.product_id}))
        << std::hex << known.vendor_id << ":" << known.product_id << " has no uaccess line";
  }
}

}  // namespace
}  // namespace corvane
