// Accessible interfaces of controls and windows, and the factory that hands them out.
#include "ui/dui/accessible_control.h"

#include <QAccessible>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include "ui/dui/accessibility.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/colour_names.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/light_slider.h"
#include "ui/dui/macro_list.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpalette.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mprogress.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/mtab_layout.h"
#include "ui/dui/window_widget.h"

namespace corvane::DUI {
namespace {

struct KindAndRole {
  AccessibleKind kind;
  QAccessible::Role role;
};

KindAndRole Classify(MControl* control) {
  using K = AccessibleKind;
  // A swatch is marked like a radio button of its group.
  if (dynamic_cast<CColorButton*>(control)) return {K::kRadio, QAccessible::RadioButton};
  if (dynamic_cast<CRadioButton*>(control)) return {K::kRadio, QAccessible::RadioButton};
  if (dynamic_cast<CCheckButton*>(control)) return {K::kCheckBox, QAccessible::CheckBox};
  if (auto* button = dynamic_cast<MButton*>(control)) {
    return button->IsToggle() ? KindAndRole{K::kToggle, QAccessible::Button}
                              : KindAndRole{K::kButton, QAccessible::Button};
  }
  if (dynamic_cast<MComboBox*>(control)) return {K::kComboBox, QAccessible::ComboBox};
  if (dynamic_cast<MEdit*>(control)) return {K::kEdit, QAccessible::EditableText};
  if (dynamic_cast<MProgress*>(control) || dynamic_cast<BatteryCtrl*>(control)) {
    return {K::kProgress, QAccessible::ProgressBar};
  }
  if (dynamic_cast<LightSlider*>(control)) return {K::kSlider, QAccessible::Slider};
  // Its value is the chosen colour; setting one chooses it.
  if (dynamic_cast<MPalette*>(control)) return {K::kSlider, QAccessible::Slider};
  if (dynamic_cast<MTabCtrl*>(control)) return {K::kList, QAccessible::PageTabList};
  if (ItemsFor(control) != nullptr) return {K::kList, QAccessible::List};
  if (dynamic_cast<MTabLayout*>(control)) return {K::kPane, QAccessible::Pane};
  if (dynamic_cast<MPicture*>(control)) return {K::kPicture, QAccessible::Graphic};
  if (dynamic_cast<CArea*>(control)) {
    return !ControlsOf<MControl>(control).empty() ? KindAndRole{K::kPane, QAccessible::Grouping}
                                                  : KindAndRole{K::kPicture, QAccessible::Graphic};
  }
  if (dynamic_cast<MControlFont*>(control)) return {K::kText, QAccessible::StaticText};
  return {K::kPane, QAccessible::Pane};
}

// A page container is named after the tab that shows it, else after its first text.
QString PageName(MTabLayout* page) {
  if (QWidget* window = page->window()) {
    for (MTabCtrl* tabs : ControlsOf<MTabCtrl>(window)) {
      const std::string title = tabs->GetPageTitle(page);
      if (!title.empty()) return QString::fromStdString(title);
    }
  }
  for (MControlFont* text : ControlsOf<MControlFont>(page)) {
    if (!text->GetTitle().empty()) return QString::fromStdString(text->GetTitle()).simplified();
  }
  return {};
}

QString ColorName(uint32_t colorref) {
  return ColorFromColorRef(colorref).name(QColor::HexRgb).toUpper();
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
  // Widgets with a class of their own (QLineEdit, QMenu...) keep Qt's interfaces.
  if (!object->isWidgetType() || object->metaObject() != &QWidget::staticMetaObject) {
    return nullptr;
  }
  return new ControlAccessible(static_cast<QWidget*>(object));
}

void Emit(QObject* control, QAccessible::Event type) {
  if (!QAccessible::isActive() || control == nullptr) return;
  QAccessibleEvent event(control, type);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void AccessibleNameChanged(QObject* control) { Emit(control, QAccessible::NameChanged); }

void AccessibleValueChanged(QObject* control, int value) {
  if (!QAccessible::isActive() || control == nullptr) return;
  QAccessibleValueChangeEvent event(control, value);
  QAccessible::updateAccessibility(&event);
}

void AccessibleCheckedChanged(QObject* control) {
  if (!QAccessible::isActive() || control == nullptr) return;
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(control, changed);
  QAccessible::updateAccessibility(&event);
}

void AccessibleChildrenChanged(QObject* control) {
  Emit(control, QAccessible::NameChanged);
  Emit(control, QAccessible::SelectionWithin);
}

void RunLater(QWidget* control, std::function<void()> action) {
  QPointer<QWidget> guard(control);
  QTimer::singleShot(0, control, [guard, action = std::move(action)] {
    if (guard != nullptr) action();
  });
}

ControlAccessible::ControlAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

ControlAccessible::~ControlAccessible() {
  for (QAccessible::Id id : item_ids_) QAccessible::deleteAccessibleInterface(id);
}

MControl* ControlAccessible::Control() const { return dynamic_cast<MControl*>(widget()); }

bool ControlAccessible::Resolve() const {
  if (resolved_) return true;
  if (auto* window = dynamic_cast<WindowWidget*>(widget())) {
    kind_ = AccessibleKind::kPane;
    role_ = window->parentWidget() != nullptr ? QAccessible::Dialog : QAccessible::Window;
    resolved_ = true;
    return true;
  }
  MControl* control = Control();
  if (control == nullptr) return false;
  const KindAndRole classified = Classify(control);
  kind_ = classified.kind;
  role_ = classified.role;
  items_ = ItemsFor(control);
  resolved_ = true;
  return true;
}

ItemSource* ControlAccessible::Items() const { return Resolve() ? items_.get() : nullptr; }

int ControlAccessible::ItemCount() const {
  ItemSource* items = Items();
  return items != nullptr ? items->Count() : 0;
}

QAccessible::Role ControlAccessible::role() const {
  return Resolve() ? role_ : QAccessibleWidget::role();
}

QAccessibleInterface* ControlAccessible::FieldInterface() const {
  auto* field = widget()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  return field != nullptr ? QAccessible::queryAccessibleInterface(field) : nullptr;
}

QString ControlAccessible::Name() const {
  MControl* control = Control();
  if (control == nullptr) return QAccessibleWidget::text(QAccessible::Name);
  if (!control->accessibleName().isEmpty()) return control->accessibleName();
  QString shown;
  if (kind_ == AccessibleKind::kEdit) {
    // A field's text is its value; its name is what describes it.
    if (auto* field = control->findChild<QLineEdit*>()) shown = field->placeholderText();
  } else if (auto* combo = dynamic_cast<MComboBox*>(control)) {
    shown = QString::fromStdString(combo->GetItemText(combo->GetCurSel()));
  } else if (auto* battery = dynamic_cast<BatteryCtrl*>(control)) {
    shown = QString("%1%").arg(battery->GetLevel());
  } else if (auto* font = dynamic_cast<MControlFont*>(control)) {
    shown = QString::fromStdString(font->GetTitle()).simplified();
  }
  if (shown.isEmpty()) shown = control->toolTip();
  if (!shown.isEmpty()) return shown;
  // A swatch is called by its colour's word; its code is the description.
  if (auto* swatch = dynamic_cast<CColorButton*>(control)) {
    return QString::fromStdString(ColourNameFor(swatch->GetColor()));
  }
  if (auto* page = dynamic_cast<MTabLayout*>(control)) return PageName(page);
  if (dynamic_cast<CArea*>(control) != nullptr) {
    // A plain area is a backdrop: a reader has nothing to say about "#121418". A group of
    // controls is named after its first words.
    for (MControlFont* text : ControlsOf<MControlFont>(control)) {
      if (!text->GetTitle().empty()) return QString::fromStdString(text->GetTitle()).simplified();
    }
    return {};
  }
  // A picture without words is decoration: it has no name and is hidden (see state()).
  if (kind_ == AccessibleKind::kPicture) return {};
  if (!control->GetImage().IsNull()) {
    return QFileInfo(QString::fromStdString(control->GetImage().File()).replace('\\', '/'))
        .completeBaseName();
  }
  return {};
}

QString ControlAccessible::text(QAccessible::Text t) const {
  if (!Resolve()) return QAccessibleWidget::text(t);
  if (role_ == QAccessible::Window || role_ == QAccessible::Dialog) {
    return QAccessibleWidget::text(t);
  }
  MControl* control = Control();
  switch (t) {
    case QAccessible::Name:
      return Name();
    case QAccessible::Description:
      if (!control->accessibleDescription().isEmpty()) return control->accessibleDescription();
      if (auto* swatch = dynamic_cast<CColorButton*>(control); swatch && control->toolTip().isEmpty()) {
        return QString::fromStdString(ColourCode(swatch->GetColor()));
      }
      {
        // The whole of a cut title in the tooltip is the name already.
        auto* font = dynamic_cast<MControlFont*>(control);
        const QString tip = font != nullptr ? font->OwnToolTip() : control->toolTip();
        return tip != Name() ? tip : QString();
      }
    case QAccessible::Value:
      if (kind_ == AccessibleKind::kEdit) {
        if (auto* field = control->findChild<QLineEdit*>()) return field->text();
      }
      if (auto* palette = dynamic_cast<MPalette*>(control)) {
        return ColorName(palette->GetSelectColor());
      }
      if (auto* combo = dynamic_cast<MComboBox*>(control)) {
        return QString::fromStdString(combo->GetItemText(combo->GetCurSel()));
      }
      if (auto* slider = dynamic_cast<LightSlider*>(control)) {
        return slider->ShownText(slider->GetPos());
      }
      if (kind_ == AccessibleKind::kProgress || kind_ == AccessibleKind::kSlider) {
        return currentValue().toString();
      }
      if (auto* combo = dynamic_cast<MComboBox*>(control)) {
        return QString::fromStdString(combo->GetItemText(combo->GetCurSel()));
      }
      return {};
    default:
      return QAccessibleWidget::text(t);
  }
}

QAccessible::State ControlAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  if (!Resolve()) return state;
  MControl* control = Control();
  if (control == nullptr) return state;
  // A control without an area is not on screen, whatever its visibility flag says.
  if (control->rect().isEmpty()) state.invisible = true;
  switch (kind_) {
    case AccessibleKind::kToggle:
    case AccessibleKind::kCheckBox:
    case AccessibleKind::kRadio:
      state.checkable = true;
      state.checked = static_cast<MButton*>(control)->GetCheck();
      break;
    case AccessibleKind::kEdit:
      if (auto* field = control->findChild<QLineEdit*>()) {
        state.editable = !field->isReadOnly();
        state.readOnly = field->isReadOnly();
        state.focusable = true;
        state.focused = field->hasFocus();
      }
      break;
    case AccessibleKind::kComboBox:
      state.hasPopup = true;
      break;
    case AccessibleKind::kPicture:
      state.readOnly = true;
      // Backgrounds, bars and the logo say nothing a screen reader should read out.
      state.invisible = state.invisible || Name().isEmpty();
      break;
    case AccessibleKind::kText:
    case AccessibleKind::kProgress:
      state.readOnly = true;
      break;
    default:
      break;
  }
  return state;
}

void* ControlAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (Resolve()) {
    if (type == QAccessible::ValueInterface &&
        (kind_ == AccessibleKind::kProgress || kind_ == AccessibleKind::kSlider)) {
      return static_cast<QAccessibleValueInterface*>(this);
    }
    if (type == QAccessible::TextInterface && TitledControl() != nullptr) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    if (kind_ == AccessibleKind::kEdit &&
        (type == QAccessible::TextInterface || type == QAccessible::EditableTextInterface)) {
      QAccessibleInterface* field = FieldInterface();
      return field != nullptr ? field->interface_cast(type) : nullptr;
    }
  }
  return QAccessibleWidget::interface_cast(type);
}

int ControlAccessible::childCount() const {
  // A field is one object for a reader: the line edit inside it is not a child.
  if (Resolve() && kind_ == AccessibleKind::kEdit) return 0;
  return ItemCount() + QAccessibleWidget::childCount();
}

QAccessibleInterface* ControlAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  const int items = ItemCount();
  if (index >= items) return QAccessibleWidget::child(index - items);
  while (static_cast<int>(item_ids_.size()) <= index) {
    auto* self = const_cast<ControlAccessible*>(this);
    item_ids_.push_back(QAccessible::registerAccessibleInterface(
        NewItemInterface(self, static_cast<int>(item_ids_.size()))));
  }
  return QAccessible::accessibleInterface(item_ids_[index]);
}

int ControlAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child == nullptr) return -1;
  const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
  for (int i = 0; i < static_cast<int>(item_ids_.size()) && i < ItemCount(); ++i) {
    if (item_ids_[i] == id) return i;
  }
  if (Resolve() && kind_ == AccessibleKind::kEdit) return -1;
  const int index = QAccessibleWidget::indexOfChild(child);
  return index < 0 ? -1 : index + ItemCount();
}

QStringList ControlAccessible::actionNames() const {
  QStringList names;
  if (Resolve() && Control() != nullptr && Control()->isEnabled()) {
    switch (kind_) {
      case AccessibleKind::kButton:
        names << pressAction();
        break;
      case AccessibleKind::kToggle:
        names << pressAction() << toggleAction();
        break;
      case AccessibleKind::kCheckBox:
      case AccessibleKind::kRadio:
        names << toggleAction() << pressAction();
        break;
      case AccessibleKind::kComboBox:
        names << showMenuAction() << pressAction();
        break;
      case AccessibleKind::kSlider:
        names << increaseAction() << decreaseAction();
        break;
      case AccessibleKind::kList:
        // The macro list's import and export menu, as its "more" button and Menu key give.
        if (dynamic_cast<MacroList*>(Control()) != nullptr) names << showMenuAction();
        break;
      default:
        break;
    }
  }
  return names + QAccessibleWidget::actionNames();
}

