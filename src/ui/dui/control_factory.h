// Creates controls by class name, as dialogs and containers ask for them
// ("MButton", "CDeviceList", ...), and applies the common creation arguments.
#pragma once

#include <string>

#include "ui/dui/dui_types.h"

class QWidget;

namespace corvane::DUI {

class MControl;
class MDialog;

class ControlFactory {
 public:
  // A new control of `class_name` on `parent`, notifying `owner`; null for an unknown name.
  static MControl* Create(const std::string& class_name, QWidget* parent, MDialog* owner, int id);
  // Create, then place it at `rect`, give it `text` as title (controls with a title) and
  // apply the visible and enabled flags (non-zero = yes). Null for an unknown name.
  static MControl* Build(const std::string& class_name, QWidget* parent, MDialog* owner, int id,
                         const Rect& rect, const std::string& text, int visible, int enabled);
};

}  // namespace corvane::DUI
