// Building the buttons page and acting on its controls (placing them: keys_page_layout.cpp).
#include "ui/pages/keys_page.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "app/language_text.h"
#include "app/text_ids.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/medit.h"
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtab_layout.h"
#include "ui/dui/mtext.h"
#include "ui/dui/mwindow.h"
#include "ui/key_input.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kColor1 = 0xFFFFFFFFu;
constexpr uint32_t kColor2 = 0xFFFFFFFFu;
constexpr int kListIds[kKeysPageListCount] = {kIdKeysMouseList, kIdKeysMediaList,
                                              kIdKeysMacroList, kIdKeysSystemList,
                                              kIdKeysDpiList,   kIdKeysSpecialList};
constexpr int kCaptionIds[kKeysPageListCount] = {kIdKeysMouseCaption, kIdKeysMediaCaption,
                                                 kIdKeysMacroCaption, kIdKeysSystemList,
                                                 kIdKeysDpiCaption,   kIdKeysSpecialCaption};
// The editor openers: caption and button of each row.
constexpr int kOpenerIds[] = {kIdKeysKeyboardCaption,  kIdKeysKeyboard,
                              kIdKeysRapidFireCaption, kIdKeysRapidFire,
                              kIdKeysDisableCaption,   kIdKeysDisable};
constexpr int kCaptionTexts[kKeysPageListCount] = {
    kTextMouseFunctions, kTextMultimedia,  kTextMacroFunctions,
    kTextSystemShortcuts, kTextDpiFunctions, kTextSpecialFunctions};
constexpr const char* kToggleTexts[4] = {"Ctrl", "Win", "Alt", "Shift"};
constexpr int kToggleIds[4] = {kIdKeysCtrl, kIdKeysWin, kIdKeysAlt, kIdKeysShift};

int ListPosition(int id) {
  for (int i = 0; i < kKeysPageListCount; ++i) {
    if (kListIds[i] == id) return i;
  }
  return -1;
}

int FamilyPosition(int family) {
  for (int i = 0; i < kKeysPageListCount; ++i) {
    if (kKeysPageFamilies[i] == family) return i;
  }
  return -1;
}

}  // namespace

KeysPage::KeysPage(DeviceMainDlg& window) : window_(window) {
  DeviceSession& session = window_.Session();
  model_ = std::make_unique<KeysPageModel>(session.Store(), session.Worker(), session.State(),
                                           window_.Texts());
}

KeysPage::~KeysPage() {
  if (key_field_input_ != nullptr) key_field_input_->removeEventFilter(this);
}

template <typename T>
T* KeysPage::Add(DUI::MControl* parent, int id, int text_id, const char* image, int frames) {
  return AddControl<T>(window_, *parent, id, text_id, image, frames);
}

void KeysPage::Build(DUI::MControl& container) {
  page_ = &container;
  Add<DUI::MPicture>(page_, kIdKeysListBackground, kNoText, "img_area2.png", 1)
      ->SetShowMode(DUI::MPicture::kShowSliced, 10);
  auto* caption = Add<DUI::MText>(page_, kIdKeysListCaption, kTextButtonList);
  caption->SetTextColor(kColor1);
  caption->SetFontWidth(16);
  Add<DUI::MButton>(page_, kIdKeysResetAll, kTextRestoreAllButtons, "img_button.png", 4);
  list_ = Add<DUI::MouseKeyCtrl>(page_, kIdKeysList, kNoText, "img_list_bkg.png", 2);
  window_.Tooltip(list_, kTextButtonList);
  mouse_ = Add<DUI::MouseCtrl>(page_, kIdKeysMouse, kNoText, "img_key_bkg.png", 2);
  window_.Tooltip(mouse_, kTextButtonsTitle);
  panel_ = page_->Create<DUI::MTabLayout>(kIdKeysPanel, DUI::Rect{}, "", false);
  BuildPanel();
  BuildEditors();
  FillRows();
  FillLists();
  ApplyPanelView();
}

