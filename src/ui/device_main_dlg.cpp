// The main window's frame, tabs, home page and dispatcher.
#include "ui/device_main_dlg.h"

#include <QApplication>
#include <filesystem>
#include <iterator>
#include <optional>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "app/display_names.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "device/device_manager.h"
#include "protocol/device_session.h"
#include "store/settings_database.h"
#include "ui/device_list_mirror.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mrender.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"
#include "ui/tray_icon.h"

namespace corvane::ui {

using DUI::Rect;

namespace {

constexpr int kTaskReadWirelessDevice = 4;
constexpr const char* kDefaultDevicePicture = "device/device_default.png";
constexpr int kAnimationIntervalMs = 10;
constexpr int kModeReceiver = 1;
constexpr const char* kFrameFont = "Open Sans Semibold";
constexpr uint32_t kTextColorTitle = 0xFFFFFFFFu;
constexpr uint32_t kTextColorBottom = 0xFF8A929C;
constexpr uint32_t kBatteryColor = 0xFF3E556D;

struct TabSpec {
  int id;
  int text_id;
  const char* icon;
  int page;
};
constexpr TabSpec kTabs[] = {
    {1, kTextTabHome, "icon\\tab_home.png", kIdPageHome},
    {2, kTextTabButtons, "icon\\tab_key.png", kIdPageKeys},
    {3, kTextTabPerformance, "icon\\tab_dpi.png", kIdPageDpi},
    {4, kTextTabMacros, "icon\\tab_macro.png", kIdPageMacros},
    {5, kTextTabLighting, "icon\\tab_light.png", kIdPageLighting},
    {7, kTextTabDeviceSettings, "icon\\tab_set.png", kIdPageDevice},
};

}  // namespace

DeviceMainDlg::DeviceMainDlg(DeviceSession& session, DeviceListMirror& mirror, AutorunEntry& autorun)
    : session_(session), mirror_(mirror), autorun_(autorun) {
  tray_ = std::make_unique<TrayIcon>([this] { ShowFromTray(); }, [this] { Exit(); });
}

DeviceMainDlg::~DeviceMainDlg() {
  // The worker must never report to a window that is going away.
  session_.Worker().Stop();
  tray_->Remove();
}

std::string DeviceMainDlg::Text(int id) const { return session_.Texts().Text(id); }

DUI::MControl* DeviceMainDlg::Labelled(DUI::MControl* control, int text_id) {
  if (auto* font = dynamic_cast<DUI::MControlFont*>(control)) {
    font->SetTitle(Text(text_id));
    labels_.push_back({control, text_id});
  }
  return control;
}

void DeviceMainDlg::Tooltip(DUI::MControl* control, int text_id) {
  if (control == nullptr) return;
  control->SetTooltip(Text(text_id));
  tooltips_.push_back({control, text_id});
}

int DeviceMainDlg::MessageBox(int title_id, int body_id, int buttons) {
  if (message_box_) return message_box_(Text(title_id), Text(body_id), buttons);
  QMessageBox box(QMessageBox::Information, QString::fromStdString(Text(title_id)),
                  QString::fromStdString(Text(body_id)),
                  buttons > 1 ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                  GetSafeHwnd());
  return box.exec() == QMessageBox::Ok ? DUI::MWindow::kModalOk : DUI::MWindow::kModalCancel;
}

DUI::MControl* DeviceMainDlg::Picture(const std::string& file, int id, int mode, int margin,
                                      bool visible) {
  auto* picture = static_cast<DUI::MPicture*>(CreateArea("MPicture", id, Rect{}, "", visible ? 1 : 0));
  if (!file.empty()) picture->SetImage(file, 1);
  picture->SetShowMode(mode, margin);
  return picture;
}

void DeviceMainDlg::InitUI(const Rect& rect) {
  DUI::Manager::SetFontName(kFrameFont);
  BuildFrame(rect);
  BuildTabs();
  BuildHomePage(rect);
  pages_ = std::make_unique<PagesPanel>(*this);
  pages_->Build();
  settings_page_ = std::make_unique<ProgramSettingsPage>(*this, autorun_);
  settings_page_->Build(GetControl(kIdPageSettings));
  // The logo last: its presence tells the layout pass that the frame is complete.
  Picture("logo.png", kIdLogo, DUI::MPicture::kShowStretch, 0);
}

void DeviceMainDlg::BuildFrame(const Rect&) {
  Picture("main_bkg.png", kIdBackground, DUI::MPicture::kShowSliced, 6);
  Picture("", kIdSidePicture, DUI::MPicture::kShowStretch, 4, false);
  Picture("img_area_caption.png", kIdTitleBar, DUI::MPicture::kShowSliced, 10);
  Picture("img_area_caption.png", kIdBottomBar, DUI::MPicture::kShowSliced, 10);
  auto* caption = static_cast<DUI::MControlFont*>(Labelled(CreateArea("MText", kIdCaption, Rect{}, ""), kTextCaption));
  caption->SetFont(kFrameFont, 18, DUI::kFontBold);
  caption->SetAlignment(DUI::kAlignCenter);
  caption->SetTextColor(kTextColorTitle);
  version_label_ = static_cast<DUI::MControlFont*>(CreateArea("MText", kIdVersion, Rect{}, VersionLine()));
  version_label_->SetTextColor(kTextColorBottom);
  auto* website = static_cast<DUI::MControlFont*>(Labelled(CreateControl("CTextButton", kIdWebsite, Rect{}, ""), kTextWebsiteLine));
  website->SetAlignment(DUI::kAlignCenter);
  website->SetTextColor(kTextColorBottom);
  const struct { int id; const char* image; int tip; } buttons[] = {
      {kIdClose, "sysbtn_close.png", kTextClose}, {kIdMaximize, "sysbtn_maximize.png", kTextMaximize},
      {kIdMinimize, "sysbtn_min.png", kTextMinimize}, {kIdSettings, "sysbtn_setting.png", kTextSettings}};
  for (const auto& b : buttons) {
    DUI::MControl* button = CreateControl("CImageButton", b.id, Rect{}, "");
    button->SetImage(b.image, 4);
    Tooltip(button, b.tip);
  }
  battery_ = static_cast<DUI::BatteryCtrl*>(CreateArea("BatteryCtrl", kIdBattery, Rect{}, "", 0));
  battery_->SetImage("icon\\icon_battery_bkg.png", 1);
  battery_->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
  battery_->SetTextColor(kBatteryColor);
  battery_->AddMTimer();
  connection_ = static_cast<DUI::MControlFont*>(CreateArea("CDeviceState", kIdConnection, Rect{}, "", 0));
  connection_->SetImage("img_area.png", 4);
  connection_->SetFont(kFrameFont, 14, 0);
  SetConnectionText(kTextNoDevice);
  profile_button_ = static_cast<DUI::MControlFont*>(CreateControl("CIconButton", kIdProfile, Rect{}, "", 0));
  profile_button_->SetImage("img_button.png", 4);
  profile_button_->SetFont(kFrameFont, 14, 0);
  static_cast<DUI::CIconButton*>(profile_button_)->SetIcon("icon\\icon_arrow_up.png");
  RefreshProfileButton();
  auto* restore = Labelled(CreateControl("MButton", kIdRestore, Rect{}, "", 0), kTextRestoreDefaults);
  restore->SetImage("img_button.png", 4);
}

void DeviceMainDlg::BuildTabs() {
  Picture("img_tab_bkg.png", kIdTabColumn, DUI::MPicture::kShowSliced, 12, false);
  const char* page_class = "MTabLayout";
  for (int id = kIdPageHome; id <= kIdPageSettings; ++id) {
    if (id == 51) continue;  // the key-edit panel lives inside the keys page
    CreateControl(page_class, id, Rect{}, "", id == kIdPageHome ? 1 : 0);
  }
  tabs_ = static_cast<DUI::MTabCtrl*>(CreateControl("MTabCtrl", kIdTabStrip, Rect{}, "", 0));
  tabs_->SetImage("img_tabitem_bkg.png", 4);
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
  device_list_ = static_cast<DUI::CDeviceList*>(home->CreateControl("CDeviceList", kIdDeviceList, Rect{}, ""));
  device_list_->SetImage("area_device.png", 1);
  device_list_->SetBatteryBkg("icon\\icon_battery_bkg.png");
  device_list_->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
  device_list_->SetDevModeImage("device_mode.png");
  device_list_->SetVersionDesc(Text(kTextDeviceVersion));
  std::vector<int> types;
  for (const CatalogEntry& model : session_.Catalogue().Models()) {
    // A skin without this model's picture still shows a mouse.
    const bool has_picture = !model.image.empty() &&
                             std::filesystem::exists(model.ImagePath(DUI::Manager::GetSkinFolder()));
    device_list_->AddDevice(model.name, model.device_type,
                            has_picture ? "device/" + model.image : kDefaultDevicePicture);
    types.push_back(model.device_type);
  }
  mirror_.SetModels(types);
  for (int id : {kIdListPrev, kIdListNext}) {
    DUI::MControl* button = home->CreateControl("CImageButton", id, Rect{}, "");
    button->SetImage(id == kIdListPrev ? "img_btn_pre.png" : "img_btn_next.png", 4);
  }
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
  auto* side = static_cast<DUI::MPicture*>(GetControl(kIdSidePicture));
  if (side->GetImageSize().width() > 1) {
    const QSize size = side->GetImageSize();
    place(kIdSidePicture, Rect{r - size.width() - 150, 135, r - 150, 135 + size.height()});
  }
  auto* logo = static_cast<DUI::MPicture*>(GetControl(kIdLogo));
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
  place(kIdConnection, Rect{25, 11, 125, 38});
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
  device_list_->SetRect(Rect{200 - home.left, 200 - home.top, r - 200 - home.left, b - 100 - home.top});
  const int mid = (b - 100 + 200) / 2 - home.top;
  GetControl(kIdListPrev)->SetRect(Rect{150 - home.left, mid - 20, 180 - home.left, mid + 20});
  GetControl(kIdListNext)->SetRect(Rect{r - 180 - home.left, mid - 20, r - 150 - home.left, mid + 20});
}

int DeviceMainDlg::OnInitDialog() {
  DUI::MDialog::OnInitDialog();
  const QIcon icon = DUI::MRender::LoadIconFromFile(DUI::Manager::GetSkinFolder() + "DeviceDriver.ico");
  tray_->Add(icon, DUI::Manager::GetDeviceName(), Text(kTextTrayExit));
  SetIcon(icon);
  session_.Worker().StartWithInitialTasks();
  SetMTimer(kAnimationIntervalMs);
  return 1;
}

int DeviceMainDlg::OnNcActivate(bool) { return 0; }

bool DeviceMainDlg::TrayVisible() const { return tray_->IsShown(); }

int64_t DeviceMainDlg::OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) {
  switch (message) {
    case kMessageCommand:
      if (wparam == kCommandTrayExit) Exit();
      break;
    case kMessageTray:
      OnTrayActivated(static_cast<int>(lparam));
      return 0;
    case kMessageExitRequest:
      if (lparam == kExitRequestCode) Exit();
      return 0;
    case kMessageUpdateAvailable:
    case kMessageDownloadProgress:
      // The update dialogs are not part of this window yet; the message is consumed.
      return 1;
    case kMessageProfileChosen:
      if (wparam == 0) {
        session_.Store().SetActiveProfile(static_cast<int>(lparam));
        RefreshProfileButton();
        session_.Worker().Post(5);
      }
      return 1;
    case kMessageRelabel:
      Relabel();
      break;
    default:
      break;
  }
  return DUI::MDialog::OnWindowMessage(message, wparam, lparam);
}

