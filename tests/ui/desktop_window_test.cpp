// The window's desktop side on the offscreen platform (no tray host, usually no session
// bus): the tray tooltip follows the model and its battery and the language, the tray icon
// takes its low-battery mark at the low threshold, the settings page's box stores the
// warnings' on/off value, the simulator's plug buttons take the mouse out of the device
// list and bring it back, and closing to a tray that is not there minimises and says so.
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "app/text_ids.h"
#include "device/device_manager.h"
#include "settings/battery_warnings.h"
#include "ui/desktop_integration.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/program_settings_page.h"
#include "ui/sim_control_window.h"
#include "ui/tray_icon.h"
#include "window_fixture.h"

namespace corvane::ui {
namespace {

class DesktopWindowTest : public WindowFixture {
 protected:
  void StartWireless() {
    Start("wireless");
    OpenSimulatedMouse();
    QTest::qWait(1000);  // let the read-back of the opening finish first
    ASSERT_NE(program_->SimWindow(), nullptr);
  }
  std::string Model() {
    return Session().Catalogue().FindModel(DeviceManager::Instance().SelectedDeviceType())->name;
  }
  bool ToolTipShows(const std::string& part) {
    return WaitFor([&] { return program_->Desktop().ToolTip().find(part) != std::string::npos; });
  }
};

TEST_F(DesktopWindowTest, TrayFollowsBatteryAndLanguageWithoutATrayHost) {
  StartWireless();
  EXPECT_FALSE(Window().TrayVisible());  // offscreen: no tray host, and nothing breaks
  SimControlWindow& sim = *program_->SimWindow();

  sim.SendBattery(57, false);
  EXPECT_TRUE(ToolTipShows(Model() + " \u2014 " + Text(kTextBatteryLevel) + ": 57%"))
      << program_->Desktop().ToolTip();
  // The first line stays the caption the tray has always shown.
  EXPECT_EQ(program_->Desktop().ToolTip().rfind(Session().Config().caption + "\n", 0), 0u);
  EXPECT_FALSE(Window().Tray().LowBattery());

  sim.SendBattery(15, false);  // the low threshold itself
  EXPECT_TRUE(ToolTipShows(": 15%"));
  EXPECT_TRUE(Window().Tray().LowBattery());
  sim.SendBattery(12, true);  // charging: no mark
  EXPECT_TRUE(ToolTipShows(": 12% (" + Text(kTextCharging) + ")"));
  EXPECT_FALSE(Window().Tray().LowBattery());

  ASSERT_TRUE(Window().ChangeLanguage(2052));
  EXPECT_TRUE(ToolTipShows(Text(kTextBatteryLevel) + ": 12% (" + Text(kTextCharging) + ")"))
      << program_->Desktop().ToolTip();
  ASSERT_TRUE(Window().ChangeLanguage(1033));
}

TEST_F(DesktopWindowTest, SettingsBoxStoresTheWarningsChoice) {
  StartWireless();
  auto* box = static_cast<DUI::MButton*>(Window().GetControl(kIdSetBatteryWarnings));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetTitle(), Text(kTextBatteryWarningsBox));
  EXPECT_TRUE(box->GetCheck());  // on when nothing is stored
  box->SetCheck(false);
  Window().OnMessage(kIdSetBatteryWarnings, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_FALSE(ReadBatteryWarningSettings(Session().Values()).enabled);
  EXPECT_EQ(Session().Values().ReadText(kValueBatteryWarnings), "0");
  box->SetCheck(true);
  Window().SettingsPage()->Refresh();
  EXPECT_FALSE(box->GetCheck());  // shows what is stored
}

TEST_F(DesktopWindowTest, PlugButtonsTakeTheMouseOutOfTheListAndBringItBack) {
  StartWireless();
  SimControlWindow& sim = *program_->SimWindow();
  sim.SetPlugged(false);
  EXPECT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() == 0; }));
  EXPECT_TRUE(WaitFor([this] { return program_->Desktop().Published().devices.empty(); }));
  EXPECT_EQ(Window().ConnectionTextId(), kTextNoDevice);
  sim.SetPlugged(true);
  EXPECT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
  EXPECT_TRUE(WaitFor([this] { return !program_->Desktop().Published().devices.empty(); }));
}

TEST_F(DesktopWindowTest, CloseWithoutATrayMinimisesAndSaysSoOnce) {
  Start("wired");
  ASSERT_FALSE(Window().TrayVisible());  // offscreen: no tray host
  Session().Values().WriteHideOnClose(true);
  const auto* notice = static_cast<const DUI::MControlFont*>(Window().GetControl(kIdTrayNotice));
  ASSERT_NE(notice, nullptr);
  EXPECT_FALSE(Window().TrayNoticeShown());
  // Closed from the program settings page, which covers the window's client area.
  Window().OnMessage(kIdSettings, DUI::NotifyCode::kClick, 0, 0);
  ASSERT_TRUE(Window().GetControl(kIdPageSettings)->IsVisible());
  Window().OnMessage(kIdClose, DUI::NotifyCode::kClick, 0, 0);
  // Still there to come back to, and it says why it was not hidden, in words.
  EXPECT_TRUE(Window().IsWindowVisible());
  EXPECT_TRUE(Window().TrayNoticeShown());
  // Drawn above whatever page it lies over: later siblings are drawn on top.
  const QObjectList& siblings = notice->parent()->children();
  for (const QObject* object : siblings) {
    const auto* sibling = qobject_cast<const QWidget*>(object);
    if (sibling == nullptr || sibling == notice || !sibling->isVisible()) continue;
    if (!sibling->geometry().intersects(notice->geometry())) continue;
    EXPECT_LT(siblings.indexOf(const_cast<QObject*>(object)),
              siblings.indexOf(const_cast<DUI::MControlFont*>(notice)))
        << "the notice lies under " << sibling->objectName().toStdString() << " "
        << sibling->accessibleName().toStdString();
  }
  EXPECT_EQ(notice->GetTitle(), Text(kTextNoTrayMinimized));
  EXPECT_FALSE(notice->GetRect().IsEmpty());
  ASSERT_TRUE(Window().ChangeLanguage(1041));
  EXPECT_EQ(notice->GetTitle(), Text(kTextNoTrayMinimized));
  ASSERT_TRUE(Window().ChangeLanguage(1033));
  // Its time starts when the window is active again; then it goes.
  Window().ShowFromTray();
  Window().OnNcActivate(true);
  Window().OnTimer(kTimerTrayNotice);
  EXPECT_FALSE(Window().TrayNoticeShown());
  // Once only: the next close minimises without saying it again.
  Window().OnMessage(kIdClose, DUI::NotifyCode::kClick, 0, 0);
  EXPECT_FALSE(Window().TrayNoticeShown());
  EXPECT_TRUE(Window().IsWindowVisible());
}

TEST(TrayIconTest, LowBatteryMarkIsDrawnIntoTheIconsCorner) {
  QPixmap plain(64, 64);
  plain.fill(Qt::white);
  const QImage marked = TrayIcon::LowBatteryIcon(QIcon(plain)).pixmap(64, 64).toImage();
  const QColor corner = marked.pixelColor(64 - 15, 64 - 15);
  EXPECT_GT(corner.red(), 200);
  EXPECT_LT(corner.green(), 80);
  EXPECT_EQ(marked.pixelColor(5, 5), QColor(Qt::white));  // the rest is the icon
  // Without an icon the mark alone.
  EXPECT_FALSE(TrayIcon::LowBatteryIcon(QIcon()).isNull());
}

}  // namespace
}  // namespace corvane::ui
