// The macro page's behaviour: its controls bound to the macro editor and recorder, the
// menus, the key capture of recording and of the edit panel, and the macro files.
#include "ui/pages/macro_page.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "app/text_ids.h"
#include "base/text.h"
#include "exchange/macro_file.h"
#include "settings/button_assignment.h"
#include "settings/macro_names.h"
#include "settings/macro_page_logic.h"
#include "protocol/macro_packets.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/dialogs/dialog_support.h"
#include "ui/dialogs/record_edit_dlg.h"
#include "ui/dialogs/ui_message_box.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/crecord_list.h"
#include "ui/dui/macro_list.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/menu_wnd.h"
#include "ui/dui/more_button.h"
#include "ui/key_input.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

constexpr const char* kRecordIcon = "icon\\icon_rec.png";
constexpr const char* kStopIcon = "icon\\icon_stop_rec.png";
constexpr const char* kMacroFilter = "Macro (*.xml)";
constexpr int kKeyNameChars = 10;

// Controls that are locked while a recording runs (everything but the record button).
constexpr int kLockedWhileRecording[] = {
    MacroPage::kIdMacroList,   MacroPage::kIdNewMacro,    MacroPage::kIdDeleteMacro,
    MacroPage::kIdEventList,   MacroPage::kIdInsert,      MacroPage::kIdDeleteEvent,
    MacroPage::kIdClearEvents, MacroPage::kIdDelayNone,   MacroPage::kIdDelayMeasured,
    MacroPage::kIdDelayFixed,  MacroPage::kIdDelayField,  MacroPage::kIdPlayFirst,
    MacroPage::kIdPlaySecond,  MacroPage::kIdPlayCount,   MacroPage::kIdCountField,
    MacroPage::kIdTypeCombo,   MacroPage::kIdValueField,  MacroPage::kIdMouseCombo,
    MacroPage::kIdMoveUp,      MacroPage::kIdMoveDown,    MacroPage::kIdApplyButton};

// Edit panel controls (hidden with it).
constexpr int kEditPanel[] = {MacroPage::kIdEditArea,   MacroPage::kIdTypeLabel,
                              MacroPage::kIdTypeCombo,  MacroPage::kIdValueLabel,
                              MacroPage::kIdValueField, MacroPage::kIdMouseCombo,
                              MacroPage::kIdApplyButton, MacroPage::kIdMoveUp,
                              MacroPage::kIdMoveDown};

// Passes the window's key events to the page while it captures.
class KeyFilter : public QObject {
 public:
  explicit KeyFilter(MacroPage& page) : page_(page) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        page_.OnKeyEvent(*static_cast<QKeyEvent*>(event))) {
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  MacroPage& page_;
};

KeyEvent DecodeKey(const QKeyEvent& event) { return SharedKeyInput().Decode(event); }

}  // namespace

MacroPage::MacroPage(DeviceMainDlg& window)
    : window_(window),
      editor_(window.Session().Store(), clock_, window.Texts()),
      recorder_(editor_, clock_) {
  // A macro the mouse plays on a button of this profile goes to it again once edited.
  editor_.SetStoredListener([&window](int macro_id) {
    DeviceSession& session = window.Session();
    MarkButtonsPlayingMacro(session.Store(), session.State(), session.Worker(),
                            session.Store().GetActiveProfile(), macro_id);
  });
}

void MacroPage::InstallKeyFilter() {
  key_filter_ = std::make_unique<KeyFilter>(*this);
  qApp->installEventFilter(key_filter_.get());
}

MacroPage::~MacroPage() {
  if (key_filter_) qApp->removeEventFilter(key_filter_.get());
}

int MacroPage::DeviceType() const { return window_.Session().Model().DeviceType(); }

int MacroPage::RadioChoice(int first_id) const {
  for (int i = 0; i < 3; ++i) {
    auto* radio = window_.GetControl<DUI::CRadioButton>(first_id + i);
    if (radio != nullptr && radio->GetCheck()) return i;
  }
  return 0;
}

void MacroPage::Load() {
  // Pages are refreshed for many reasons; none of them may end a recording.
  if (recorder_.IsRecording()) return;
  const int selected = editor_.SelectedMacro();
  macros_->ResetContent();
  for (const MacroListEntry& entry : editor_.Load()) {
    macros_->AddString(entry.shown_name, entry.macro_id);
  }
  macros_->SetCurSel(macros_->GetCount() > 0 ? 0 : -1);
  // Names follow the language, and the macro shown stays the one the user chose.
  if (selected > 0 && macros_->SetCurData(selected)) editor_.Select(selected);
  ShowMacro();
}

