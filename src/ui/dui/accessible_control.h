// The accessible interface of one control: role and name from what the control shows,
// states, a value for sliders and progress bars, text for fields, and actions that run
// the click path. Controls with items (lists, tab strip, device cards, drop-downs) add
// their items as children (accessible_items.cpp). Internal to the accessibility layer.
#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "ui/dui/accessible_text.h"
#include "ui/dui/text_fit.h"

namespace corvane::DUI {

class MControl;
class MControlFont;

// How a control behaves for assistive tools.
enum class AccessibleKind {
  kButton,    // press
  kToggle,    // press and toggle, checkable
  kCheckBox,  // toggle
  kRadio,     // toggle; checking it unchecks its group
  kComboBox,  // show menu; items as children
  kEdit,      // editable text
  kProgress,  // read-only value
  kSlider,    // value, increase, decrease
  kText,      // static text
  kPicture,   // graphic
  kPane,      // container of other controls
  kList,      // items as children (lists, tab strip, device cards)
};

// The items of a control that has items, seen the same way for every such control.
class ItemSource {
 public:
  virtual ~ItemSource() = default;
  virtual int Count() const = 0;
  virtual QString Text(int index) const = 0;
  // Where item `index` is drawn in control coordinates; empty when not shown.
  virtual QRect Rect(int index) const = 0;
  virtual bool Selected(int index) const = 0;
  // Does what a click on the item does.
  virtual void Press(int index) = 0;
  // Starts editing the item's text in place, as a double click does; false when the
  // control cannot rename items.
  virtual void Rename(int /*index*/) {}
  // True when Rename does something.
  virtual bool CanRename() const { return false; }
  // A further action of each item (named; empty for none) and what it does.
  virtual QString ExtraAction() const { return {}; }
  virtual void DoExtra(int /*index*/) {}
  virtual QAccessible::Role ItemRole() const = 0;
  // True when the items' words are laid out by the fitting rule, each as Layout says.
  virtual bool ReportsLayout() const { return false; }
  virtual TextLayoutRecord Layout(int /*index*/) const { return {}; }
};

// Made for every widget without a class of its own, because a control under construction
// still looks like a plain QWidget: what the widget is gets decided at each call, once
// it is fully built.
class ControlAccessible : public QAccessibleWidget,
                          public QAccessibleValueInterface,
                          public ShownTextInterface {
 public:
  explicit ControlAccessible(QWidget* widget);
  ~ControlAccessible() override;

  QAccessible::Role role() const override;
  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  QStringList actionNames() const override;
  void doAction(const QString& action) override;
  QStringList keyBindingsForAction(const QString& action) const override;

  QVariant currentValue() const override;
  void setCurrentValue(const QVariant& value) override;
  QVariant maximumValue() const override;
  QVariant minimumValue() const override;
  QVariant minimumStepSize() const override;

  // Controls with a title: the title and how it was drawn.
  QString WholeText() const override;
  TextLayoutRecord Layout() const override;
  QWidget* DrawingWidget() const override { return widget(); }

  // The item source (null for controls without items).
  ItemSource* Items() const;
  // The widget this interface stands for.
  QWidget* Widget() const { return widget(); }
  // The control, or null while the widget is not (yet) one.
  MControl* Control() const;

 private:
  // Decides kind, role and items once the widget is a fully built control.
  bool Resolve() const;
  // The field's own accessible interface (edits delegate their text to it).
  QAccessibleInterface* FieldInterface() const;
  int ItemCount() const;
  QString Name() const;
  // The control whose title is laid out and reported, or null.
  MControlFont* TitledControl() const;

  mutable bool resolved_ = false;
  mutable AccessibleKind kind_ = AccessibleKind::kPane;
  mutable QAccessible::Role role_ = QAccessible::Client;
  mutable std::unique_ptr<ItemSource> items_;
  mutable std::vector<QAccessible::Id> item_ids_;
};

// The item source of a control with items; null for other controls
// (accessible_items.cpp).
std::unique_ptr<ItemSource> ItemsFor(MControl* control);

// Runs `action` on the control's thread after the current accessibility call returned:
// a click may open a modal dialog, and the tool asking must get its answer first.
void RunLater(QWidget* control, std::function<void()> action);

// A new interface for item `index` of `list` (accessible_items.cpp).
QAccessibleInterface* NewItemInterface(ControlAccessible* list, int index);

}  // namespace corvane::DUI