void DeviceMainDlg::OnTrayActivated(int reason) {
  constexpr int kLeftDown = 0x201, kLeftDouble = 0x203;
  if (reason == kLeftDown || reason == kLeftDouble) ShowFromTray();
}

int64_t DeviceMainDlg::OnMessage(int id, int code, int64_t extra, int64_t extra2) {
  if (id == kIdTabStrip) {
    OnTabChange(static_cast<int>(extra));
    return 1;
  }
  if (id == kIdSettingsReturn && code == DUI::kNotifyClick) {
    LeaveSettingsPage();
    return 1;
  }
  if (settings_page_ && settings_page_->Handles(id)) {
    return settings_page_->OnMessage(id, code, extra);
  }
  if (code != DUI::kNotifyClick) return pages_ ? pages_->OnMessage(id, code, extra, extra2) : 0;
  switch (id) {
    case kIdWebsite:
      if (!session_.Catalogue().Software().website.empty()) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(session_.Catalogue().Software().website)));
      }
      return 1;
    case kIdClose: OnCloseButton(); return 1;
    case kIdMinimize: OnMinimize(); return 1;
    case kIdSettings: ShowSettingsPage(); return 1;
    case kIdMaximize: OnMaximize(); return 1;
    case kIdProfile:
      if (!link_) MessageBox(kTextNotice, kTextDeviceNotConnected, 1);
      return 1;
    case kIdDeviceList: OpenDevice(); return 1;
    case kIdListPrev: device_list_->PrevPage(); device_list_->SetSelectIndex(-1); return 1;
    case kIdListNext: device_list_->NextPage(); device_list_->SetSelectIndex(-1); return 1;
    default:
      return pages_ ? pages_->OnMessage(id, code, extra, extra2) : 0;
  }
}

