// The contract every device page keeps with the pages panel: it builds its controls in
// its container, lays them out, sets its texts in the current language, shows the stored
// values again and acts on its controls' notifications. Widgets only: what a control does
// to the store and the mouse lives in settings/.
#pragma once

#include <cstdint>

#include "ui/dui/dui_types.h"
#include "ui/dui/mcontrol.h"
#include "worker/device_view.h"

namespace corvane::ui {

class DeviceMainDlg;

// Where the pages are laid out: the window's client rectangle, the width and height the
// pages share, and the layout scale.
struct PageGeometry {
  DUI::Rect client;
  int width = 0;
  int height = 0;
  double scale = 1.0;
};

// The text id of a control without a label.
inline constexpr int kNoText = 0;

class Page {
 public:
  virtual ~Page() = default;

  // Creates the page's controls inside `container`, the page's tab container.
  virtual void Build(DUI::MControl& container) = 0;
  // Places them for `geometry`.
  virtual void Layout(const PageGeometry& geometry) = 0;
  // True for the ids of the controls this page acts on.
  virtual bool Handles(int id) const = 0;
  // A notification of one of them. Returns 1 when handled, else 0.
  virtual int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) = 0;
  // Shows the stored values again (a device was opened, the worker changed them).
  virtual void Refresh() = 0;
  // True when the worker's "refresh `part`" concerns this page.
  virtual bool Shows(DevicePage part) const = 0;
  // Sets the texts again in the current language.
  virtual void Relabel() = 0;
};

// Gives a new control its skin image (none for a null `image`) and, for a text id other
// than kNoText, its label in the current language, which the window keeps up to date.
void DecorateControl(DeviceMainDlg& window, DUI::MControl& control, int text_id, const char* image,
                     int frames);

// A new control of type T inside `parent`, decorated as DecorateControl says.
template <typename T>
T* AddControl(DeviceMainDlg& window, DUI::MControl& parent, int id, int text_id = kNoText,
              const char* image = nullptr, int frames = 0) {
  T* control = parent.Create<T>(id);
  DecorateControl(window, *control, text_id, image, frames);
  return control;
}

}  // namespace corvane::ui
