// The DPI and performance page and the device settings page inside the real main window on
// Qt's offscreen platform, against the simulated mouse: placeholders before a mouse is
// opened, the stored values after, and what the controls write; the desktop's mouse
// settings command choice.
#include "ui/pages/dpi_page.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "app/text_ids.h"
#include "settings/dpi_stages.h"
#include "settings/sensor_scale.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/dpi_control.h"
#include "ui/pages/macro_page.h"
#include "ui/pages_panel.h"
#include "ui/dui/dpi_slider.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/number_edit.h"
#include "ui/dui/reporte_ctrl.h"
#include "ui/pages/device_settings_page.h"
#include "ui/pages/system_mouse_settings.h"
#include "ui/pages_panel.h"
#include "ui/window_program.h"
#include "window_fixture.h"
#include "worker/device_session.h"
#include "worker/model_context.h"

namespace corvane::ui {
namespace {

class DpiPageTest : public WindowFixture {
 protected:
  void SetUp() override { Start("wired"); }
  DpiPage& Page() { return *Window().Pages()->Dpi(); }
  std::string Stored(const std::string& key) {
    SettingsDatabase& store = Session().Store();
    return store.GetConfigValue(store.GetActiveProfile(), key).value_or("?");
  }
  void Open() {
    OpenSimulatedMouse();
    Settle();
  }
  // Finishes an in-place edit of stage `index` with `text`, as typing and Enter do.
  void TypeStage(int index, const QString& text) {
    ASSERT_TRUE(Page().Stages()->BeginEdit(index));
    auto* editor = Page().Stages()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    Page().Stages()->FinishEdit(true);
  }
};

TEST_F(DpiPageTest, PlaceholdersUntilAMouseIsOpenedThenTheStoredStages) {
  DUI::DPIControl* stages = Page().Stages();
  const int placeholders[] = {800, 1600, 2400, 3200, 6400, 26000};
  ASSERT_EQ(stages->GetCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(stages->GetDPIValue(i), placeholders[i]) << i;
  EXPECT_EQ(stages->GetDPIColorValue(0), 0x0009F1u);
  ASSERT_EQ(Page().Rates()->GetCount(), 4);
  EXPECT_EQ(Page().Rates()->GetItemText(Page().Rates()->GetSelectItem()), "500Hz");

  Open();
  const DpiPageView view =
      DpiStages(Session().Store(), Session().State(), Session().Worker()).View();
  ASSERT_EQ(stages->GetCount(), view.count);
  for (int i = 0; i < view.count; ++i) {
    EXPECT_EQ(stages->GetDPIValue(i), view.stages[i].value) << i;
    EXPECT_EQ(stages->GetDPIColorValue(i), static_cast<uint32_t>(view.stages[i].rgb)) << i;
  }
  EXPECT_EQ(stages->GetSelectItem(), view.index);
  const SensorScale scale = ScaleForSensor(Session().State().Sensor());
  EXPECT_EQ(Page().Slider()->GetMax(), scale.slider_max);
  EXPECT_EQ(Page().Slider()->MaxText(), std::to_string(scale.max_dpi));
  EXPECT_EQ(Page().Slider()->GetPos(), view.slider_position);
}

TEST_F(DpiPageTest, TypedValuesAreNormalisedStoredAndShownWithTheSlider) {
  Open();
  const int sensor = Session().State().Sensor();
  Page().Stages()->ChooseItem(1);
  EXPECT_EQ(Stored("dpi_index"), "1");
  TypeStage(1, "12345");
  const int expected = NormaliseTypedDpi(sensor, 12345);
  EXPECT_EQ(Stored("dpi_group1_value"), std::to_string(expected));
  EXPECT_EQ(Page().Stages()->GetDPIValue(1), expected);
  EXPECT_EQ(Page().Slider()->GetPos(), DpiToSliderPosition(sensor, expected));
  // Not a number: the row shows the stored value again.
  TypeStage(1, "lots");
  EXPECT_EQ(Page().Stages()->GetDPIValue(1), expected);
  EXPECT_EQ(Stored("dpi_group1_value"), std::to_string(expected));
  // The slider writes the selected stage while it moves.
  Page().Slider()->MoveToPos(10);
  EXPECT_EQ(Stored("dpi_group1_value"), std::to_string(SliderPositionToDpi(sensor, 10)));
  EXPECT_EQ(Page().Stages()->GetDPIValue(1), SliderPositionToDpi(sensor, 10));
}

// A recording hears every key. Left running behind the performance page it took the digits
// typed into a stage there; leaving the macro page ends it as the stop button does.
TEST_F(DpiPageTest, LeavingTheMacroPageEndsARecording) {
  Open();
  MacroPage& macros = *Window().Pages()->Macros();
  macros.OnMessage(MacroPage::kIdNewMacro, DUI::NotifyCode::kClick, 0);
  macros.OnMessage(MacroPage::kIdRecord, DUI::NotifyCode::kClick, 0);
  ASSERT_TRUE(macros.IsRecording());
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, 2, 0);  // performance
  EXPECT_FALSE(macros.IsRecording());
}

TEST_F(DpiPageTest, FewerStagesPullTheSelectionInAndOptionsAreStored) {
  Open();
  Page().Stages()->ChooseItem(4);
  auto* count = static_cast<DUI::MComboBox*>(nullptr);
  for (auto* combo : DUI::ControlsOf<DUI::MComboBox>(Window().GetControl(kIdPageDpi))) {
    if (combo->GetID() == kIdDpiCount) count = combo;
  }
  ASSERT_NE(count, nullptr);
  count->ChooseItem(2);  // "3"
  EXPECT_EQ(Stored("dpi_count"), "3");
  EXPECT_EQ(Stored("dpi_index"), "2");
  EXPECT_EQ(Page().Stages()->GetCount(), 3);
  EXPECT_EQ(Page().Stages()->GetSelectItem(), 2);
  // The report rate of the clicked item goes into both keys.
  Page().Rates()->ChooseItem(1);
  EXPECT_EQ(Stored("report_rate"), "4");
  EXPECT_EQ(Stored("report_rate_wireless"), "4");
  // Each sensor box click stores all three boxes.
  auto boxes = DUI::ControlsOf<DUI::CCheckButton>(Window().GetControl(kIdPageDpi));
  int sensor_boxes = 0;
  for (DUI::CCheckButton* box : boxes) {
    if (box->GetID() != kIdSensorBox) continue;
    ++sensor_boxes;
    if (box->GetCheck()) box->PerformClick();  // clear every ticked one
  }
  EXPECT_EQ(sensor_boxes, 3);
  EXPECT_EQ(Stored("sensor_flag"), "0");
}

TEST_F(DpiPageTest, ResetAsksFirstThenTheDefinitionsStagesComeBack) {
  Open();
  Page().Stages()->ChooseItem(0);
  TypeStage(0, "4000");
  Settle();
  ASSERT_EQ(Stored("dpi_group0_value"), "4000");
  box_answer_ = 2;  // declined
  Page().OnMessage(kIdDpiReset, DUI::NotifyCode::kClick, 0);
  Settle();
  EXPECT_EQ(box_titles_, std::vector<std::string>{Window().Text(kTextResetDpi)});
  EXPECT_EQ(Stored("dpi_group0_value"), "4000");
  box_answer_ = 1;
  Page().OnMessage(kIdDpiReset, DUI::NotifyCode::kClick, 0);
  Settle();
  const auto defaults = Session().Model().ReadFactoryDefaults();
  ASSERT_TRUE(defaults && defaults->stages[0].present);
  EXPECT_EQ(Stored("dpi_group0_value"), std::to_string(defaults->stages[0].value));
  EXPECT_TRUE(WaitFor([this] {
    return Page().Stages()->GetDPIValue(0) == std::stoi(Stored("dpi_group0_value"));
  })) << "the page shows the restored stages";
}

TEST_F(DpiPageTest, ResponseTimeIsClampedInTheFieldAndStored) {
  Open();
  DUI::NumberEdit* edit = Window().Pages()->DeviceSettings()->ResponseTime();
  EXPECT_EQ(edit->GetTitle(), Stored("button_respondtime"));
  auto* field = edit->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  field->setText("25");
  QMetaObject::invokeMethod(field, "editingFinished");
  EXPECT_EQ(edit->GetTitle(), "20");
  EXPECT_EQ(field->text(), "20");
  EXPECT_EQ(Stored("button_respondtime"), "20");
}

TEST_F(DpiPageTest, FirmwareVersionsReadAsTheMouseReportsThem) {
  DeviceSettingsPage& page = *Window().Pages()->DeviceSettings();
  EXPECT_EQ(page.VersionText(kTextMouseFirmware, "105"),
            Window().Text(kTextMouseFirmware) + ": V1.05");
  // An unknown version is not news about updates.
  EXPECT_EQ(page.VersionText(kTextReceiverFirmware, ""),
            Window().Text(kTextReceiverFirmware) + ": -");
  Open();
  ASSERT_FALSE(Session().State().MouseVersion().empty());
  bool shown = false;
  for (auto* text : DUI::ControlsOf<DUI::MControlFont>(Window().GetControl(kIdPageDevice))) {
    if (text->GetID() == kIdMouseVersion) {
      shown = text->GetTitle() ==
              page.VersionText(kTextMouseFirmware, Session().State().MouseVersion());
    }
  }
  EXPECT_TRUE(shown);
}

TEST_F(DpiPageTest, StageRowsOfferPressRenameAndColourToAssistiveTools) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Page().Stages());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  ASSERT_GE(list->childCount(), 6);
  QAccessibleInterface* row = list->child(1);
  EXPECT_EQ(row->text(QAccessible::Name), "1600");
  QAccessibleActionInterface* actions = row->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->actionNames(),
            (QStringList{QAccessibleActionInterface::pressAction(), "Rename", "Colour"}));
  actions->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_TRUE(WaitFor([this] { return Page().Stages()->GetSelectItem() == 1; }));
  QAccessibleInterface* rates = QAccessible::queryAccessibleInterface(Page().Rates());
  ASSERT_NE(rates, nullptr);
  EXPECT_EQ(rates->child(3)->text(QAccessible::Name), "1000Hz");
}

