// Drop-down lists.
#include "ui/dui/mcombo_box.h"

#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

// The pop-up list. A plain menu takes Home and End only when it scrolls, so in a short list
// they did nothing and Enter then chose the item already shown.
class ListMenu : public QMenu {
 public:
  using QMenu::QMenu;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QList<QAction*> items = actions();
    if (!items.isEmpty() && (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
      setActiveAction(event->key() == Qt::Key_Home ? items.front() : items.back());
      return;
    }
    QMenu::keyPressEvent(event);
  }
};

}  // namespace

MComboBox::MComboBox(QWidget* parent, MDialog* owner, int id) : MControlFont(parent, owner, id) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

int MComboBox::AddString(const std::string& text, int64_t data) {
  items_.push_back(Item{text, data});
  update();
  return GetCount() - 1;
}

void MComboBox::ResetContent() {
  items_.clear();
  current_ = -1;
  update();
}

bool MComboBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) return false;
  current_ = index;
  update();
  AccessibleNameChanged(this);
  return true;
}

int64_t MComboBox::GetItemData(int index) const {
  if (index < 0 || index >= GetCount()) return -1;
  return items_[index].data;
}

std::string MComboBox::GetItemText(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  return items_[index].text;
}

bool MComboBox::SelectData(int64_t data) {
  for (int i = 0; i < GetCount(); ++i) {
    if (items_[i].data == data) return SetCurSel(i);
  }
  return false;
}

void MComboBox::SetCheck(bool checked) {
  markable_ = true;
  checked_ = checked;
  update();
}

void MComboBox::ChooseItem(int index) {
  if (index < 0 || index >= GetCount()) return;
  // A function list's choice is an assignment even when it repeats the one shown (a macro
  // edited since goes to the mouse again); a plain list only reports changes.
  if (index == current_ && !markable_) return;
  SetCurSel(index);
  Notify(NotifyCode::kValueChanged, index);
}

void MComboBox::OnClicked() {
  if (items_.empty()) return;
  ListMenu menu(this);
  menu.setWindowTitle("ComboWnd");
  menu.setMinimumWidth(width());
  for (int i = 0; i < GetCount(); ++i) {
    QAction* action = menu.addAction(QString::fromStdString(items_[i].text));
    action->setData(i);
    action->setCheckable(true);
    action->setChecked(i == current_);
  }
  // The list opens on the current item, so the arrow keys start from it.
  if (current_ >= 0 && current_ < static_cast<int>(menu.actions().size())) {
    QAction* current = menu.actions().at(current_);
    QTimer::singleShot(0, &menu, [&menu, current] { menu.setActiveAction(current); });
  }
  QAction* chosen = menu.exec(mapToGlobal(QPoint(0, height())));
  if (chosen != nullptr) ChooseItem(chosen->data().toInt());
}

void MComboBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString text = QString::fromStdString(GetItemText(current_));
  // The mark is the accent-coloured text; the pressed frame would hide it, so the frame
  // follows hover and enabled state only.
  ControlState frame_state = State();
  frame_state.checked = false;
  if (image_.IsNull()) {
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.rect = rect();
    option.currentText = text;
    if (State().hovered) option.state |= QStyle::State_MouseOver;
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
    return;
  }
  image_.Draw(painter, SkinImage::FrameForState(image_.Frames(), frame_state), rect());
  painter.setRenderHint(QPainter::Antialiasing);
  QColor color = checked_ ? ColorFromArgb(Manager::m_select_color) : ColorFromArgb(text_color_);
  if (!isEnabled()) color.setAlpha(110);
  painter.setFont(TitleFont());
  painter.setPen(color);
  const QRect text_area = rect().adjusted(kTextPadding, 0, -kArrowWidth, 0);
  // One line: the list below shows the choices whole.
  const TextFit fit = FitText(text, TitleFont(), text_area.size(), false);
  painter.setFont(fit.font);
  painter.drawText(text_area, TitleFlags() & ~Qt::TextWordWrap, fit.shown);
  RecordTitleLayout(fit, text, text_area);
  // The arrow: a small downward triangle centred in the right-hand strip.
  const QPointF centre(width() - kArrowWidth / 2.0, height() / 2.0);
  QPainterPath arrow;
  arrow.moveTo(centre + QPointF(-4, -2));
  arrow.lineTo(centre + QPointF(4, -2));
  arrow.lineTo(centre + QPointF(0, 3));
  arrow.closeSubpath();
  painter.fillPath(arrow, color);
}

}  // namespace corvane::DUI
