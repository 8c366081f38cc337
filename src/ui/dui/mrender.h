// Image helpers for windows: loading the window and tray icon from the skin folder.
#pragma once

#include <QIcon>
#include <string>

namespace corvane::DUI {

class MRender {
 public:
  // Loads an icon file; a relative name is taken from the skin folder. Returns a null
  // icon when the file is missing, unsafe or not an image.
  static QIcon LoadIconFromFile(const std::string& file);
};

}  // namespace corvane::DUI
