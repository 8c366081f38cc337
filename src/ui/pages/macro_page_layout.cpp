// The macro page's controls: creating them inside the page container, placing them for
// the page's size, and the texts that follow the state and the language.
#include <QApplication>

#include "app/text_ids.h"
#include "settings/macro_page_logic.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/carea.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/crecord_list.h"
#include "ui/dui/macro_list.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtext.h"
#include "ui/pages/macro_page.h"

namespace corvane::ui {
namespace {

constexpr const char* kDelayGroup = "IDC_MACRO_STC_DELAYSET";
constexpr const char* kPlayGroup = "IDC_MACRO_RADIO_LOOP1";
constexpr uint32_t kTitleColor = 0xFFFFFFFFu;
constexpr uint32_t kCaptionColor = 0xFFC8D0DAu;
constexpr uint32_t kDelayBoxColor = 0x535837;
constexpr int kSectionGap = 15;
constexpr int kRightColumn = 320;
constexpr int kLeftColumn = 280;
constexpr int kButtonHeight = 34;
constexpr int kRowHeight = 28;

DUI::Rect Box(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

}  // namespace

template <typename T>
T* MacroPage::Add(int id, int text_id) {
  return AddControl<T>(window_, *page_, id, text_id);
}

void MacroPage::Build(DUI::MControl& container) {
  page_ = &container;
  for (int id : {kIdListArea, kIdSettingsArea, kIdEditArea}) {
    auto* section = Add<DUI::MPicture>(id);
    section->SetImage("img_area_content.png", 1);
    section->SetShowMode(DUI::MPicture::kShowSliced, 10);
  }
  // The events section uses the list section's id too: both are plain backgrounds.
  auto* events_area = Add<DUI::MPicture>(kIdListArea);
  events_area->SetImage("img_area_content.png", 1);
  events_area->SetShowMode(DUI::MPicture::kShowSliced, 10);
  for (auto [id, text] : {std::pair{kIdListTitle, kTextMacroList}, {kIdEventsTitle, kTextMacroEvents},
                          {kIdDelayTitle, kTextDelaySection}, {kIdPlayTitle, kTextPlaybackSection}}) {
    auto* title = Add<DUI::MText>(id, text);
    title->SetFont("", 15, DUI::kFontBold);
    title->SetTextColor(kCaptionColor);
  }
  macros_ = Add<DUI::MacroList>(kIdMacroList);
  macros_->SetImage("img_list_bkg.png", 2);
  macros_->SetEditImage("btn_more.png", 4);
  macros_->SetTextColor(kTitleColor);
  for (auto [id, text] : {std::pair{kIdNewMacro, kTextNewMacro}, {kIdDeleteMacro, kTextDeleteMacro},
                          {kIdInsert, kTextInsertEvent}, {kIdDeleteEvent, kTextDeleteEvent},
                          {kIdClearEvents, kTextClearEvents}, {kIdApplyButton, kTextApplyKey}}) {
    Add<DUI::MButton>(id, text)->SetImage("img_button.png", 4);
  }
  // Both delete buttons say "Delete"; a screen reader also hears which list each acts on.
  window_.Described(window_.GetControl(kIdDeleteMacro), kTextMacroList);
  window_.Described(window_.GetControl(kIdDeleteEvent), kTextMacroEvents);
  auto* header = Add<DUI::MPicture>(kIdEventHeader);
  header->SetImage("img_eventcaption.png", 1);
  header->SetShowMode(DUI::MPicture::kShowSliced, 6);
  for (auto [id, text] : {std::pair{kIdNumberColumn, kTextEventNumberColumn},
                          {kIdEventColumn, kTextEventColumn}, {kIdValueColumn, kTextEventValueColumn}}) {
    auto* column = Add<DUI::MText>(id, text);
    column->SetFontWidth(14);
    column->SetAlignment(id == kIdNumberColumn ? DUI::kAlignCenter : DUI::kAlignLeft);
  }
  window_.GetControl(kIdValueColumn)->SetVisible(false);  // the rows show no value column
  events_ = Add<DUI::CRecordList>(kIdEventList);
  events_->SetIconImage("icon\\icon_list.png", 8);
  events_->SetItemImage("img_list_bkg.png", 2);
  events_->SetMoreImage("btn_more.png", 4);
  events_->SetTextColor(kTitleColor);
  record_ = Add<DUI::CIconButton>(kIdRecord);
  record_->SetImage("img_button.png", 4);
  window_.Tooltip(record_, kTextEscStopsRecording);
  window_.Described(record_, kTextEscStopsRecording);
  for (auto [id, text, group] :
       {std::tuple{kIdDelayNone, kTextNoDelay, kDelayGroup}, {kIdDelayMeasured, kTextRecordDelays, kDelayGroup},
        {kIdDelayFixed, kTextFixedDelay, kDelayGroup}, {kIdPlayFirst, kTextRepeatUntilPressed, kPlayGroup},
        {kIdPlaySecond, kTextRepeatWhileHeld, kPlayGroup}, {kIdPlayCount, kTextRepeatCount, kPlayGroup}}) {
    auto* radio = Add<DUI::CRadioButton>(id, text);
    radio->SetImage("btn_radiobox.png", 8);
    radio->SetGroup(group);
  }
  Add<DUI::CArea>(kIdDelayBox)->SetColor(kDelayBoxColor);
  delay_field_ = Add<DUI::MEdit>(kIdDelayField);
  delay_field_->SetImage("img_edit.png", 4);
  delay_field_->SetNumberOnly(true, kDelayDigits);
  delay_field_->SetAlignment(DUI::kAlignCenter);
  auto* unit = Add<DUI::MText>(kIdDelayUnit);
  unit->SetTitle("ms");
  unit->SetFontWidth(12);
  count_field_ = Add<DUI::MEdit>(kIdCountField);
  count_field_->SetImage("img_edit.png", 4);
  count_field_->SetNumberOnly(true, 3);
  count_field_->SetAlignment(DUI::kAlignCenter);
  for (auto [id, text] : {std::pair{kIdTypeLabel, kTextEventTypeLabel}, {kIdValueLabel, kTextEventValueLabel}}) {
    Add<DUI::MText>(id, text)->SetFontWidth(14);
  }
  type_combo_ = Add<DUI::MComboBox>(kIdTypeCombo);
  mouse_combo_ = Add<DUI::MComboBox>(kIdMouseCombo);
  for (DUI::MComboBox* combo : {type_combo_, mouse_combo_}) combo->SetImage("img_combobox.png", 4);
  value_field_ = Add<DUI::MEdit>(kIdValueField);
  value_field_->SetImage("img_edit.png", 4);
  value_field_->SetAlignment(DUI::kAlignCenter);
  Add<DUI::MButton>(kIdMoveUp)->SetImage("img_recorditem_up.png", 4);
  Add<DUI::MButton>(kIdMoveDown)->SetImage("img_recorditem_down.png", 4);
  window_.Tooltip(window_.GetControl(kIdMoveUp), kTextMoveUp);
  window_.Tooltip(window_.GetControl(kIdMoveDown), kTextMoveDown);
  InstallKeyFilter();
  RelabelTexts();
  HideEditPanel();
}

void MacroPage::Layout(const PageGeometry& geometry) {
  const int w = geometry.width, h = geometry.height;
  auto place = [this](int id, const DUI::Rect& rect) {
    for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(page_)) {
      if (control->GetID() == id) control->SetRect(rect);
    }
  };
  const int top = 60, bottom = h - 10;
  // Left: the macro list.
  const int a0 = 20, a1 = a0 + kLeftColumn;
  // Middle: the events. Right: recording and play settings, then the edit panel.
  const int b0 = a1 + kSectionGap, c0 = w - 20 - kRightColumn, b1 = c0 - kSectionGap, c1 = w - 20;
  std::vector<DUI::MPicture*> areas;
  for (DUI::MPicture* picture : DUI::ControlsOf<DUI::MPicture>(page_)) {
    if (picture->GetID() == kIdListArea) areas.push_back(picture);
  }
  if (areas.size() == 2) {
    areas[0]->SetRect(Box(a0, top, a1, bottom));
    areas[1]->SetRect(Box(b0, top, b1, bottom));
  }
  place(kIdListTitle, Box(a0 + 15, top + 8, a1 - 15, top + 38));
  place(kIdMacroList, Box(a0 + 10, top + 46, a1 - 10, bottom - 54));
  const int am = (a0 + a1) / 2;
  place(kIdNewMacro, Box(a0 + 10, bottom - 46, am - 5, bottom - 12));
  place(kIdDeleteMacro, Box(am + 5, bottom - 46, a1 - 10, bottom - 12));

