// The buttons page in the real window on the simulated mouse (offscreen): placeholder
// rows before a device, the panel beside the list once a button is picked, the texts a
// language change sets again, reset of one button with the question declined and
// accepted, the function lists as a reader hears them, the editors' Escape and the
// rapid-fire note on numbers out of range.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QTest>
#include <chrono>
#include <functional>

#include "app/language_text.h"
#include "app/text_ids.h"
#include "protocol/button_table_encoding.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/medit.h"
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"
#include "ui/pages/keys_page.h"
#include "ui/window_program.h"
#include "window_fixture.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

constexpr int kMacroList = 77;
constexpr int kModalCancel = 2;

class KeysPageTest : public WindowFixture {
 protected:
  void SetUp() override { Start("wired"); }
  SettingsDatabase& Store() { return Session().Store(); }
  DUI::MouseKeyCtrl* List() {
    return static_cast<DUI::MouseKeyCtrl*>(Window().GetControl(kIdKeysList));
  }
  void OpenMouse() {
    OpenSimulatedMouse();
    Settle();
  }
  void Pick(int button) {
    for (int i = 0; i < List()->GetCount(); ++i) {
      if (List()->GetItemButton(i) == button) List()->ChooseItem(i);
    }
  }
  int Profile() { return Store().GetActiveProfile(); }
  QLineEdit* Field(int id) { return Window().GetControl(id)->findChild<QLineEdit*>(); }
  void Click(int id) { Window().OnMessage(id, DUI::NotifyCode::kClick, 0, 0); }
  bool Shown(int id) { return Window().GetControl(id)->isVisible(); }
  // The control the window gives the keyboard to when it is active.
  QWidget* Focused() { return Window().GetSafeHwnd()->focusWidget(); }
  std::string NoteText() {
    return static_cast<DUI::MControlFont*>(Window().GetControl(kIdKeysRapidNote))->GetTitle();
  }
};

TEST_F(KeysPageTest, PlaceholderRowsThenTheModelsButtonsWithThePanelBesideTheList) {
  ASSERT_EQ(List()->GetCount(), 6);
  EXPECT_EQ(List()->GetItemName(5), "Button 6");
  EXPECT_EQ(List()->GetItemKeyDesc(5), Window().Text(kTextReportRateSwitch));

  OpenMouse();
  const DeviceDefinition definition = program_->Session().Model().Definition();
  ASSERT_EQ(List()->GetCount(), static_cast<int>(definition.buttons.size()));
  EXPECT_EQ(List()->GetItemName(2), "Middle button");
  EXPECT_EQ(List()->GetCurSel(), 0);
  DUI::MControl* panel = Window().GetControl(kIdKeysPanel);
  auto* mouse = static_cast<DUI::MouseCtrl*>(Window().GetControl(kIdKeysMouse));
  EXPECT_FALSE(panel->IsVisible());
  // The left area is 260 wide (scale 1 at the design size), then 500 with the panel.
  const int left = List()->GetRect().left - 10;
  EXPECT_EQ(List()->GetRect().right + 10 - left, 260);
  EXPECT_GE(mouse->GetRect().left, left + 260);
  EXPECT_LT(mouse->GetRect().left, left + 500);

  mouse->ChooseItem(2);  // the picture selects in the list too
  EXPECT_TRUE(panel->IsVisible());
  EXPECT_EQ(List()->GetCurButton(), definition.buttons[2].key_value);
  EXPECT_EQ(panel->GetRect().right - left, 500);
  EXPECT_GE(mouse->GetRect().left, left + 500);
}

// The editor openers' rows: caption (84, 86, 88) left of its button (85, 87, 89).
TEST_F(KeysPageTest, OpenerCaptionsGetTheWidthTheirWordsNeedWhereTheButtonsKeepTheirs) {
  OpenMouse();
  Pick(1);
  for (int language : {1033, 1058}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    for (int id : {84, 86, 88}) {
      auto* caption = dynamic_cast<DUI::MControlFont*>(Window().GetControl(id));
      auto* button = dynamic_cast<DUI::MControlFont*>(Window().GetControl(id + 1));
      ASSERT_TRUE(caption != nullptr && button != nullptr);
      const DUI::Rect words = caption->GetRect(), opener = button->GetRect();
      EXPECT_EQ(words.right, opener.left) << language << " row " << id;
      EXPECT_GT(words.Width(), 0);
      EXPECT_GT(opener.Width(), 0);
      // In English caption and button are whole ("Keyboard shortcut" was cut at half the
      // row); in Ukrainian, where both cannot be, each keeps part of the row.
      if (language == 1033) {
        EXPECT_GE(words.Width(), caption->TitleWidth()) << caption->GetTitle();
        EXPECT_GE(opener.Width(), button->TitleWidth()) << button->GetTitle();
      }
    }
  }
}