void ControlAccessible::doAction(const QString& action) {
  MControl* control = Control();
  if (!Resolve() || control == nullptr || !control->isEnabled()) return;
  if (auto* macros = dynamic_cast<MacroList*>(control); macros && action == showMenuAction()) {
    RunLater(control, [macros] { macros->ShowMenu(); });
    return;
  }
  if (action == pressAction() || action == toggleAction() || action == showMenuAction()) {
    if (kind_ == AccessibleKind::kSlider || kind_ == AccessibleKind::kList) return;
    RunLater(control, [control] { control->PerformClick(); });
    return;
  }
  if (kind_ == AccessibleKind::kSlider &&
      (action == increaseAction() || action == decreaseAction())) {
    const int step = action == increaseAction() ? 1 : -1;
    RunLater(control, [control, step] {
      auto* slider = dynamic_cast<LightSlider*>(control);
      if (slider != nullptr) slider->ChoosePos(slider->GetPos() + step);
    });
    return;
  }
  if (action == setFocusAction() && kind_ == AccessibleKind::kEdit) {
    control->OnFocus(true);
    return;
  }
  QAccessibleWidget::doAction(action);
}

QStringList ControlAccessible::keyBindingsForAction(const QString& action) const {
  if (action == pressAction() || action == toggleAction()) return {QStringLiteral("Space")};
  return QAccessibleWidget::keyBindingsForAction(action);
}

