// Skin image strips: loading with a confined path, frame choice and nine-slice drawing.
#include "ui/dui/skin_image.h"

#include <QPainter>
#include <algorithm>

#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFramesOfFourStrip = 4;
constexpr int kFrameNormal = 0;
constexpr int kFrameHover = 1;
constexpr int kFramePressed = 2;
constexpr int kFrameDisabled = 3;

bool IsValidFrameCount(int frames) {
  return frames == 1 || frames == 2 || frames == 4 || frames == 8;
}

}  // namespace

std::string SkinImage::ResolvePath(const std::string& file) {
  std::string relative = file;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  if (relative.empty() || relative.front() == '/') return {};
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    if (relative.compare(start, end - start, "..") == 0 && end - start == 2) return {};
    start = end + 1;
  }
  return Manager::GetSkinFolder() + relative;
}

bool SkinImage::Load(const std::string& file, int frames) {
  const std::string path = ResolvePath(file);
  if (path.empty()) {
    Clear();
    file_ = file;
    return false;
  }
  const bool loaded = LoadFile(path, frames);
  file_ = file;
  return loaded;
}

bool SkinImage::LoadFile(const std::string& path, int frames) {
  Clear();
  file_ = path;
  frames_ = IsValidFrameCount(frames) ? frames : 1;
  QPixmap loaded;
  if (!loaded.load(QString::fromStdString(path))) return false;
  if (loaded.width() < frames_) return false;
  pixmap_ = loaded;
  return true;
}

void SkinImage::Clear() {
  pixmap_ = QPixmap();
  frames_ = 1;
  file_.clear();
}

QSize SkinImage::FrameSize() const {
  if (IsNull()) return QSize();
  return QSize(pixmap_.width() / frames_, pixmap_.height());
}

QPixmap SkinImage::Frame(int index) const {
  if (IsNull()) return QPixmap();
  const int frame = std::clamp(index, 0, frames_ - 1);
  const QSize size = FrameSize();
  return pixmap_.copy(frame * size.width(), 0, size.width(), size.height());
}

void SkinImage::Draw(QPainter& painter, int index, const QRect& target,
                     const QMargins& slice) const {
  if (IsNull() || target.isEmpty()) return;
  const QSize size = FrameSize();
  const QRect source(std::clamp(index, 0, frames_ - 1) * size.width(), 0, size.width(),
                     size.height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (slice.isNull()) {
    painter.drawPixmap(target, pixmap_, source);
    return;
  }
  // Nine pieces: the corners keep their size, edges stretch one way, the middle both.
  const int sl = std::min(slice.left(), size.width() / 2);
  const int sr = std::min(slice.right(), size.width() - sl);
  const int st = std::min(slice.top(), size.height() / 2);
  const int sb = std::min(slice.bottom(), size.height() - st);
  const int tl = std::min(sl, target.width() / 2);
  const int tr = std::min(sr, target.width() - tl);
  const int tt = std::min(st, target.height() / 2);
  const int tb = std::min(sb, target.height() - tt);
  const int sx[4] = {source.left(), source.left() + sl, source.left() + size.width() - sr,
                     source.left() + size.width()};
  const int sy[4] = {0, st, size.height() - sb, size.height()};
  const int tx[4] = {target.left(), target.left() + tl, target.left() + target.width() - tr,
                     target.left() + target.width()};
  const int ty[4] = {target.top(), target.top() + tt, target.top() + target.height() - tb,
                     target.top() + target.height()};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QRect from(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
      const QRect to(tx[col], ty[row], tx[col + 1] - tx[col], ty[row + 1] - ty[row]);
      if (!from.isEmpty() && !to.isEmpty()) painter.drawPixmap(to, pixmap_, from);
    }
  }
}

int SkinImage::FrameForState(int frames, const ControlState& state) {
  if (frames == 2) return (state.hovered || state.pressed || state.checked) ? 1 : 0;
  if (frames != kFramesOfFourStrip && frames != 2 * kFramesOfFourStrip) return 0;
  int frame = kFrameNormal;
  if (!state.enabled) {
    frame = kFrameDisabled;
  } else if (state.pressed) {
    frame = kFramePressed;
  } else if (state.hovered) {
    frame = kFrameHover;
  } else if (state.checked && frames == kFramesOfFourStrip) {
    frame = kFramePressed;
  }
  if (frames == 2 * kFramesOfFourStrip && state.checked) frame += kFramesOfFourStrip;
  return frame;
}

}  // namespace corvane::DUI
