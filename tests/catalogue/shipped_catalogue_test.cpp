// Validates the shipped data/config.xml and every data/device/*.xml: element order as the
// readers search it, required attributes, USB ids in the test range, full dev_ids, and
// that the readers get out of them what the files say.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "catalogue/factory_defaults.h"
#include "support/temp_home.h"
#include "xml/markup_document.h"

namespace corvane {
namespace {

const std::filesystem::path kData = test::ShippedDataDir();

// The USB ids of the shipped models must come from this test range.
constexpr int kTestVendorId = 0x1209;
constexpr int kFirstTestProductId = 0x0001;
constexpr int kLastTestProductId = 0x0010;
constexpr size_t kDevIdLength = 4;
constexpr int kReportRateCodes[] = {8, 4, 2, 1, 16, 32, 64};

using ChildCheck = std::function<void(MarkupDocument&, const std::string& name)>;

// Calls `check` on each child of the current element (positioned on it) and returns the
// children's names in document order. Leaves the position on the current element.
std::vector<std::string> VisitChildren(MarkupDocument& doc, const ChildCheck& check = {}) {
  std::vector<std::string> names;
  if (!doc.EnterElement()) return names;
  while (doc.FindNextElement()) {
    names.push_back(doc.GetTagNameUtf8());
    if (check) check(doc, names.back());
  }
  doc.LeaveElement();
  return names;
}

void ExpectAttributes(const MarkupDocument& doc, std::initializer_list<const char*> names,
                      const std::string& where) {
  for (const char* name : names) {
    EXPECT_FALSE(doc.GetAttribute(std::string_view(name)).empty()) << where << " needs " << name;
  }
}

void CheckMode(MarkupDocument& doc, std::set<std::pair<int, int>>& seen_ids) {
  ExpectAttributes(doc, {"value", "desc", "vid", "pid", "dev_id", "hid_interface"}, "mode");
  const int mode = doc.GetAttributeInt("value");
  EXPECT_TRUE(mode == ModeNumber(ConnectionMode::kWired) ||
              mode == ModeNumber(ConnectionMode::kReceiver))
      << mode;
  const std::string vid = doc.GetAttribute(std::string_view("vid"));
  const std::string pid = doc.GetAttribute(std::string_view("pid"));
  EXPECT_TRUE(std::regex_match(vid, std::regex("0x[0-9A-Fa-f]{4}"))) << vid;
  EXPECT_TRUE(std::regex_match(pid, std::regex("0x[0-9A-Fa-f]{4}"))) << pid;
  EXPECT_EQ(ParseHexId(vid), kTestVendorId);
  EXPECT_GE(ParseHexId(pid), kFirstTestProductId);
  EXPECT_LE(ParseHexId(pid), kLastTestProductId);
  EXPECT_EQ(doc.GetAttribute(std::string_view("dev_id")).size(), kDevIdLength);
  EXPECT_TRUE(seen_ids.insert({ParseHexId(vid), ParseHexId(pid)}).second) << "repeated " << pid;
}

TEST(ShippedCatalogueTest, ConfigXmlHasItsElementsInReadingOrder) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(kData / "config.xml"));
  ASSERT_TRUE(doc.FindElement("config"));
  std::set<std::pair<int, int>> ids;
  std::set<int> types;
  const auto top = VisitChildren(doc, [&](MarkupDocument& d, const std::string& name) {
    if (name == "language.info") {
      EXPECT_EQ(VisitChildren(d), std::vector<std::string>(6, "lan"));
    } else if (name == "device") {
      VisitChildren(d, [&](MarkupDocument& mouse, const std::string& tag) {
        EXPECT_EQ(tag, "mouse");
        ExpectAttributes(mouse, {"name", "device_type", "device_attr", "image"}, "mouse");
        EXPECT_TRUE(types.insert(mouse.GetAttributeInt("device_type")).second);
        EXPECT_GE(mouse.GetAttributeInt("device_type"), 1);
        const auto modes = VisitChildren(mouse, [&](MarkupDocument& m, const std::string& t) {
          EXPECT_EQ(t, "mode");
          CheckMode(m, ids);
        });
        EXPECT_FALSE(modes.empty());
      });
    } else if (name == "software") {
      ExpectAttributes(d, {"caption", "version"}, "software");
      const auto links = VisitChildren(d, [](MarkupDocument& link, const std::string& tag) {
        ExpectAttributes(link, {tag == "copyright" ? "info" : "url"}, tag);
      });
      EXPECT_EQ(links, (std::vector<std::string>{"website", "feedback", "qa", "store", "upgrade",
                                                 "copyright"}));
    }
  });
  EXPECT_EQ(top, (std::vector<std::string>{"language.info", "device", "software"}));
}

TEST(ShippedCatalogueTest, OffersAWirelessModelWithLightingAndAWiredOneWithout) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(kData));
  const CatalogEntry* both = catalogue.FirstWiredAndWirelessModel();
  ASSERT_NE(both, nullptr);
  const auto both_definition = LoadDeviceDefinition(DefinitionPath(kData, both->device_attr));
  ASSERT_TRUE(both_definition);
  EXPECT_TRUE(both_definition->lighting);
  bool wired_only_without_lighting = false;
  for (size_t i = 0; i < catalogue.Models().size(); ++i) {
    const auto modes = catalogue.ModesOf(i);
    const auto definition =
        LoadDeviceDefinition(DefinitionPath(kData, catalogue.Models()[i].device_attr));
    ASSERT_TRUE(definition) << catalogue.Models()[i].device_attr;
    if (modes.size() == 1 && modes[0].mode == ConnectionMode::kWired && !definition->lighting) {
      wired_only_without_lighting = true;
    }
  }
  EXPECT_TRUE(wired_only_without_lighting);
  EXPECT_FALSE(catalogue.Software().version.empty());
  EXPECT_FALSE(catalogue.Software().upgrade.empty());
}

