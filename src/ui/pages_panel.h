// The device pages below the tab strip (keys, DPI and performance, macros, lighting,
// device settings). Each has its title; the DPI and performance page shows the stored
// stages and report rate. Full page content is built on top of these shells.
#pragma once

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
class LightingPage;

class PagesPanel {
 public:
  explicit PagesPanel(DeviceMainDlg& window);
  ~PagesPanel();

  // Creates the page titles and read-outs inside the page containers.
  void Build();
  // Places the page controls for the window's client rectangle and layout scale.
  void Layout(const DUI::Rect& client, double scale);
  // A page control notification. Returns 1 when handled, else 0.
  int64_t OnMessage(int id, int code, int64_t extra, int64_t extra2);
  // Shows the stored values again (after a device was opened or the worker changed them).
  void Refresh();
  void RefreshPage(DevicePage page);
  // Sets the texts again in the current language.
  void Relabel();
  // The DPI and performance read-out as shown (for tests and people).
  std::string DpiSummary() const;

 private:
  std::string BuildDpiSummary() const;

  DeviceMainDlg& window_;
  DUI::MControlFont* dpi_summary_ = nullptr;
  std::unique_ptr<LightingPage> lighting_;
};

}  // namespace corvane::ui