TEST_F(KeysPageTest, LanguageChangeSetsNamesDescriptionsAndListItemsAgain) {
  OpenMouse();
  auto* macros = static_cast<DUI::MComboBox*>(Window().GetControl(kMacroList));
  EXPECT_FALSE(macros->IsEnabled());
  // A macro made after the page was filled is offered at the next pick.
  ASSERT_GT(Store().AddMacro("Reload"), 0);
  Pick(2);
  ASSERT_EQ(macros->GetCount(), 1);
  EXPECT_TRUE(macros->IsEnabled());
  Pick(1);
  static_cast<DUI::MComboBox*>(Window().GetControl(75))->ChooseItem(4);  // Play/Pause
  Settle();
  EXPECT_EQ(List()->GetItemKeyDesc(1), "Play/Pause");
  EXPECT_TRUE(static_cast<DUI::MComboBox*>(Window().GetControl(75))->GetCheck());
  EXPECT_FALSE(static_cast<DUI::MComboBox*>(Window().GetControl(73))->GetCheck());

  ASSERT_TRUE(Window().ChangeLanguage(2052));
  EXPECT_EQ(List()->GetItemName(1), Window().Text(kTextRightButton));
  EXPECT_NE(List()->GetItemName(1), "Right button");
  EXPECT_EQ(List()->GetItemKeyDesc(1), Window().Text(kTextPlayPause));
  EXPECT_EQ(List()->GetItemKeyDesc(0), Window().Text(kTextLeftClick));
  auto* media = static_cast<DUI::MComboBox*>(Window().GetControl(75));
  EXPECT_EQ(media->GetItemText(media->GetCurSel()), Window().Text(kTextPlayPause));
  EXPECT_TRUE(media->GetCheck());
  auto* mouse = static_cast<DUI::MouseCtrl*>(Window().GetControl(kIdKeysMouse));
  EXPECT_EQ(mouse->GetItemName(0), Window().Text(kTextLeftButton));
  ASSERT_TRUE(Window().ChangeLanguage(1033));
  EXPECT_EQ(List()->GetItemKeyDesc(1), "Play/Pause");
}

TEST_F(KeysPageTest, ResetThisButtonAsksFirstAndRestoresTheFactoryDescription) {
  OpenMouse();
  Pick(3);
  Window().OnMessage(kIdKeysDisable, DUI::NotifyCode::kClick, 0, 0);
  Settle();
  ASSERT_TRUE(Store().GetKeyAssign(Profile(), 3));
  EXPECT_EQ(List()->GetItemKeyDesc(3), "Disable");

  box_answer_ = kModalCancel;
  Window().OnMessage(kIdKeysResetButton, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_EQ(box_titles_.size(), 1u);
  EXPECT_TRUE(Store().GetKeyAssign(Profile(), 3));

  box_answer_ = 1;
  Window().OnMessage(kIdKeysResetButton, DUI::NotifyCode::kClick, 0, 0);
  Settle();
  EXPECT_FALSE(Store().GetKeyAssign(Profile(), 3));
  EXPECT_EQ(List()->GetItemKeyDesc(3), Window().Text(kTextBack));
  EXPECT_EQ(box_titles_, (std::vector<std::string>{"Reset buttons", "Reset buttons"}));
}

// A reader hears each function list by the caption above it, in the language chosen, and
// the item it shows as its value (it used to hear only the item: "Back", "Calculator").
TEST_F(KeysPageTest, FunctionListsAreNamedByTheirCaptionsAndReadTheirChoiceAsValue) {
  OpenMouse();
  Pick(3);
  const std::pair<int, int> lists[] = {{kIdKeysMouseList, kTextMouseFunctions},
                                       {kIdKeysMediaList, kTextMultimedia},
                                       {kIdKeysMacroList, kTextMacroFunctions},
                                       {kIdKeysSystemList, kTextSystemShortcuts},
                                       {kIdKeysDpiList, kTextDpiFunctions},
                                       {kIdKeysSpecialList, kTextSpecialFunctions}};
  for (int language : {1033, 1041}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    for (const auto& [id, caption] : lists) {
      // The system list's caption shares the list's id: look for the list itself.
      DUI::MComboBox* box = nullptr;
      for (DUI::MComboBox* list : DUI::ControlsOf<DUI::MComboBox>(Window().GetSafeHwnd())) {
        if (list->GetID() == id) box = list;
      }
      ASSERT_NE(box, nullptr) << id;
      QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(box);
      ASSERT_NE(reader, nullptr);
      EXPECT_EQ(reader->role(), QAccessible::ComboBox);
      EXPECT_EQ(reader->text(QAccessible::Name).toStdString(), Text(caption))
          << language << " list " << id;
      EXPECT_EQ(reader->text(QAccessible::Value).toStdString(),
                box->GetItemText(box->GetCurSel()))
          << language << " list " << id;
    }
  }
  auto* mouse_list = static_cast<DUI::MComboBox*>(Window().GetControl(kIdKeysMouseList));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(mouse_list)->text(QAccessible::Value),
            QString::fromStdString(Text(kTextBack)));  // the Back button's factory function
}

