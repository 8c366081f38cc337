// Macro page operations. The event list is the working copy; every change is stored
// at once, replacing the macro's events in one transaction.
#include "settings/macro_editor.h"

#include <algorithm>

#include "base/text.h"
#include "protocol/button_table_encoding.h"
#include "settings/macro_names.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

int PlayChoiceOf(int play_type) {
  if (play_type == 1 || play_type == 3) return 0;
  return play_type == 2 ? 1 : 2;
}

}  // namespace

int ClampFixedDelay(const std::string& field) {
  if (field.empty()) return kDefaultFixedDelay;
  return std::clamp(DecimalToInt(field), kMinEditDelay, kMaxEditDelay);
}

int ClampPlayTimes(const std::string& field, int device_type) {
  if (field.empty()) return 1;
  const int max = device_type > kPlayLimitDeviceType ? kMaxPlayTimesHigh : kMaxPlayTimesLow;
  return std::clamp(DecimalToInt(field), 1, max);
}

MacroEditor::MacroEditor(SettingsDatabase& db, MacroClock& clock, TextLookup texts)
    : db_(db), clock_(clock), texts_(std::move(texts)) {}

std::vector<MacroListEntry> MacroEditor::Load() {
  std::vector<MacroListEntry> list;
  for (const MacroRecord& macro : db_.GetMacros()) {
    list.push_back({macro.macro_id, MacroListDisplayName(macro.name, texts_)});
  }
  if (list.empty() || !Select(list.front().macro_id)) {
    macro_id_ = 0;
    events_.Clear();
  }
  return list;
}

bool MacroEditor::Select(int macro_id) {
  events_.Clear();
  macro_id_ = db_.GetMacro(macro_id) ? macro_id : 0;
  if (macro_id_ == 0) return false;
  events_.Assign(db_.GetMacroEvents(macro_id_));
  return true;
}

std::optional<PlaySettings> MacroEditor::ShownPlaySettings() const {
  const std::optional<MacroRecord> macro = db_.GetMacro(macro_id_);
  if (!macro) return std::nullopt;
  PlaySettings shown;
  shown.delay_choice = std::clamp(macro->delay_type, 0, 2);
  if (shown.delay_choice == 2) shown.delay_field = IntToDecimal(macro->delay_time);
  shown.play_choice = PlayChoiceOf(macro->play_type);
  if (shown.play_choice == 2) shown.count_field = IntToDecimal(macro->play_times);
  return shown;
}

int MacroEditor::NewMacro() {
  const std::string name =
      texts_(kTextMacroNameBase) + " " + IntToDecimal(db_.GetMacros().size() + 1);
  const int id = db_.AddMacro(name);
  if (id > 0) Select(id);
  return id;
}

std::optional<int> MacroEditor::DeleteSelected() {
  if (macro_id_ <= 0) return std::nullopt;
  std::vector<MacroRecord> macros = db_.GetMacros();
  auto it = std::find_if(macros.begin(), macros.end(),
                         [this](const MacroRecord& m) { return m.macro_id == macro_id_; });
  const int position = static_cast<int>(it - macros.begin());
  const int deleted = macro_id_;
  if (!db_.DeleteMacro(deleted)) return std::nullopt;
  if (it != macros.end()) macros.erase(it);
  ReleaseButtonsOf(deleted);
  // The macro now selected is shown with its own events, so a later edit cannot
  // overwrite them with an empty list.
  const int next = std::min(std::max(position - 1, 0), static_cast<int>(macros.size()) - 1);
  if (next < 0 || !Select(macros[next].macro_id)) {
    macro_id_ = 0;
    events_.Clear();
  }
  return macro_id_;
}

void MacroEditor::ReleaseButtonsOf(int macro_id) {
  // The buttons that played it get their factory function back, which is what the mouse is
  // sent for a button whose macro is gone. A row left behind would take up whichever macro
  // is given this id next and play it without ever being sent.
  bool active_played = false;
  const std::vector<KeyAssignRecord> released = ButtonsPlaying(macro_id, &active_played);
  // Told first, while the rows still name the buttons whose entries change.
  if (active_played && stored_) stored_(macro_id);
  for (KeyAssignRecord row : released) {
    row.macro_type = kFamilyMouse;
    row.macro_value = row.macro_value2 = 0;  // both values 0: removes the row
    db_.SaveKeyAssign(row);
  }
}

std::vector<KeyAssignRecord> MacroEditor::ButtonsPlaying(int macro_id, bool* active) const {
  std::vector<KeyAssignRecord> rows;
  for (const ProfileRecord& profile : db_.GetProfiles()) {
    for (const KeyAssignRecord& row : db_.GetKeyAssigns(profile.profile)) {
      if (row.macro_type != kFamilyMacro || row.macro_value != macro_id) continue;
      rows.push_back(row);
      if (active != nullptr && profile.status == 1) *active = true;
    }
  }
  return rows;
}

bool MacroEditor::SelectedIsPlayedByAButton() const {
  return macro_id_ > 0 && !ButtonsPlaying(macro_id_).empty();
}

