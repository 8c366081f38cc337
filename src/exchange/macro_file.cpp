// Macro export and import in the single-macro and all-macros layouts.
#include "exchange/macro_file.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "exchange/exchange_file.h"
#include "exchange/import_rules.h"
#include "settings/macro_names.h"
#include "store/settings_database.h"
#include "xml/markup_document.h"

namespace corvane {
namespace {

void WriteMacroAttributes(MarkupDocument& doc, const MacroRecord& macro, std::string_view name) {
  doc.SetAttribute("macro_name", name);
  doc.SetAttributeInt("macro_type", macro.play_type);
  doc.SetAttributeInt("play_times", macro.play_times);
  doc.SetAttributeInt("delay_type", macro.delay_type);
  doc.SetAttributeInt("delay_time", macro.delay_time);
}

// One `item` per event, as siblings under the current parent.
void WriteEvents(MarkupDocument& doc, const std::vector<MacroEventRecord>& events) {
  for (const MacroEventRecord& event : events) {
    doc.AddElement("item");
    doc.SetAttribute("desc", event.desc);
    doc.SetAttributeInt("index", event.record_index);
    doc.SetAttributeInt("type", event.type);
    doc.SetAttributeInt("value", event.value);
    doc.SetAttributeInt("timestamp", event.delay_time);
  }
}


// The macro attributes of the current element; missing ones read as "" and 0. Returns the
// first problem ("" when the settings are ones the macro page stores).
std::string ReadMacroAttributes(const MarkupDocument& doc, MacroRecord& macro) {
  std::string problem;
  macro.name = doc.GetAttribute(std::string_view("macro_name"));
  if (!ReadIntAttribute(doc, "macro_type", macro.play_type, problem) ||
      !ReadIntAttribute(doc, "play_times", macro.play_times, problem) ||
      !ReadIntAttribute(doc, "delay_type", macro.delay_type, problem) ||
      !ReadIntAttribute(doc, "delay_time", macro.delay_time, problem)) {
    return problem;
  }
  return MacroSettingsProblem(macro);
}

// Reads every `item` under the current parent. Returns the first problem, naming the item.
std::string ReadEvents(MarkupDocument& doc, std::vector<MacroEventRecord>& events) {
  for (int n = 1; doc.FindElement("item"); ++n) {
    MacroEventRecord event;
    event.desc = doc.GetAttribute(std::string_view("desc"));
    std::string problem;
    if (!ReadIntAttribute(doc, "index", event.record_index, problem) ||
        !ReadIntAttribute(doc, "type", event.type, problem) ||
        !ReadIntAttribute(doc, "value", event.value, problem) ||
        !ReadIntAttribute(doc, "timestamp", event.delay_time, problem)) {
      return "item " + IntToDecimal(n) + ": " + problem;
    }
    problem = MacroEventProblem(event);
    if (!problem.empty()) return "item " + IntToDecimal(n) + ": " + problem;
    events.push_back(std::move(event));
  }
  return "";
}

// One macro of a file with its events, checked and ready to store.
struct PlannedMacro {
  MacroRecord macro;
  std::vector<MacroEventRecord> events;
};

// Stores the macros with their events in one transaction: a macro never exists without
// its events, and a refusal or crash adds none of them. Returns kOk with the new ids.
ExchangeResult StoreMacros(SettingsDatabase& db, const std::vector<PlannedMacro>& planned,
                           const std::filesystem::path& path, ExchangeResult result) {
  db.TakeError();
  SettingsDatabase::Transaction transaction(db);
  if (!transaction.IsActive()) return StoreFailure(db, path);
  for (const PlannedMacro& item : planned) {
    const int macro_id = db.InsertMacro(item.macro);
    if (macro_id <= 0) return StoreFailure(db, path);
    std::vector<MacroEventRecord> events = item.events;
    for (MacroEventRecord& event : events) event.macro_id = macro_id;
    if (!events.empty() && db.AddMacroEvents(events) != static_cast<int>(events.size())) {
      return StoreFailure(db, path);
    }
    result.macro_ids.push_back(macro_id);
  }
  if (!transaction.Commit()) return StoreFailure(db, path);
  return result;
}

}  // namespace

ExchangeResult ExportMacro(SettingsDatabase& db, int macro_id, const std::filesystem::path& path,
                           const TextLookup& texts) {
  std::optional<MacroRecord> macro = db.GetMacro(macro_id);
  if (!macro) return ExchangeFailure(ExchangeStatus::kNoSuchMacro, IntToDecimal(macro_id));
  MarkupDocument doc;
  StartExchangeDocument(doc);
  doc.AddElement("macro");
  doc.EnterElement();
  doc.AddElement("macroinfo");
  WriteMacroAttributes(doc, *macro, MacroListDisplayName(macro->name, texts));
  doc.AddElement("macroitems");
  doc.EnterElement();
  WriteEvents(doc, db.GetMacroEvents(macro_id));
  return SaveExchangeDocument(doc, path);
}

ExchangeResult ExportAllMacros(SettingsDatabase& db, const std::filesystem::path& path) {
  MarkupDocument doc;
  StartExchangeDocument(doc);
  doc.AddElement("macro");
  doc.EnterElement();
  for (const MacroRecord& macro : db.GetMacros()) {
    doc.AddElement("macro_item");
    WriteMacroAttributes(doc, macro, macro.name);
    const std::vector<MacroEventRecord> events = db.GetMacroEvents(macro.macro_id);
    if (events.empty()) continue;
    doc.EnterElement();
    doc.AddElement("record_item");
    doc.EnterElement();
    WriteEvents(doc, events);
    doc.LeaveElement();
    doc.LeaveElement();
  }
  return SaveExchangeDocument(doc, path);
}

ExchangeResult ImportMacro(SettingsDatabase& db, const std::filesystem::path& path) {
  MarkupDocument doc;
  ExchangeResult result = LoadExchangeDocument(path, "macro", doc);
  if (!result.ok()) return result;
  doc.EnterElement();
  PlannedMacro planned;
  // Without macroinfo the macro is created empty (no name, every number 0), as before.
  planned.macro.play_times = 0;
  planned.macro.delay_type = 0;
  std::string problem;
  if (doc.FindElement("macroinfo")) problem = ReadMacroAttributes(doc, planned.macro);
  if (!problem.empty()) {
    return ExchangeFailure(ExchangeStatus::kBadValue, path.string(), "macroinfo: " + problem);
  }
  if (doc.FindElement("macroitems")) {
    doc.EnterElement();
    problem = ReadEvents(doc, planned.events);
    doc.LeaveElement();
    if (!problem.empty()) {
      return ExchangeFailure(ExchangeStatus::kBadValue, path.string(), "macroitems " + problem);
    }
  }
  return StoreMacros(db, {planned}, path, result);
}

ExchangeResult ImportAllMacros(SettingsDatabase& db, const std::filesystem::path& path) {
  MarkupDocument doc;
  ExchangeResult result = LoadExchangeDocument(path, "macro", doc);
  if (!result.ok()) return result;
  doc.EnterElement();
  std::vector<PlannedMacro> planned;
  for (int n = 1; doc.FindElement("macro_item"); ++n) {
    PlannedMacro item;
    std::string problem = ReadMacroAttributes(doc, item.macro);
    doc.EnterElement();
    if (problem.empty() && doc.FindElement("record_item")) {
      doc.EnterElement();
      problem = ReadEvents(doc, item.events);
      if (!problem.empty()) problem = "record_item " + problem;
      doc.LeaveElement();
    }
    doc.LeaveElement();
    if (!problem.empty()) {
      return ExchangeFailure(ExchangeStatus::kBadValue, path.string(),
                             "macro_item " + IntToDecimal(n) + ": " + problem);
    }
    planned.push_back(std::move(item));
  }
  return StoreMacros(db, planned, path, result);
}

}  // namespace corvane