void MacroPage::ShowMacro() {
  HideEditPanel();
  delay_field_->SetEnabled(false);
  count_field_->SetEnabled(false);
  ShowPlaySettings();
  events_->DeleteAllItems();
  ShowEvents();
}

void MacroPage::ShowPlaySettings() {
  const std::optional<PlaySettings> shown = editor_.ShownPlaySettings();
  const PlaySettings settings = shown.value_or(PlaySettings{});
  window_.GetControl<DUI::CRadioButton>(kIdDelayNone + settings.delay_choice)->SetCheck(true);
  // The play radios show type 1, type 2, then the count.
  window_.GetControl<DUI::CRadioButton>(kIdPlayFirst + settings.play_choice)->SetCheck(true);
  delay_field_->SetTitle(settings.delay_field);
  count_field_->SetTitle(settings.count_field);
  delay_field_->SetEnabled(shown && settings.delay_choice == 2);
  count_field_->SetEnabled(shown && settings.play_choice == 2);
}

void MacroPage::ShowEvents() {
  std::vector<DUI::RecordItem> items;
  for (const MacroEventRecord& event : editor_.Events().Items()) {
    items.push_back({event.desc, event.type, event.value, event.delay_time});
  }
  events_->SetRecordItems(std::move(items));
}

void MacroPage::SavePlaySettings() {
  PlaySettings settings;
  settings.delay_choice = RadioChoice(kIdDelayNone);
  settings.delay_field = delay_field_->GetTitle();
  settings.play_choice = RadioChoice(kIdPlayFirst);
  settings.count_field = count_field_->GetTitle();
  if (editor_.SavePlaySettings(settings, DeviceType()) == MacroEditResult::kNoSelection) return;
  // Clamped values go back into the fields.
  if (settings.delay_choice == 2 && delay_field_->GetTitle() != settings.delay_field) {
    delay_field_->SetTitle(settings.delay_field);
  }
  if (settings.play_choice == 2 && count_field_->GetTitle() != settings.count_field) {
    count_field_->SetTitle(settings.count_field);
  }
}

void MacroPage::HideEditPanel() {
  edit_position_ = -1;
  if (capture_.Active() && capture_.Mode() == CaptureMode::kMacroEditorKey) capture_.End();
  for (int id : kEditPanel) window_.GetControl(id)->SetVisible(false);
}

void MacroPage::ShowEditPanel(int position) {
  const MacroEventRecord item = position >= 0 && position < editor_.Events().Size()
                                    ? editor_.Events().Items()[position]
                                    : MacroEventRecord{};
  const EventEditKind kind = EditKindOf(item.type);
  if (kind == EventEditKind::kNone) {
    HideEditPanel();
    return;
  }
  edit_position_ = position;
  for (int id : kEditPanel) window_.GetControl(id)->SetVisible(true);
  type_combo_->ResetContent();
  type_combo_->AddString(window_.Text(EditKindText(kind)), static_cast<int>(kind));
  type_combo_->SetCurSel(0);
  const bool mouse = kind == EventEditKind::kMouseButton;
  value_field_->SetVisible(!mouse);
  mouse_combo_->SetVisible(mouse);
  window_.GetControl(kIdApplyButton)->SetVisible(mouse);
  if (mouse) {
    mouse_combo_->SetCurSel(MouseChoiceIndex(item.value));
    return;
  }
  const bool delay = kind == EventEditKind::kDelay;
  value_field_->SetNumberOnly(delay, delay ? kDelayDigits : 0);
  value_field_->SetMaxLength(delay ? kDelayDigits : kKeyNameChars);
  value_field_->SetHint(delay ? "" : window_.Text(kTextKeyFieldTip));
  value_field_->SetTitle(EditFieldText(item));
}

void MacroPage::Report(MacroEditResult result) {
  if (const std::optional<MessageTexts> message = MessageFor(result)) {
    window_.MessageBox(message->title, message->body, 0);
  }
}

void MacroPage::AfterEdit(MacroEditResult result) {
  ShowEvents();
  Report(result);
}

