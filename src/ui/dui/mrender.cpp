// Icon loading.
#include "ui/dui/mrender.h"

#include <QFileInfo>
#include <QIcon>

#include "ui/dui/skin_image.h"

namespace corvane::DUI {

QIcon MRender::LoadIconFromFile(const std::string& file) {
  const std::string path =
      (!file.empty() && file.front() == '/') ? file : SkinImage::ResolvePath(file);
  if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) return QIcon();
  QIcon icon(QString::fromStdString(path));
  return icon.availableSizes().isEmpty() ? QIcon() : icon;
}

}  // namespace corvane::DUI
