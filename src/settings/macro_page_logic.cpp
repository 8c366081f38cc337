// Macro page menus, the edit panel's view of an event, and result messages.
#include "settings/macro_page_logic.h"

#include <iterator>

#include "base/text.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

constexpr MouseChoice kMouseChoices[] = {MouseChoice::kLeft, MouseChoice::kRight,
                                         MouseChoice::kMiddle, MouseChoice::kForward,
                                         MouseChoice::kBackward};
constexpr int kMouseChoiceTexts[] = {kTextLeftClick, kTextRightClick, kTextMiddleClick,
                                     kTextForward, kTextBack};
constexpr std::string_view kArrowSpaces = "  ";

}  // namespace

std::vector<MenuEntry> MacroListMenu(bool macro_selected, bool any_macros) {
  // Importing needs nothing in the list; exporting needs something to export. Each
  // entry's text names what it does: "Import all" imports, "Export all" exports.
  std::vector<MenuEntry> menu{{kCmdImportMacro, kTextImport}};
  if (macro_selected) menu.push_back({kCmdExportMacro, kTextExport});
  menu.push_back({kCmdImportAllMacros, kTextImportAllMacros});
  if (any_macros) menu.push_back({kCmdExportAllMacros, kTextExportAllMacros});
  return menu;
}

std::vector<MenuEntry> RecordListMenu() {
  return {{kCmdMoveTop, kTextMoveToTop},
          {kCmdMoveUp, kTextMoveUp},
          {kCmdMoveDown, kTextMoveDown},
          {kCmdMoveBottom, kTextMoveToBottom}};
}

std::vector<MenuEntry> InsertMenu() {
  return {{kCmdInsertLeft, kTextInsertLeftClick},
          {kCmdInsertMiddle, kTextInsertMiddleClick},
          {kCmdInsertRight, kTextInsertRightClick},
          {kCmdInsertKey, kTextInsertKeyboardKey},
          {kCmdInsertDelay, kTextInsertDelay}};
}

MacroEditResult RunRecordListCommand(MacroEditor& editor, int command, int position) {
  switch (command) {
    case kCmdMoveTop: return editor.MoveTop(position);
    case kCmdMoveUp: return editor.MoveUp(position);
    case kCmdMoveDown: return editor.MoveDown(position);
    case kCmdMoveBottom: return editor.MoveBottom(position);
    default: return MacroEditResult::kNoSelection;
  }
}

MacroEditResult RunInsertCommand(MacroEditor& editor, int command, int selected) {
  switch (command) {
    case kCmdInsertLeft: return editor.InsertClick(selected, MouseChoice::kLeft);
    case kCmdInsertMiddle: return editor.InsertClick(selected, MouseChoice::kMiddle);
    case kCmdInsertRight: return editor.InsertClick(selected, MouseChoice::kRight);
    case kCmdInsertDelay: return editor.InsertDelay(selected);
    default: return MacroEditResult::kNoSelection;
  }
}

EventEditKind EditKindOf(int type) {
  switch (type) {
    case kEventDelay: return EventEditKind::kDelay;
    case kEventKeyDown:
    case kEventKeyUp: return EventEditKind::kKey;
    case kEventMouseDown:
    case kEventMouseUp: return EventEditKind::kMouseButton;
    default: return EventEditKind::kNone;
  }
}

int EditKindText(EventEditKind kind) {
  switch (kind) {
    case EventEditKind::kDelay: return kTextEventDelay;
    case EventEditKind::kKey: return kTextEventKey;
    case EventEditKind::kMouseButton: return kTextEventMouseButton;
    default: return 0;
  }
}

std::string EditFieldText(const MacroEventRecord& item) {
  if (item.type == kEventDelay) return IntToDecimal(item.value);
  // The text is an arrow and two spaces before the name; the field shows the name.
  const std::size_t name = item.desc.find(kArrowSpaces);
  return name == std::string::npos ? item.desc : item.desc.substr(name + kArrowSpaces.size());
}

MouseChoice MouseChoiceAt(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kMouseChoices))) return MouseChoice::kLeft;
  return kMouseChoices[index];
}

int MouseChoiceIndex(int bit) {
  for (int i = 0; i < static_cast<int>(std::size(kMouseChoices)); ++i) {
    if (static_cast<int>(kMouseChoices[i]) == bit) return i;
  }
  return 0;
}

std::vector<int> MouseChoiceTexts() {
  return {std::begin(kMouseChoiceTexts), std::end(kMouseChoiceTexts)};
}

std::optional<MessageTexts> MessageFor(MacroEditResult result) {
  switch (result) {
    case MacroEditResult::kListFull: return MessageTexts{kTextInsertEventTitle, kTextEventListFull};
    case MacroEditResult::kTooLong: return MessageTexts{kTextInsertEventTitle, kTextMacroTooLong};
    default: return std::nullopt;
  }
}

std::optional<MessageTexts> MessageFor(RecordResult result) {
  switch (result) {
    case RecordResult::kNoMacro: return MessageTexts{kTextStartRecording, kTextSelectMacroFirst};
    case RecordResult::kLimitReached: return MessageTexts{kTextMacroEvents, kTextEventListFull};
    case RecordResult::kTooLong: return MessageTexts{kTextMacroEvents, kTextMacroTooLong};
    default: return std::nullopt;
  }
}

}  // namespace corvane
