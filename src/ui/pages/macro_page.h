// The macro page's widgets: macro list, event list, record button, delay and play
// settings and the event edit panel, bound to MacroEditor and MacroRecorder. Recording
// and the edit panel's key field take the window's key events while they capture.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

#include "settings/key_capture.h"
#include "settings/macro_clock.h"
#include "settings/macro_editor.h"
#include "settings/macro_recorder.h"
#include "ui/dui/dui_types.h"
#include "ui/pages/page.h"

class QKeyEvent;

namespace corvane::DUI {
class CIconButton;
class CRadioButton;
class CRecordList;
class MComboBox;
class MControl;
class MEdit;
class MacroList;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

class MacroPage : public Page {
 public:
  // Control ids inside the macro page container.
  static constexpr int kIdListTitle = 154, kIdMacroList = 156, kIdNewMacro = 157;
  static constexpr int kIdDeleteMacro = 158, kIdEventsTitle = 160, kIdEventHeader = 162;
  static constexpr int kIdNumberColumn = 163, kIdEventColumn = 164, kIdValueColumn = 165;
  static constexpr int kIdEventList = 166, kIdInsert = 167, kIdDeleteEvent = 168;
  static constexpr int kIdClearEvents = 169, kIdSettingsArea = 170, kIdEditArea = 171;
  static constexpr int kIdRecord = 172, kIdDelayTitle = 173, kIdDelayNone = 174;
  static constexpr int kIdDelayMeasured = 175, kIdDelayFixed = 176, kIdDelayBox = 177;
  static constexpr int kIdDelayField = 178, kIdDelayUnit = 179, kIdPlayTitle = 180;
  static constexpr int kIdPlayFirst = 181, kIdPlaySecond = 182, kIdPlayCount = 183;
  static constexpr int kIdCountField = 184, kIdTypeLabel = 185, kIdTypeCombo = 186;
  static constexpr int kIdValueField = 187, kIdMouseCombo = 188, kIdValueLabel = 189;
  static constexpr int kIdMoveUp = 190, kIdMoveDown = 191, kIdApplyButton = 9188;
  static constexpr int kIdListArea = 159;
  static constexpr int kDelayDigits = 5;

  explicit MacroPage(DeviceMainDlg& window);
  ~MacroPage();

  // Creates the controls inside the page container.
  void Build(DUI::MControl& container) override;
  // Places them for the page's width and height.
  void Layout(const PageGeometry& geometry) override;
  bool Handles(int id) const override {
    return (id >= kIdListTitle && id <= kIdMoveDown) || id == kIdApplyButton;
  }
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) override;
  void Refresh() override { Load(); }
  bool Shows(DevicePage part) const override { return part == DevicePage::kMacro; }
  // Lists the macros again (their display names follow the language) and sets the texts
  // that depend on state (record button, field names) again.
  void Relabel() override;
  // Lists the macros and shows the first one.
  void Load();
  // Stops a running recording as the record button does (pop-ups closing, mouse gone).
  void StopRecording();
  bool IsRecording() const { return recorder_.IsRecording(); }

  // Key input while recording or while the key field captures. Returns true when taken.
  bool OnKeyEvent(const QKeyEvent& event);

 private:
  // Creates a control in the page; a text id makes it a labelled one.
  template <typename T>
  T* Add(int id, int text_id = kNoText);
  // The texts that depend on state and language.
  void RelabelTexts();
  void InstallKeyFilter();
  void ShowMacro();
  void ShowEvents();
  void ShowPlaySettings();
  void SavePlaySettings();
  void HideEditPanel();
  void ShowEditPanel(int position);
  void Report(MacroEditResult result);
  void AfterEdit(MacroEditResult result);

  void OnNewMacro();
  void OnDeleteMacro();
  void OnRenamed(int index);
  void OnMacroChosen(int index);
  // The events list's Delete button and Delete key.
  void DeleteSelectedEvent();
  void OnMacroListMenu();
  void OnRecordListMenu();
  void OnInsert();
  void InsertKey(int selected);
  void OnRecordButton();
  void FinishRecording(RecordResult result);
  void SetRecordingLook(bool recording);
  void OnValueCommitted();
  void OnKeyFieldFocus(bool gained);
  void OnApplyMouseButton();
  void ImportExport(int command);
  int DeviceType() const;
  int RadioChoice(int first_id) const;

  DeviceMainDlg& window_;
  SteadyMacroClock clock_;
  MacroEditor editor_;
  MacroRecorder recorder_;
  KeyCapture capture_;
  std::unique_ptr<QObject> key_filter_;
  DUI::MControl* page_ = nullptr;
  DUI::MacroList* macros_ = nullptr;
  DUI::CRecordList* events_ = nullptr;
  DUI::CIconButton* record_ = nullptr;
  DUI::MEdit* delay_field_ = nullptr;
  DUI::MEdit* count_field_ = nullptr;
  DUI::MEdit* value_field_ = nullptr;
  DUI::MComboBox* type_combo_ = nullptr;
  DUI::MComboBox* mouse_combo_ = nullptr;
  int edit_position_ = -1;  // the event the edit panel shows, -1 when hidden
};

}  // namespace corvane::ui