  place(kIdEventsTitle, Box(b0 + 15, top + 8, b1 - 15, top + 38));
  place(kIdEventHeader, Box(b0 + 10, top + 46, b1 - 10, top + 76));
  const int column = b0 + 10 + DUI::CRecordList::kNumberWidth;
  place(kIdNumberColumn, Box(b0 + 10, top + 46, column, top + 76));
  place(kIdEventColumn, Box(column + 8, top + 46, b1 - 10, top + 76));
  place(kIdEventList, Box(b0 + 10, top + 80, b1 - 10, bottom - 54));
  const int third = (b1 - b0 - 20 - 20) / 3;
  for (int i = 0; i < 3; ++i) {
    const int left = b0 + 10 + i * (third + 10);
    place(kIdInsert + i, Box(left, bottom - 46, left + third, bottom - 12));
  }

  const int edit_top = top + 310;
  place(kIdSettingsArea, Box(c0, top, c1, edit_top - 8));
  place(kIdRecord, Box(c0 + 15, top + 12, c1 - 15, top + 12 + kButtonHeight));
  int y = top + 56;
  place(kIdDelayTitle, Box(c0 + 15, y, c1 - 15, y + 24));
  const int field = c0 + 200;
  for (int id : {kIdDelayNone, kIdDelayMeasured, kIdDelayFixed}) {
    y += kRowHeight;
    place(id, Box(c0 + 15, y, field - 8, y + kRowHeight - 4));
  }
  place(kIdDelayBox, Box(field, y, field + 64, y + kRowHeight - 4));
  place(kIdDelayField, Box(field, y, field + 64, y + kRowHeight - 4));
  place(kIdDelayUnit, Box(field + 70, y, c1 - 10, y + kRowHeight - 4));
  y += kRowHeight + 12;
  place(kIdPlayTitle, Box(c0 + 15, y, c1 - 15, y + 24));
  for (int id : {kIdPlayFirst, kIdPlaySecond, kIdPlayCount}) {
    y += kRowHeight;
    place(id, Box(c0 + 15, y, id == kIdPlayCount ? field - 8 : c1 - 15, y + kRowHeight - 4));
  }
  place(kIdCountField, Box(field, y, field + 64, y + kRowHeight - 4));

