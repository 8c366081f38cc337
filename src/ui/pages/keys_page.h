// The buttons page: the button list and the mouse picture, and beside them the key-edit
// panel with the function lists, the keyboard and rapid-fire editors, the disabled button
// and the two resets; the panel opens beside the list once a button is picked. Widgets only: what each control stores lives in KeysPageModel.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/key_capture.h"
#include "settings/keys_page_model.h"
#include "ui/dui/dui_types.h"
#include "ui/pages/page.h"

namespace corvane::DUI {
class MButton;
class MComboBox;
class MControl;
class MControlFont;
class MEdit;
class MouseCtrl;
class MouseKeyCtrl;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

inline constexpr int kIdKeysPanel = 51;
inline constexpr int kIdKeysResetAll = 67, kIdKeysList = 68, kIdKeysMouse = 108;
inline constexpr int kIdKeysPanelTitle = 70, kIdKeysResetButton = 71;
inline constexpr int kIdKeysKeyboard = 85, kIdKeysRapidFire = 87, kIdKeysDisable = 89;
inline constexpr int kIdKeysKeyboardClose = 91, kIdKeysKeyField = 93;
inline constexpr int kIdKeysCtrl = 94, kIdKeysWin = 95, kIdKeysAlt = 96, kIdKeysShift = 97;
inline constexpr int kIdKeysKeyboardApply = 98;
inline constexpr int kIdKeysRapidSecond = 102, kIdKeysRapidFirst = 105;
inline constexpr int kIdKeysRapidApply = 106, kIdKeysRapidClose = 107;
inline constexpr int kIdKeysListBackground = 65, kIdKeysListCaption = 66;
inline constexpr int kIdKeysPanelBackground = 69;
// The function lists and their captions; the system list's caption shares the list's id.
inline constexpr int kIdKeysMouseCaption = 72, kIdKeysMouseList = 73;
inline constexpr int kIdKeysMediaCaption = 74, kIdKeysMediaList = 75;
inline constexpr int kIdKeysMacroCaption = 76, kIdKeysMacroList = 77, kIdKeysSystemList = 79;
inline constexpr int kIdKeysDpiCaption = 80, kIdKeysDpiList = 81;
inline constexpr int kIdKeysSpecialCaption = 82, kIdKeysSpecialList = 83;
// The editor openers' captions, each beside its button (kIdKeysKeyboard, kIdKeysRapidFire,
// kIdKeysDisable).
inline constexpr int kIdKeysKeyboardCaption = 84, kIdKeysRapidFireCaption = 86;
inline constexpr int kIdKeysDisableCaption = 88;
inline constexpr int kIdKeysKeyboardBackground = 90, kIdKeysKeyboardTitle = 92;
inline constexpr int kIdKeysRapidBackground = 99, kIdKeysRapidTitle = 100;
inline constexpr int kIdKeysRapidSecondCaption = 101, kIdKeysRapidFirstCaption = 103;
inline constexpr int kIdKeysRapidNote = 104;

class KeysPage : public QObject, public Page {
 public:
  explicit KeysPage(DeviceMainDlg& window);
  ~KeysPage() override;

  // Creates the page's controls inside the keys page container.
  void Build(DUI::MControl& container) override;
  // Places them for the page container's size and the layout scale.
  void Layout(const PageGeometry& geometry) override;
  // True for the ids this page acts on (the system list's caption shares its id with the
  // list; only the list notifies).
  bool Handles(int id) const override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) override;
  // Reads the loaded model's buttons and the active profile's rows again.
  void Refresh() override;
  bool Shows(DevicePage part) const override { return part == DevicePage::kButtons; }
  // Sets the composite texts again in the current language (keeps the picked button;
  // Refresh would go back to the first).
  void Relabel() override;
  // Fills the macro list and the button rows again when the stored macros are no longer
  // the ones the list shows (made, deleted, renamed or imported on the macro page).
  void SyncMacroList();
  // Closes an open keyboard or rapid-fire editor without applying it and gives the
  // keyboard back to its opener. Returns false when neither was open.
  bool CloseEditor();

 protected:
  // Key events of the key field while it has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  template <typename T>
  T* Add(DUI::MControl* parent, int id, int text_id = kNoText, const char* image = nullptr,
         int frames = 0);
  // Places the controls for a page container of `page_rect` at layout scale `scale`.
  void LayoutPage(const DUI::Rect& page_rect, double scale);
  void BuildPanel();
  void BuildEditors();
  void LayoutPanel(double scale);
  // Where the editor openers' rows part caption and button (panel coordinates).
  int OpenerSplit(int left, int width, int right, double scale) const;
  void FillRows();
  void FillLists();
  void ApplyPanelView();
  // Selects `button` in both selectors and sets the panel for it (shown or not).
  void SelectButton(int button);
  void ShowPanel(bool show);
  void ShowEditors(bool keyboard, bool rapid_fire);
  void OnListChosen(int id, int index);
  void OpenKeyboardEditor();
  void OpenRapidFireEditor();
  void ApplyKeyboard();
  void ApplyRapidFire();
  // The rapid-fire note: the ranges, or that a number was moved into them.
  void ShowRapidNote();
  void ResetButton();
  void ResetAllButtons();
  // Shows the outcome of an assignment: the guard message, or the new description and
  // the saving pop-up.
  void Finish(AssignResult result);
  void StartCapture();
  void EndCapture();

  DeviceMainDlg& window_;
  std::unique_ptr<KeysPageModel> model_;
  KeyCapture capture_;
  DUI::MControl* page_ = nullptr;
  DUI::MControl* panel_ = nullptr;
  DUI::MouseKeyCtrl* list_ = nullptr;
  DUI::MouseCtrl* mouse_ = nullptr;
  DUI::MControlFont* panel_title_ = nullptr;
  DUI::MComboBox* lists_[kKeysPageListCount] = {};
  DUI::MControl* list_captions_[kKeysPageListCount] = {};
  DUI::MButton* disable_ = nullptr;
  DUI::MEdit* key_field_ = nullptr;
  DUI::MButton* toggles_[4] = {};  // Ctrl, Win, Alt, Shift
  DUI::MEdit* rapid_first_ = nullptr;
  DUI::MEdit* rapid_second_ = nullptr;
  DUI::MControlFont* rapid_note_ = nullptr;
  bool rapid_clamped_ = false;  // the last apply moved a number into its range
  std::vector<DUI::MControl*> keyboard_parts_;  // the keyboard editor's controls
  std::vector<DUI::MControl*> rapid_parts_;     // the rapid-fire editor's controls
  QPointer<QObject> key_field_input_;           // the line edit inside the key field
  double scale_ = 1.0;
};

}  // namespace corvane::ui
