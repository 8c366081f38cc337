// Device cards: state bookkeeping, paging, selection and drawing.
#include "ui/dui/cdevice_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kCardMargin = 14;
constexpr int kNameHeight = 30;
constexpr int kInfoHeight = 26;
constexpr int kModeIconGap = 6;
constexpr int kMaxLevel = 100;
constexpr int kFallbackRadius = 10;

}  // namespace

bool CDeviceList::Device::IsPresent() const {
  return std::any_of(modes.begin(), modes.end(), [](const auto& m) { return m.second != 0; });
}

CDeviceList::CDeviceList(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id) {
  setMouseTracking(true);
  SetAlignment(kAlignCenter);
  setFocusPolicy(Qt::StrongFocus);
}

void CDeviceList::AddDevice(const std::string& name, int device_type, const std::string& image) {
  Device device;
  device.name = name;
  device.type = device_type;
  if (!image.empty() && image.front() == '/') {
    device.picture.LoadFile(image, 1);
  } else {
    device.picture.Load(image, 1);
  }
  devices_.push_back(std::move(device));
  update();
}

void CDeviceList::ClearList() {
  devices_.clear();
  selected_type_ = 0;
  hovered_type_ = 0;
  page_ = 0;
  update();
}

void CDeviceList::SetBatteryBkg(const std::string& file) { battery_bkg_.Load(file, 1); }

void CDeviceList::SetBatteryIcon(const std::string& level_icon, const std::string& charge_icon) {
  battery_level_.Load(level_icon, 1);
  battery_charge_.Load(charge_icon, 1);
}

void CDeviceList::SetDevModeImage(const std::string& file) { mode_image_.Load(file, 2); }

void CDeviceList::SetVersionDesc(const std::string& text) {
  version_desc_ = text;
  update();
}

void CDeviceList::SetDeviceState(int device_type, int mode, int state) {
  for (Device& device : devices_) {
    if (device.type == device_type) device.modes[mode] = state;
  }
  update();
}

void CDeviceList::SetAllDeviceState(int state) {
  for (Device& device : devices_) {
    if (state == 0) {
      device.modes.clear();
    } else {
      for (auto& mode : device.modes) mode.second = state;
    }
  }
  update();
}

void CDeviceList::SetDeviceBattery(int device_type, int state, int level) {
  for (Device& device : devices_) {
    if (device.type != device_type) continue;
    device.battery_state = state;
    device.battery_level = std::clamp(level, 0, kMaxLevel);
  }
  update();
}

void CDeviceList::SetDeviceVersion(int device_type, int release) {
  for (Device& device : devices_) {
    if (device.type == device_type) device.release = release;
  }
  update();
}

std::vector<int> CDeviceList::PresentTypes() const {
  std::vector<int> types;
  for (const Device* device : Present()) types.push_back(device->type);
  return types;
}

int CDeviceList::GetDeviceVersion(int device_type) const {
  for (const Device& device : devices_) {
    if (device.type == device_type) return device.release;
  }
  return 0;
}

std::string CDeviceList::DeviceName(int device_type) const {
  for (const Device& device : devices_) {
    if (device.type == device_type) return device.name;
  }
  return {};
}

QRect CDeviceList::DeviceRect(int device_type) const {
  const auto present = Present();
  const int first = ShownPage() * CardsPerPage();
  for (int slot = 0; slot < CardsPerPage() && first + slot < static_cast<int>(present.size());
       ++slot) {
    if (present[first + slot]->type == device_type) return CardRect(slot);
  }
  return {};
}

void CDeviceList::ChooseDevice(int device_type) {
  if (!isEnabled() || device_type == 0) return;
  const std::vector<int> types = PresentTypes();
  if (std::find(types.begin(), types.end(), device_type) == types.end()) return;
  selected_type_ = device_type;
  update();
  Notify(NotifyCode::kClick, device_type);
}