void KeysPage::BuildPanel() {
  Add<DUI::MPicture>(panel_, kIdKeysPanelBackground, kNoText, "img_area_content.png", 1)
      ->SetShowMode(DUI::MPicture::kShowSliced, 10);
  panel_title_ = Add<DUI::MText>(panel_, kIdKeysPanelTitle);
  panel_title_->SetFont("", 16, DUI::kFontBold);
  window_.Tooltip(Add<DUI::CImageButton>(panel_, kIdKeysResetButton, kNoText, "btn_reset.png", 4),
                  kTextResetThisButton);
  for (int i = 0; i < kKeysPageListCount; ++i) {
    auto* caption = Add<DUI::MText>(panel_, kCaptionIds[i], kCaptionTexts[i]);
    caption->SetTextColor(i == 2 ? kColor1 : kColor2);
    caption->SetFontWidth(14);
    list_captions_[i] = caption;
    lists_[i] = Add<DUI::MComboBox>(panel_, kListIds[i], kNoText, "img_combobox.png", 4);
    // A reader names a list by the caption above it; the chosen item is its value.
    window_.Named(lists_[i], kCaptionTexts[i]);
    window_.Tooltip(lists_[i], kCaptionTexts[i]);
  }
  lists_[0]->SetCheck(true);
  const struct {
    int caption_id, caption_text, button_id, button_text, tooltip, name;
  } openers[] = {
      {kIdKeysKeyboardCaption, kTextKeyboardShortcut, kIdKeysKeyboard, kTextSettings,
       kTextKeyboardShortcut, kTextKeyboardShortcutSettings},
      {kIdKeysRapidFireCaption, kTextRapidFire, kIdKeysRapidFire, kTextSettings, kTextRapidFire,
       kTextRapidFireSettings},
      {kIdKeysDisableCaption, kTextDisable, kIdKeysDisable, kTextDisable, kTextDisable,
       kTextDisable}};
  for (const auto& o : openers) {
    Add<DUI::MText>(panel_, o.caption_id, o.caption_text)->SetFontWidth(14);
    auto* button = Add<DUI::MButton>(panel_, o.button_id, o.button_text, "img_button2.png", 4);
    button->SetTextColor(kColor1);
    // Two of the buttons show "Settings": the tooltip says which editor each opens, and a
    // reader hears it in the name, so the two are told apart without their captions.
    if (o.tooltip != o.button_text) window_.Tooltip(button, o.tooltip);
    if (o.name != o.button_text) window_.Named(button, o.name);
    if (o.button_id == kIdKeysDisable) disable_ = button;
  }
}

void KeysPage::BuildEditors() {
  auto part = [](std::vector<DUI::MControl*>& parts, auto* control) {
    control->SetVisible(false);
    parts.push_back(control);
    return control;
  };
  auto text = [this](int id, int text_id, int size) {
    auto* label = Add<DUI::MText>(panel_, id, text_id);
    label->SetTextColor(kColor1);
    label->SetFontWidth(size);
    return label;
  };
  // Keyboard editor.
  part(keyboard_parts_,
       Add<DUI::MPicture>(panel_, kIdKeysKeyboardBackground, kNoText, "img_area_content.png", 1))
      ->SetShowMode(DUI::MPicture::kShowSliced, 10);
  window_.Tooltip(part(keyboard_parts_, Add<DUI::CImageButton>(panel_, kIdKeysKeyboardClose,
                                                               kNoText, "btn_close.png", 4)),
                  kTextCloseEditor);
  part(keyboard_parts_, text(kIdKeysKeyboardTitle, kTextKeyboardShortcut, 14));
  key_field_ =
      part(keyboard_parts_, Add<DUI::MEdit>(panel_, kIdKeysKeyField, kNoText, "img_edit.png", 4));
  key_field_->SetAlignment(DUI::kAlignCenter);
  key_field_->SetHint(window_.Text(kTextPressKeyHint));
  key_field_input_ = key_field_->findChild<QLineEdit*>();
  if (key_field_input_ != nullptr) key_field_input_->installEventFilter(this);
  for (int i = 0; i < 4; ++i) {
    toggles_[i] = part(keyboard_parts_, Add<DUI::MToggleButton>(panel_, kToggleIds[i], kNoText,
                                                                "img_button2.png", 4));
    toggles_[i]->SetTitle(kToggleTexts[i]);
    toggles_[i]->SetTextColor(kColor1);
  }
  part(keyboard_parts_,
       Add<DUI::MButton>(panel_, kIdKeysKeyboardApply, kTextApplyKey, "img_button.png", 4));
  // Rapid-fire editor.
  part(rapid_parts_,
       Add<DUI::MPicture>(panel_, kIdKeysRapidBackground, kNoText, "img_area_content.png", 1))
      ->SetShowMode(DUI::MPicture::kShowSliced, 10);
  window_.Tooltip(part(rapid_parts_, Add<DUI::CImageButton>(panel_, kIdKeysRapidClose, kNoText,
                                                            "btn_close.png", 4)),
                  kTextCloseEditor);
  part(rapid_parts_, text(kIdKeysRapidTitle, kTextRapidFire, 14));
  part(rapid_parts_, text(kIdKeysRapidSecondCaption, kTextRapidFireCount, 14));
  part(rapid_parts_, text(kIdKeysRapidFirstCaption, kTextRapidFireInterval, 14));
  rapid_note_ = text(kIdKeysRapidNote, kTextRapidFireNote, 10);
  rapid_note_->SetMultiLine(true);
  part(rapid_parts_, rapid_note_);
  for (DUI::MEdit** edit : {&rapid_second_, &rapid_first_}) {
    const int id = edit == &rapid_second_ ? kIdKeysRapidSecond : kIdKeysRapidFirst;
    *edit = part(rapid_parts_, Add<DUI::MEdit>(panel_, id, kNoText, "img_edit.png", 4));
    (*edit)->SetAlignment(DUI::kAlignCenter);
    (*edit)->SetNumberOnly(true, 3);
    // The field's name for a reader is the caption beside it.
    (*edit)->SetHint(window_.Text(id == kIdKeysRapidSecond ? kTextRapidFireCount
                                                           : kTextRapidFireInterval));
  }
  part(rapid_parts_,
       Add<DUI::MButton>(panel_, kIdKeysRapidApply, kTextApplyKey, "img_button.png", 4));
}