  place(kIdEditArea, Box(c0, edit_top, c1, bottom));
  const int label = c0 + 15, value = c0 + 95;
  place(kIdTypeLabel, Box(label, edit_top + 14, value - 5, edit_top + 44));
  place(kIdTypeCombo, Box(value, edit_top + 14, c1 - 15, edit_top + 44));
  place(kIdValueLabel, Box(label, edit_top + 54, value - 5, edit_top + 84));
  place(kIdValueField, Box(value, edit_top + 54, c1 - 15, edit_top + 84));
  place(kIdMouseCombo, Box(value, edit_top + 54, c1 - 15, edit_top + 84));
  // Third row: the move buttons under the labels, the apply button under the values.
  place(kIdMoveUp, Box(label, edit_top + 94, label + kButtonHeight, edit_top + 94 + kButtonHeight));
  place(kIdMoveDown, Box(label + kButtonHeight + 6, edit_top + 94, label + 2 * kButtonHeight + 6,
                         edit_top + 94 + kButtonHeight));
  place(kIdApplyButton, Box(value, edit_top + 94, c1 - 15, edit_top + 94 + kButtonHeight));
}

void MacroPage::Relabel() {
  Load();  // the macros' display names follow the language
  RelabelTexts();
}

void MacroPage::RelabelTexts() {
  SetRecordingLook(recorder_.IsRecording());
  delay_field_->setAccessibleName(QString::fromStdString(window_.Text(kTextFixedDelay)));
  count_field_->setAccessibleName(QString::fromStdString(window_.Text(kTextRepeatCount)));
  value_field_->setAccessibleName(QString::fromStdString(window_.Text(kTextEventValueLabel)));
  // The value row shows the field or the mouse list: either is read by the row's heading.
  type_combo_->setAccessibleName(QString::fromStdString(window_.Text(kTextEventTypeLabel)));
  mouse_combo_->setAccessibleName(QString::fromStdString(window_.Text(kTextEventValueLabel)));
  macros_->setAccessibleName(QString::fromStdString(window_.Text(kTextMacroList)));
  events_->setAccessibleName(QString::fromStdString(window_.Text(kTextMacroEvents)));
  // Two buttons read "Delete": the reader hears which one by its name.
  window_.GetControl(kIdDeleteMacro)
      ->setAccessibleName(QString::fromStdString(window_.Text(kTextDeleteMacroTitle)));
  macros_->SetMoreTooltip(window_.Text(kTextListMenu));
  events_->SetMoreTooltip(window_.Text(kTextListMenu));
  const int chosen = std::max(0, mouse_combo_->GetCurSel());
  mouse_combo_->ResetContent();
  for (int text : MouseChoiceTexts()) mouse_combo_->AddString(window_.Text(text));
  mouse_combo_->SetCurSel(chosen);
  if (edit_position_ >= 0) ShowEditPanel(edit_position_);
}

}  // namespace corvane::ui