void CDeviceList::keyPressEvent(QKeyEvent* event) {
  const std::vector<int> types = PresentTypes();
  const auto at = std::find(types.begin(), types.end(), selected_type_);
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      if (types.empty()) break;
      int index = at == types.end() ? 0 : static_cast<int>(at - types.begin());
      index += event->key() == Qt::Key_Left ? -1 : 1;
      index = std::clamp(index, 0, static_cast<int>(types.size()) - 1);
      // Turn the pages until the newly selected card is shown.
      const int page = index / CardsPerPage();
      while (ShownPage() < page && NextPage()) {
      }
      while (ShownPage() > page && PrevPage()) {
      }
      selected_type_ = types[index];
      update();
      AccessibleChildrenChanged(this);
      break;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ChooseDevice(selected_type_);
      break;
    default:
      MControlFont::keyPressEvent(event);
      return;
  }
  event->accept();
}

std::vector<const CDeviceList::Device*> CDeviceList::Present() const {
  std::vector<const Device*> present;
  for (const Device& device : devices_) {
    if (device.IsPresent()) present.push_back(&device);
  }
  return present;
}

void CDeviceList::SetSelectDevice(int device_type) {
  const auto present = Present();
  selected_type_ = 0;
  for (const Device* device : present) {
    if (device->type == device_type) selected_type_ = device_type;
  }
  if (selected_type_ == 0 && !present.empty()) selected_type_ = present.front()->type;
  update();
}

void CDeviceList::SetSelectIndex(int index) {
  const auto present = Present();
  selected_type_ = (index >= 0 && index < static_cast<int>(present.size()))
                       ? present[index]->type
                       : 0;
  update();
}

int CDeviceList::ShownPage() const {
  const int pages = std::max(1, (GetOnlineDevCount() + CardsPerPage() - 1) / CardsPerPage());
  return std::min(page_, pages - 1);
}

int CDeviceList::GetOnlineDevCount() const { return static_cast<int>(Present().size()); }

int CDeviceList::CardsPerPage() const {
  return std::max(1, (width() + kCardGap) / (kCardWidth + kCardGap));
}

bool CDeviceList::PrevPage() {
  page_ = ShownPage();
  if (page_ == 0) return false;
  --page_;
  update();
  return true;
}

bool CDeviceList::NextPage() {
  page_ = ShownPage();
  if ((page_ + 1) * CardsPerPage() >= GetOnlineDevCount()) return false;
  ++page_;
  update();
  return true;
}

std::string CDeviceList::FormatRelease(int release) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(release));
  const std::string text = hex;
  const std::string tail = text.size() >= 2 ? text.substr(text.size() - 2) : text;
  return text.substr(0, 1) + "." + tail;
}

QRect CDeviceList::CardRect(int slot) const {
  const int shown = std::min(CardsPerPage(), std::max(1, GetOnlineDevCount() - ShownPage() * CardsPerPage()));
  const int total = shown * kCardWidth + (shown - 1) * kCardGap;
  const int left = (width() - total) / 2 + slot * (kCardWidth + kCardGap);
  return QRect(left, 0, kCardWidth, height());
}

int CDeviceList::DeviceAt(const QPoint& point) const {
  const auto present = Present();
  const int first = ShownPage() * CardsPerPage();
  for (int slot = 0; slot < CardsPerPage() && first + slot < static_cast<int>(present.size());
       ++slot) {
    if (CardRect(slot).contains(point)) return present[first + slot]->type;
  }
  return 0;
}

void CDeviceList::PaintBattery(QPainter& painter, const Device& device, const QPoint& at) {
  if (device.battery_level < 0 || battery_bkg_.IsNull()) return;
  const QRect shell(at, battery_bkg_.FrameSize());
  battery_bkg_.Draw(painter, 0, shell);
  if (!battery_level_.IsNull()) {
    QRect inner(QPoint(0, 0), battery_level_.FrameSize());
    inner.moveCenter(shell.center() - QPoint(1, 0));
    painter.save();
    painter.setClipRect(QRect(inner.left(), inner.top(),
                              inner.width() * device.battery_level / kMaxLevel, inner.height()));
    battery_level_.Draw(painter, 0, inner);
    painter.restore();
  }
  if (device.battery_state == kStateCharging && !battery_charge_.IsNull()) {
    QRect mark(QPoint(0, 0), battery_charge_.FrameSize());
    mark.moveCenter(shell.center());
    battery_charge_.Draw(painter, 0, mark);
  }
}

