// What a screen reader hears of the main window and its pop-ups: lists named by their
// headings, the two "Settings" buttons told apart, the battery gauge with its charging, the
// profile chooser, the link dialog and the saving pop-up by what they are for (their window
// titles stay the fixed names the program closes them by), in each language.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "app/text_ids.h"
#include "ui/device_main_dlg.h"
#include "ui/dialogs/notice_popups.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/mprogress.h"
#include "ui/pages/dpi_page.h"
#include "ui/pages/keys_page.h"
#include "ui/pages/macro_page.h"
#include "ui/program_settings_page.h"
#include "window_fixture.h"

namespace corvane::ui {
namespace {

std::string Spoken(QObject* object) {
  QAccessibleInterface* face = object != nullptr ? QAccessible::queryAccessibleInterface(object)
                                                 : nullptr;
  return face != nullptr ? face->text(QAccessible::Name).toStdString() : "<none>";
}

class ReaderNamesTest : public WindowFixture {
 protected:
  void SetUp() override {
    Start("wired");
    OpenSimulatedMouse();
    Settle();
  }
  // The control `id` anywhere in the window, pages included.
  DUI::MControl* Find(int id) {
    for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(Window().GetSafeHwnd())) {
      if (control->GetID() == id) return control;
    }
    return nullptr;
  }
  // The name each list is read by, keyed by the heading it should carry.
  std::map<std::string, std::string> ListNames() {
    return {{Text(kTextLanguage), Spoken(Find(kIdSetLanguage))},
            {Text(kTextStageCount), Spoken(Find(kIdDpiCount))},
            {Text(kTextSleepTime), Spoken(Find(kIdSleepTime))},
            {Text(kTextEventTypeLabel), Spoken(Find(MacroPage::kIdTypeCombo))},
            {Text(kTextEventValueLabel), Spoken(Find(MacroPage::kIdMouseCombo))}};
  }
  // Opens the window called `title` through `open` and hands back what it is read as; the
  // window is closed again.
  std::string SpokenWhileOpen(const char* title, const std::function<void()>& open) {
    std::string spoken = "<not shown>";
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      DUI::MWindow* window = DUI::MWindow::FindWindow(title);
      if (window == nullptr || !window->IsWindowVisible()) return;
      spoken = Spoken(window->GetSafeHwnd());
      window->PostMessage(DUI::kMessageClose, 2, 0);
      poll.stop();
    });
    poll.start(20);
    open();
    return spoken;
  }
};

TEST_F(ReaderNamesTest, ListsAreReadByTheirHeadingsInEachLanguage) {
  for (int language : {1033, 2052, 1058}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    for (const auto& [heading, spoken] : ListNames()) {
      EXPECT_FALSE(heading.empty());
      EXPECT_EQ(spoken, heading) << "in language " << language;
    }
  }
  // A list is named by its heading, never by its skin's picture.
  for (auto* combo : DUI::ControlsOf<DUI::MComboBox>(Window().GetSafeHwnd())) {
    EXPECT_EQ(Spoken(combo).rfind("img_", 0), std::string::npos) << combo->GetID();
  }
}

TEST_F(ReaderNamesTest, TheTwoSettingsButtonsSayWhatTheyOpen) {
  DUI::MControl* keyboard = Find(kIdKeysKeyboard);
  DUI::MControl* rapid = Find(kIdKeysRapidFire);
  for (int language : {1033, 1041}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    EXPECT_EQ(Spoken(keyboard), Text(kTextKeyboardShortcutSettings));
    EXPECT_EQ(Spoken(rapid), Text(kTextRapidFireSettings));
    EXPECT_NE(Spoken(keyboard), Spoken(rapid));
  }
}

TEST_F(ReaderNamesTest, BatteryGaugeSaysChargingAndItsLevel) {
  QObject* gauge = Find(kIdBattery);
  Window().SetBatteryInfo(90, DUI::BatteryCtrl::kStateCharging);
  const std::string charging = Spoken(gauge);
  EXPECT_NE(charging.find(Text(kTextCharging)), std::string::npos) << charging;
  EXPECT_NE(charging.find("90%"), std::string::npos) << charging;
  ASSERT_TRUE(Window().ChangeLanguage(1042));
  EXPECT_NE(Spoken(gauge).find(Text(kTextCharging)), std::string::npos) << Spoken(gauge);
  Window().SetBatteryInfo(35, 0);
  EXPECT_EQ(Spoken(gauge).find(Text(kTextCharging)), std::string::npos) << Spoken(gauge);
  EXPECT_NE(Spoken(gauge).find(Text(kTextBatteryLevel) + ": 35%"), std::string::npos)
      << Spoken(gauge);
}

TEST_F(ReaderNamesTest, PopUpsAreReadByWhatTheyAreFor) {
  for (int language : {1033, 1028}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    EXPECT_EQ(SpokenWhileOpen("ProfileDlg", [this] { Window().OnProfileButton(); }),
              Text(kTextProfileList));
    const std::string link = SpokenWhileOpen("LinkAppsDlg", [this] {
      Window().OpenLinkDialog(Session().Store().GetActiveProfile());
    });
    EXPECT_NE(link.find(Text(kTextLinkApplications)), std::string::npos) << link;
  }
}

TEST_F(ReaderNamesTest, SavingPopUpAndItsBarFollowTheLanguage) {
  for (int language : {1033, 2052}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    Window().ShowSavingPopup();
    DUI::MWindow* popup = DUI::MWindow::FindWindow("SaveWaitDlg");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Spoken(popup->GetSafeHwnd()), Text(kTextSaving));
    auto* bar = static_cast<DUI::MDialog*>(popup)->GetControl(SaveWaitDlg::kIdProgress);
    EXPECT_EQ(Spoken(bar), Text(kTextSaving));
  }
}

}  // namespace
}  // namespace corvane::ui
