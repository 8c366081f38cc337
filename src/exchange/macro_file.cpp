// Macro export and import in the single-macro and all-macros layouts.
#include "exchange/macro_file.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "exchange/exchange_file.h"
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

// The macro attributes of the current element; missing ones read as "" and 0.
MacroRecord ReadMacroAttributes(const MarkupDocument& doc) {
  MacroRecord macro;
  macro.name = doc.GetAttribute(std::string_view("macro_name"));
  macro.play_type = doc.GetAttributeInt("macro_type");
  macro.play_times = doc.GetAttributeInt("play_times");
  macro.delay_type = doc.GetAttributeInt("delay_type");
  macro.delay_time = doc.GetAttributeInt("delay_time");
  return macro;
}

// Reads every `item` under the current parent as an event of `macro_id`.
std::vector<MacroEventRecord> ReadEvents(MarkupDocument& doc, int macro_id) {
  std::vector<MacroEventRecord> events;
  while (doc.FindElement("item")) {
    MacroEventRecord event;
    event.macro_id = macro_id;
    event.desc = doc.GetAttribute(std::string_view("desc"));
    event.record_index = doc.GetAttributeInt("index");
    event.type = doc.GetAttributeInt("type");
    event.value = doc.GetAttributeInt("value");
    event.delay_time = doc.GetAttributeInt("timestamp");
    events.push_back(std::move(event));
  }
  return events;
}

// Stores the events in one transaction (a long macro would otherwise commit per row).
// Returns whether every event was stored.
bool StoreEvents(SettingsDatabase& db, const std::vector<MacroEventRecord>& events) {
  if (events.empty()) return true;
  return db.AddMacroEvents(events) == static_cast<int>(events.size());
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
  doc.FindElement("macroinfo");  // without it the macro is created empty, as before
  const int macro_id = db.InsertMacro(ReadMacroAttributes(doc));
  if (macro_id <= 0) return ExchangeFailure(ExchangeStatus::kStoreFailed, path.string());
  result.macro_ids.push_back(macro_id);
  if (doc.FindElement("macroitems")) {
    doc.EnterElement();
    if (!StoreEvents(db, ReadEvents(doc, macro_id))) {
      return ExchangeFailure(ExchangeStatus::kStoreFailed, path.string());
    }
    doc.LeaveElement();
  }
  return result;
}

ExchangeResult ImportAllMacros(SettingsDatabase& db, const std::filesystem::path& path) {
  MarkupDocument doc;
  ExchangeResult result = LoadExchangeDocument(path, "macro", doc);
  if (!result.ok()) return result;
  doc.EnterElement();
  while (doc.FindElement("macro_item")) {
    const int macro_id = db.InsertMacro(ReadMacroAttributes(doc));
    if (macro_id <= 0) return ExchangeFailure(ExchangeStatus::kStoreFailed, path.string());
    result.macro_ids.push_back(macro_id);
    doc.EnterElement();
    if (doc.FindElement("record_item")) {
      doc.EnterElement();
      const bool stored = StoreEvents(db, ReadEvents(doc, macro_id));
      doc.LeaveElement();
      if (!stored) return ExchangeFailure(ExchangeStatus::kStoreFailed, path.string());
    }
    doc.LeaveElement();
  }
  return result;
}

}  // namespace corvane
