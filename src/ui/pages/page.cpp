// What every page does to a control it has just made.
#include "ui/pages/page.h"

#include "ui/device_main_dlg.h"

namespace corvane::ui {

void DecorateControl(DeviceMainDlg& window, DUI::MControl& control, int text_id, const char* image,
                     int frames) {
  if (image != nullptr) control.SetImage(image, frames);
  if (text_id != kNoText) window.Labelled(&control, text_id);
}

}  // namespace corvane::ui
