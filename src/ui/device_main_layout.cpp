// The main window's frame: building the controls and laying them out.
#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "app/display_names.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "device/device_manager.h"
#include "settings/battery_warnings.h"
#include "store/settings_database.h"
#include "ui/device_list_mirror.h"
#include "ui/device_main_dlg.h"
#include "ui/device_main_parts.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/cdevice_state.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/ctext_button.h"
#include "ui/dui/manager.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mrender.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/mtab_layout.h"
#include "ui/dui/mtext.h"
#include "ui/pages/keys_page.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"
#include "ui/tray_icon.h"
#include "worker/device_session.h"

namespace corvane::ui {

using DUI::Rect;
using namespace main_window;

void DeviceMainDlg::InitUI(const Rect& rect) {
  DUI::Manager::SetFontName(kFrameFont);
  BuildFrame(rect);
  BuildTabs();
  BuildHomePage(rect);
  pages_ = std::make_unique<PagesPanel>(*this);
  pages_->Build();
  settings_page_ = std::make_unique<ProgramSettingsPage>(*this, autorun_);
  settings_page_->Build(*GetControl(kIdPageSettings));
  // The logo last: its presence tells the layout pass that the frame is complete.
  Picture("logo.png", kIdLogo, DUI::MPicture::kShowStretch, 0);
}

void DeviceMainDlg::BuildFrame(const Rect&) {
  Picture("main_bkg.png", kIdBackground, DUI::MPicture::kShowSliced, 6);
  Picture("", kIdSidePicture, DUI::MPicture::kShowStretch, 4, false);
  Picture("img_area_caption.png", kIdTitleBar, DUI::MPicture::kShowSliced, 10);
  Picture("img_area_caption.png", kIdBottomBar, DUI::MPicture::kShowSliced, 10);
  auto* caption = Labelled(Create<DUI::MText>(kIdCaption), kTextCaption);
  caption->SetFont(kFrameFont, 18, DUI::kFontBold);
  caption->SetAlignment(DUI::kAlignCenter);
  caption->SetTextColor(kTextColorTitle);
  version_label_ = Create<DUI::MText>(kIdVersion, Rect{}, VersionLine());
  version_label_->SetTextColor(kTextColorBottom);
  auto* website = Labelled(Create<DUI::CTextButton>(kIdWebsite), kTextWebsiteLine);
  website->SetAlignment(DUI::kAlignCenter);
  website->SetTextColor(kTextColorBottom);
  auto* tray_notice = Labelled(Create<DUI::MText>(kIdTrayNotice), kTextNoTrayMinimized);
  tray_notice->SetTextColor(kTextColorTitle);
  tray_notice->SetVisible(false);
  const struct {
    int id;
    const char* image;
    int tip;
  } buttons[] = {{kIdClose, "sysbtn_close.png", kTextClose},
                 {kIdMaximize, "sysbtn_maximize.png", kTextMaximize},
                 {kIdMinimize, "sysbtn_min.png", kTextMinimize},
                 {kIdSettings, "sysbtn_setting.png", kTextSettings}};
  for (const auto& b : buttons) {
    auto* button = Create<DUI::CImageButton>(b.id);
    button->SetImage(b.image, 4);
    Tooltip(button, b.tip);
  }
  battery_ = Create<DUI::BatteryCtrl>(kIdBattery, Rect{}, {}, false);
  battery_->SetImage("icon\\icon_battery_bkg.png", 1);
  battery_->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
  battery_->SetTextColor(kBatteryColor);
  battery_->AddMTimer();
  connection_ = Create<DUI::CDeviceState>(kIdConnection, Rect{}, {}, false);
  connection_->SetImage("img_area.png", 4);
  connection_->SetFont(kFrameFont, kConnectionFontPixels, 0);
  SetConnectionText(kTextNoDevice);
  auto* profile = Create<DUI::CIconButton>(kIdProfile, Rect{}, {}, false);
  profile->SetImage("img_button.png", 4);
  profile->SetFont(kFrameFont, kConnectionFontPixels, 0);
  profile->SetIcon("icon\\icon_arrow_up.png");
  profile_button_ = profile;
  RefreshProfileButton();
  auto* restore =
      Labelled(Create<DUI::MButton>(kIdRestore, Rect{}, {}, false), kTextRestoreDefaults);
  restore->SetImage("img_button.png", 4);
}

void DeviceMainDlg::BuildTabs() {
  Picture("img_tab_bkg.png", kIdTabColumn, DUI::MPicture::kShowSliced, 12, false);
  for (int id = kIdPageHome; id <= kIdPageSettings; ++id) {
    if (id == kIdKeysPanel) continue;  // the key-edit panel lives inside the keys page
    Create<DUI::MTabLayout>(id, Rect{}, {}, id == kIdPageHome);
  }
  Named(GetControl(kIdPageSettings), kTextSettings);  // not its first label, the version
  tabs_ = Create<DUI::MTabCtrl>(kIdTabStrip, Rect{}, {}, false);
  tabs_->SetImage("img_tabitem_bkg.png", 4);
  Named(tabs_, kTextPageList);
  tabs_->SetTabCtrlWidth(190);
  tabs_->SetTabCtrlHeight(60);
  tabs_->SetLeftRightPading(0, 190);
  tabs_->SetTopBottomPading(0, 300);
  tabs_->SetItemWidth(190, 190, 1);
  tabs_->SetItemHeight(60, 60, 1);
  for (const TabSpec& tab : kTabs) {
    tabs_->InsertItem(tab.id, Text(tab.text_id), tab.icon, GetControl(tab.page));
  }
  tabs_->SetCurSel(kTabPositionHome);
}

void DeviceMainDlg::BuildHomePage(const Rect&) {
  DUI::MControl* home = GetControl(kIdPageHome);
  device_list_ = home->Create<DUI::CDeviceList>(kIdDeviceList);
  device_list_->SetImage("area_device.png", 1);
  Named(device_list_, kTextDeviceList);
  device_list_->SetBatteryBkg("icon\\icon_battery_bkg.png");
  device_list_->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
  device_list_->SetDevModeImage("device_mode.png");
  device_list_->SetVersionDesc(Text(kTextDeviceVersion));
  std::vector<int> types;
  for (const CatalogEntry& model : session_.Catalogue().Models()) {
    // A skin without this model's picture still shows a mouse.
    device_list_->AddDevice(model.name, model.device_type, DevicePicture(model.image));
    types.push_back(model.device_type);
  }
  mirror_.SetModels(types);
  for (int id : {kIdListPrev, kIdListNext}) {
    auto* button = home->Create<DUI::CImageButton>(id);
    button->SetImage(id == kIdListPrev ? "img_btn_pre.png" : "img_btn_next.png", 4);
    // Icon-only: the tooltip is what a pointer's hover and a reader say.
    Tooltip(button, id == kIdListPrev ? kTextPreviousPage : kTextNextPage);
  }
  auto* backdrop = home->Create<DUI::MPicture>(kIdNoDeviceBackdrop, Rect{}, {}, false);
  backdrop->SetImage("img_area3.png", 1);
  backdrop->SetShowMode(DUI::MPicture::kShowSliced, 10);
  auto* notice =
      Labelled(home->Create<DUI::MText>(kIdNoDeviceNotice, Rect{}, {}, false), kTextNoDeviceNotice);
  notice->SetFont(kFrameFont, 20, 0);
  notice->SetAlignment(DUI::kAlignCenter);
  notice->SetMultiLine(true);
  notice->SetTextColor(kTextColorTitle);
  ShowDeviceList(false);
}

Rect DeviceMainDlg::ConnectionRect() const {
  constexpr int kLeft = 25, kTop = 11, kBottom = 38, kMinWidth = 100, kPadding = 24;
  QFont font(kFrameFont);
  font.setPixelSize(kConnectionFontPixels);
  const int text =
      connection_
          ? QFontMetrics(font).horizontalAdvance(QString::fromStdString(connection_->GetTitle()))
          : 0;
  return Rect{kLeft, kTop, kLeft + std::max(kMinWidth, text + kPadding), kBottom};
}

void DeviceMainDlg::SetBatteryInfo(int level, int state) {
  battery_->SetBatteryInfo(level, state);
  NameBattery();
}

void DeviceMainDlg::NameBattery() {
  // The gauge draws its charging mark as a picture: a reader hears it in words.
  battery_->setAccessibleName(QString::fromStdString(
      BatteryGaugeText(Text(kTextBatteryLevel), battery_->GetLevel(), Text(kTextCharging),
                       battery_->IsCharging())));
}

std::string DeviceMainDlg::VersionLine() const {
  return Text(kTextSoftwareVersion) + ": v" + session_.Catalogue().Software().version;
}

void DeviceMainDlg::UISize(const Rect& rect) {
  if (GetControl(kIdLogo) == nullptr) return;
  LayoutFrame(rect);
  if (pages_) pages_->Layout(rect, scale_);
  if (settings_page_) settings_page_->Layout(GetControl(kIdPageSettings)->GetRect());
}

void DeviceMainDlg::LayoutFrame(const Rect& rc) {
  const int l = rc.left, r = rc.right, b = rc.bottom;
  scale_ = static_cast<double>(rc.Height()) / kDesignHeight;
  GetControl(kIdMaximize)->SetImage(IsZoomed() ? "sysbtn_restore.png" : "sysbtn_maximize.png", 4);
  auto place = [this](int id, Rect rect) {
    if (DUI::MControl* control = GetControl(id)) control->SetRect(rect);
  };
  place(kIdBackground, rc);
  auto* side = GetControl<DUI::MPicture>(kIdSidePicture);
  if (side->GetImageSize().width() > 1) {
    const QSize size = side->GetImageSize();
    place(kIdSidePicture, Rect{r - size.width() - 150, 135, r - 150, 135 + size.height()});
  }
  auto* logo = GetControl<DUI::MPicture>(kIdLogo);
  if (logo->GetImageSize().width() > 1) {
    const QSize size = logo->GetImageSize();
    place(kIdLogo, Rect{10, 70, 10 + size.width(), 70 + size.height()});
  }
  place(kIdTitleBar, Rect{1, 1, r - 1, 50});
  place(kIdBottomBar, Rect{1, b - 50, r - 1, b - 1});
  place(kIdClose, Rect{r - 50, 10, r - 20, 40});
  place(kIdMinimize, Rect{r - 82, 10, r - 52, 40});
  place(kIdSettings, Rect{r - 114, 10, r - 84, 40});
  const int x = (r - l - 260) / 2;
  place(kIdCaption, Rect{x, 10, x + 260, 40});
  place(kIdVersion, Rect{25, b - 38, 225, b - 12});
  const int c = (r - l) / 2;
  place(kIdWebsite, Rect{c - 400, b - 38, c + 400, b - 12});
  place(kIdBattery, Rect{r - 130, 50, r - 35, 80});
  // The free band between the tab column and the battery, above the pages.
  place(kIdTrayNotice, Rect{210, 52, r - 140, 78});
  place(kIdConnection, ConnectionRect());
  place(kIdProfile, Rect{r - 170, b - 38, r - 20, b - 12});
  place(kIdTabColumn, Rect{1, 50, 201, b - 50});
  place(kIdTabStrip, Rect{1, 120, 191, 480});
  for (int id : {kIdPageKeys, kIdPageDpi, kIdPageMacros, kIdPageLighting, kIdPageDevice}) {
    place(id, Rect{200, 80, r - 20, b - 50});
  }
  const Rect home{20, 80, r - 20, b - 50};
  place(kIdPageHome, home);
  place(kIdPageSettings, Rect{1, 50, r - 1, b - 40});
  // Children of a page are placed relative to it.
  device_list_->SetRect(
      Rect{200 - home.left, 200 - home.top, r - 200 - home.left, b - 100 - home.top});
  const int notice_width = static_cast<int>(500 * scale_);
  const int notice_left = (r - notice_width) / 2 - home.left;
  const int notice_top = static_cast<int>(200 * scale_) - home.top;
  const Rect notice{notice_left, notice_top, notice_left + notice_width,
                    notice_top + static_cast<int>(80 * scale_)};
  GetControl(kIdNoDeviceBackdrop)->SetRect(notice);
  GetControl(kIdNoDeviceNotice)->SetRect(notice);
  const int mid = (b - 100 + 200) / 2 - home.top;
  GetControl(kIdListPrev)->SetRect(Rect{150 - home.left, mid - 20, 180 - home.left, mid + 20});
  GetControl(kIdListNext)
      ->SetRect(Rect{r - 180 - home.left, mid - 20, r - 150 - home.left, mid + 20});
  UpdateListPaging();
}

}  // namespace corvane::ui
