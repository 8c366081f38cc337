// The buttons page as its widgets see it, without the widgets: the rows of the button
// list, the items of the family lists in the current language (macros from the store),
// what each list choice stores, and which list is marked after a selection. Writing the
// store and posting the button job stay with ButtonAssignment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/device_definition.h"
#include "settings/button_assignment.h"

namespace corvane {

// One item of a family list: the text it shows and the code it stores.
struct ChoiceItem {
  std::string text;
  int code = 0;
};

// One row of the button list.
struct ButtonRow {
  int button = 0;  // button index (key_value)
  std::string name;
  std::string description;
};

// The family lists of the page, in the order their controls appear.
inline constexpr int kKeysPageFamilies[] = {kFamilyMouse, kFamilyMultimedia, kFamilyMacro,
                                            kFamilySystem, kFamilyDpi,      kFamilySpecial};
inline constexpr int kKeysPageListCount = 6;

// What one family list shows: the selected item (0-based, -1 none) and its mark.
struct ListView {
  int family = 0;
  int selected = 0;
  bool marked = false;
};

// What the function lists and the disabled button show for the selected button.
struct KeysPanelView {
  ListView lists[kKeysPageListCount];
  bool disabled_marked = false;
};

// The rapid-fire panel's fields as they start when the panel opens.
inline constexpr const char* kRapidFireFirstStart = "5";
inline constexpr const char* kRapidFireSecondStart = "1";
inline constexpr int kPlaceholderRows = 6;

// The rapid-fire fields read as the numbers that are stored, and whether either of them
// had to be moved into its range (an empty interval counts: it becomes the least).
struct RapidFireValues {
  int first = 0;
  int second = 0;
  bool clamped = false;
};
// Reads the two fields as typed; numbers are clamped to their ranges.
RapidFireValues ReadRapidFire(std::string_view first, std::string_view second);

class KeysPageModel {
 public:
  KeysPageModel(SettingsDatabase& db, TaskPoster& poster, DeviceState& state, TextLookup texts);

  // Takes the profile and the definition's buttons; keeps the selected button when the
  // definition has it, else selects the first.
  void Load(int profile, std::vector<ButtonDefinition> buttons);
  // True once a definition with at least one button was loaded.
  bool Loaded() const { return !buttons_.empty(); }
  ButtonAssignment& Assignment() { return assignment_; }
  const ButtonAssignment& Assignment() const { return assignment_; }

  // Returns the items of the list of `family` (1, 3, 4, 5, 6 or 8) in the current
  // language; the macro list holds every stored macro by its display name.
  std::vector<ChoiceItem> ListItems(int family) const;
  // Returns one row per button of the definition with its current description.
  std::vector<ButtonRow> Rows() const;
  // Returns the rows shown before a definition is loaded ("Button 1" ... "Button 6").
  static std::vector<ButtonRow> PlaceholderRows(const TextLookup& texts);
  // Returns the label of `button` (its name text, else the name as written); empty when
  // the definition has no such button.
  std::string ButtonName(int button) const;

  // Saves item `index` of the list of `family` for the selected button (the macro list
  // also marks the button for the macro upload). kNothingToSave for a bad index.
  AssignResult ChooseListItem(int family, int index);
  // Saves the item of the list of `family` with `code`, as the shown list held it; a list
  // shown before a macro was deleted cannot give its entry to another macro that way.
  // kNothingToSave when the list no longer has that code.
  AssignResult ChooseListCode(int family, int code);
  // Rapid-fire apply from the two fields as typed; numbers are clamped to their ranges
  // (first 5..255, second 0..255) and the caption text becomes the description.
  // `clamped`, when given, tells whether either number was moved into its range.
  AssignResult ApplyRapidFire(std::string_view first, std::string_view second,
                              bool* clamped = nullptr);

  // Returns what the lists show for the selected button: every list in its first state
  // with the mouse list marked, then the stored family's list marked at its code.
  KeysPanelView PanelView() const;

 private:
  SettingsDatabase& db_;
  TextLookup texts_;
  ButtonAssignment assignment_;
  std::vector<ButtonDefinition> buttons_;
};

}  // namespace corvane