bool KeysPage::Handles(int id) const {
  return id == kIdKeysResetAll || id == kIdKeysList || id == kIdKeysMouse ||
         id == kIdKeysResetButton || (id >= kIdKeysMouseList && id <= kIdKeysDisable) ||
         id == kIdKeysKeyboardClose || id == kIdKeysKeyField || id == kIdKeysKeyboardApply ||
         id == kIdKeysRapidSecond || (id >= kIdKeysRapidFirst && id <= kIdKeysRapidClose) ||
         (id >= kIdKeysCtrl && id <= kIdKeysShift);
}

int64_t KeysPage::OnMessage(int id, DUI::NotifyCode code, int64_t extra) {
  if (id == kIdKeysKeyField) {
    if (code == DUI::NotifyCode::kFocusGained) StartCapture();
    return 1;
  }
  const int list = ListPosition(id);
  if (list >= 0) {
    if (code == DUI::NotifyCode::kValueChanged) OnListChosen(id, static_cast<int>(extra));
    return 1;
  }
  if (code != DUI::NotifyCode::kClick) return 0;
  switch (id) {
    case kIdKeysList:
    case kIdKeysMouse:
      SelectButton(static_cast<int>(extra));
      ShowPanel(true);
      return 1;
    case kIdKeysResetAll:
      ResetAllButtons();
      return 1;
    case kIdKeysResetButton:
      ResetButton();
      return 1;
    case kIdKeysKeyboard:
      OpenKeyboardEditor();
      return 1;
    case kIdKeysRapidFire:
      OpenRapidFireEditor();
      return 1;
    case kIdKeysDisable:
      ShowEditors(false, false);
      Finish(model_->Assignment().Disable());
      return 1;
    case kIdKeysKeyboardClose:
    case kIdKeysRapidClose:
      CloseEditor();
      return 1;
    case kIdKeysKeyboardApply:
      ApplyKeyboard();
      return 1;
    case kIdKeysRapidApply:
      ApplyRapidFire();
      return 1;
    default:
      return 1;  // toggles keep their own state; fields are read on apply
  }
}

void KeysPage::Refresh() {
  DeviceSession& session = window_.Session();
  model_->Load(session.Store().GetActiveProfile(), session.Model().Definition().buttons);
  mouse_->ResetContent();
  for (const ButtonDefinition& b : session.Model().Definition().buttons) {
    mouse_->AddButton(b.key_value, model_->ButtonName(b.key_value), b.x1, b.x2, b.y, b.direction);
  }
  const std::string picture = session.Model().Definition().mouse_image;
  mouse_->SetPicture(picture.empty() ? std::string() : "device/" + picture);
  FillRows();
  FillLists();
  SelectButton(model_->Assignment().SelectedButton());
  if (DUI::MControl* page = page_) LayoutPage(page->GetRect(), scale_);
}

void KeysPage::Relabel() {
  for (const ButtonRow& row : model_->Rows()) mouse_->SetButtonName(row.button, row.name);
  key_field_->SetHint(window_.Text(kTextPressKeyHint));
  rapid_second_->SetHint(window_.Text(kTextRapidFireCount));
  rapid_first_->SetHint(window_.Text(kTextRapidFireInterval));
  ShowRapidNote();
  FillRows();
  FillLists();
  ApplyPanelView();
  panel_title_->SetTitle(model_->ButtonName(model_->Assignment().SelectedButton()));
}

