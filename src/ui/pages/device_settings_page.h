// The device settings page: the software version and the mouse's firmware line, the
// firmware check and firmware information buttons, restore defaults and the button
// response time. The buttons 248-250 are acted on by the main window's dispatcher.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::DUI {
class MControl;
class MControlFont;
class NumberEdit;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

inline constexpr int kIdSoftwareLine = 246, kIdFirmwareLine = 247, kIdResponseTime = 139;

class DeviceSettingsPage {
 public:
  explicit DeviceSettingsPage(DeviceMainDlg& window);

  void Build(DUI::MControl* page);
  void Layout(int width, int height, double scale);
  bool Handles(int id) const { return id == kIdResponseTime; }
  int64_t OnMessage(int id, int code, int64_t extra);
  // Shows the stored response time.
  void Refresh();
  // The version texts in the current language.
  void Relabel();
  // The firmware line as the worker formats it (empty: "already up to date" stays).
  void SetVersionLine(const std::string& line);

  DUI::NumberEdit* ResponseTime() const { return response_; }

 private:
  DUI::MControl* Add(const char* class_name, int id, int text_id, const char* image, int frames);

  DeviceMainDlg& window_;
  DUI::MControl* page_ = nullptr;
  DUI::MControlFont* software_ = nullptr;
  DUI::MControlFont* firmware_ = nullptr;
  DUI::NumberEdit* response_ = nullptr;
  std::string version_line_;
};

}  // namespace corvane::ui
