// Buttons page operations. Every successful assignment goes through SaveKeyAssign,
// which replaces the button's row; the button job then rebuilds the whole table.
#include "settings/button_assignment.h"

#include <algorithm>

#include "protocol/button_table_encoding.h"
#include "protocol/key_codes.h"
#include "settings/macro_names.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

constexpr int kPrimaryButton = 0;

// Text id of a stored code in a family, 0 when the code has none.
int CodeTextId(int family, int code) {
  constexpr int kMouse[] = {106, 108, 107, 111, 109, 110, 112, 113, 114, 115};
  constexpr int kMultimedia[] = {120, 121, 124, 122, 123, 117, 118, 119};
  constexpr int kSystem[] = {127, 128, 129, 130, 131, 132, 133, 134, 31, 32, 36};
  switch (family) {
    case kFamilyMouse: return (code >= 1 && code <= 10) ? kMouse[code - 1] : 0;
    case kFamilyMultimedia: return (code >= 1 && code <= 8) ? kMultimedia[code - 1] : 0;
    case kFamilySpecial:
      if (code == 1) return 151;
      return (code >= 3 && code <= 6) ? 149 + code : 0;
    case kFamilyRapidFire: return kTextRapidFireDesc;
    case kFamilySystem: return (code >= 1 && code <= 11) ? kSystem[code - 1] : 0;
    case kFamilyDisabled: return kTextDisable;
    default: return 0;
  }
}

}  // namespace

bool MarkButtonsPlayingMacro(SettingsDatabase& db, DeviceState& state, TaskPoster& poster,
                             int profile, int macro_id) {
  bool marked = false;
  for (const KeyAssignRecord& row : db.GetKeyAssigns(profile)) {
    if (row.fn_layer == 0 && row.macro_type == kFamilyMacro && row.macro_value == macro_id) {
      state.MarkMacroButton(row.key_code);
      marked = true;
    }
  }
  if (marked) poster.Post(WorkerTask::kButtonTable);
  return marked;
}

int KeyboardModifierMask(KeyboardModifiers mods) {
  return (mods.shift ? 2 : 0) | (mods.ctrl ? 1 : 0) | (mods.win ? 8 : 0) | (mods.alt ? 4 : 0);
}

std::string KeyboardDescription(const std::string& key_name, KeyboardModifiers mods) {
  std::string modifiers;
  const auto add = [&modifiers](bool on, const char* name) {
    if (!on) return;
    modifiers += modifiers.empty() ? name : std::string("+ ") + name;
  };
  add(mods.shift, "Shift");
  add(mods.ctrl, "Ctrl");
  add(mods.win, "Win");
  add(mods.alt, "Alt");
  if (!modifiers.empty() && !key_name.empty()) return modifiers + " + " + key_name;
  return modifiers.empty() ? key_name : modifiers;
}

ButtonAssignment::ButtonAssignment(SettingsDatabase& db, TaskPoster& poster,
                                   DeviceState& state, TextLookup texts)
    : db_(db), poster_(poster), state_(state), texts_(std::move(texts)) {}

void ButtonAssignment::Load(int profile, std::vector<ButtonDefinition> buttons) {
  profile_ = profile;
  buttons_ = std::move(buttons);
  // A reload (another profile, the mouse back) keeps the picked button when it is still
  // there: the panel beside it stays open for that button.
  const bool kept = std::any_of(buttons_.begin(), buttons_.end(),
                                [this](const ButtonDefinition& b) { return b.key_value == selected_; });
  if (!kept) selected_ = buttons_.empty() ? 0 : buttons_.front().key_value;
}

AssignResult ButtonAssignment::Save(int family, int value, int value2, const std::string& desc) {
  if (selected_ == kPrimaryButton) return AssignResult::kPrimaryButton;
  if (!IsValidButtonIndex(selected_)) return AssignResult::kInvalidButton;
  // The mouse would keep playing the previous macro while the list named this one.
  if (family == kFamilyMacro && db_.GetMacro(value) &&
      !MacroFitsPackets(db_.GetMacroEvents(value))) {
    return AssignResult::kMacroTooLong;
  }
  KeyAssignRecord record;
  record.profile = profile_;
  record.key_code = selected_;
  record.macro_type = family;
  record.macro_value = value;
  record.macro_value2 = value2;
  record.macro_desc = desc;
  const bool stored = db_.SaveKeyAssign(record) > 0;
  // The worker may take the job at once: its macro mark must already be in place.
  if (stored && family == kFamilyMacro) state_.MarkMacroButton(selected_);
  poster_.Post(WorkerTask::kButtonTable);
  return stored ? AssignResult::kSaved : AssignResult::kStoreFailed;
}

