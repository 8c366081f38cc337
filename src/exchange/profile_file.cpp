// Profile export and import. Sections are read forward only, in the order export writes
// them, so a hand-edited file with sections out of order loses the misplaced ones.
#include "exchange/profile_file.h"

#include <array>
#include <string>
#include <string_view>

#include "base/text.h"
#include "exchange/exchange_file.h"
#include "settings/task_poster.h"
#include "store/settings_database.h"
#include "xml/markup_document.h"

namespace corvane {
namespace {

constexpr int kDpiStageCount = 6;
// Number of characters of the file extension the profile name drops.
constexpr std::size_t kExtensionLength = 4;

constexpr std::array<std::string_view, 3> kDpiAttributes = {"dpi_flag", "dpi_index", "dpi_count"};
constexpr std::array<std::string_view, 9> kMouseKeys = {
    "button_respondtime", "report_rate", "sensor_flag", "liftoff_height", "scroll_flag",
    "e-sports_flag",      "sleep_light", "move_wakeup", "move_closelight"};

std::string StageKey(int stage, const char* suffix) {
  return "dpi_group" + IntToDecimal(stage) + suffix;
}

std::string ConfigText(const SettingsDatabase& db, int profile, std::string_view key) {
  return db.GetConfigValue(profile, key).value_or(std::string());
}

// One light row's thirteen parameters, in file order; shared by export and import.
std::array<std::pair<const char*, int LightRecord::*>, 12> LightFields() {
  return {{{"brightness", &LightRecord::brightness},
           {"speed", &LightRecord::speed},
           {"direction", &LightRecord::direction},
           {"colorful", &LightRecord::colorful},
           {"colorindex", &LightRecord::colorindex},
           {"color_value1", &LightRecord::color_value1},
           {"color_value2", &LightRecord::color_value2},
           {"color_value3", &LightRecord::color_value3},
           {"color_value4", &LightRecord::color_value4},
           {"color_value5", &LightRecord::color_value5},
           {"color_value6", &LightRecord::color_value6},
           {"color_value7", &LightRecord::color_value7}}};
}

void WriteKeyItems(MarkupDocument& doc, const SettingsDatabase& db, int profile) {
  doc.AddElement("keyitems");
  doc.EnterElement();
  for (const KeyAssignRecord& record : db.GetKeyAssigns(profile)) {
    doc.AddElement("item");
    doc.SetAttributeInt("key_code", record.key_code);
    doc.SetAttributeInt("macro_type", record.macro_type);
    doc.SetAttributeInt("macro_value", record.macro_value);
    doc.SetAttributeInt("macro_value2", record.macro_value2);
    doc.SetAttributeInt("macro_value3", record.macro_value3);
    doc.SetAttribute("macro_desc", record.macro_desc);
  }
  doc.LeaveElement();
}

void WriteLightItems(MarkupDocument& doc, const SettingsDatabase& db, int profile) {
  doc.AddElement("Lightitems");
  doc.SetAttributeInt("lightmode", db.GetActiveLight(profile));
  doc.EnterElement();
  for (const LightRecord& record : db.GetLights(profile)) {
    doc.AddElement("item");
    doc.SetAttributeInt("light_mode", record.mode);
    for (const auto& [name, field] : LightFields()) doc.SetAttributeInt(name, record.*field);
  }
  doc.LeaveElement();
}

void WriteDpi(MarkupDocument& doc, const SettingsDatabase& db, int profile) {
  doc.AddElement("Mouse_DPI");
  for (std::string_view key : kDpiAttributes) doc.SetAttribute(key, ConfigText(db, profile, key));
  doc.EnterElement();
  for (int stage = 0; stage < kDpiStageCount; ++stage) {
    doc.AddElement("DPI" + IntToDecimal(stage + 1));
    doc.SetAttribute("value", ConfigText(db, profile, StageKey(stage, "_value")));
    doc.SetAttribute("color", ConfigText(db, profile, StageKey(stage, "_rgb")));
  }
  doc.LeaveElement();
}

void WriteMouse(MarkupDocument& doc, const SettingsDatabase& db, int profile) {
  doc.AddElement("Mouse");
  doc.EnterElement();
  for (std::string_view key : kMouseKeys) {
    doc.AddElement(key);
    doc.SetAttribute("value", ConfigText(db, profile, key));
  }
  doc.LeaveElement();
}

void ReadKeyItems(MarkupDocument& doc, SettingsDatabase& db, int profile) {
  if (!doc.FindElement("keyitems")) return;
  doc.EnterElement();
  while (doc.FindElement("item")) {
    KeyAssignRecord record;
    record.profile = profile;
    record.key_code = doc.GetAttributeInt("key_code");
    record.macro_type = doc.GetAttributeInt("macro_type");
    record.macro_value = doc.GetAttributeInt("macro_value");
    record.macro_value2 = doc.GetAttributeInt("macro_value2");
    record.macro_value3 = doc.GetAttributeInt("macro_value3");
    record.macro_desc = doc.GetAttribute(std::string_view("macro_desc"));
    db.SaveKeyAssign(record);
  }
  doc.LeaveElement();
}

void ReadLightItems(MarkupDocument& doc, SettingsDatabase& db, int profile) {
  if (!doc.FindElement("Lightitems")) return;
  db.SetActiveLight(profile, doc.GetAttributeInt("lightmode"));
  doc.EnterElement();
  while (doc.FindElement("item")) {
    const int mode = doc.GetAttributeInt("light_mode");
    std::optional<LightRecord> record = db.GetLight(profile, mode);
    if (!record) continue;
    for (const auto& [name, field] : LightFields()) (*record).*field = doc.GetAttributeInt(name);
    db.UpdateLight(mode, *record);
  }
  doc.LeaveElement();
}

void ReadDpi(MarkupDocument& doc, SettingsDatabase& db, int profile) {
  if (!doc.FindElement("Mouse_DPI")) return;
  for (std::string_view key : kDpiAttributes)
    db.SetConfigValue(profile, key, doc.GetAttribute(key));
  doc.EnterElement();
  for (int stage = 0; stage < kDpiStageCount; ++stage) {
    if (!doc.FindElement("DPI" + IntToDecimal(stage + 1))) continue;
    db.SetConfigValue(profile, StageKey(stage, "_value"),
                      doc.GetAttribute(std::string_view("value")));
    db.SetConfigValue(profile, StageKey(stage, "_rgb"),
                      doc.GetAttribute(std::string_view("color")));
  }
  doc.LeaveElement();
}

void ReadMouse(MarkupDocument& doc, SettingsDatabase& db, int profile) {
  if (!doc.FindElement("Mouse")) return;
  doc.EnterElement();
  for (std::string_view key : kMouseKeys) {
    if (doc.FindElement(key))
      db.SetConfigValue(profile, key, doc.GetAttribute(std::string_view("value")));
  }
  doc.LeaveElement();
}

}  // namespace

std::string ProfileNameFromPath(const std::filesystem::path& path) {
  // Counted in characters, not bytes, so a name with accents is not cut mid-character.
  const std::u16string name = Utf8ToUtf16(path.filename().string());
  if (name.size() <= kExtensionLength) return std::string();
  return Utf16ToUtf8(std::u16string_view(name).substr(0, name.size() - kExtensionLength));
}

ExchangeResult ExportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path) {
  std::optional<std::string> name = db.GetProfileName(profile);
  if (!name) return ExchangeFailure(ExchangeStatus::kNoSuchProfile, IntToDecimal(profile));
  MarkupDocument doc;
  StartExchangeDocument(doc);
  doc.AddElement("profile");
  doc.EnterElement();
  doc.AddElement("profileinfo");
  doc.SetAttribute("name", *name);
  doc.EnterElement();
  WriteKeyItems(doc, db, profile);
  if (has_lighting) WriteLightItems(doc, db, profile);
  WriteDpi(doc, db, profile);
  WriteMouse(doc, db, profile);
  return SaveExchangeDocument(doc, path);
}

ExchangeResult ImportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, TaskPoster& poster) {
  MarkupDocument doc;
  ExchangeResult result = LoadExchangeDocument(path, "profile", doc);
  if (!result.ok()) return result;
  // The worker reads the store too; it must not upload a half-imported profile.
  auto lock = db.Lock();
  if (!db.GetProfileName(profile))
    return ExchangeFailure(ExchangeStatus::kNoSuchProfile, IntToDecimal(profile));
  doc.EnterElement();
  if (doc.FindElement("profileinfo")) doc.EnterElement();
  result.profile_name = ProfileNameFromPath(path);
  db.RenameProfile(profile, result.profile_name);
  db.DeleteKeyAssigns(profile);
  ReadKeyItems(doc, db, profile);
  if (has_lighting) ReadLightItems(doc, db, profile);
  ReadDpi(doc, db, profile);
  ReadMouse(doc, db, profile);
  lock.unlock();
  poster.Post(WorkerTask::kUploadProfile);
  return result;
}

}  // namespace corvane
