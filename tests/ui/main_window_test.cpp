// The main window against the simulated mouse on Qt's offscreen platform: device list,
// opening a device, connection line through mouse off and on, language change, the
// program settings page, exit paths, hidden start and the second start.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/display_names.h"
#include "app/ini_key_value_store.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "device/device_entry.h"
#include "worker/device_session.h"
#include "settings/dpi_stages.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "update_test_support.h"
#include "window_fixture.h"
#include "ui/device_main_dlg.h"
#include "ui/device_main_parts.h"
#include "ui/pages/device_settings_page.h"
#include "ui/pages/keys_page.h"
#include "ui/pages/lighting_page.h"
#include "ui/pages/macro_page.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/pages/dpi_page.h"
#include "ui/dui/dpi_control.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"
#include "ui/sim_control_window.h"
#include "ui/single_instance.h"
#include "ui/window_program.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

std::string TitleOf(DeviceMainDlg& window, int id) {
  auto* control = dynamic_cast<DUI::MControlFont*>(window.GetControl(id));
  return control != nullptr ? control->GetTitle() : std::string("<none>");
}

class MainWindowTest : public WindowFixture {
 protected:
  void Click(int id) {
    DUI::MControl* control = Window().GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
  }
  DUI::MTabCtrl* Tabs() { return static_cast<DUI::MTabCtrl*>(Window().GetControl(kIdTabStrip)); }
  // The pages showing now, by control id (device pages, home and program settings).
  std::vector<int> VisiblePages() {
    std::vector<int> pages;
    for (const main_window::TabSpec& tab : main_window::kTabs) {
      if (Window().GetControl(tab.page)->IsVisible()) pages.push_back(tab.page);
    }
    if (Window().GetControl(kIdPageSettings)->IsVisible()) pages.push_back(kIdPageSettings);
    return pages;
  }
};

TEST_F(MainWindowTest, SoftwareCheckResultFollowsTheCheckAndTheLanguage) {
  // The shipped program folder with its software update address on a local server.
  namespace fs = std::filesystem;
  const fs::path program = home_.Root() / "program";
  std::error_code ec;
  fs::copy(CORVANE_DATA_DIR, program, fs::copy_options::recursive, ec);
  ASSERT_FALSE(ec) << ec.message();
  fs::create_directories(home_.Root() / "served" / "sw");
  test::LocalHttpServer server(home_.Root() / "served");
  ASSERT_TRUE(server.Ready());
  std::string config = test::ReadFileBytes(program / "config.xml");
  const std::string shipped = "https://updates.corvane.example/software/";
  ASSERT_NE(config.find(shipped), std::string::npos);
  config.replace(config.find(shipped), shipped.size(), server.Url("/sw/"));
  ASSERT_TRUE(test::WriteFileBytes(program / "config.xml", config));
  ASSERT_TRUE(test::WriteFileBytes(home_.Root() / "served" / "sw" / "version", "1.0.10"));
  options_.session.program_dir = program;
  box_answer_ = 2;  // the update prompt is declined: no download starts

  Start("wired");  // the start-up runs the software check
  auto* button = Window().GetControl(kIdSetUpdateCheck);
  const std::string offered = Text(kTextNewVersion) + ": v1.0.10";
  EXPECT_TRUE(WaitFor([&] { return TitleOf(Window(), kIdSetUpdateState) == offered; }))
      << TitleOf(Window(), kIdSetUpdateState);
  EXPECT_TRUE(button->IsEnabled());

  // Another language shows the same result in its own words.
  ASSERT_TRUE(Window().ChangeLanguage(2052));
  EXPECT_NE(Text(kTextNewVersion) + ": v1.0.10", offered);
  EXPECT_EQ(TitleOf(Window(), kIdSetUpdateState), Text(kTextNewVersion) + ": v1.0.10");

  // Nothing newer: "up to date", and the button goes off.
  ASSERT_TRUE(test::WriteFileBytes(home_.Root() / "served" / "sw" / "version", "1.0.0"));
  Window().SettingsPage()->OnMessage(kIdSetUpdateCheck, DUI::NotifyCode::kClick, 0);
  EXPECT_TRUE(WaitFor([&] { return !button->IsEnabled(); }));
  EXPECT_EQ(TitleOf(Window(), kIdSetUpdateState), Text(kTextUpToDate));
  ASSERT_TRUE(Window().ChangeLanguage(1033));
  EXPECT_EQ(TitleOf(Window(), kIdSetUpdateState), Text(kTextUpToDate));
  EXPECT_FALSE(button->IsEnabled());
}