// Escape closes either editor as its close button does: nothing applied, the keyboard back
// on the button that opened it. In the key field Escape is the key only with a modifier.
TEST_F(KeysPageTest, EscapeClosesTheEditorsWithoutApplyingAndFocusesTheirOpeners) {
  OpenMouse();
  Pick(3);
  Click(kIdKeysRapidFire);
  ASSERT_TRUE(Shown(kIdKeysRapidApply));
  Field(kIdKeysRapidFirst)->setFocus();
  QTest::keyClicks(Field(kIdKeysRapidFirst), "0");  // "50"
  QTest::keyClick(Field(kIdKeysRapidFirst), Qt::Key_Escape);
  EXPECT_FALSE(Shown(kIdKeysRapidApply));
  EXPECT_TRUE(Shown(kIdKeysRapidFire));
  EXPECT_EQ(Focused(), Window().GetControl(kIdKeysRapidFire));

  Click(kIdKeysKeyboard);
  ASSERT_TRUE(Shown(kIdKeysKeyboardApply));
  QLineEdit* key_field = Field(kIdKeysKeyField);
  key_field->setFocus();
  Window().OnMessage(kIdKeysKeyField, DUI::NotifyCode::kFocusGained, 0, 0);
  QTest::keyClick(key_field, Qt::Key_Escape, Qt::ShiftModifier);
  EXPECT_TRUE(Shown(kIdKeysKeyboardApply)) << "Shift+Escape closed the editor";
  EXPECT_FALSE(key_field->text().isEmpty()) << "Shift+Escape was not taken as the key";
  QTest::keyClick(key_field, Qt::Key_A);
  EXPECT_EQ(key_field->text(), "A");
  QTest::keyClick(key_field, Qt::Key_Escape);
  EXPECT_EQ(key_field->text(), "A") << "a lone Escape was taken as the key";
  EXPECT_FALSE(Shown(kIdKeysKeyboardApply));
  EXPECT_EQ(Focused(), Window().GetControl(kIdKeysKeyboard));
  Settle();
  EXPECT_FALSE(Store().GetKeyAssign(Profile(), 3)) << "an editor closed by Escape applied";

  // With no editor open Escape leaves the page as it is.
  QTest::keyClick(Window().GetControl(kIdKeysKeyboard), Qt::Key_Escape);
  EXPECT_TRUE(Shown(kIdKeysKeyboard));
  EXPECT_TRUE(Shown(kIdKeysPanel));
}

// Tab walks through the shortcut editor: neither the release of the Tab that came into the
// key field nor the Tab that leaves it becomes the key to assign.
TEST_F(KeysPageTest, TabThroughTheKeyFieldLeavesTheCapturedKeyAsItWas) {
  OpenMouse();
  Pick(3);
  Click(kIdKeysKeyboard);
  ASSERT_TRUE(Shown(kIdKeysKeyboardApply));
  QLineEdit* key_field = Field(kIdKeysKeyField);
  key_field->setFocus();
  Window().OnMessage(kIdKeysKeyField, DUI::NotifyCode::kFocusGained, 0, 0);
  QTest::keyRelease(key_field, Qt::Key_Tab);
  EXPECT_TRUE(key_field->text().isEmpty()) << key_field->text().toStdString();
  QTest::keyClick(key_field, Qt::Key_B);
  EXPECT_EQ(key_field->text(), "B");
  QTest::keyPress(key_field, Qt::Key_Tab);
  EXPECT_EQ(key_field->text(), "B");
}

// Numbers out of range are stored at the nearest bound; the note under the fields says so
// (in the language chosen) until numbers within range are applied or the editor reopens.
TEST_F(KeysPageTest, RapidFireNoteSaysWhenANumberWasMovedIntoItsRange) {
  OpenMouse();
  Pick(3);
  Click(kIdKeysRapidFire);
  EXPECT_EQ(NoteText(), Text(kTextRapidFireNote));
  auto* interval = static_cast<DUI::MEdit*>(Window().GetControl(kIdKeysRapidFirst));
  auto* shots = static_cast<DUI::MEdit*>(Window().GetControl(kIdKeysRapidSecond));
  interval->SetTitle("2");
  shots->SetTitle("999");
  Click(kIdKeysRapidApply);
  Settle();
  std::optional<KeyAssignRecord> row = Store().GetKeyAssign(Profile(), 3);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->macro_value, 5);
  EXPECT_EQ(row->macro_value2, 255);
  EXPECT_EQ(interval->GetTitle(), "5");
  EXPECT_EQ(shots->GetTitle(), "255");
  EXPECT_EQ(NoteText(), Text(kTextRapidFireClamped));
  const std::string english = NoteText();
  ASSERT_TRUE(Window().ChangeLanguage(1058));
  EXPECT_EQ(NoteText(), Text(kTextRapidFireClamped));
  EXPECT_NE(NoteText(), english);

  interval->SetTitle("40");
  shots->SetTitle("3");
  Click(kIdKeysRapidApply);
  Settle();
  EXPECT_EQ(NoteText(), Text(kTextRapidFireNote));
  interval->SetTitle("300");
  Click(kIdKeysRapidApply);
  EXPECT_EQ(NoteText(), Text(kTextRapidFireClamped));
  Click(kIdKeysRapidClose);
  Click(kIdKeysRapidFire);
  EXPECT_EQ(NoteText(), Text(kTextRapidFireNote));
}

}  // namespace
}  // namespace corvane::ui