TEST_F(DpiPageTest, WithoutADesktopMouseSettingsProgramTheButtonSaysSo) {
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", home_.Root().c_str(), 1);  // a folder with no programs at all
  Page().OnMessage(kIdMouseSettings, DUI::NotifyCode::kClick, 0);
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(box_titles_, std::vector<std::string>{Window().Text(kTextSystemMouseSettings)});
}

TEST(MouseSettingsCommands, TheDesktopsOwnPanelComesFirstAndMissingOnesAreSkipped) {
  const auto all = [](const std::string&) { return true; };
  auto gnome = MouseSettingsCommands("ubuntu:GNOME", all);
  ASSERT_EQ(gnome.size(), 3u);
  EXPECT_EQ(gnome[0].program, "gnome-control-center");
  EXPECT_EQ(gnome[0].arguments, std::vector<std::string>{"mouse"});
  auto kde = MouseSettingsCommands("KDE", all);
  EXPECT_EQ(kde[0].program, "systemsettings");
  EXPECT_EQ(kde[0].arguments, std::vector<std::string>{"kcm_mouse"});
  auto only_kde5 = MouseSettingsCommands(
      "GNOME", [](const std::string& program) { return program == "systemsettings5"; });
  ASSERT_EQ(only_kde5.size(), 1u);
  EXPECT_EQ(only_kde5[0].program, "systemsettings5");
  EXPECT_TRUE(MouseSettingsCommands("", [](const std::string&) { return false; }).empty());
}

}  // namespace
}  // namespace corvane::ui