TEST_F(MainWindowTest, FirmwareCheckResultFollowsTheLanguage) {
  // The shipped program folder with the mouse's firmware address on a local server that
  // has no version file: the check opening the mouse runs fails.
  namespace fs = std::filesystem;
  const fs::path program = home_.Root() / "program";
  std::error_code ec;
  fs::copy(CORVANE_DATA_DIR, program, fs::copy_options::recursive, ec);
  ASSERT_FALSE(ec) << ec.message();
  fs::create_directories(home_.Root() / "served");
  test::LocalHttpServer server(home_.Root() / "served");
  ASSERT_TRUE(server.Ready());
  const fs::path definition = program / "device" / "kestrel_pro.xml";
  std::string xml = test::ReadFileBytes(definition);
  const std::string shipped = "https://updates.corvane.example/firmware/kestrel_pro";
  ASSERT_NE(xml.find(shipped), std::string::npos);
  xml.replace(xml.find(shipped), shipped.size(), server.Url("/fw"));
  ASSERT_TRUE(test::WriteFileBytes(definition, xml));
  options_.session.program_dir = program;

  Start("wired");
  OpenSimulatedMouse();
  EXPECT_TRUE(WaitFor([&] {
    return TitleOf(Window(), kIdFirmwareCheckResult) == Text(kTextUpdateCheckFailed);
  })) << TitleOf(Window(), kIdFirmwareCheckResult);

  // Said again in the words of the language chosen afterwards.
  const std::string english = Text(kTextUpdateCheckFailed);
  ASSERT_TRUE(Window().ChangeLanguage(2052));
  EXPECT_NE(Text(kTextUpdateCheckFailed), english);
  EXPECT_EQ(TitleOf(Window(), kIdFirmwareCheckResult), Text(kTextUpdateCheckFailed));
}

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
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, 2, 0);
  EXPECT_EQ(Window().CurrentTabId(), 3);
  EXPECT_TRUE(Window().GetControl(kIdPageDpi)->IsVisible());
  DeviceSession& session = program_->Session();
  EXPECT_EQ(Window().Pages()->Dpi()->Stages()->GetDPIValue(0),
            DpiStages(session.Store(), session.State(), session.Worker()).View().stages.at(0).value);
  // Back home: the device controls go away again.
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, kTabPositionHome, 0);
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
  EXPECT_FALSE(Window().GetControl(kIdConnection)->IsVisible());
  EXPECT_FALSE(Window().GetControl(kIdBattery)->IsVisible());
}

TEST_F(MainWindowTest, OpeningWithoutASelectedDeviceExplainsAndStaysHome) {
  Start("wired");
  Window().DeviceList()->SetSelectIndex(-1);
  Window().OnMessage(kIdDeviceList, DUI::NotifyCode::kClick, 0, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], Text(kTextDeviceNotConnected) + "|" + Text(kTextNoDeviceNotice));
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
}