void KeysPage::FillRows() {
  const int selected = list_->GetCurButton();
  list_->ResetContent();
  const std::vector<ButtonRow> rows =
      model_->Loaded() ? model_->Rows() : KeysPageModel::PlaceholderRows(window_.Texts());
  for (const ButtonRow& row : rows) list_->AddItem(row.button, row.name, row.description);
  if (!list_->SelectButton(selected)) list_->SetCurSel(rows.empty() ? -1 : 0);
}

void KeysPage::FillLists() {
  for (int i = 0; i < kKeysPageListCount; ++i) {
    lists_[i]->ResetContent();
    for (const ChoiceItem& item : model_->ListItems(kKeysPageFamilies[i])) {
      lists_[i]->AddString(item.text, item.code);
    }
    // The macro list is empty until a macro is made; an empty box offers nothing.
    lists_[i]->SetEnabled(lists_[i]->GetCount() > 0);
  }
}

void KeysPage::ApplyPanelView() {
  const KeysPanelView view = model_->PanelView();
  for (int i = 0; i < kKeysPageListCount; ++i) {
    lists_[i]->SetCurSel(view.lists[i].selected < lists_[i]->GetCount() ? view.lists[i].selected
                                                                        : -1);
    lists_[i]->SetCheck(view.lists[i].marked);
  }
  disable_->SetCheck(view.disabled_marked);
}

void KeysPage::SelectButton(int button) {
  if (!model_->Loaded()) {
    list_->SelectButton(button);
    return;
  }
  model_->Assignment().SelectButton(button);
  // Macros are made and deleted on the macro page; the list reads them afresh.
  FillLists();
  list_->SelectButton(button);
  mouse_->SelectButton(button);
  panel_title_->SetTitle(model_->ButtonName(button));
  ShowEditors(false, false);
  ApplyPanelView();
  // The openers' rows are parted by their words' widths, which the language changes.
  if (DUI::MControl* page = page_) LayoutPage(page->GetRect(), scale_);
}

void KeysPage::ShowPanel(bool show) {
  if (panel_->IsVisible() == show) return;
  panel_->SetVisible(show);
  LayoutPage(page_->GetRect(), scale_);
}

void KeysPage::ShowEditors(bool keyboard, bool rapid_fire) {
  for (DUI::MControl* control : keyboard_parts_) control->SetVisible(keyboard);
  for (DUI::MControl* control : rapid_parts_) control->SetVisible(rapid_fire);
  // The openers lie under the editors; hidden, they cannot be reached through them.
  for (int id : kOpenerIds) {
    if (DUI::MControl* control = window_.GetControl(id)) control->SetVisible(!keyboard && !rapid_fire);
  }
  if (!keyboard) EndCapture();
}

void KeysPage::SyncMacroList() {
  if (!model_->Loaded()) return;
  DUI::MComboBox* macros = lists_[FamilyPosition(kFamilyMacro)];
  const std::vector<ChoiceItem> items = model_->ListItems(kFamilyMacro);
  bool same = static_cast<int>(items.size()) == macros->GetCount();
  for (int i = 0; same && i < macros->GetCount(); ++i) {
    same = macros->GetItemData(i) == items[i].code && macros->GetItemText(i) == items[i].text;
  }
  if (same) return;
  FillRows();  // a button that played a deleted or renamed macro says so
  FillLists();
  ApplyPanelView();
}

void KeysPage::OnListChosen(int id, int index) {
  ShowEditors(false, false);
  const int position = ListPosition(id);
  const AssignResult result = model_->ChooseListCode(
      kKeysPageFamilies[position], static_cast<int>(lists_[position]->GetItemData(index)));
  // An entry of a list shown before its macro went: show the macros there are now.
  if (result == AssignResult::kNothingToSave) SyncMacroList();
  Finish(result);
  // A refused choice must not stay shown as if it had been taken.
  ApplyPanelView();
}

void KeysPage::OpenKeyboardEditor() {
  ShowEditors(true, false);
  for (DUI::MButton* toggle : toggles_) toggle->SetCheck(false);
  capture_.Start(CaptureMode::kKeyboardPanel);
  capture_.End();
  key_field_->SetTitle("");
}

void KeysPage::OpenRapidFireEditor() {
  ShowEditors(false, true);
  rapid_first_->SetTitle(kRapidFireFirstStart);
  rapid_second_->SetTitle(kRapidFireSecondStart);
  rapid_clamped_ = false;
  ShowRapidNote();
}

void KeysPage::ShowRapidNote() {
  rapid_note_->SetTitle(window_.Text(rapid_clamped_ ? kTextRapidFireClamped : kTextRapidFireNote));
}

