// Profile export and import. Sections are read forward only, in the order export writes
// them, so a hand-edited file with sections out of order loses the misplaced ones.
#include "exchange/profile_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

#include "app/display_names.h"
#include "app/text_ids.h"
#include "base/text.h"
#include "exchange/exchange_file.h"
#include "exchange/import_rules.h"
#include "protocol/button_table_encoding.h"
#include "settings/sensor_scale.h"
#include "settings/task_poster.h"
#include "store/config_defaults.h"
#include "store/config_keys.h"
#include "store/settings_database.h"
#include "xml/markup_document.h"

namespace corvane {
namespace {

constexpr int kDpiStageCount = 6;
constexpr int kMaxLightByte = 255;
constexpr int kMaxLightColour = 0xFFFFFF;
// Number of characters of the file extension the profile name drops.
constexpr std::size_t kExtensionLength = 4;

constexpr std::array<std::string_view, 3> kDpiAttributes = {kDpiFlagKey, kDpiIndexKey,
                                                            kDpiCountKey};
constexpr std::array<std::string_view, 9> kMouseKeys = {
    kButtonRespondTimeKey, kReportRateKey, kSensorFlagKey, kLiftoffHeightKey, kScrollFlagKey,
    kESportsFlagKey,       kSleepLightKey, kMoveWakeupKey, kMoveCloseLightKey};

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
  for (std::string_view key : kDpiAttributes) {
    doc.SetAttribute(key, db.GetConfigText(profile, key, ""));
  }
  doc.EnterElement();
  for (int stage = 0; stage < kDpiStageCount; ++stage) {
    doc.AddElement("DPI" + IntToDecimal(stage + 1));
    doc.SetAttribute("value", db.GetConfigText(profile, DpiStageValueKey(stage), ""));
    doc.SetAttribute("color", db.GetConfigText(profile, DpiStageColourKey(stage), ""));
  }
  doc.LeaveElement();
}

void WriteMouse(MarkupDocument& doc, const SettingsDatabase& db, int profile) {
  doc.AddElement("Mouse");
  doc.EnterElement();
  for (std::string_view key : kMouseKeys) {
    doc.AddElement(key);
    doc.SetAttribute("value", db.GetConfigText(profile, key, ""));
  }
  doc.LeaveElement();
}

// Everything a profile file would change, read and checked before the store is touched.
struct ProfilePlan {
  std::vector<KeyAssignRecord> keys;
  std::optional<int> light_mode;   // the Lightitems section's active mode
  std::vector<LightRecord> lights;  // rows of modes the profile has, with the file's values
  std::vector<std::pair<std::string, std::string>> config;  // key, value in file order
};

// "<section> item <n>: <problem>", naming the element a refused value came from.
std::string Where(std::string_view section, int item, const std::string& problem) {
  return std::string(section) + " item " + IntToDecimal(item) + ": " + problem;
}

std::string ReadKeyItems(MarkupDocument& doc, const ProfileImportTarget& target,
                         const std::vector<MacroRecord>& macros, ProfilePlan& plan) {
  if (!doc.FindElement("keyitems")) return "";
  doc.EnterElement();
  std::string problem;
  for (int n = 1; problem.empty() && doc.FindElement("item"); ++n) {
    KeyAssignRecord record;
    if (!ReadIntAttribute(doc, "key_code", record.key_code, problem) ||
        !ReadIntAttribute(doc, "macro_type", record.macro_type, problem) ||
        !ReadIntAttribute(doc, "macro_value", record.macro_value, problem) ||
        !ReadIntAttribute(doc, "macro_value2", record.macro_value2, problem) ||
        !ReadIntAttribute(doc, "macro_value3", record.macro_value3, problem)) {
      problem = Where("keyitems", n, problem);
      break;
    }
    record.macro_desc = doc.GetAttribute(std::string_view("macro_desc"));
    // Both codes 0 is the factory function: the row is dropped, as resetting the button does.
    if (record.macro_value == 0 && record.macro_value2 == 0) continue;
    problem = ButtonProblem(record.key_code, target.buttons);
    if (problem.empty()) problem = FunctionProblem(record, macros);
    if (!problem.empty()) problem = Where("keyitems", n, problem);
    // The file names a macro by its number only; here that number may be another macro, so
    // the button is labelled with the macro it will play, not with the name in the file.
    if (problem.empty() && record.macro_type == kFamilyMacro) {
      for (const MacroRecord& macro : macros) {
        if (macro.macro_id == record.macro_value) record.macro_desc = macro.name;
      }
    }
    plan.keys.push_back(std::move(record));
  }
  doc.LeaveElement();
  return problem;
}

std::string LightProblem(const LightRecord& record) {
  for (const auto& [name, field] : LightFields()) {
    const int value = record.*field;
    const bool colour = std::string_view(name).rfind("color_value", 0) == 0;
    const int max = colour ? kMaxLightColour : kMaxLightByte;
    if (value < 0 || value > max) {
      return std::string(name) + " " + IntToDecimal(value) + " must be between 0 and " +
             IntToDecimal(max);
    }
  }
  return "";
}

std::string ReadLightItems(MarkupDocument& doc, const SettingsDatabase& db, int profile,
                           ProfilePlan& plan) {
  if (!doc.FindElement("Lightitems")) return "";
  std::string problem;
  int active = 0;
  if (!ReadIntAttribute(doc, "lightmode", active, problem)) return "Lightitems: " + problem;
  plan.light_mode = active;
  doc.EnterElement();
  for (int n = 1; problem.empty() && doc.FindElement("item"); ++n) {
    int mode = 0;
    if (!ReadIntAttribute(doc, "light_mode", mode, problem)) break;
    std::optional<LightRecord> record = db.GetLight(profile, mode);
    LightRecord row = record.value_or(LightRecord{});
    for (const auto& [name, field] : LightFields()) {
      if (!ReadIntAttribute(doc, name, row.*field, problem)) break;
    }
    if (problem.empty()) problem = LightProblem(row);
    if (!problem.empty()) {
      problem = Where("Lightitems", n, problem);
      break;
    }
    if (record) plan.lights.push_back(row);  // modes the profile has no row for are skipped
  }
  doc.LeaveElement();
  return problem;
}

// Adds `key` = the current element's attribute `attribute` to the plan; an absent (empty)
// value is skipped. Returns the range problem, "" when none.
std::string PlanConfig(const MarkupDocument& doc, std::string_view attribute, std::string_view key,
                       ProfilePlan& plan) {
  const std::string value = doc.GetAttribute(attribute);
  if (value.empty()) return "";
  std::string problem = ConfigValueProblem(key, value);
  if (problem.empty()) plan.config.emplace_back(std::string(key), value);
  return problem;
}

std::string ReadDpi(MarkupDocument& doc, int sensor, ProfilePlan& plan) {
  if (!doc.FindElement("Mouse_DPI")) return "";
  for (std::string_view key : kDpiAttributes) {
    if (std::string problem = PlanConfig(doc, key, key, plan); !problem.empty())
      return "Mouse_DPI: " + problem;
  }
  doc.EnterElement();
  std::string problem;
  for (int stage = 0; stage < kDpiStageCount && problem.empty(); ++stage) {
    const std::string element = "DPI" + IntToDecimal(stage + 1);
    if (!doc.FindElement(element)) continue;
    const size_t planned = plan.config.size();
    problem = PlanConfig(doc, "value", DpiStageValueKey(stage), plan);
    if (problem.empty() && sensor >= 0 && plan.config.size() > planned) {
      std::string& value = plan.config.back().second;
      value = IntToDecimal(NormaliseTypedDpi(sensor, DecimalToInt(value)));
    }
    if (problem.empty()) problem = PlanConfig(doc, "color", DpiStageColourKey(stage), plan);
    if (!problem.empty()) problem = element + ": " + problem;
  }
  doc.LeaveElement();
  return problem;
}

std::string ReadMouse(MarkupDocument& doc, ProfilePlan& plan) {
  if (!doc.FindElement("Mouse")) return "";
  doc.EnterElement();
  std::string problem;
  for (std::string_view key : kMouseKeys) {
    if (!doc.FindElement(key)) continue;
    problem = PlanConfig(doc, "value", key, plan);
    if (!problem.empty()) {
      problem = std::string(key) + ": " + problem;
      break;
    }
  }
  doc.LeaveElement();
  return problem;
}

// The stage count and index must agree after the import, whichever of them the file set.
std::string DpiIndexProblem(const SettingsDatabase& db, int profile, const ProfilePlan& plan) {
  const bool sets_stages = std::any_of(plan.config.begin(), plan.config.end(), [](const auto& row) {
    return row.first == kDpiCountKey || row.first == kDpiIndexKey;
  });
  if (!sets_stages) return "";
  int count = db.GetConfigInt(profile, kDpiCountKey, 0);
  int index = db.GetConfigInt(profile, kDpiIndexKey, 0);
  for (const auto& [key, value] : plan.config) {
    if (key == kDpiCountKey) count = DecimalToInt(value);
    if (key == kDpiIndexKey) index = DecimalToInt(value);
  }
  if (index < count) return "";
  return std::string("Mouse_DPI: ") + kDpiIndexKey + " " + IntToDecimal(index) + " must be below " +
         kDpiCountKey + " " + IntToDecimal(count);
}

// Reads and checks the whole file. Returns "" with `plan` filled, or the first problem.
std::string ReadProfilePlan(MarkupDocument& doc, const SettingsDatabase& db, int profile,
                            const ProfileImportTarget& target, ProfilePlan& plan) {
  doc.EnterElement();
  if (doc.FindElement("profileinfo")) doc.EnterElement();
  std::string problem = ReadKeyItems(doc, target, db.GetMacros(), plan);
  if (problem.empty() && target.has_lighting) problem = ReadLightItems(doc, db, profile, plan);
  if (problem.empty()) problem = ReadDpi(doc, target.sensor, plan);
  if (problem.empty()) problem = ReadMouse(doc, plan);
  if (problem.empty()) problem = DpiIndexProblem(db, profile, plan);
  return problem;
}

// Writes the plan into `profile`. Returns false as soon as the store refuses a write; the
// caller's transaction then undoes the rest.
bool ApplyProfilePlan(SettingsDatabase& db, int profile, const std::string& name,
                      const ProfilePlan& plan) {
  if (!db.RenameProfile(profile, name) || !db.DeleteKeyAssigns(profile)) return false;
  for (KeyAssignRecord record : plan.keys) {
    record.profile = profile;
    if (db.SaveKeyAssign(record) <= 0) return false;
  }
  // A mode the profile has no row for leaves the active light as it was.
  if (plan.light_mode && db.GetLight(profile, *plan.light_mode) &&
      !db.SetActiveLight(profile, *plan.light_mode)) {
    return false;
  }
  for (const LightRecord& row : plan.lights) {
    if (!db.UpdateLight(row.mode, row)) return false;
  }
  for (const auto& [key, value] : plan.config) {
    // A key the profile lacks is skipped, as writing it always was.
    if (db.GetConfigValue(profile, key) && !db.SetConfigValue(profile, key, value)) return false;
  }
  return true;
}

}  // namespace

