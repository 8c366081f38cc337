// Battery gauge drawing and charge animation.
#include "ui/dui/battery_ctrl.h"

#include <QPainter>
#include <algorithm>

#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFallbackWidth = 30;
constexpr int kFallbackHeight = 14;
constexpr int kLowLevel = 20;

}  // namespace

BatteryCtrl::BatteryCtrl(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id) {}

bool BatteryCtrl::SetBatteryIcon(const std::string& level_icon, const std::string& charge_icon) {
  const bool level_ok = level_icon_.Load(level_icon, 1);
  const bool charge_ok = charge_icon_.Load(charge_icon, 1);
  update();
  return level_ok && charge_ok;
}

void BatteryCtrl::SetBatteryInfo(int level, int state) {
  level_ = std::clamp(level, 0, kMaxLevel);
  charging_ = state == kStateCharging;
  sweep_ = 0;
  ticks_ = 0;
  SetTitle(std::to_string(level_) + "%");
  update();
}

int BatteryCtrl::GetShownLevel() const {
  return charging_ ? std::min(kMaxLevel, level_ + sweep_) : level_;
}

void BatteryCtrl::OnMTimer() {
  if (!charging_ || ++ticks_ < kTicksPerStep) return;
  ticks_ = 0;
  sweep_ = level_ + sweep_ >= kMaxLevel ? 0 : sweep_ + kSweepStep;
  update();
}

void BatteryCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int shown = GetShownLevel();
  QRect shell;
  if (!image_.IsNull()) {
    const QSize size = image_.FrameSize();
    shell = QRect(0, (height() - size.height()) / 2, size.width(), size.height());
    image_.Draw(painter, 0, shell);
    if (!level_icon_.IsNull()) {
      // The level image fills the shell's inside; only the charged part is shown.
      const QSize inner = level_icon_.FrameSize();
      const QRect full(shell.left() + (shell.width() - inner.width()) / 2 - 1,
                       shell.top() + (shell.height() - inner.height()) / 2, inner.width(),
                       inner.height());
      painter.save();
      painter.setClipRect(QRect(full.left(), full.top(), full.width() * shown / kMaxLevel,
                                full.height()));
      level_icon_.Draw(painter, 0, full);
      painter.restore();
    }
  } else {
    shell = QRect(0, (height() - kFallbackHeight) / 2, kFallbackWidth, kFallbackHeight);
    painter.setPen(ColorFromArgb(text_color_));
    painter.drawRect(shell.adjusted(0, 0, -1, -1));
    const QColor fill = shown <= kLowLevel ? QColor(Qt::red) : ColorFromArgb(Manager::m_select_color);
    painter.fillRect(QRect(shell.left() + 2, shell.top() + 2,
                           (shell.width() - 4) * shown / kMaxLevel, shell.height() - 4),
                     fill);
  }
  if (charging_ && !charge_icon_.IsNull()) {
    QRect mark(QPoint(0, 0), charge_icon_.FrameSize());
    mark.moveCenter(shell.center());
    charge_icon_.Draw(painter, 0, mark);
  }
  DrawTitle(painter, QRect(shell.right() + 1 + kTextGap, 0, width(), height()));
}

}  // namespace corvane::DUI