void DeviceMainDlg::Show(int id, bool show) {
  if (DUI::MControl* control = GetControl(id)) control->SetVisible(show);
}

void DeviceMainDlg::OpenDevice() {
  const int type = device_list_->GetSelectDevice();
  DeviceManager& manager = DeviceManager::Instance();
  if (type == 0 || !manager.IsDevicePresent(type)) {
    MessageBox(kTextDeviceNotConnected, kTextNoDeviceNotice, 1);
    return;
  }
  if (type != current_device_) {
    current_device_ = type;
    manager.SelectDeviceType(type);
    session_.Values().WriteDeviceType(type);
    session_.Model().LoadDefinition(type);
  }
  if (manager.ActiveConnectionMode() == kModeReceiver) {
    SetConnectionText(kTextWireless);
    session_.Worker().Post(kTaskReadWirelessDevice);
  } else {
    SetConnectionText(kTextWired);
  }
  Show(kIdTabColumn, true);
  tabs_->SetTabCtrlVisible(true);
  OnTabChange(kTabPositionKeys);
  Show(kIdConnection, true);
  Show(kIdProfile, true);
  RefreshProfileButton();
  if (pages_) pages_->Refresh();
}

void DeviceMainDlg::OnTabChange(int index) {
  const int previous = current_tab_;
  if (tabs_->GetCurSel() != index) tabs_->SetCurSel(index);
  const int tab_id = tabs_->GetItemID(index);
  if (GetControl(kIdPageSettings)->IsVisible()) HideSettingsPage();
  if (previous == kTabHome) Show(kIdSidePicture, true);
  Show(kIdBattery, true);
  if (tab_id == kTabHome) {
    for (int id : {kIdSidePicture, kIdTabColumn, kIdConnection, kIdProfile, kIdRestore, kIdBattery}) {
      Show(id, false);
    }
    tabs_->SetTabCtrlVisible(false);
  }
  current_tab_ = tab_id;
}