// With no browser to open, the link says so and gives the address to copy; an address that
// opens says nothing.
TEST_F(MainWindowTest, ALinkThatOpensNoBrowserSaysSoWithTheAddress) {
  Start("wired");
  std::vector<std::string> asked;
  bool opens = false;
  Window().SetLinkOpener([&](const std::string& url) {
    asked.push_back(url);
    return opens;
  });
  const std::string website = program_->Session().Catalogue().Software().website;
  ASSERT_FALSE(website.empty());
  Window().OnMessage(kIdWebsite, DUI::NotifyCode::kClick, 0, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], Text(kTextNoBrowser) + "|" + Text(kTextNoBrowser) + "\n\n" + website);
  opens = true;
  Window().OnMessage(kIdWebsite, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(asked, (std::vector<std::string>{website, website}));
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
  // What only a screen reader hears follows as well.
  EXPECT_EQ(Window().GetControl(kIdTabStrip)->accessibleName().toStdString(),
            Text(kTextPageList));
  EXPECT_EQ(Window().GetControl(kIdFirmwareMouse)->accessibleDescription().toStdString(),
            Text(kTextMouseFirmware));

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
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
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
  Window().OnMessage(kIdClose, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_EQ(exits_, 0);
  // The offscreen platform has no tray: closing must leave a way back.
  EXPECT_TRUE(Window().IsWindowVisible() || Window().GetSafeHwnd()->isMinimized());
  Window().ShowFromTray();
  Click(kIdSetExit);
  EXPECT_FALSE(values.ReadHideOnClose());
  Window().OnMessage(kIdClose, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_EQ(exits_, 1);

  Window().OnMessage(kIdSettingsReturn, DUI::NotifyCode::kClick, 0, 0);
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
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, 3, 0);
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_FALSE(Window().GetControl(kIdTabStrip)->IsVisible());
  Window().OnMessage(kIdSettingsReturn, DUI::NotifyCode::kClick, 0, 0);
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
  Window().OnMessage(kIdProfile, DUI::NotifyCode::kClick, 0, 0);
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
  Window().OnMessage(kIdSetLanguage, DUI::NotifyCode::kValueChanged, japanese, 0);
  EXPECT_EQ(program_->Session().Texts().LanguageId(), 1041);
  EXPECT_EQ(program_->Session().Values().ReadLcid(), 1041);
  EXPECT_EQ(TitleOf(Window(), kIdSetAutorun), Text(kTextAutorun));
  // Message 2022 re-labels from whatever language is current.
  program_->Session().Texts().SetLanguageId(1042);
  Window().SendMessage(MessageNumber(WindowMessage::kRelabel), 0, 0);
  EXPECT_EQ(TitleOf(Window(), kIdSetAutorun), Text(kTextAutorun));
  EXPECT_EQ(TitleOf(Window(), kIdConnection), Text(Window().ConnectionTextId()));
}

TEST_F(MainWindowTest, EveryWayOutOfTheSettingsPageShowsTheRightPage) {
  Start("wired");
  ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
  Settle();
  // From home, closed by a re-enumeration (the worker's view call): home again.
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  ASSERT_EQ(VisiblePages(), std::vector<int>{kIdPageSettings});
  program_->Session().View().HideSettingsPage();
  EXPECT_TRUE(WaitFor([this] { return !Window().GetControl(kIdPageSettings)->IsVisible(); }));
  EXPECT_EQ(VisiblePages(), std::vector<int>{kIdPageHome});
  EXPECT_EQ(Window().CurrentTabId(), kTabHome);
  EXPECT_TRUE(Window().GetControl(kIdSettings)->IsVisible());

  // From a device page, the same way: back on the device, with its tab strip.
  OpenSimulatedMouse();
  ASSERT_TRUE(WaitFor([this] { return Window().IdlePoll(); }));
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, 2, 0);
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  ASSERT_EQ(VisiblePages(), std::vector<int>{kIdPageSettings});
  program_->Session().View().HideSettingsPage();
  EXPECT_TRUE(WaitFor([this] { return !Window().GetControl(kIdPageSettings)->IsVisible(); }));
  EXPECT_EQ(VisiblePages(), std::vector<int>{kIdPageKeys});
  EXPECT_TRUE(Window().GetControl(kIdTabStrip)->IsVisible());
  EXPECT_EQ(Window().CurrentTabId(), 2);

  // A tab change while the page shows: that tab's page, even when it was the one below.
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, kTabPositionKeys, 0);
  EXPECT_EQ(VisiblePages(), std::vector<int>{kIdPageKeys});
  EXPECT_TRUE(Window().GetControl(kIdTabStrip)->IsVisible());
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, kTabPositionHome, 0);
  EXPECT_EQ(VisiblePages(), std::vector<int>{kIdPageHome});
  EXPECT_FALSE(Window().GetControl(kIdConnection)->IsVisible());

  // The device gone while the page shows: home, without the device's controls.
  OpenSimulatedMouse();
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  Window().SetIdlePoll(false);
  Window().HideSettingsPage();
  EXPECT_EQ(VisiblePages(), std::vector<int>{kIdPageHome});
  EXPECT_FALSE(Window().GetControl(kIdProfile)->IsVisible());
}