AssignResult ButtonAssignment::Assign(int family, int value, int value2,
                                      const std::string& desc) {
  if (family < kFirstFamily || family > kLastFamily) return AssignResult::kNothingToSave;
  KeyAssignRecord shown;
  shown.macro_type = family;
  shown.macro_value = value;
  const std::string text = desc.empty() ? RowDisplayText(shown) : desc;
  return Save(family, value, value2, text);
}

AssignResult ButtonAssignment::ChooseFamilyItem(int family, int code, const std::string& desc) {
  if (family < kFirstFamily || family > kLastFamily) return AssignResult::kNothingToSave;
  return Save(family, code, 0, desc);
}

AssignResult ButtonAssignment::ChooseMacro(int macro_id, const std::string& desc) {
  return Save(kFamilyMacro, macro_id, 0, desc);
}

AssignResult ButtonAssignment::Disable() { return Save(kFamilyDisabled, 1, 0, texts_(kTextDisable)); }

AssignResult ButtonAssignment::ApplyKeyboard(int vk, const std::string& key_name,
                                             KeyboardModifiers mods) {
  if (selected_ == kPrimaryButton) return AssignResult::kPrimaryButton;
  const int usage = vk == 0 ? 0 : VkToHidUsage(vk);
  const int mask = KeyboardModifierMask(mods);
  if (usage <= 0 && mask <= 0) return AssignResult::kNothingToSave;
  return Save(kFamilyKeyboard, usage, mask, KeyboardDescription(key_name, mods));
}

AssignResult ButtonAssignment::ApplyRapidFire(int first, int second, const std::string& caption) {
  return Save(kFamilyRapidFire, std::clamp(first, kRapidFireFirstMin, kRapidFireMax),
              std::clamp(second, kRapidFireSecondMin, kRapidFireMax), caption);
}

void ButtonAssignment::ResetButton() {
  if (IsValidButtonIndex(selected_)) {
    KeyAssignRecord record;
    record.profile = profile_;
    record.key_code = selected_;
    record.macro_type = kFamilyMouse;
    db_.SaveKeyAssign(record);  // both values 0: only removes the row
  }
  poster_.Post(WorkerTask::kButtonTable);
}

void ButtonAssignment::ResetAllButtons() {
  selected_ = kPrimaryButton;
  db_.DeleteKeyAssigns(profile_);
  poster_.Post(WorkerTask::kButtonTable);
}

std::string ButtonAssignment::FactoryDescription(int button) const {
  for (const ButtonDefinition& b : buttons_) {
    if (b.key_value == button) return texts_(b.func_desc_id);
  }
  return {};
}

std::string ButtonAssignment::RowDisplayText(const KeyAssignRecord& row) const {
  if (row.macro_type == kFamilyMacro) {
    const std::optional<MacroRecord> macro = db_.GetMacro(row.macro_value);
    return macro ? MacroAssignDisplayName(macro->name, texts_) : row.macro_desc;
  }
  const int id = CodeTextId(row.macro_type, row.macro_value);
  return id == 0 ? row.macro_desc : texts_(id);
}

std::string ButtonAssignment::Description(int button) const {
  const std::optional<KeyAssignRecord> row = db_.GetKeyAssign(profile_, button);
  return row ? RowDisplayText(*row) : FactoryDescription(button);
}

std::vector<std::pair<int, std::string>> ButtonAssignment::Descriptions() const {
  std::vector<std::pair<int, std::string>> out;
  for (const ButtonDefinition& b : buttons_) out.emplace_back(b.key_value, texts_(b.func_desc_id));
  for (const KeyAssignRecord& row : db_.GetKeyAssigns(profile_)) {
    for (auto& [button, text] : out) {
      if (button == row.key_code) text = RowDisplayText(row);
    }
  }
  return out;
}

ButtonPanelState ButtonAssignment::PanelState() const {
  const std::optional<KeyAssignRecord> row = db_.GetKeyAssign(profile_, selected_);
  if (!row) {
    // No row: the button does what the model gives it from the factory; show that.
    for (const ButtonDefinition& b : buttons_) {
      if (b.key_value == selected_ && b.func_type != 0) return {b.func_type, b.func_value};
    }
    return {};
  }
  switch (row->macro_type) {
    case kFamilyMouse:
    case kFamilyMultimedia:
    case kFamilyMacro:
    case kFamilyDpi:
    case kFamilySpecial:
    case kFamilySystem: return {row->macro_type, row->macro_value};
    case kFamilyDisabled: return {kFamilyDisabled, 0};
    // No list holds these: none is marked, so "Left click" does not claim the button.
    case kFamilyKeyboard:
    case kFamilyRapidFire: return {row->macro_type, 0};
    default: return {};
  }
}

}  // namespace corvane
