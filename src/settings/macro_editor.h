// The macro page without widgets: the macro list (new, delete, rename), the selected
// macro's event list with every edit, its play and delay settings, and storing the
// list after each change. Nothing here is sent to the mouse; a listener hears of each
// stored change so that buttons playing the macro can be sent again.
#pragma once

#include "app/text_ids.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/macro_clock.h"
#include "settings/macro_event_list.h"
#include "settings/settings_texts.h"
#include "store/settings_database.h"

namespace corvane {

inline constexpr int kMaxPlayTimesLow = 999;   // device types up to 200
inline constexpr int kMaxPlayTimesHigh = 255;  // device types above 200
inline constexpr int kPlayLimitDeviceType = 200;
inline constexpr int kDefaultFixedDelay = 10;
inline constexpr int kMaxMacroRecords = 101;  // what fifteen packets can carry

struct MacroListEntry {
  int macro_id = 0;
  std::string shown_name;  // display name in the current language
};

enum class MacroEditResult {
  kDone,         // changed and stored
  kNoSelection,  // no macro or no such event selected: nothing changed
  kListFull,     // more than 199 items: show texts 368/386
  kTooLong,      // the macro would need more than 15 packets: show kTextMacroTooLong
  kStoreFailed,  // the change is in the list but the store refused it
};

// Play settings as the radio buttons and fields hold them.
struct PlaySettings {
  int delay_choice = 1;                // 0 none, 1 measured, 2 fixed
  std::string delay_field = "10";      // fixed delay text
  int play_choice = 2;                 // 0 first radio (type 1), 1 second (type 2), 2 count
  std::string count_field = "1";       // repeat count text
};

class MacroEditor {
 public:
  using StoredListener = std::function<void(int macro_id)>;

  MacroEditor(SettingsDatabase& db, MacroClock& clock, TextLookup texts);

  // Called with the macro's id after its events or play settings were stored, or after it
  // was deleted while a button of the active profile played it.
  void SetStoredListener(StoredListener listener) { stored_ = std::move(listener); }

  // Lists every macro in id order with its shown name and selects the first.
  std::vector<MacroListEntry> Load();
  // Shows a macro: loads its events. Returns false (selection cleared) when missing.
  bool Select(int macro_id);
  // Returns the selected macro id, 0 when none.
  int SelectedMacro() const { return macro_id_; }
  // Returns the radio and field state of the selected macro; nullopt when none.
  std::optional<PlaySettings> ShownPlaySettings() const;
  const MacroEventList& Events() const { return events_; }
  MacroEventList& MutableEvents() { return events_; }

  // Adds "<text 351> <count + 1>" and selects it. Returns the new id, 0 on failure.
  int NewMacro();
  // Deletes the selected macro and selects the previous one; buttons of any profile that
  // played it get their factory function back. Returns the new selection's id (0 when
  // none) or nullopt when nothing was deleted.
  std::optional<int> DeleteSelected();
  // Renames a macro; assignments of `profile` to it take the new name as their text.
  // Returns the name to show: the stored one again when `text` is empty or on failure.
  std::string Rename(int macro_id, const std::string& text, int profile);

  MacroEditResult InsertClick(int selected, MouseChoice button);
  MacroEditResult InsertKey(int selected, int vk, const std::string& name);
  MacroEditResult InsertDelay(int selected);
  MacroEditResult EditDelay(int position, int ms);
  MacroEditResult EditKey(int position, int vk, const std::string& name);
  MacroEditResult EditMouseButton(int position, MouseChoice button);
  MacroEditResult MoveUp(int position);
  MacroEditResult MoveDown(int position);
  MacroEditResult MoveTop(int position);
  MacroEditResult MoveBottom(int position);
  MacroEditResult DeleteEvent(int position);
  MacroEditResult Clear();
  // True when a button of any profile plays the selected macro, so emptying it silences
  // that button: the clear question says so.
  bool SelectedIsPlayedByAButton() const;

  // Stores the play settings (fields clamped and written back into `settings`).
  // Returns kNoSelection without a macro, kStoreFailed when the update failed.
  MacroEditResult SavePlaySettings(PlaySettings& settings, int device_type);

  // Replaces the stored events with the list. Returns false when none is selected
  // or the store refused (the old events then stay).
  bool SaveEvents();
  // True when the list's key and mouse events fit the packets a macro can use.
  bool FitsMouse() const;

 private:
  MacroEditResult Commit(bool changed);
  void ReleaseButtonsOf(int macro_id);
  // The rows of every profile that play `macro_id`; `active` is set when one is in the
  // active profile.
  std::vector<KeyAssignRecord> ButtonsPlaying(int macro_id, bool* active = nullptr) const;
  MacroEditResult InsertPress(int selected, int down_type, int value, const std::string& name);

  SettingsDatabase& db_;
  MacroClock& clock_;
  TextLookup texts_;
  int macro_id_ = 0;
  MacroEventList events_;
  StoredListener stored_;
};

// Clamps a fixed-delay field ("10" when empty) to 1..10000.
int ClampFixedDelay(const std::string& field);
// Clamps a count field ("1" when empty) to 1..999, or 1..255 above device type 200.
int ClampPlayTimes(const std::string& field, int device_type);

}  // namespace corvane
