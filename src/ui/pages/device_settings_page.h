// The device settings page: the mouse's and the receiver's firmware versions with the
// firmware check and firmware information buttons, restore defaults and the button
// response time. The buttons 248-250 are acted on by the main window's dispatcher; the
// software version is on the window's bottom bar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/pages/page.h"

namespace corvane::DUI {
class MControl;
class MControlFont;
class NumberEdit;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

inline constexpr int kIdMouseVersion = 246, kIdReceiverVersion = 247, kIdResponseTime = 139;
// What the last firmware check found, beside its button.
inline constexpr int kIdFirmwareCheckResult = 251;

class DeviceSettingsPage : public Page {
 public:
  explicit DeviceSettingsPage(DeviceMainDlg& window);

  void Build(DUI::MControl& container) override;
  void Layout(const PageGeometry& geometry) override;
  bool Handles(int id) const override { return id == kIdResponseTime; }
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) override;
  // Shows the stored response time.
  void Refresh() override;
  bool Shows(DevicePage part) const override {
    return part == DevicePage::kDpi || part == DevicePage::kPerformance;
  }
  // The version texts in the current language.
  void Relabel() override;
  // The worker read the versions again (its formatted line is not needed here).
  void SetVersionLine(const std::string& line);
  // "Mouse firmware: V1.05" from release "105"; the label and a dash while unknown.
  std::string VersionText(int label_id, const std::string& version) const;
  // The mouse line, and the receiver line when a receiver answered, as shown here (the
  // about box shows the same).
  std::vector<std::string> FirmwareLines() const;
  // Shows the firmware check's result (empty: none yet).
  void SetFirmwareCheckLabel(const std::string& text);

  DUI::NumberEdit* ResponseTime() const { return response_; }

 private:
  template <typename T>
  T* Add(int id, int text_id = kNoText, const char* image = nullptr, int frames = 0);

  DeviceMainDlg& window_;
  DUI::MControl* page_ = nullptr;
  DUI::MControlFont* mouse_ = nullptr;
  DUI::MControlFont* receiver_ = nullptr;
  DUI::MControlFont* check_result_ = nullptr;
  DUI::NumberEdit* response_ = nullptr;
};

}  // namespace corvane::ui