std::string ProfileNameFromPath(const std::filesystem::path& path) {
  // Counted in characters, not bytes, so a name with accents is not cut mid-character.
  const std::u16string name = Utf8ToUtf16(path.filename().string());
  if (name.size() <= kExtensionLength) return std::string();
  return Utf16ToUtf8(std::u16string_view(name).substr(0, name.size() - kExtensionLength));
}

ExchangeResult ExportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, const TextLookup& texts) {
  std::optional<std::string> name = db.GetProfileName(profile);
  if (!name) return ExchangeFailure(ExchangeStatus::kNoSuchProfile, IntToDecimal(profile));
  MarkupDocument doc;
  StartExchangeDocument(doc);
  doc.AddElement("profile");
  doc.EnterElement();
  doc.AddElement("profileinfo");
  doc.SetAttribute("name", DisplayProfileName(*name, texts(kTextProfile)));
  doc.EnterElement();
  WriteKeyItems(doc, db, profile);
  if (has_lighting) WriteLightItems(doc, db, profile);
  WriteDpi(doc, db, profile);
  WriteMouse(doc, db, profile);
  return SaveExchangeDocument(doc, path);
}

ExchangeResult ImportProfile(SettingsDatabase& db, int profile, const ProfileImportTarget& target,
                             const std::filesystem::path& path, TaskPoster& poster) {
  MarkupDocument doc;
  ExchangeResult result = LoadExchangeDocument(path, "profile", doc);
  if (!result.ok()) return result;
  db.TakeError();
  // One transaction: the worker reads the store too and must never see (or upload) a
  // half-imported profile, and a crash keeps the old profile whole.
  SettingsDatabase::Transaction transaction(db);
  if (!transaction.IsActive()) return StoreFailure(db, path);
  if (!db.GetProfileName(profile)) {
    if (db.TakeError() != StoreError::kNone) return StoreFailure(db, path);
    return ExchangeFailure(ExchangeStatus::kNoSuchProfile, IntToDecimal(profile));
  }
  ProfilePlan plan;
  const std::string problem = ReadProfilePlan(doc, db, profile, target, plan);
  if (!problem.empty()) return ExchangeFailure(ExchangeStatus::kBadValue, path.string(), problem);
  result.profile_name = ProfileNameFromPath(path);
  if (!ApplyProfilePlan(db, profile, result.profile_name, plan) || !transaction.Commit()) {
    return StoreFailure(db, path);
  }
  poster.Post(WorkerTask::kUploadProfile);
  return result;
}

ExchangeResult ImportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, TaskPoster& poster) {
  ProfileImportTarget target;
  target.has_lighting = has_lighting;
  for (int button = 0; button < kButtonCount; ++button) target.buttons.push_back(button);
  return ImportProfile(db, profile, target, path, poster);
}

}  // namespace corvane