TEST_F(MainWindowTest, AModelWithoutLightingHasNoLightingTabAndShowsItsPicture) {
  options_.session.sim_model = "12";  // its definition's menu has light="0"
  Start("wired");
  auto* side = static_cast<DUI::MPicture*>(Window().GetControl(kIdSidePicture));
  // The worker's rebuild loads the definition; the window takes it in without a click.
  ASSERT_TRUE(WaitFor([this] { return program_->Session().Model().DeviceType() == 12; }));
  Settle();
  EXPECT_FALSE(Tabs()->IsItemVisible(kTabPositionLighting));
  // The skin has no picture of this model: the default mouse stands in.
  const QImage fallback(
      QString::fromStdString(DUI::Manager::GetSkinFolder() + main_window::kDefaultDevicePicture));
  ASSERT_FALSE(fallback.isNull());
  EXPECT_EQ(side->GetImageSize(), fallback.size());
  EXPECT_FALSE(side->IsVisible()) << "home shows no model picture";

  OpenSimulatedMouse();
  EXPECT_TRUE(side->IsVisible());
  const int width = Window().GetClientRect().right;
  EXPECT_EQ(side->GetRect().right, width - 150);
  EXPECT_EQ(side->GetRect().Width(), fallback.width());
  EXPECT_TRUE(Tabs()->ItemRect(kTabPositionLighting).isEmpty());
  EXPECT_EQ(Tabs()->ItemRect(kTabPositionLighting + 1).top(),
            Tabs()->ItemRect(kTabPositionLighting - 1).bottom() + 1)
      << "the tabs below close up";
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, kTabPositionLighting, 0);
  EXPECT_EQ(Window().CurrentTabId(), 2) << "a hidden tab cannot be chosen";
  EXPECT_FALSE(Window().GetControl(kIdPageLighting)->IsVisible());
  QCoreApplication::processEvents();
  EXPECT_TRUE(Window().GetSafeHwnd()->grab().save(QString(CORVANE_SCREENSHOT_DIR) +
                                                  "/main_window_no_lighting.png"));
}

TEST_F(MainWindowTest, AModelWithLightingHasItsLightingTab) {
  Start("wired");
  ASSERT_TRUE(WaitFor([this] { return program_->Session().Model().DeviceType() == 11; }));
  Settle();
  EXPECT_TRUE(Tabs()->IsItemVisible(kTabPositionLighting)) << "the worker's load reached the window";
  OpenSimulatedMouse();
  EXPECT_TRUE(Tabs()->IsItemVisible(kTabPositionLighting));
  Window().OnMessage(kIdTabStrip, DUI::NotifyCode::kValueChanged, kTabPositionLighting, 0);
  EXPECT_EQ(Window().CurrentTabId(), main_window::kTabs[kTabPositionLighting].id);
  EXPECT_TRUE(Window().GetControl(kIdPageLighting)->IsVisible());
  EXPECT_TRUE(Window().GetControl(kIdSidePicture)->IsVisible());
  QCoreApplication::processEvents();
  EXPECT_TRUE(Window().GetSafeHwnd()->grab().save(QString(CORVANE_SCREENSHOT_DIR) +
                                                  "/main_window_lighting.png"));
}

// The pages panel hands a notification to the first page that claims its id: a page that
// claims another page's control, or a control of the window, would take its clicks.
TEST_F(MainWindowTest, EachPageClaimsOnlyTheControlsOfItsOwnContainer) {
  Start("wired");
  ASSERT_TRUE(WaitFor([this] { return program_->Session().Model().DeviceType() == 11; }));
  Settle();
  PagesPanel* pages = Window().Pages();
  ASSERT_NE(pages, nullptr);
  const std::pair<Page*, int> owners[] = {{pages->Keys(), kIdPageKeys},
                                          {pages->Dpi(), kIdPageDpi},
                                          {pages->Macros(), kIdPageMacros},
                                          {pages->Lighting(), kIdPageLighting},
                                          {pages->DeviceSettings(), kIdPageDevice}};
  const auto controls = DUI::ControlsOf<DUI::MControl>(Window().GetSafeHwnd());
  int claimed = 0;
  for (const auto& [page, container_id] : owners) {
    const QWidget* container = Window().GetControl(container_id);
    ASSERT_NE(container, nullptr);
    for (DUI::MControl* control : controls) {
      if (!page->Handles(control->GetID())) continue;
      ++claimed;
      EXPECT_TRUE(container->isAncestorOf(control))
          << "control " << control->GetID() << " is claimed by the page in " << container_id;
    }
  }
  EXPECT_GT(claimed, 50) << "every page claims the controls it acts on";
}

