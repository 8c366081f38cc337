// The shipped udev rule, evaluated for the interfaces a catalogued mouse or receiver
// exposes: the user must be able to open the configuration and firmware-upgrade interfaces
// of every catalogued id, and nothing else (not the keyboard interface, whose reports are
// the keys a macro types, nor any other vendor's device).
#include <gtest/gtest.h>
#include <fnmatch.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

// One hidraw node as udev sees it after IMPORT{builtin}="usb_id", with the ids of its USB
// device among its parents' attributes.
struct HidrawNode {
  std::map<std::string, std::string> values;  // ACTION, SUBSYSTEM, KERNEL, ENV{...}
};

HidrawNode Node(int vid, int pid, int interface_number, const std::string& action = "add") {
  char vid_text[8], pid_text[8], number[8];
  std::snprintf(vid_text, sizeof vid_text, "%04x", vid);
  std::snprintf(pid_text, sizeof pid_text, "%04x", pid);
  std::snprintf(number, sizeof number, "%02x", interface_number);
  return HidrawNode{{{"ACTION", action},
                     {"SUBSYSTEM", "hidraw"},
                     {"KERNEL", "hidraw3"},
                     {"ATTRS{idVendor}", vid_text},
                     {"ATTRS{idProduct}", pid_text},
                     {"ENV{ID_VENDOR_ID}", vid_text},
                     {"ENV{ID_MODEL_ID}", pid_text},
                     {"ENV{ID_USB_INTERFACE_NUM}", number}}};
}

// udev's pattern: alternatives split at '|', each a shell glob.
bool Matches(const std::string& pattern, const std::string& value) {
  std::istringstream alternatives(pattern);
  for (std::string one; std::getline(alternatives, one, '|');) {
    if (fnmatch(one.c_str(), value.c_str(), 0) == 0) return true;
  }
  return false;
}

struct Assignment {
  std::string key;
  std::string op;
  std::string value;
};

// Splits one rule line into its KEY OP "VALUE" parts.
std::vector<Assignment> Parse(const std::string& line) {
  std::vector<Assignment> parts;
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == ',')) ++pos;
    if (pos >= line.size()) break;
    const size_t op = line.find_first_of("=!+", pos);
    const size_t quote = line.find('"', op);
    const size_t end = line.find('"', quote + 1);
    if (op == std::string::npos || quote == std::string::npos || end == std::string::npos) {
      ADD_FAILURE() << "cannot read rule line: " << line;
      return {};
    }
    parts.push_back({line.substr(pos, op - pos), line.substr(op, quote - op),
                     line.substr(quote + 1, end - quote - 1)});
    pos = end + 1;
  }
  return parts;
}

// Runs the rules over `node` and returns the tags given to it. Keys other than the ones a
// hidraw rule of ours needs fail the test, so the evaluation cannot silently pass them.
std::set<std::string> Tags(const std::string& rules, const HidrawNode& node) {
  std::set<std::string> tags;
  std::istringstream in(rules);
  std::string skip_to;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<Assignment> parts = Parse(line);
    if (!skip_to.empty()) {
      if (parts.size() == 1 && parts[0].key == "LABEL" && parts[0].value == skip_to) skip_to.clear();
      continue;
    }
    bool matched = true;
    std::vector<Assignment> actions;
    for (const Assignment& part : parts) {
      if (part.op == "==" || part.op == "!=") {
        const auto value = node.values.find(part.key);
        EXPECT_NE(value, node.values.end()) << "rule matches on unknown key " << part.key;
        const bool hit = value != node.values.end() && Matches(part.value, value->second);
        matched = matched && (part.op == "==" ? hit : !hit);
      } else {
        actions.push_back(part);
      }
    }
    if (!matched) continue;
    for (const Assignment& action : actions) {
      if (action.key == "GOTO") {
        skip_to = action.value;
      } else if (action.key == "TAG" && action.op == "+=") {
        tags.insert(action.value);
      } else if (action.key != "LABEL" && action.key != "IMPORT{builtin}") {
        ADD_FAILURE() << "rule uses unknown action " << action.key;
      }
    }
  }
  return tags;
}

bool Granted(const std::string& rules, const HidrawNode& node) {
  return Tags(rules, node).count("uaccess") == 1;
}

TEST(UdevRule, GrantsOnlyTheConfigurationAndUpgradeInterfacesOfCataloguedIds) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(test::ShippedDataDir()));
  const std::string rules = test::ReadFileBytes(test::ShippedDataDir() / "70-corvane.rules");
  ASSERT_FALSE(rules.empty());
  ASSERT_FALSE(catalogue.KnownDevices().empty());
  constexpr int kPointer = 0, kKeyboard = 1, kConfiguration = 2, kUpgrade = 3;
  for (const KnownDeviceIds& known : catalogue.KnownDevices()) {
    const int vid = known.vendor_id, pid = known.product_id;
    SCOPED_TRACE(::testing::Message() << std::hex << vid << ":" << pid);
    EXPECT_TRUE(Granted(rules, Node(vid, pid, kConfiguration)));
    EXPECT_TRUE(Granted(rules, Node(vid, pid, kUpgrade)));
    EXPECT_FALSE(Granted(rules, Node(vid, pid, kKeyboard))) << "keyboard interface opened";
    EXPECT_FALSE(Granted(rules, Node(vid, pid, kPointer))) << "pointer interface opened";
    EXPECT_FALSE(Granted(rules, Node(vid, pid, kConfiguration, "remove")));
  }
  EXPECT_FALSE(Granted(rules, Node(0x046d, 0xc077, kConfiguration))) << "another vendor's mouse";
}

}  // namespace
}  // namespace corvane