void DeviceMainDlg::ShowSettingsPage() {
  Show(kIdTabColumn, false);
  tabs_->SetTabCtrlVisible(false);
  for (int id : {kIdSidePicture, kIdBattery, kIdSettings, kIdMaximize}) Show(id, false);
  // The page covers the device pages; hide the one below so it does not show through.
  for (const TabSpec& tab : kTabs) Show(tab.page, false);
  settings_page_->Refresh();
  Show(kIdPageSettings, true);
}

void DeviceMainDlg::HideSettingsPage() {
  Show(kIdPageSettings, false);
  for (int id : {kIdClose, kIdMinimize, kIdSettings}) Show(id, true);
}

void DeviceMainDlg::LeaveSettingsPage() {
  Show(kIdPageSettings, false);
  Show(kIdSettings, true);
  if (idle_poll_ && current_tab_ != kTabHome) {
    Show(kIdTabColumn, true);
    tabs_->SetTabCtrlVisible(true);
    tabs_->SetCurSel(kTabPositionKeys);
    current_tab_ = tabs_->GetItemID(kTabPositionKeys);
    Show(kTabs[kTabPositionKeys].page, true);
    Show(kIdSidePicture, true);
    Show(kIdBattery, true);
  } else {
    tabs_->SetCurSel(kTabPositionHome);
    current_tab_ = kTabHome;
    Show(kIdPageHome, true);
  }
}

