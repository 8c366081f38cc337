// The buttons page without widgets: assigning a function family to the selected
// button, the primary-button guard, both resets, the macro-upload mark and the
// descriptions the button list shows. Writes the store and posts the button job.
#pragma once

#include <string>
#include <vector>

#include "app/text_ids.h"
#include "catalogue/device_definition.h"
#include "protocol/button_table_encoding.h"
#include "settings/device_state.h"
#include "settings/settings_texts.h"
#include "settings/task_poster.h"
#include "store/settings_database.h"

namespace corvane {

// Toggles of the keyboard panel.
struct KeyboardModifiers {
  bool shift = false;
  bool ctrl = false;
  bool win = false;
  bool alt = false;
};

// The rapid-fire numbers' ranges: the interval (first) and the shot count (second).
inline constexpr int kRapidFireFirstMin = 5;
inline constexpr int kRapidFireSecondMin = 0;
inline constexpr int kRapidFireMax = 255;

enum class AssignResult {
  kSaved,          // stored and the button job posted
  kNothingToSave,  // keyboard panel without key or modifier: nothing happened
  kPrimaryButton,  // button 0 keeps its function; show texts 177/175
  kInvalidButton,  // no such button (outside 0..20): nothing happened
  kStoreFailed,    // the store refused the row; the button job was still posted
  kMacroTooLong,   // the macro would not fit the mouse: nothing stored; show kTextMacroTooLong
};

// What the family lists show for the selected button. Every list starts from its first
// state (FamilyListFirstItem), with the mouse list marked at its first item; a stored row of
// families 1, 3, 4, 5, 6 or 8 then marks its list at the stored code, family 9 the disabled
// button. Families 2 and 7 (keyboard keys, rapid fire) have no list, so none is marked;
// buttons without a row show their factory function.
struct ButtonPanelState {
  int marked_family = kFamilyMouse;  // list marked (1, 3, 4, 5, 6, 8) or 9 for the disabled button
  int code = 0;                      // stored code to select in the marked list; 0 first state
};

// Language texts the buttons page uses.

class ButtonAssignment {
 public:
  // `state` receives the macro-upload mark that the next button job takes.
  ButtonAssignment(SettingsDatabase& db, TaskPoster& poster, DeviceState& state,
                   TextLookup texts);

  // Sets the current profile and the device definition's buttons; keeps the selected
  // button when the definition has it, else selects the first.
  void Load(int profile, std::vector<ButtonDefinition> buttons);
  // Stores the selected button index (the page's picture or list selection).
  void SelectButton(int button) { selected_ = button; }
  // The selected button's stored row in the current profile; none for a factory function.
  std::optional<KeyAssignRecord> SelectedRow() const { return db_.GetKeyAssign(profile_, selected_); }
  // Returns the selected button index.
  int SelectedButton() const { return selected_; }

  // Assigns any family 1..9 with its codes, as the command line does; an empty `desc`
  // becomes the family's own text. Family 4 marks the button for the macro upload.
  AssignResult Assign(int family, int value, int value2, const std::string& desc);
  // Saves a family list choice (families 1, 3, 5, 6, 8) for the selected button.
  AssignResult ChooseFamilyItem(int family, int code, const std::string& desc);
  // Saves a macro for the selected button and marks the button for the macro upload.
  AssignResult ChooseMacro(int macro_id, const std::string& desc);
  // Saves the disabled function.
  AssignResult Disable();
  // Keyboard panel apply: `vk` the captured virtual-key code (0 none), `key_name` its name.
  AssignResult ApplyKeyboard(int vk, const std::string& key_name, KeyboardModifiers mods);
  // Rapid-fire panel apply: first number 5..255, second 0..255 (clamped).
  AssignResult ApplyRapidFire(int first, int second, const std::string& caption);
  // Removes the selected button's row (after the user confirmed) and posts the job.
  void ResetButton();
  // Removes every row of the profile, selects button 0 and posts the job.
  void ResetAllButtons();

  // Returns the description shown for `button`: its row's display text, else the factory one.
  std::string Description(int button) const;
  // Returns (button index, description) for every button of the definition.
  std::vector<std::pair<int, std::string>> Descriptions() const;
  // Returns what the family lists show for the selected button.
  ButtonPanelState PanelState() const;

 private:
  // A stored macro assignment also marks the button for the macro upload, before the
  // button job is posted (the worker may take it at once).
  AssignResult Save(int family, int value, int value2, const std::string& desc);
  std::string FactoryDescription(int button) const;
  std::string RowDisplayText(const KeyAssignRecord& row) const;

  SettingsDatabase& db_;
  TaskPoster& poster_;
  DeviceState& state_;
  TextLookup texts_;
  int profile_ = 0;
  int selected_ = 0;
  std::vector<ButtonDefinition> buttons_;
};

// After `macro_id` changed: marks every button of `profile` that plays it for the macro
// upload and posts the button job. Returns false, posting nothing, when no button plays it.
bool MarkButtonsPlayingMacro(SettingsDatabase& db, DeviceState& state, TaskPoster& poster,
                             int profile, int macro_id);

// Returns the keyboard panel's description: "Shift+ Ctrl + A" style text.
std::string KeyboardDescription(const std::string& key_name, KeyboardModifiers mods);
// Returns the modifier mask of the panel's toggles (Ctrl 1, Shift 2, Alt 4, Win 8).
int KeyboardModifierMask(KeyboardModifiers mods);

}  // namespace corvane
