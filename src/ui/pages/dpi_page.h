// The DPI and performance page: the stage list with its count, slider, apply and reset,
// the report rate, lift-off, sensor switches, power options and the button that opens
// the desktop's own mouse settings. The widgets only show and forward; DpiStages and
// PerformanceOptions (settings/) write the store and post the jobs.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/dui/dui_types.h"
#include "ui/pages/page.h"

namespace corvane {
struct DpiActionResult;
struct OptionResult;
}  // namespace corvane

namespace corvane::DUI {
class CCheckButton;
class CRadioButton;
class DPIControl;
class DPISlider;
class MComboBox;
class MControl;
class ReporteCtrl;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

inline constexpr int kIdDpiReset = 115, kIdDpiList = 116, kIdDpiSlider = 117, kIdDpiApply = 118;
inline constexpr int kIdDpiCount = 120, kIdRateReset = 124, kIdRateList = 125;
inline constexpr int kIdLiftoff1 = 129, kIdLiftoff2 = 130, kIdSensorBox = 134;
inline constexpr int kIdMoveWakeup = 143, kIdMoveCloseLight = 144, kIdSleepTime = 145;
inline constexpr int kIdMouseSettings = 149;

class DpiPage : public Page {
 public:
  explicit DpiPage(DeviceMainDlg& window);

  // Creates the controls inside `container`, showing the placeholder stages and rates.
  void Build(DUI::MControl& container) override;
  // Places them for a page of the geometry's width and height at its layout scale.
  void Layout(const PageGeometry& geometry) override;
  bool Handles(int id) const override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) override;
  // Shows the stored values of the active profile (from now on, also on Relabel).
  void Refresh() override;
  bool Shows(DevicePage part) const override {
    return part == DevicePage::kDpi || part == DevicePage::kPerformance;
  }
  // Sets the texts built from language texts again.
  void Relabel() override;

  DUI::DPIControl* Stages() const { return stages_; }
  DUI::DPISlider* Slider() const { return slider_; }
  DUI::ReporteCtrl* Rates() const { return rates_; }

 private:
  template <typename T>
  T* Add(int id, int text_id = kNoText, const char* image = nullptr, int frames = 0);
  void ShowPlaceholders();
  void ShowStages();
  void ShowOptions();
  void FillSleepItems();
  void After(const DpiActionResult& result);
  void After(const OptionResult& result);
  int64_t OnStageMessage(int id, DUI::NotifyCode code, int64_t extra);
  int64_t OnOptionMessage(int id, DUI::NotifyCode code, int64_t extra);
  void ChooseColour(int index);
  void SetSliderFromStage(int index);

  DeviceMainDlg& window_;
  DUI::MControl* page_ = nullptr;
  DUI::DPIControl* stages_ = nullptr;
  DUI::DPISlider* slider_ = nullptr;
  DUI::MComboBox* count_ = nullptr;
  DUI::ReporteCtrl* rates_ = nullptr;
  DUI::CRadioButton* liftoff_[2] = {nullptr, nullptr};
  DUI::CCheckButton* sensor_[3] = {nullptr, nullptr, nullptr};
  DUI::MComboBox* sleep_ = nullptr;
  DUI::CCheckButton* wakeup_ = nullptr;
  DUI::CCheckButton* closelight_ = nullptr;
  bool loaded_ = false;
};

}  // namespace corvane::ui