bool KeysPage::CloseEditor() {
  const bool keyboard = keyboard_parts_.front()->isVisible();
  const bool rapid = rapid_parts_.front()->isVisible();
  if (!keyboard && !rapid) return false;
  ShowEditors(false, false);
  // The keyboard goes back to the button that opened the editor, not to the window.
  if (DUI::MControl* opener = window_.GetControl(keyboard ? kIdKeysKeyboard : kIdKeysRapidFire)) {
    opener->setFocus(Qt::OtherFocusReason);
  }
  return true;
}

void KeysPage::ApplyKeyboard() {
  KeyboardModifiers mods;
  mods.ctrl = toggles_[0]->GetCheck();
  mods.win = toggles_[1]->GetCheck();
  mods.alt = toggles_[2]->GetCheck();
  mods.shift = toggles_[3]->GetCheck();
  Finish(model_->Assignment().ApplyKeyboard(capture_.CapturedCode(), capture_.CapturedName(), mods));
}

void KeysPage::ApplyRapidFire() {
  bool clamped = false;
  const AssignResult result =
      model_->ApplyRapidFire(rapid_first_->GetTitle(), rapid_second_->GetTitle(), &clamped);
  // The fields show what was stored and sent, not a value out of range as typed.
  const std::optional<KeyAssignRecord> row = model_->Assignment().SelectedRow();
  if (result == AssignResult::kSaved && row) {
    rapid_first_->SetTitle(std::to_string(row->macro_value));
    rapid_second_->SetTitle(std::to_string(row->macro_value2));
    // A number changed without a word looks like a typing slip: the note says why.
    rapid_clamped_ = clamped;
    ShowRapidNote();
  }
  Finish(result);
}

void KeysPage::ResetButton() {
  if (window_.MessageBox(kTextResetButtonsTitle, kTextResetButtonsBody, 2) != DUI::MWindow::kModalOk) {
    return;
  }
  model_->Assignment().ResetButton();
  const int button = model_->Assignment().SelectedButton();
  list_->SetItemKeyDesc(button, model_->Assignment().Description(button));
  ApplyPanelView();
  window_.ShowSavingPopup();
}

void KeysPage::ResetAllButtons() {
  if (window_.MessageBox(kTextResetButtonsTitle, kTextResetButtonsBody, 2) != DUI::MWindow::kModalOk) {
    return;
  }
  model_->Assignment().ResetAllButtons();
  const int button = model_->Assignment().SelectedButton();
  list_->SelectButton(button);
  mouse_->SelectButton(button);
  panel_title_->SetTitle(model_->ButtonName(button));
  FillRows();
  ApplyPanelView();
  window_.ShowSavingPopup();
}

void KeysPage::Finish(AssignResult result) {
  switch (result) {
    case AssignResult::kPrimaryButton:
      window_.MessageBox(kTextPrimaryButtonTitle, kTextPrimaryButtonBody, 1);
      return;
    case AssignResult::kSaved: {
      const int button = model_->Assignment().SelectedButton();
      DeviceSession& session = window_.Session();
      const std::optional<KeyAssignRecord> row =
          session.Store().GetKeyAssign(session.Store().GetActiveProfile(), button);
      if (row) list_->SetItemKeyDesc(button, row->macro_desc);
      ApplyPanelView();
      window_.ShowSavingPopup();
      return;
    }
    case AssignResult::kStoreFailed:
      window_.ShowSavingPopup();  // the button job was posted all the same
      return;
    case AssignResult::kMacroTooLong:
      window_.MessageBox(kTextMacroEvents, kTextMacroTooLong, 1);
      return;
    default:
      return;
  }
}

void KeysPage::StartCapture() {
  capture_.Start(CaptureMode::kKeyboardPanel);
  key_field_->SetTitle("");
}

void KeysPage::EndCapture() { capture_.End(); }

bool KeysPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != key_field_input_) return false;
  switch (event->type()) {
    case QEvent::FocusOut:
      EndCapture();
      return false;
    case QEvent::ShortcutOverride:
      // Every key belongs to the capture, not to a shortcut or the field's editing keys.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // Escape alone closes the editor (the window's Escape); with a modifier held it is
      // the key to assign.
      if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) return false;
      // Tab moves through the panel, as in the macro editor's key field: tabbing in (its
      // release lands here) or out must not leave Tab as the key to assign.
      if (MovesFocus(*key)) return false;
      const KeyEvent decoded = SharedKeyInput().Decode(*key);
      if (capture_.Dispatch(decoded) == CaptureMode::kKeyboardPanel) {
        key_field_->SetTitle(capture_.CapturedName());
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace corvane::ui
