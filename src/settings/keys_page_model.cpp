// Buttons page contents. Texts are looked up at each call, so a language change only
// needs the page to ask again.
#include "settings/keys_page_model.h"

#include <algorithm>

#include "app/text_ids.h"
#include "base/text.h"
#include "settings/button_lists.h"
#include "settings/macro_names.h"

namespace corvane {
namespace {

// Descriptions of the placeholder rows, one per row.
constexpr int kPlaceholderDescriptions[kPlaceholderRows] = {
    kTextLeftClick, kTextRightClick, kTextMiddleClick, kTextForward, kTextBack,
    kTextReportRateSwitch};

int ListPosition(int family) {
  for (int i = 0; i < kKeysPageListCount; ++i) {
    if (kKeysPageFamilies[i] == family) return i;
  }
  return -1;
}

}  // namespace

KeysPageModel::KeysPageModel(SettingsDatabase& db, TaskPoster& poster, DeviceState& state,
                             TextLookup texts)
    : db_(db), texts_(texts), assignment_(db, poster, state, std::move(texts)) {}

void KeysPageModel::Load(int profile, std::vector<ButtonDefinition> buttons) {
  buttons_ = buttons;
  assignment_.Load(profile, std::move(buttons));
}

std::vector<ChoiceItem> KeysPageModel::ListItems(int family) const {
  std::vector<ChoiceItem> items;
  if (family == kFamilyMacro) {
    for (const MacroRecord& macro : db_.GetMacros()) {
      items.push_back({MacroListDisplayName(macro.name, texts_), macro.macro_id});
    }
    return items;
  }
  for (const FamilyListItem& item : FamilyListItems(family)) {
    items.push_back({item.text_id != 0 ? texts_(item.text_id) : std::string(item.text),
                     item.code});
  }
  return items;
}

std::vector<ButtonRow> KeysPageModel::Rows() const {
  std::vector<ButtonRow> rows;
  for (const auto& [button, description] : assignment_.Descriptions()) {
    rows.push_back({button, ButtonName(button), description});
  }
  return rows;
}

std::vector<ButtonRow> KeysPageModel::PlaceholderRows(const TextLookup& texts) {
  std::vector<ButtonRow> rows;
  for (int i = 0; i < kPlaceholderRows; ++i) {
    rows.push_back({i, texts(kTextButtonPlaceholder) + " " + std::to_string(i + 1),
                    texts(kPlaceholderDescriptions[i])});
  }
  return rows;
}

std::string KeysPageModel::ButtonName(int button) const {
  for (const ButtonDefinition& b : buttons_) {
    if (b.key_value != button) continue;
    const std::string text = b.name_id != 0 ? texts_(b.name_id) : std::string();
    return text.empty() ? b.name_text : text;
  }
  return {};
}

AssignResult KeysPageModel::ChooseListItem(int family, int index) {
  const std::vector<ChoiceItem> items = ListItems(family);
  if (index < 0 || index >= static_cast<int>(items.size())) return AssignResult::kNothingToSave;
  return ChooseListCode(family, items[index].code);
}

AssignResult KeysPageModel::ChooseListCode(int family, int code) {
  for (const ChoiceItem& item : ListItems(family)) {
    if (item.code != code) continue;
    if (family == kFamilyMacro) return assignment_.ChooseMacro(item.code, item.text);
    return assignment_.ChooseFamilyItem(family, item.code, item.text);
  }
  return AssignResult::kNothingToSave;
}

RapidFireValues ReadRapidFire(std::string_view first, std::string_view second) {
  // DecimalToInt saturates, so a pasted run of digits clamps instead of wrapping.
  const int typed_first = DecimalToInt(first), typed_second = DecimalToInt(second);
  RapidFireValues values;
  values.first = std::clamp(typed_first, kRapidFireFirstMin, kRapidFireMax);
  values.second = std::clamp(typed_second, kRapidFireSecondMin, kRapidFireMax);
  values.clamped = values.first != typed_first || values.second != typed_second;
  return values;
}

AssignResult KeysPageModel::ApplyRapidFire(std::string_view first, std::string_view second,
                                           bool* clamped) {
  const RapidFireValues values = ReadRapidFire(first, second);
  if (clamped != nullptr) *clamped = values.clamped;
  return assignment_.ApplyRapidFire(values.first, values.second, texts_(kTextRapidFire));
}

KeysPanelView KeysPageModel::PanelView() const {
  KeysPanelView view;
  for (int i = 0; i < kKeysPageListCount; ++i) {
    const int family = kKeysPageFamilies[i];
    view.lists[i] = {family, FamilyListFirstItem(family), family == kFamilyMouse};
  }
  const ButtonPanelState state = assignment_.PanelState();
  if (state.marked_family == kFamilyDisabled) {
    view.lists[ListPosition(kFamilyMouse)].marked = false;
    view.disabled_marked = true;
    return view;
  }
  const int position = ListPosition(state.marked_family);
  if (position < 0 && state.marked_family != kFamilyMouse) {
    view.lists[ListPosition(kFamilyMouse)].marked = false;  // a family without a list
    return view;
  }
  if (position < 0 || state.code == 0) return view;
  const std::vector<ChoiceItem> items = ListItems(state.marked_family);
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    if (items[i].code != state.code) continue;
    view.lists[ListPosition(kFamilyMouse)].marked = false;
    view.lists[position].marked = true;
    view.lists[position].selected = i;
    break;
  }
  return view;
}

}  // namespace corvane