void CDeviceList::PaintCard(QPainter& painter, const Device& device, const QRect& card) {
  const bool selected = device.type == selected_type_;
  const bool hovered = device.type == hovered_type_;
  if (!image_.IsNull()) {
    image_.Draw(painter, 0, card, QMargins(kCardMargin, kCardMargin, kCardMargin, kCardMargin));
  } else {
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), kFallbackRadius,
                            kFallbackRadius);
  }
  if (selected || hovered) {
    QColor accent = ColorFromArgb(Manager::m_select_color);
    if (!selected) accent.setAlpha(120);
    painter.setPen(QPen(accent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(card).adjusted(1, 1, -1, -1), kFallbackRadius, kFallbackRadius);
  }
  const QRect inside = card.adjusted(kCardMargin, kCardMargin, -kCardMargin, -kCardMargin);
  const QRect picture_area(inside.left(), inside.top(), inside.width(),
                           inside.height() - kNameHeight - 2 * kInfoHeight);
  if (!device.picture.IsNull()) {
    QSize size = device.picture.FrameSize().scaled(picture_area.size(), Qt::KeepAspectRatio);
    if (device.picture.FrameSize().width() <= picture_area.width() &&
        device.picture.FrameSize().height() <= picture_area.height()) {
      size = device.picture.FrameSize();
    }
    QRect target(QPoint(0, 0), size);
    target.moveCenter(picture_area.center());
    device.picture.Draw(painter, 0, target);
  }
  painter.setFont(TitleFont());
  painter.setPen(ColorFromArgb(text_color_));
  const QRect name_area(inside.left(), picture_area.bottom() + 1, inside.width(), kNameHeight);
  painter.drawText(name_area, Qt::AlignCenter, QString::fromStdString(device.name));
  // Connection modes that are present, then the battery, on one centred row.
  const int row_top = name_area.bottom() + 1;
  std::vector<std::pair<int, int>> shown_modes(device.modes.begin(), device.modes.end());
  int row_width = 0;
  for (const auto& mode : shown_modes) {
    if (mode.second != 0) row_width += mode_image_.FrameSize().width() + kModeIconGap;
  }
  if (device.battery_level >= 0) row_width += battery_bkg_.FrameSize().width();
  int x = inside.left() + (inside.width() - row_width) / 2;
  for (const auto& mode : shown_modes) {
    if (mode.second == 0 || mode_image_.IsNull()) continue;
    const QSize size = mode_image_.FrameSize();
    painter.setOpacity(mode.second == 1 ? 1.0 : 0.4);
    mode_image_.Draw(painter, mode.first == kModeWireless ? 1 : 0,
                     QRect(QPoint(x, row_top + (kInfoHeight - size.height()) / 2), size));
    painter.setOpacity(1.0);
    x += size.width() + kModeIconGap;
  }
  PaintBattery(painter, device,
               QPoint(x, row_top + (kInfoHeight - battery_bkg_.FrameSize().height()) / 2));
  if (device.release != 0) {
    QColor dim = ColorFromArgb(text_color_);
    dim.setAlpha(170);
    painter.setPen(dim);
    const std::string version = version_desc_ + (version_desc_.empty() ? "v" : ": v") +
                                FormatRelease(device.release);
    painter.drawText(QRect(inside.left(), row_top + kInfoHeight, inside.width(), kInfoHeight),
                     Qt::AlignCenter, QString::fromStdString(version));
  }
}

void CDeviceList::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const auto present = Present();
  const int first = ShownPage() * CardsPerPage();
  for (int slot = 0; slot < CardsPerPage() && first + slot < static_cast<int>(present.size());
       ++slot) {
    PaintCard(painter, *present[first + slot], CardRect(slot));
  }
}

void CDeviceList::mouseMoveEvent(QMouseEvent* event) {
  const int type = DeviceAt(event->position().toPoint());
  if (type != hovered_type_) {
    hovered_type_ = type;
    setCursor(type != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
  }
  MControlFont::mouseMoveEvent(event);
}

void CDeviceList::leaveEvent(QEvent* event) {
  hovered_type_ = 0;
  MControlFont::leaveEvent(event);
}

void CDeviceList::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  ChooseDevice(DeviceAt(event->position().toPoint()));
}

}  // namespace corvane::DUI