int64_t MacroPage::OnMessage(int id, DUI::NotifyCode code, int64_t extra) {
  const bool click = code == DUI::NotifyCode::kClick;
  switch (id) {
    case kIdMacroList:
      if (click) OnMacroChosen(static_cast<int>(extra));
      if (code == DUI::NotifyCode::kEditFinished) OnRenamed(static_cast<int>(extra));
      if (code == DUI::NotifyCode::kShowMenu) OnMacroListMenu();
      if (code == DUI::NotifyCode::kDeleteItem) OnDeleteMacro();
      return 1;
    case kIdEventList:
      if (click) ShowEditPanel(static_cast<int>(extra));
      if (code == DUI::NotifyCode::kShowMenu) OnRecordListMenu();
      if (code == DUI::NotifyCode::kDeleteItem) DeleteSelectedEvent();
      return 1;
    case kIdDelayField:
    case kIdCountField:
      if (code == DUI::NotifyCode::kEditFinished) SavePlaySettings();
      return 1;
    case kIdValueField:
      if (code == DUI::NotifyCode::kFocusGained) OnKeyFieldFocus(true);
      if (code == DUI::NotifyCode::kEditFinished) OnValueCommitted();
      return 1;
    case kIdTypeCombo:
    case kIdMouseCombo:
      return 1;
    default:
      break;
  }
  if (!click) return 0;
  switch (id) {
    case kIdNewMacro: OnNewMacro(); break;
    case kIdDeleteMacro: OnDeleteMacro(); break;
    case kIdInsert: OnInsert(); break;
    case kIdDeleteEvent: DeleteSelectedEvent(); break;
    case kIdClearEvents:
      if (editor_.SelectedMacro() <= 0 ||
          window_.MessageBox(kTextClearEvents,
                             editor_.SelectedIsPlayedByAButton() ? kTextClearPlayedMacroBody
                                                                 : kTextClearMacroBody,
                             2) != DUI::MWindow::kModalOk) {
        break;
      }
      events_->DeleteAllItems();
      HideEditPanel();
      AfterEdit(editor_.Clear());
      break;
    case kIdRecord: OnRecordButton(); break;
    case kIdDelayNone:
    case kIdDelayMeasured:
    case kIdDelayFixed:
      delay_field_->SetEnabled(id == kIdDelayFixed);
      if (id == kIdDelayFixed) delay_field_->SetTitle(IntToDecimal(kDefaultFixedDelay));
      SavePlaySettings();
      break;
    case kIdPlayFirst:
    case kIdPlaySecond:
    case kIdPlayCount:
      count_field_->SetEnabled(id == kIdPlayCount);
      if (id == kIdPlayCount) count_field_->SetTitle("1");
      SavePlaySettings();
      break;
    case kIdMoveUp:
    case kIdMoveDown: {
      const int position = events_->GetSelectEvent();
      const MacroEditResult result =
          id == kIdMoveUp ? editor_.MoveUp(position) : editor_.MoveDown(position);
      AfterEdit(result);
      if (result == MacroEditResult::kDone) {
        events_->SetSelectEvent(position + (id == kIdMoveUp ? -1 : 1));
        edit_position_ = events_->GetSelectEvent();
      }
      break;
    }
    case kIdApplyButton: OnApplyMouseButton(); break;
    default: return 0;
  }
  return 1;
}

void MacroPage::DeleteSelectedEvent() {
  HideEditPanel();
  AfterEdit(editor_.DeleteEvent(events_->GetSelectEvent()));
}

void MacroPage::OnMacroChosen(int index) {
  const int64_t id = macros_->GetItemData(index);
  if (id <= 0 || id == editor_.SelectedMacro()) return;
  editor_.Select(static_cast<int>(id));
  ShowMacro();
}

void MacroPage::OnNewMacro() {
  const int id = editor_.NewMacro();
  if (id <= 0) return;
  const std::optional<MacroRecord> macro = window_.Session().Store().GetMacro(id);
  macros_->AddString(macro ? MacroListDisplayName(macro->name, window_.Texts()) : "", id);
  macros_->SetCurSel(macros_->GetCount() - 1);
  ShowMacro();
}

void MacroPage::OnDeleteMacro() {
  const int index = macros_->GetCurSel();
  if (macros_->GetItemData(index) != editor_.SelectedMacro()) return;
  // Deleting takes the macro from every button that plays it: not on a stray click.
  if (window_.MessageBox(kTextDeleteMacroTitle, kTextDeleteMacroBody, 2) != DUI::MWindow::kModalOk) {
    return;
  }
  if (!editor_.DeleteSelected()) return;
  macros_->DeleteItem(index);
  macros_->SetCurSel(std::min(std::max(index - 1, 0), macros_->GetCount() - 1));
  ShowMacro();
}

void MacroPage::OnRenamed(int index) {
  const int64_t id = macros_->GetItemData(index);
  if (id <= 0) return;
  const int profile = window_.Session().Store().GetActiveProfile();
  const std::string shown = editor_.Rename(static_cast<int>(id), macros_->LastEditText(), profile);
  macros_->ModifyItemString(index, shown);
}

