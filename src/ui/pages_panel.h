// The device pages below the tab strip (keys, DPI and performance, macros, lighting,
// device settings). Each has its title; pages with content of their own are built by
// their classes in ui/pages/ and reached through this panel.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/dui/dui_types.h"
#include "worker/device_view.h"

namespace corvane::DUI {
class MControlFont;
}

namespace corvane::ui {

class DeviceMainDlg;
class DeviceSettingsPage;
class DpiPage;
class KeysPage;
class LightingPage;
class MacroPage;
class Page;

class PagesPanel {
 public:
  explicit PagesPanel(DeviceMainDlg& window);
  ~PagesPanel();

  // Creates the page titles and read-outs inside the page containers.
  void Build();
  // Places the page controls for the window's client rectangle and layout scale.
  void Layout(const DUI::Rect& client, double scale);
  // A page control notification. Returns 1 when handled, else 0.
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2);
  // Shows the stored values again (after a device was opened or the worker changed them).
  void Refresh();
  void RefreshPage(DevicePage part);
  // Sets the texts again in the current language.
  void Relabel();
  // The firmware version line of the device settings page.
  void SetVersionLine(const std::string& line);
  KeysPage* Keys() const { return keys_page_.get(); }
  DpiPage* Dpi() const { return dpi_page_.get(); }
  MacroPage* Macros() const { return macro_page_.get(); }
  LightingPage* Lighting() const { return lighting_page_.get(); }
  DeviceSettingsPage* DeviceSettings() const { return device_page_.get(); }

 private:
  DeviceMainDlg& window_;
  std::unique_ptr<KeysPage> keys_page_;
  std::unique_ptr<DpiPage> dpi_page_;
  std::unique_ptr<MacroPage> macro_page_;
  std::unique_ptr<LightingPage> lighting_page_;
  std::unique_ptr<DeviceSettingsPage> device_page_;
  // The same pages in build order, as the panel drives them.
  std::array<Page*, 5> pages_{};
};

}  // namespace corvane::ui
