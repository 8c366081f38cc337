// What the macro page's menus offer and do, what its event edit panel shows for an
// event, and which message answers an editing or recording result. The widgets of the
// page only show these and pass the user's choice back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/macro_editor.h"
#include "settings/macro_recorder.h"

namespace corvane {

// Commands of the macro list's menu (also the wParam of the page's menu messages).
enum MacroListCommand : int {
  kCmdImportMacro = 101,
  kCmdExportMacro = 102,
  kCmdImportAllMacros = 105,
  kCmdExportAllMacros = 106,
};

// Commands of the event list's menu.
enum RecordListCommand : int { kCmdMoveTop = 1, kCmdMoveUp, kCmdMoveDown, kCmdMoveBottom };

// Commands of the insert menu.
enum InsertCommand : int {
  kCmdInsertLeft = 1,
  kCmdInsertMiddle,
  kCmdInsertRight,
  kCmdInsertKey,
  kCmdInsertDelay,
};

struct MenuEntry {
  int command;
  int text_id;
};

// The macro list's menu: import and import all always (an empty list is filled that way);
// export with a macro selected, export all with any macro in the list.
std::vector<MenuEntry> MacroListMenu(bool macro_selected, bool any_macros);
std::vector<MenuEntry> RecordListMenu();
std::vector<MenuEntry> InsertMenu();

// Runs an event list menu command on `position`.
MacroEditResult RunRecordListCommand(MacroEditor& editor, int command, int position);
// Runs an insert command other than the key (which needs the key dialog) after `selected`.
MacroEditResult RunInsertCommand(MacroEditor& editor, int command, int selected);

// What the edit panel edits for an event type (the value is the type combo's item data).
enum class EventEditKind : int { kNone = 0, kMouseButton = 1, kKey = 2, kDelay = 3 };
EventEditKind EditKindOf(int type);
// The type combo's text for a kind (0 for kNone).
int EditKindText(EventEditKind kind);
// The value field's text: the delay in ms, or the key's name without its arrow.
std::string EditFieldText(const MacroEventRecord& item);

// The edit panel's mouse buttons in the order of its combo box (left, right, middle,
// forward, back); a bad index is the left button.
MouseChoice MouseChoiceAt(int index);
// The combo box index of a button bit, 0 for an unknown bit.
int MouseChoiceIndex(int bit);
// The combo box item texts in order.
std::vector<int> MouseChoiceTexts();

// A message box's title and body text ids.
struct MessageTexts {
  int title;
  int body;
};
// The message for an editing result; nullopt when there is nothing to say.
std::optional<MessageTexts> MessageFor(MacroEditResult result);
// The message for a recording result (starting without a macro, a limit reached).
std::optional<MessageTexts> MessageFor(RecordResult result);

}  // namespace corvane