void MacroPage::OnMacroListMenu() {
  DUI::MenuWnd menu(window_.GetSafeHwnd(), window_.Text(kTextMacroList));
  for (const MenuEntry& entry : MacroListMenu(editor_.SelectedMacro() > 0, macros_->GetCount() > 0)) {
    menu.AddItem(entry.command, window_.Text(entry.text_id));
  }
  if (const int command = menu.TrackPopup(QCursor::pos())) ImportExport(command);
}

void MacroPage::OnRecordListMenu() {
  const int position = events_->GetSelectEvent();
  if (position < 0) return;
  DUI::MenuWnd menu(window_.GetSafeHwnd(), window_.Text(kTextMacroEvents));
  for (const MenuEntry& entry : RecordListMenu()) {
    menu.AddItem(entry.command, window_.Text(entry.text_id));
  }
  const int command = menu.TrackPopup(QCursor::pos());
  if (command == 0) return;
  const int count = editor_.Events().Size();
  const MacroEditResult result = RunRecordListCommand(editor_, command, position);
  ShowEvents();
  if (result != MacroEditResult::kDone) return;
  const int moved = command == kCmdMoveTop    ? 0
                    : command == kCmdMoveUp   ? position - 1
                    : command == kCmdMoveDown ? position + 1
                                              : count - 1;
  events_->SetSelectEvent(moved);
  HideEditPanel();
}

void MacroPage::OnInsert() {
  if (editor_.SelectedMacro() <= 0) return;
  if (editor_.Events().Full()) {
    Report(MacroEditResult::kListFull);
    return;
  }
  DUI::MenuWnd menu(window_.GetSafeHwnd(), window_.Text(kTextInsertEventTitle));
  for (const MenuEntry& entry : InsertMenu()) {
    menu.AddItem(entry.command, window_.Text(entry.text_id));
  }
  const QWidget* button = window_.GetControl(kIdInsert);
  const int command = menu.TrackPopup(button->mapToGlobal(QPoint(0, button->height())));
  const int selected = events_->GetSelectEvent();
  if (command == kCmdInsertKey) {
    InsertKey(selected);
  } else if (command != 0) {
    AfterEdit(RunInsertCommand(editor_, command, selected));
  }
}

void MacroPage::InsertKey(int selected) {
  RecordEditDlg dialog(window_.Texts(), "", DecodeKey);
  if (dialog.Open(window_) != DUI::MWindow::kModalOk) return;
  const CapturedInput& input = dialog.Captured();
  if (input.type == kEventKeyDown) {
    AfterEdit(editor_.InsertKey(selected, input.code, input.name));
  } else if (input.type == kEventMouseDown) {
    AfterEdit(editor_.InsertClick(selected, static_cast<MouseChoice>(input.code)));
  }
}

void MacroPage::OnValueCommitted() {
  if (edit_position_ < 0) return;
  const MacroEventRecord item = editor_.Events().Items()[edit_position_];
  if (item.type == kEventDelay) {
    const MacroEditResult result = editor_.EditDelay(edit_position_, value_field_->GetNumber());
    ShowEvents();
    value_field_->SetTitle(EditFieldText(editor_.Events().Items()[edit_position_]));
    Report(result);
    return;
  }
  OnKeyFieldFocus(false);
}

void MacroPage::OnKeyFieldFocus(bool gained) {
  if (edit_position_ < 0 || EditKindOf(editor_.Events().Items()[edit_position_].type) !=
                                EventEditKind::kKey) {
    return;
  }
  if (gained) {
    capture_.Start(CaptureMode::kMacroEditorKey);
    value_field_->SetTitle("");
    return;
  }
  if (!capture_.Active() || capture_.Mode() != CaptureMode::kMacroEditorKey) return;
  capture_.End();
  if (capture_.CapturedCode() != 0 && !capture_.CapturedName().empty()) {
    AfterEdit(editor_.EditKey(edit_position_, capture_.CapturedCode(), capture_.CapturedName()));
  }
  if (edit_position_ >= 0 && edit_position_ < editor_.Events().Size()) {
    value_field_->SetTitle(EditFieldText(editor_.Events().Items()[edit_position_]));
  }
}

void MacroPage::OnApplyMouseButton() {
  if (edit_position_ < 0) return;
  AfterEdit(editor_.EditMouseButton(edit_position_, MouseChoiceAt(mouse_combo_->GetCurSel())));
}