QVariant ControlAccessible::currentValue() const {
  MControl* control = Control();
  if (auto* progress = dynamic_cast<MProgress*>(control)) return progress->GetProgress();
  if (auto* battery = dynamic_cast<BatteryCtrl*>(control)) return battery->GetLevel();
  if (auto* slider = dynamic_cast<LightSlider*>(control)) {
    return slider->ShownValue(slider->GetPos());  // what the page shows, not the raw step
  }
  if (auto* palette = dynamic_cast<MPalette*>(control)) return palette->GetSelectColor();
  return {};
}

void ControlAccessible::setCurrentValue(const QVariant& value) {
  const int pos = value.toInt();
  if (auto* palette = dynamic_cast<MPalette*>(Control())) {
    const uint32_t colour = static_cast<uint32_t>(pos) & 0xFFFFFFu;
    RunLater(palette, [palette, colour] { palette->ChooseColor(colour); });
    return;
  }
  auto* slider = dynamic_cast<LightSlider*>(Control());
  if (slider == nullptr) return;  // progress bars are read-only
  RunLater(slider, [slider, pos] { slider->ChoosePos(slider->PositionOfShown(pos)); });
}

QVariant ControlAccessible::maximumValue() const {
  MControl* control = Control();
  if (auto* progress = dynamic_cast<MProgress*>(control)) return progress->GetMax();
  if (dynamic_cast<BatteryCtrl*>(control)) return BatteryCtrl::kMaxLevel;
  if (auto* slider = dynamic_cast<LightSlider*>(control)) {
    return slider->ShownValue(slider->GetMax());
  }
  if (dynamic_cast<MPalette*>(control)) return 0xFFFFFF;
  return {};
}

QVariant ControlAccessible::minimumValue() const {
  MControl* control = Control();
  if (auto* progress = dynamic_cast<MProgress*>(control)) return progress->GetMin();
  if (dynamic_cast<BatteryCtrl*>(control)) return 0;
  if (auto* slider = dynamic_cast<LightSlider*>(control)) {
    return slider->ShownValue(slider->GetMin());
  }
  if (dynamic_cast<MPalette*>(control)) return 0;
  return {};
}

QVariant ControlAccessible::minimumStepSize() const { return 1; }

MControlFont* ControlAccessible::TitledControl() const {
  if (!Resolve() || kind_ == AccessibleKind::kEdit || items_ != nullptr) {
    // Combo boxes lay out their current item; other controls with items lay out items.
    auto* combo = dynamic_cast<MComboBox*>(Control());
    return kind_ == AccessibleKind::kComboBox ? combo : nullptr;
  }
  return dynamic_cast<MControlFont*>(Control());
}

QString ControlAccessible::WholeText() const {
  MControlFont* font = TitledControl();
  if (font == nullptr) return {};
  if (auto* combo = dynamic_cast<MComboBox*>(font)) {
    return QString::fromStdString(combo->GetItemText(combo->GetCurSel()));
  }
  return QString::fromStdString(font->GetTitle());
}

TextLayoutRecord ControlAccessible::Layout() const {
  MControlFont* font = TitledControl();
  return font != nullptr ? font->TitleLayout() : TextLayoutRecord();
}

}  // namespace corvane::DUI