// Checks one definition file's element order and attributes.
void CheckDefinitionFile(const std::filesystem::path& file) {
  SCOPED_TRACE(file.filename().string());
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(file));
  ASSERT_TRUE(doc.FindElement("mouse"));
  std::set<int> key_values;
  const auto top = VisitChildren(doc, [&](MarkupDocument& d, const std::string& name) {
    if (name == "image_file") ExpectAttributes(d, {"mouse_img"}, name);
    if (name == "menu") ExpectAttributes(d, {"light"}, name);
    if (name == "custom") {
      ExpectAttributes(d, {"show_dpitips", "show_savetips", "show_lod", "show_sensor"}, name);
    }
    if (name == "mouse_key") {
      VisitChildren(d, [&](MarkupDocument& key, const std::string& tag) {
        EXPECT_EQ(tag, "key");
        ExpectAttributes(key, {"name", "key_value", "direction", "rect", "func_desc",
                               "func_type", "func_value"}, "key");
        EXPECT_TRUE(std::regex_match(key.GetAttribute(std::string_view("rect")),
                                     std::regex("[0-9]+#[0-9]+#[0-9]+")));
        key_values.insert(key.GetAttributeInt("key_value"));
      });
    }
    if (name == "mouse_info") {
      const auto info = VisitChildren(d, [](MarkupDocument& item, const std::string& tag) {
        if (tag == "light_info") {
          EXPECT_EQ(VisitChildren(item), (std::vector<std::string>{"light_1", "light_2", "light_3",
                                                                   "light_4", "light_5", "light_6"}));
        } else if (tag == "dpi_info") {
          ExpectAttributes(item, {"default_dpi", "dpi_count"}, tag);
          EXPECT_EQ(VisitChildren(item, [](MarkupDocument& stage, const std::string&) {
                      ExpectAttributes(stage, {"value", "color"}, "dpi stage");
                      EXPECT_TRUE(std::regex_match(stage.GetAttribute(std::string_view("color")),
                                                   std::regex("#[0-9A-F]{6}")));
                    }),
                    (std::vector<std::string>{"dpi_1", "dpi_2", "dpi_3", "dpi_4", "dpi_5", "dpi_6"}));
        } else {
          ExpectAttributes(item, {tag == "report_rate" ? "default_value" : "value"}, tag);
        }
      });
      EXPECT_EQ(info, (std::vector<std::string>{"light_info", "dpi_info", "report_rate",
                                                "sleep_light", "move_wakeup", "move_closelight"}));
    }
  });
  EXPECT_EQ(top, (std::vector<std::string>{"image_file", "menu", "custom", "firmware", "mouse_key",
                                           "mouse_info"}));
  for (int button = 0; button <= 5; ++button) EXPECT_EQ(key_values.count(button), 1u) << button;
}

// Checks that the readers see in a definition what its elements hold.
void CheckDefinitionValues(const std::filesystem::path& file) {
  SCOPED_TRACE(file.filename().string());
  const auto definition = LoadDeviceDefinition(file);
  ASSERT_TRUE(definition);
  EXPECT_FALSE(definition->mouse_image.empty());
  EXPECT_GE(definition->buttons.size(), 6u);
  bool any_light = false;
  for (bool on : definition->light_modes) any_light = any_light || on;
  EXPECT_EQ(any_light, definition->lighting) << "lighting modes without a lighting page";
  const auto defaults = LoadFactoryDefaults(file);
  ASSERT_TRUE(defaults);
  ASSERT_TRUE(defaults->has_dpi_info);
  EXPECT_GE(defaults->dpi_count, 1);
  EXPECT_LE(defaults->dpi_count, kDefinitionDpiStages);
  EXPECT_GE(defaults->default_dpi, 0);
  EXPECT_LT(defaults->default_dpi, defaults->dpi_count);
  for (const DpiStageDefault& stage : defaults->stages) {
    EXPECT_TRUE(stage.present);
    EXPECT_GE(stage.value, 50);
  }
  ASSERT_TRUE(defaults->report_rate);
  EXPECT_NE(std::find(std::begin(kReportRateCodes), std::end(kReportRateCodes), *defaults->report_rate),
            std::end(kReportRateCodes));
  EXPECT_TRUE(defaults->sleep_light && defaults->move_wakeup && defaults->move_closelight);
}

TEST(ShippedCatalogueTest, EveryDefinitionFileIsCompleteAndBelongsToAModel) {
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(kData));
  std::set<std::string> attrs;
  for (const CatalogEntry& model : catalogue.Models()) attrs.insert(model.device_attr);
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kData / "device")) {
    if (entry.path().extension() != ".xml") continue;
    ++files;
    EXPECT_EQ(attrs.count(entry.path().stem().string()), 1u) << "no model uses " << entry.path();
    CheckDefinitionFile(entry.path());
    CheckDefinitionValues(entry.path());
  }
  EXPECT_EQ(files, attrs.size()) << "a model has no definition file";
}

}  // namespace
}  // namespace corvane