bool MacroPage::OnKeyEvent(const QKeyEvent& event) {
  if (!capture_.Active()) return false;
  if (capture_.Mode() == CaptureMode::kMacroEditorKey) {
    auto* line = value_field_->findChild<QLineEdit*>();
    if (line == nullptr || !line->hasFocus()) return false;
    if (MovesFocus(event)) return false;
  }
  if (event.isAutoRepeat()) return true;
  const KeyEvent key = DecodeKey(event);
  if (event.type() == QEvent::KeyPress || capture_.Mode() == CaptureMode::kRecording) {
    switch (capture_.Dispatch(key)) {
      case CaptureMode::kRecording: {
        const RecordResult result = recorder_.OnKey(key);
        ShowEvents();
        if (result != RecordResult::kRecording && result != RecordResult::kIgnored) {
          FinishRecording(result);
        }
        break;
      }
      case CaptureMode::kMacroEditorKey:
        if (event.type() == QEvent::KeyPress) value_field_->SetTitle(capture_.CapturedName());
        break;
      default:
        break;
    }
  }
  return true;
}

void MacroPage::OnRecordButton() {
  if (recorder_.IsRecording()) {
    StopRecording();
    return;
  }
  HideEditPanel();
  const RecordResult result =
      recorder_.Start(RadioChoice(kIdDelayNone), delay_field_->GetTitle());
  if (result != RecordResult::kRecording) {
    if (const std::optional<MessageTexts> message = MessageFor(result)) {
      window_.MessageBox(message->title, message->body, 0);
    }
    return;
  }
  capture_.Start(CaptureMode::kRecording);
  SetRecordingLook(true);
  // Key presses must reach this window, not the button that started the recording.
  window_.GetSafeHwnd()->activateWindow();
  window_.GetSafeHwnd()->setFocus(Qt::OtherFocusReason);
}

void MacroPage::StopRecording() {
  if (!recorder_.IsRecording()) return;
  recorder_.Stop();
  FinishRecording(RecordResult::kIgnored);
}

void MacroPage::FinishRecording(RecordResult result) {
  capture_.End();
  ShowEvents();
  SetRecordingLook(false);
  if (const std::optional<MessageTexts> message = MessageFor(result)) {
    // Shown once the key event that ended the recording has been handled.
    QTimer::singleShot(0, window_.GetSafeHwnd(), [this, texts = *message] {
      window_.MessageBox(texts.title, texts.body, 0);
    });
  }
}

void MacroPage::SetRecordingLook(bool recording) {
  record_->SetTitle(window_.Text(recording ? kTextStopRecording : kTextStartRecording));
  record_->SetIcon(recording ? kStopIcon : kRecordIcon);
  for (int id : kLockedWhileRecording) {
    if (DUI::MControl* control = window_.GetControl(id)) control->SetEnabled(!recording);
  }
  if (!recording) {
    // The fields are enabled by their radio buttons only.
    delay_field_->SetEnabled(RadioChoice(kIdDelayNone) == 2);
    count_field_->SetEnabled(RadioChoice(kIdPlayFirst) == 2);
  }
}

void MacroPage::ImportExport(int command) {
  SettingsDatabase& store = window_.Session().Store();
  const bool is_export = command == kCmdExportMacro || command == kCmdExportAllMacros;
  if (command == kCmdExportMacro && editor_.SelectedMacro() <= 0) return;
  // A single macro is offered under its own name.
  const std::optional<MacroRecord> shown = command == kCmdExportMacro
                                               ? store.GetMacro(editor_.SelectedMacro())
                                               : std::nullopt;
  const QString suggested = shown ? QString::fromStdString(shown->name + ".xml") : QString();
  const QString path =
      is_export ? AskXmlSaveFile(window_.GetSafeHwnd(), suggested, kMacroFilter)
                : QFileDialog::getOpenFileName(window_.GetSafeHwnd(), QString(), QString(), kMacroFilter);
  if (path.isEmpty()) return;
  const std::filesystem::path file = path.toStdString();
  const ExchangeResult result =
      command == kCmdExportMacro      ? ExportMacro(store, editor_.SelectedMacro(), file, window_.Texts())
      : command == kCmdExportAllMacros ? ExportAllMacros(store, file)
      : command == kCmdImportMacro     ? ImportMacro(store, file)
                                       : ImportAllMacros(store, file);
  if (!result.ok()) {
    // A file that could not be read or written is said, not passed over in silence.
    window_.MessageBoxText(window_.Text(is_export ? kTextExport : kTextImport),
                           ExchangeFailureMessage(result.status, file.string(), window_.Texts()),
                           kMessageBoxOneButton);
    return;
  }
  for (int id : result.macro_ids) {
    const std::optional<MacroRecord> macro = store.GetMacro(id);
    if (!macro) continue;
    macros_->AddString(MacroListDisplayName(macro->name, window_.Texts()), id);
  }
}

}  // namespace corvane::ui