TEST_F(MainWindowTest, EveryStartWritesTheIdsOnlyDeviceType) {
  // Stored by an earlier run; no device is plugged in this time (no simulator).
  ASSERT_TRUE(IniKeyValueStore::ForCaption("Corvane").WriteDeviceType(12));
  Start("");
  Settle();
  EXPECT_EQ(program_->Session().Values().ReadDeviceType(), kIdsOnlyDeviceType);
  EXPECT_EQ(Window().ConnectionTextId(), kTextNoDevice);
}

TEST_F(MainWindowTest, MissingEmptyOrIllFormedConfigStartsWithNoDevice) {
  const std::filesystem::path folder = home_.Root() / "program";
  std::filesystem::create_directories(folder);
  for (const char* part : {"language", "skins", "device"}) {
    std::filesystem::create_directory_symlink(std::filesystem::path(CORVANE_DATA_DIR) / part,
                                              folder / part);
  }
  const std::filesystem::path config = folder / "config.xml";
  const char* variants[] = {nullptr, "", "<config><device><mouse name=\"x\"", "<other/>"};
  for (const char* text : variants) {
    SCOPED_TRACE(text == nullptr ? "missing" : text);
    std::filesystem::remove(config);
    if (text != nullptr) {
      ASSERT_TRUE(test::WriteFileBytes(config, text));
    }
    StartupOptions options;
    options.session.program_dir = folder;
    WindowProgram program("/opt/corvane/bin/corvane");
    std::string error;
    ASSERT_EQ(program.Start(options, error), WindowProgram::StartResult::kStarted) << error;
    EXPECT_TRUE(program.Session().Worker().WaitIdle(std::chrono::milliseconds(kWaitMs)));
    QTest::qWait(100);
    EXPECT_EQ(program.Window().DeviceList()->GetOnlineDevCount(), 0);
    EXPECT_TRUE(program.Session().Catalogue().Models().empty());
    EXPECT_EQ(program.Window().ConnectionTextId(), kTextNoDevice);
    EXPECT_TRUE(program.Window().GetControl(kIdPageHome)->IsVisible());
  }
}

// A job that never ends must not keep the program from ending, and the program keeps
// its single-instance claim until it is gone.
TEST(WindowProgramExit, AStuckWorkerEndsTheProcessAtItsStopTimeHoldingTheInstanceToTheEnd) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A firmware install stands in for any job stuck in device or network I/O.
  constexpr WorkerTask kStuckTask = WorkerTask::kFirmwareInstall;
  auto run = [] {
    test::TempHome home;
    StartupOptions options;
    options.session.program_dir = CORVANE_DATA_DIR;
    options.session.simulate = "wired";
    auto program = std::make_unique<WindowProgram>("/opt/corvane/bin/corvane");
    std::string error;
    if (program->Start(options, error) != WindowProgram::StartResult::kStarted) std::_Exit(4);
    std::atomic<bool> entered{false};
    program->Session().Jobs().SetExternalJob(kStuckTask, [&entered] {
      entered = true;
      std::this_thread::sleep_for(std::chrono::seconds(8));
    });
    program->Session().Worker().Post(kStuckTask);
    if (!WaitFor([&entered] { return entered.load(); })) std::_Exit(5);
    std::thread([caption = DUI::Manager::GetDeviceName()] {
      std::this_thread::sleep_for(std::chrono::seconds(3));
      if (!SingleInstance(caption).NotifyRunning()) {
        std::fputs("instance released while the process went on\n", stderr);
        std::_Exit(3);
      }
      std::fputs("exit still waiting for the worker\n", stderr);
      std::_Exit(6);
    }).detach();
    program.reset();
    std::_Exit(7);  // came back: the stuck worker was not left behind
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
}

}  // namespace
}  // namespace corvane::ui
