// The main window against the simulated mouse on Qt's offscreen platform: device list,
// opening a device, connection line through mouse off and on, language change, the
// program settings page, exit paths, hidden start and the second start.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <functional>

#include "app/display_names.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "protocol/device_session.h"
#include "settings/dpi_stages.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"
#include "ui/sim_control_window.h"
#include "ui/window_program.h"

namespace corvane::ui {
namespace {

constexpr int kWaitMs = 8000;

bool WaitFor(const std::function<bool()>& done, int timeout_ms = kWaitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

std::string TitleOf(DeviceMainDlg& window, int id) {
  auto* control = dynamic_cast<DUI::MControlFont*>(window.GetControl(id));
  return control != nullptr ? control->GetTitle() : std::string("<none>");
}

class MainWindowTest : public testing::Test {
 protected:
  // Starts the program on the simulator in `mode`; message boxes and exits are recorded.
  void Start(const std::string& mode, bool hide = false) {
    options_.session.program_dir = CORVANE_DATA_DIR;
    options_.session.simulate = mode;
    options_.hide = hide;
    std::string error;
    ASSERT_EQ(program_->Start(options_, error), WindowProgram::StartResult::kStarted) << error;
    Window().SetMessageBoxHandler([this](const std::string& title, const std::string& body, int) {
      boxes_.push_back(title + "|" + body);
      return 1;
    });
    Window().SetExitHandler([this] { ++exits_; });
  }
  DeviceMainDlg& Window() { return program_->Window(); }
  std::string Text(int id) { return Window().Text(id); }
  void Click(int id) {
    DUI::MControl* control = Window().GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
  }
  // Waits for the simulated mouse in the list and opens it.
  void OpenSimulatedMouse() {
    ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
    Window().DeviceList()->SetSelectIndex(0);
    Window().OnMessage(kIdDeviceList, DUI::kNotifyClick, 0, 0);
  }

  test::TempHome home_;
  StartupOptions options_;
  std::unique_ptr<WindowProgram> program_ =
      std::make_unique<WindowProgram>("/opt/corvane/bin/corvane");
  std::vector<std::string> boxes_;
  int exits_ = 0;
};

TEST_F(MainWindowTest, WirelessMouseOpensOnKeysTabAndFollowsPowerAndBattery) {
  Start("wireless");
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
  ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
  SimControlWindow* sim = program_->SimWindow();
  ASSERT_NE(sim, nullptr);
  OpenSimulatedMouse();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(Window().CurrentTabId(), 2);
  EXPECT_EQ(Window().ConnectionTextId(), kTextWireless);
  EXPECT_EQ(TitleOf(Window(), kIdConnection), Text(kTextWireless));
  EXPECT_TRUE(Window().GetControl(kIdPageKeys)->IsVisible());
  EXPECT_FALSE(Window().GetControl(kIdPageHome)->IsVisible());

  // The receiver announces the new level.
  auto* battery = static_cast<DUI::BatteryCtrl*>(Window().GetControl(kIdBattery));
  QTest::qWait(1000);  // let the read-back of the opening finish first
  sim->SendBattery(57, false);
  EXPECT_TRUE(WaitFor([&] { return battery->GetLevel() == 57; })) << battery->GetLevel();

  sim->SetMouseOn(false);
  EXPECT_TRUE(WaitFor([&] { return Window().ConnectionTextId() == kTextNoDevice; }));
  EXPECT_EQ(TitleOf(Window(), kIdConnection), Text(kTextNoDevice));
  QTest::qWait(1000);
  sim->SetMouseOn(true);
  EXPECT_TRUE(WaitFor([&] { return Window().ConnectionTextId() == kTextWireless; }))
      << Window().ConnectionTextId();

  QWidget* widget = Window().GetSafeHwnd();
  ASSERT_EQ(widget->size(), QSize(kDesignWidth, kDesignHeight));
  EXPECT_DOUBLE_EQ(Window().LayoutScale(), 1.0);
  const QImage shot = widget->grab().toImage();
  EXPECT_TRUE(shot.save(QString(CORVANE_SCREENSHOT_DIR) + "/main_window.png"));
}

TEST_F(MainWindowTest, HomePageScreenshotAndWiredConnectionText) {
  Start("wired");
  ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(Window().GetSafeHwnd()->grab().save(QString(CORVANE_SCREENSHOT_DIR) +
                                                  "/main_window_home.png"));
  EXPECT_FALSE(Window().GetControl(kIdListNext)->IsVisible()) << "one model fits: no paging";
  OpenSimulatedMouse();
  EXPECT_EQ(Window().ConnectionTextId(), kTextWired);
  // The performance tab shows the stored stages of the opened mouse.
  Window().OnMessage(kIdTabStrip, DUI::kNotifyValueChanged, 2, 0);
  EXPECT_EQ(Window().CurrentTabId(), 3);
  EXPECT_TRUE(Window().GetControl(kIdPageDpi)->IsVisible());
  DeviceSession& session = program_->Session();
  const std::string summary = Window().Pages()->DpiSummary();
  EXPECT_EQ(summary.rfind(Text(kTextDpiStages) + ":", 0), 0u) << summary;
  EXPECT_NE(
      summary.find(std::to_string(
          DpiStages(session.Store(), session.State(), session.Worker()).View().stages.at(0).value)),
      std::string::npos)
      << summary;
  // Back home: the device controls go away again.
  Window().OnMessage(kIdTabStrip, DUI::kNotifyValueChanged, kTabPositionHome, 0);
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
  EXPECT_FALSE(Window().GetControl(kIdConnection)->IsVisible());
  EXPECT_FALSE(Window().GetControl(kIdBattery)->IsVisible());
}

TEST_F(MainWindowTest, OpeningWithoutASelectedDeviceExplainsAndStaysHome) {
  Start("wired");
  Window().DeviceList()->SetSelectIndex(-1);
  Window().OnMessage(kIdDeviceList, DUI::kNotifyClick, 0, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], Text(kTextDeviceNotConnected) + "|" + Text(kTextNoDeviceNotice));
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
}

TEST_F(MainWindowTest, LanguageChangeRelabelsEverythingWithoutRestart) {
  Start("wired");
  OpenSimulatedMouse();
  SettingsDatabase& store = program_->Session().Store();
  const int profile = store.GetActiveProfile();
  ASSERT_TRUE(store.RenameProfile(profile, "Profile 2"));
  Window().RefreshProfileButton();
  const std::string english_caption = TitleOf(Window(), kIdCaption);

  ASSERT_TRUE(Window().ChangeLanguage(2052));
  EXPECT_EQ(program_->Session().Values().ReadLcid(), 2052);
  EXPECT_NE(TitleOf(Window(), kIdCaption), "");
  EXPECT_EQ(TitleOf(Window(), kIdConnection), Text(kTextWired));
  EXPECT_NE(Text(kTextWired), "") << "the Chinese file has the connection texts";
  EXPECT_EQ(TitleOf(Window(), kIdProfile), DisplayProfileName("Profile 2", Text(kTextProfile)));
  EXPECT_EQ(TitleOf(Window(), kIdProfile).rfind(Text(kTextProfile), 0), 0u);
  EXPECT_EQ(TitleOf(Window(), kIdVersion).rfind(Text(kTextSoftwareVersion) + ": v", 0), 0u);
  EXPECT_EQ(TitleOf(Window(), kIdSetAutorun), Text(kTextAutorun));
  EXPECT_EQ(Window().GetControl(kIdClose)->toolTip().toStdString(), Text(kTextClose));

  ASSERT_TRUE(Window().ChangeLanguage(1033));
  EXPECT_EQ(TitleOf(Window(), kIdCaption), english_caption);
  EXPECT_EQ(TitleOf(Window(), kIdProfile), DisplayProfileName("Profile 2", Text(kTextProfile)));
  EXPECT_FALSE(Window().ChangeLanguage(0));
}

TEST_F(MainWindowTest, SettingsPageAutorunBoxesAndCloseButtonModes) {
  Start("wired");
  // Device arrival closes the settings page; let the start-up enumeration finish first.
  ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
  QTest::qWait(300);
  Window().OnMessage(kIdSettings, DUI::kNotifyClick, 0, 0);
  ASSERT_TRUE(Window().GetControl(kIdPageSettings)->IsVisible());
  QTest::qWait(100);
  ASSERT_TRUE(Window().GetControl(kIdPageSettings)->isVisible());
  EXPECT_FALSE(Window().GetControl(kIdSettings)->IsVisible());
  EXPECT_TRUE(Window().GetSafeHwnd()->grab().save(QString(CORVANE_SCREENSHOT_DIR) +
                                                  "/main_window_settings.png"));
  const auto entry = home_.ConfigHome() / "autostart" / (Window().GetTitle() + ".desktop");
  KeyValueStore& values = program_->Session().Values();

  EXPECT_FALSE(Window().GetControl(kIdSetAutorunMinimized)->IsEnabled());
  Click(kIdSetAutorun);
  ASSERT_TRUE(std::filesystem::exists(entry));
  EXPECT_NE(test::ReadFileBytes(entry).find("Exec=\"/opt/corvane/bin/corvane\" -autorun"),
            std::string::npos);
  EXPECT_TRUE(Window().GetControl(kIdSetAutorunMinimized)->IsEnabled());
  Click(kIdSetAutorunMinimized);
  EXPECT_TRUE(values.ReadAutorunMinimize());
  Click(kIdSetAutorun);
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_FALSE(values.ReadAutorunMinimize());
  EXPECT_FALSE(Window().GetControl(kIdSetAutorunMinimized)->IsEnabled());

  Click(kIdSetHideToTray);
  EXPECT_TRUE(values.ReadHideOnClose());
  Window().OnMessage(kIdClose, DUI::kNotifyClick, 0, 0);
  EXPECT_EQ(exits_, 0);
  // The offscreen platform has no tray: closing must leave a way back.
  EXPECT_TRUE(Window().IsWindowVisible() || Window().GetSafeHwnd()->isMinimized());
  Window().ShowFromTray();
  Click(kIdSetExit);
  EXPECT_FALSE(values.ReadHideOnClose());
  Window().OnMessage(kIdClose, DUI::kNotifyClick, 0, 0);
  EXPECT_EQ(exits_, 1);

  Window().OnMessage(kIdSettingsReturn, DUI::kNotifyClick, 0, 0);
  EXPECT_FALSE(Window().GetControl(kIdPageSettings)->IsVisible());
  EXPECT_TRUE(Window().GetControl(kIdPageHome)->IsVisible());
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
}

TEST_F(MainWindowTest, ExitRequestNeedsItsCodeAndTrayMenuExits) {
  Start("wired");
  Window().SendMessage(MessageNumber(WindowMessage::kExitRequest), 0, kExitRequestCode + 1);
  EXPECT_EQ(exits_, 0);
  Window().SendMessage(MessageNumber(WindowMessage::kExitRequest), 0, kExitRequestCode);
  EXPECT_EQ(exits_, 1);
  Window().SendMessage(kMessageCommand, kCommandTrayExit, 0);
  EXPECT_EQ(exits_, 2);
  // The desktop's close request follows the close-button mode instead of hiding.
  Window().SendMessage(DUI::kMessageClose, 0, 0);
  EXPECT_EQ(exits_, 3);
  program_->Session().Values().WriteHideOnClose(true);
  Window().SendMessage(DUI::kMessageClose, 0, 0);
  EXPECT_EQ(exits_, 3);
  EXPECT_TRUE(Window().GetSafeHwnd()->isVisible()) << "no tray here: minimised, not hidden";
}

TEST_F(MainWindowTest, HiddenStartIsBroughtBackByASecondStart) {
  Start("wired", /*hide=*/true);
  QWidget* widget = Window().GetSafeHwnd();
  EXPECT_TRUE(!widget->isVisible() || widget->isMinimized());
  WindowProgram second("/opt/corvane/bin/corvane");
  std::string error;
  EXPECT_EQ(second.Start(options_, error), WindowProgram::StartResult::kAlreadyRunning);
  EXPECT_TRUE(WaitFor([&] { return widget->isVisible() && !widget->isMinimized(); }));
}

TEST_F(MainWindowTest, LeavingSettingsReturnsToTheOpenedDevice) {
  Start("wired");
  OpenSimulatedMouse();
  ASSERT_TRUE(WaitFor([this] { return Window().IdlePoll(); }));
  Window().OnMessage(kIdTabStrip, DUI::kNotifyValueChanged, 3, 0);
  Window().OnMessage(kIdSettings, DUI::kNotifyClick, 0, 0);
  EXPECT_FALSE(Window().GetControl(kIdTabStrip)->IsVisible());
  Window().OnMessage(kIdSettingsReturn, DUI::kNotifyClick, 0, 0);
  EXPECT_EQ(Window().CurrentTabId(), 2) << "back on the keys tab";
  EXPECT_TRUE(Window().GetControl(kIdPageKeys)->IsVisible());
  EXPECT_TRUE(Window().GetControl(kIdTabStrip)->IsVisible());
  EXPECT_TRUE(Window().GetControl(kIdSettings)->IsVisible());
}

TEST_F(MainWindowTest, ChosenProfileBecomesActiveAndNamesTheButton) {
  Start("wired");
  OpenSimulatedMouse();
  SettingsDatabase& store = program_->Session().Store();
  const int other = store.GetActiveProfile() == 1 ? 2 : 1;
  ASSERT_TRUE(store.RenameProfile(other, "Profile 3"));
  EXPECT_EQ(Window().SendMessage(MessageNumber(WindowMessage::kProfileChosen), 0, other), 1);
  EXPECT_EQ(store.GetActiveProfile(), other);
  EXPECT_EQ(TitleOf(Window(), kIdProfile), DisplayProfileName("Profile 3", Text(kTextProfile)));
}

TEST_F(MainWindowTest, ProfileButtonWithoutALinkedMouseExplains) {
  Start("wired");
  Window().SetLinkFlag(false);
  Window().OnMessage(kIdProfile, DUI::kNotifyClick, 0, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], Text(kTextNotice) + "|" + Text(kTextDeviceNotConnected));
}

TEST_F(MainWindowTest, LanguageListAndRelabelMessage) {
  Start("wired");
  auto* list = static_cast<DUI::MComboBox*>(Window().GetControl(kIdSetLanguage));
  int japanese = -1;
  for (int i = 0; i < list->GetCount(); ++i) {
    if (list->GetItemData(i) == 1041) japanese = i;
  }
  ASSERT_GE(japanese, 0);
  EXPECT_EQ(list->GetItemData(list->GetCurSel()), program_->Session().Texts().LanguageId());
  Window().OnMessage(kIdSetLanguage, DUI::kNotifyValueChanged, japanese, 0);
  EXPECT_EQ(program_->Session().Texts().LanguageId(), 1041);
  EXPECT_EQ(program_->Session().Values().ReadLcid(), 1041);
  EXPECT_EQ(TitleOf(Window(), kIdSetAutorun), Text(kTextAutorun));
  // Message 2022 re-labels from whatever language is current.
  program_->Session().Texts().SetLanguageId(1042);
  Window().SendMessage(MessageNumber(WindowMessage::kRelabel), 0, 0);
  EXPECT_EQ(TitleOf(Window(), kIdSetAutorun), Text(kTextAutorun));
  EXPECT_EQ(TitleOf(Window(), kIdConnection), Text(Window().ConnectionTextId()));
}

}  // namespace
}  // namespace corvane::ui