void DeviceMainDlg::OnCloseButton() {
  if (!session_.Values().ReadHideOnClose()) {
    Exit();
    return;
  }
  // Without a tray there is no way back to a hidden window: minimise instead.
  if (TrayVisible()) {
    ShowWindow(DUI::kShowHide);
  } else {
    OnMinimize();
  }
}

void DeviceMainDlg::Exit() {
  tray_->Remove();
  if (exit_) {
    exit_();
  } else {
    QApplication::exit(0);
  }
}

void DeviceMainDlg::ShowFromTray() {
  ShowWindow(DUI::kShowNormal);
  if (QWidget* widget = GetSafeHwnd()) {
    // A window minimised for want of a tray comes back at its normal size.
    if (widget->isMinimized()) widget->showNormal();
    widget->raise();
    widget->activateWindow();
  }
}

bool DeviceMainDlg::ChangeLanguage(int language_id) {
  if (language_id <= 0) return false;
  session_.Texts().SetLanguageId(language_id);
  session_.Values().WriteLcid(language_id);
  DUI::Manager::SetFontName(kFrameFont);
  Relabel();
  return true;
}

void DeviceMainDlg::Relabel() {
  for (const Label& label : labels_) {
    if (auto* font = dynamic_cast<DUI::MControlFont*>(label.control)) {
      font->SetTitle(Text(label.text_id));
      font->SetFontName(kFrameFont);
    }
  }
  for (const Label& tip : tooltips_) tip.control->SetTooltip(Text(tip.text_id));
  for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i) tabs_->SetItemText(i, Text(kTabs[i].text_id));
  version_label_->SetTitle(VersionLine());
  device_list_->SetVersionDesc(Text(kTextDeviceVersion));
  connection_->SetTitle(Text(connection_text_));
  tray_->SetExitText(Text(kTextTrayExit));
  RefreshProfileButton();
  if (pages_) pages_->Relabel();
  if (settings_page_) settings_page_->Relabel();
}

void DeviceMainDlg::RefreshProfileButton() {
  if (profile_button_ == nullptr) return;
  SettingsDatabase& store = session_.Store();
  const std::optional<std::string> name = store.GetProfileName(store.GetActiveProfile());
  profile_button_->SetTitle(name ? DisplayProfileName(*name, Text(kTextProfile)) : Text(kTextProfile));
}

void DeviceMainDlg::SetConnectionText(int text_id) {
  connection_text_ = text_id;
  if (connection_) connection_->SetTitle(Text(text_id));
}

void DeviceMainDlg::ShowDeviceControls(bool show) {
  // Only while a device page is up: the home page keeps its controls hidden.
  if (current_tab_ == kTabHome) return;
  for (int id : {kIdConnection, kIdProfile, kIdBattery}) Show(id, show);
}

void DeviceMainDlg::ShowDeviceList(bool show) { device_list_->SetVisible(show); }

void DeviceMainDlg::SetBatteryInfo(int level, int state) { battery_->SetBatteryInfo(level, state); }

}  // namespace corvane::ui