std::string MacroEditor::Rename(int macro_id, const std::string& text, int profile) {
  const std::optional<MacroRecord> macro = db_.GetMacro(macro_id);
  if (!macro) return text;
  if (text.empty() || !db_.RenameMacro(macro_id, text)) {
    return MacroListDisplayName(macro->name, texts_);
  }
  for (const KeyAssignRecord& row : db_.GetKeyAssigns(profile)) {
    if (row.macro_type == kFamilyMacro && row.macro_value == macro_id) {
      db_.SetKeyMacroDesc(profile, row.key_code, text);
    }
  }
  return text;
}

bool MacroEditor::FitsMouse() const { return MacroFitsPackets(events_.Items()); }

bool MacroEditor::SaveEvents() {
  if (macro_id_ <= 0) return false;
  std::vector<MacroEventRecord> rows = events_.Items();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    rows[i].macro_id = macro_id_;
    rows[i].record_index = i;
  }
  if (!db_.ReplaceMacroEvents(macro_id_, rows)) return false;
  if (stored_) stored_(macro_id_);
  return true;
}

MacroEditResult MacroEditor::Commit(bool changed) {
  if (!changed) return MacroEditResult::kNoSelection;
  return SaveEvents() ? MacroEditResult::kDone : MacroEditResult::kStoreFailed;
}

MacroEditResult MacroEditor::InsertPress(int selected, int down_type, int value,
                                         const std::string& name) {
  if (macro_id_ <= 0) return MacroEditResult::kNoSelection;
  if (events_.Full()) return MacroEditResult::kListFull;
  const MacroEventList before = events_;
  const int stamp = events_.FreeTimestamp(static_cast<int>(clock_.NowMs()));
  events_.InsertPress(selected, down_type, value, name, stamp);
  if (!FitsMouse()) {
    events_ = before;
    return MacroEditResult::kTooLong;
  }
  return Commit(true);
}

MacroEditResult MacroEditor::InsertClick(int selected, MouseChoice button) {
  const int bit = static_cast<int>(button);
  return InsertPress(selected, kEventMouseDown, bit, MouseButtonName(bit));
}

MacroEditResult MacroEditor::InsertKey(int selected, int vk, const std::string& name) {
  if (vk == 0 || name.empty()) return MacroEditResult::kNoSelection;
  return InsertPress(selected, kEventKeyDown, vk, name);
}

MacroEditResult MacroEditor::InsertDelay(int selected) {
  if (macro_id_ <= 0) return MacroEditResult::kNoSelection;
  if (events_.Full()) return MacroEditResult::kListFull;
  const int stamp = events_.FreeTimestamp(static_cast<int>(clock_.NowMs()));
  events_.Insert(selected, kEventDelay, kDefaultInsertDelay, DelayText(kDefaultInsertDelay),
                 stamp);
  return Commit(true);
}

MacroEditResult MacroEditor::EditDelay(int position, int ms) {
  return Commit(macro_id_ > 0 && events_.EditDelay(position, ms));
}

MacroEditResult MacroEditor::EditKey(int position, int vk, const std::string& name) {
  if (vk == 0 || name.empty()) return MacroEditResult::kNoSelection;
  return Commit(macro_id_ > 0 && events_.EditPress(position, kEventKeyDown, vk, name));
}

MacroEditResult MacroEditor::EditMouseButton(int position, MouseChoice button) {
  const int bit = static_cast<int>(button);
  return Commit(macro_id_ > 0 &&
                events_.EditPress(position, kEventMouseDown, bit, MouseButtonName(bit)));
}

MacroEditResult MacroEditor::MoveUp(int p) { return Commit(macro_id_ > 0 && events_.MoveUp(p)); }
MacroEditResult MacroEditor::MoveDown(int p) { return Commit(macro_id_ > 0 && events_.MoveDown(p)); }
MacroEditResult MacroEditor::MoveTop(int p) { return Commit(macro_id_ > 0 && events_.MoveTop(p)); }
MacroEditResult MacroEditor::MoveBottom(int p) {
  return Commit(macro_id_ > 0 && events_.MoveBottom(p));
}
MacroEditResult MacroEditor::DeleteEvent(int p) { return Commit(macro_id_ > 0 && events_.Delete(p)); }

MacroEditResult MacroEditor::Clear() {
  if (macro_id_ <= 0) return MacroEditResult::kNoSelection;
  events_.Clear();
  return Commit(true);
}

MacroEditResult MacroEditor::SavePlaySettings(PlaySettings& settings, int device_type) {
  std::optional<MacroRecord> macro = db_.GetMacro(macro_id_);
  if (!macro) return MacroEditResult::kNoSelection;
  macro->delay_type = std::clamp(settings.delay_choice, 0, 2);
  macro->delay_time = 0;
  if (macro->delay_type == 2) {
    macro->delay_time = ClampFixedDelay(settings.delay_field);
    settings.delay_field = IntToDecimal(macro->delay_time);
  }
  macro->play_times = 1;
  if (settings.play_choice == 0 || settings.play_choice == 1) {
    macro->play_type = settings.play_choice + 1;
  } else {
    macro->play_type = 0;
    macro->play_times = ClampPlayTimes(settings.count_field, device_type);
    settings.count_field = IntToDecimal(macro->play_times);
  }
  if (!db_.UpdateMacro(macro_id_, *macro)) return MacroEditResult::kStoreFailed;
  if (stored_) stored_(macro_id_);  // the play flags travel in the button's entry
  return MacroEditResult::kDone;
}

}  // namespace corvane
