// Builds a small frame from the control layer and saves a picture of it, for looking at
// the skin by eye: dui_demo OUT.png [program folder]. Not a test.
#include <QApplication>
#include <QPixmap>

#include "ui/dui/battery_ctrl.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/light_slider.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mprogress.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/mtext.h"

namespace corvane::DUI {
namespace {

class DemoDialog : public MDialog {
 public:
  void InitUI(const Rect& r) override {
    Picture("main_bkg.png", 30, r, 10);
    Picture("img_area_caption.png", 32, Rect{1, 1, r.right - 1, 50}, 10);
    Picture("img_area_caption.png", 33, Rect{1, r.bottom - 50, r.right - 1, r.bottom - 1}, 10);
    Picture("img_tab_bkg.png", 47, Rect{1, 50, 201, r.bottom - 50}, 12);
    auto* logo = static_cast<MPicture*>(CreateArea("MPicture", 34, Rect{10, 62, 150, 98}, ""));
    logo->SetImage("logo.png", 1);
    auto* caption = static_cast<MText*>(
        CreateArea("MText", 35, Rect{(r.right - 260) / 2, 10, (r.right + 260) / 2, 40}, "Corvane"));
    caption->SetFont("", 18, kFontBold);
    caption->SetAlignment(kAlignCenter);
    auto* version = static_cast<MText*>(CreateArea(
        "MText", 36, Rect{25, r.bottom - 38, 225, r.bottom - 12}, "Version: v1.0.3"));
    version->SetTextColor(0xFF8A929C);
    const char* sys[] = {"sysbtn_setting.png", "sysbtn_min.png", "sysbtn_close.png"};
    for (int i = 0; i < 3; ++i) {
      CreateControl("CImageButton", 40 - i, Rect{r.right - 114 + 32 * i, 10, r.right - 84 + 32 * i, 40}, "")
          ->SetImage(sys[i], 4);
    }
    auto* state = CreateArea("CDeviceState", 44, Rect{25, 11, 125, 38}, "Wired");
    state->SetImage("img_area.png", 4);
    auto* battery = static_cast<BatteryCtrl*>(
        CreateArea("BatteryCtrl", 43, Rect{r.right - 130, 58, r.right - 35, 84}, ""));
    battery->SetImage("icon\\icon_battery_bkg.png", 1);
    battery->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
    battery->SetBatteryInfo(70, 1);
    auto* profile = static_cast<CIconButton*>(CreateControl(
        "CIconButton", 45, Rect{r.right - 170, r.bottom - 40, r.right - 20, r.bottom - 10}, "Profile 1"));
    profile->SetImage("img_button.png", 4);
    profile->SetIcon("icon\\icon_arrow_up.png");
    auto* tabs = static_cast<MTabCtrl*>(CreateControl("MTabCtrl", 48, Rect{1, 120, 191, 480}, ""));
    tabs->SetImage("img_tabitem_bkg.png", 4);
    tabs->SetItemWidth(190, 190, 1);
    tabs->SetItemHeight(60, 60, 1);
    const char* names[] = {"Home", "Buttons", "DPI", "Macros", "Lighting", "Settings"};
    const char* icons[] = {"home", "key", "dpi", "macro", "light", "set"};
    for (int i = 0; i < 6; ++i) {
      tabs->InsertItem(i + 1, names[i], std::string("icon\\tab_") + icons[i] + ".png");
    }
    tabs->SetCurSel(2);
    BuildPage(r);
  }

  void BuildPage(const Rect& r) {
    auto* area = static_cast<MPicture*>(
        CreateArea("MPicture", 62, Rect{220, 100, r.right - 20, r.bottom - 60}, ""));
    area->SetImage("img_area_bkg.png", 1);
    area->SetShowMode(MPicture::kShowSliced, 10);
    auto* list = static_cast<CDeviceList*>(
        CreateControl("CDeviceList", 57, Rect{240, 110, r.right - 40, 380}, ""));
    list->SetImage("area_device.png", 1);
    list->SetBatteryBkg("icon\\icon_battery_bkg.png");
    list->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
    list->SetDevModeImage("device_mode.png");
    list->SetVersionDesc("Firmware");
    list->AddDevice("Model W", 101, "device/device_default.png");
    list->AddDevice("Model D", 102, "device/device_default.png");
    list->SetDeviceState(101, 0, 1);
    list->SetDeviceState(102, 0, 1);
    list->SetDeviceState(102, 1, 1);
    list->SetDeviceBattery(102, 0, 60);
    list->SetDeviceVersion(101, 0x123);
    list->SetSelectDevice(102);
    const int y = 400;
    auto* combo = static_cast<MComboBox*>(CreateControl("MComboBox", 120, Rect{240, y, 360, y + 28}, ""));
    combo->SetImage("img_combobox.png", 4);
    for (int i = 1; i <= 6; ++i) combo->AddString(std::to_string(i), i);
    combo->SelectData(6);
    auto* check = CreateControl("CCheckButton", 134, Rect{380, y, 540, y + 24}, "Angle snapping");
    check->SetImage("btn_checkbox.png", 8);
    static_cast<CCheckButton*>(check)->SetCheck(true);
    CreateControl("CCheckButton", 134, Rect{380, y + 30, 540, y + 54}, "Ripple control")
        ->SetImage("btn_checkbox.png", 8);
    auto* radio = static_cast<CRadioButton*>(
        CreateControl("CRadioButton", 129, Rect{560, y, 660, y + 24}, "1.0mm"));
    radio->SetImage("btn_radiobox.png", 8);
    radio->SetCheck(true);
    CreateControl("CRadioButton", 130, Rect{560, y + 30, 660, y + 54}, "2.0mm")
        ->SetImage("btn_radiobox.png", 8);
    auto* edit = static_cast<MEdit*>(CreateControl("MEdit", 184, Rect{680, y, 760, y + 28}, "10"));
    edit->SetImage("img_edit.png", 4);
    edit->SetAlignment(kAlignCenter);
    auto* slider = static_cast<LightSlider*>(
        CreateControl("LightSlider", 204, Rect{240, y + 60, 520, y + 84}, ""));
    slider->SetImage("img_slider_bar.png", 1);
    slider->SetPos(60);
    auto* progress = static_cast<MProgress*>(
        CreateControl("MProgress", 33, Rect{540, y + 66, 760, y + 76}, ""));
    progress->SetProgress(45);
    CreateControl("MButton", 118, Rect{780, y, 900, y + 30}, "Apply")->SetImage("img_button.png", 4);
    CreateControl("MButton", 46, Rect{780, y + 40, 900, y + 70}, "No skin");
  }

 private:
  void Picture(const char* file, int id, const Rect& rect, int margin) {
    auto* picture = static_cast<MPicture*>(CreateArea("MPicture", id, rect, ""));
    picture->SetImage(file, 1);
    picture->SetShowMode(MPicture::kShowSliced, margin);
  }
};

}  // namespace
}  // namespace corvane::DUI

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  corvane::DUI::Manager::SetProgramDir(argc > 2 ? argv[2] : CORVANE_DATA_DIR);
  corvane::DUI::DemoDialog dialog;
  dialog.Create(nullptr, "Demo", corvane::DUI::kStylePopup, 0, corvane::DUI::Rect{0, 0, 940, 560});
  dialog.ShowWindow(corvane::DUI::kShowShow);
  QApplication::processEvents();
  return dialog.GetSafeHwnd()->grab().save(argv[1]) ? 0 : 1;
}
