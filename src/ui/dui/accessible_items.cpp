// Items of list-like controls for assistive tools: drop-down entries, page tabs, device
// cards and list rows, each with its text, place, selection and a press that does what a
// click on it does.
#include <QAccessible>

#include "ui/dui/accessible_control.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/crecord_list.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/dpi_control.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/reporte_ctrl.h"

namespace corvane::DUI {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

class ComboItems : public ItemSource {
 public:
  explicit ComboItems(MComboBox* combo) : combo_(combo) {}
  int Count() const override { return combo_->GetCount(); }
  QString Text(int index) const override { return FromUtf8(combo_->GetItemText(index)); }
  QRect Rect(int) const override { return {}; }  // listed only while the pop-up is open
  bool Selected(int index) const override { return combo_->GetCurSel() == index; }
  void Press(int index) override { combo_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  MComboBox* combo_;
};

class TabItems : public ItemSource {
 public:
  explicit TabItems(MTabCtrl* tabs) : tabs_(tabs) {}
  int Count() const override { return tabs_->GetItemCount(); }
  QString Text(int index) const override { return FromUtf8(tabs_->GetItemText(index)); }
  QRect Rect(int index) const override { return tabs_->ItemRect(index); }
  bool Selected(int index) const override { return tabs_->GetCurSel() == index; }
  void Press(int index) override { tabs_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::PageTab; }
  bool ReportsLayout() const override { return true; }
  TextLayoutRecord Layout(int index) const override { return tabs_->ItemLayout(index); }

 private:
  MTabCtrl* tabs_;
};

class DeviceItems : public ItemSource {
 public:
  explicit DeviceItems(CDeviceList* list) : list_(list) {}
  int Count() const override { return static_cast<int>(list_->PresentTypes().size()); }
  QString Text(int index) const override { return FromUtf8(list_->DeviceName(Type(index))); }
  QRect Rect(int index) const override { return list_->DeviceRect(Type(index)); }
  bool Selected(int index) const override {
    return Type(index) != 0 && list_->GetSelectDevice() == Type(index);
  }
  void Press(int index) override { list_->ChooseDevice(Type(index)); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  int Type(int index) const {
    const std::vector<int> types = list_->PresentTypes();
    return index >= 0 && index < static_cast<int>(types.size()) ? types[index] : 0;
  }
  CDeviceList* list_;
};

class RowItems : public ItemSource {
 public:
  explicit RowItems(DListBox* list) : list_(list) {}
  int Count() const override { return list_->GetCount(); }
  QString Text(int index) const override { return FromUtf8(list_->GetItemText(index)); }
  QRect Rect(int index) const override { return list_->ItemRect(index); }
  bool Selected(int index) const override { return list_->GetCurSel() == index; }
  void Press(int index) override { list_->ChooseItem(index); }
  void Rename(int index) override { list_->BeginEdit(index); }
  bool CanRename() const override { return true; }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  DListBox* list_;
};

class RecordItems : public ItemSource {
 public:
  explicit RecordItems(CRecordList* list) : list_(list) {}
  int Count() const override { return list_->GetItemCount(); }
  QString Text(int index) const override { return FromUtf8(list_->GetRecordInfo(index).text); }
  QRect Rect(int index) const override { return list_->ItemRect(index); }
  bool Selected(int index) const override { return list_->GetSelectEvent() == index; }
  void Press(int index) override { list_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  CRecordList* list_;
};

// Button list rows are read as "name: description".
class ButtonRowItems : public ItemSource {
 public:
  explicit ButtonRowItems(MouseKeyCtrl* list) : list_(list) {}
  int Count() const override { return list_->GetCount(); }
  QString Text(int index) const override {
    return FromUtf8(list_->GetItemName(index) + ": " + list_->GetItemKeyDesc(index));
  }
  QRect Rect(int index) const override { return list_->ItemRect(index); }
  bool Selected(int index) const override { return list_->GetCurSel() == index; }
  void Press(int index) override { list_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  MouseKeyCtrl* list_;
};

class HotSpotItems : public ItemSource {
 public:
  explicit HotSpotItems(MouseCtrl* mouse) : mouse_(mouse) {}
  int Count() const override { return mouse_->GetCount(); }
  QString Text(int index) const override { return FromUtf8(mouse_->GetItemName(index)); }
  QRect Rect(int index) const override { return mouse_->ItemRect(index); }
  bool Selected(int index) const override { return mouse_->GetCurSel() == index; }
  void Press(int index) override { mouse_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  MouseCtrl* mouse_;
};

class StageItems : public ItemSource {
 public:
  explicit StageItems(DPIControl* list) : list_(list) {}
  int Count() const override { return list_->GetCount(); }
  QString Text(int index) const override { return FromUtf8(list_->ItemText(index)); }
  QRect Rect(int index) const override { return list_->ItemRect(index); }
  bool Selected(int index) const override { return list_->GetSelectItem() == index; }
  void Press(int index) override { list_->ChooseItem(index); }
  void Rename(int index) override { list_->BeginEdit(index); }
  bool CanRename() const override { return true; }
  QString ExtraAction() const override { return QStringLiteral("Colour"); }
  void DoExtra(int index) override { list_->ClickSwatch(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  DPIControl* list_;
};

class RateItems : public ItemSource {
 public:
  explicit RateItems(ReporteCtrl* rates) : rates_(rates) {}
  int Count() const override { return rates_->GetCount(); }
  QString Text(int index) const override { return FromUtf8(rates_->GetItemText(index)); }
  QRect Rect(int index) const override { return rates_->ItemRect(index); }
  bool Selected(int index) const override { return rates_->GetSelectItem() == index; }
  void Press(int index) override { rates_->ChooseItem(index); }
  QAccessible::Role ItemRole() const override { return QAccessible::ListItem; }

 private:
  ReporteCtrl* rates_;
};

// One item: its interface lives as long as the list's interface, and answers as invalid
// once the item is gone.
class ItemAccessible : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public ShownTextInterface {
 public:
  ItemAccessible(ControlAccessible* list, int index) : list_(list), index_(index) {}

  bool isValid() const override {
    return list_->isValid() && list_->Items() != nullptr && index_ < list_->Items()->Count();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return list_->window(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return list_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    return list_->Items()->Text(index_).simplified();
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!isValid()) return {};
    const QRect local = list_->Items()->Rect(index_);
    QWidget* control = list_->Widget();
    if (local.isEmpty() || control == nullptr) return {};
    return QRect(control->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override {
    return list_->Items() != nullptr ? list_->Items()->ItemRole() : QAccessible::ListItem;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const QAccessible::State owner = list_->state();
    state.disabled = owner.disabled;
    state.invisible = owner.invisible;
    state.offscreen = list_->Items()->Rect(index_).isEmpty();
    state.selectable = true;
    state.selected = list_->Items()->Selected(index_);
    state.focused = owner.focused && state.selected;
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::TextInterface && isValid() && list_->Items()->ReportsLayout()) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return nullptr;
  }

  QString WholeText() const override { return isValid() ? list_->Items()->Text(index_) : QString(); }
  TextLayoutRecord Layout() const override {
    return isValid() ? list_->Items()->Layout(index_) : TextLayoutRecord();
  }
  QWidget* DrawingWidget() const override { return list_->Widget(); }

  QStringList actionNames() const override {
    if (!isValid() || list_->state().disabled) return {};
    QStringList names{pressAction()};
    if (list_->Items()->CanRename()) names << kRenameAction;
    if (!list_->Items()->ExtraAction().isEmpty()) names << list_->Items()->ExtraAction();
    return names;
  }
  void doAction(const QString& action) override {
    if (!actionNames().contains(action)) return;
    ItemSource* items = list_->Items();
    const int index = index_;
    if (action == pressAction()) {
      RunLater(list_->Widget(), [items, index] { items->Press(index); });
    } else if (action == items->ExtraAction()) {
      RunLater(list_->Widget(), [items, index] { items->DoExtra(index); });
    } else {
      RunLater(list_->Widget(), [items, index] { items->Rename(index); });
    }
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  static inline const QString kRenameAction = QStringLiteral("Rename");

 private:
  ControlAccessible* list_;
  int index_;
};

}  // namespace

std::unique_ptr<ItemSource> ItemsFor(MControl* control) {
  if (auto* combo = dynamic_cast<MComboBox*>(control)) return std::make_unique<ComboItems>(combo);
  if (auto* tabs = dynamic_cast<MTabCtrl*>(control)) return std::make_unique<TabItems>(tabs);
  if (auto* list = dynamic_cast<CDeviceList*>(control)) return std::make_unique<DeviceItems>(list);
  if (auto* rows = dynamic_cast<DListBox*>(control)) return std::make_unique<RowItems>(rows);
  if (auto* events = dynamic_cast<CRecordList*>(control)) {
    return std::make_unique<RecordItems>(events);
  }
  if (auto* keys = dynamic_cast<MouseKeyCtrl*>(control)) {
    return std::make_unique<ButtonRowItems>(keys);
  }
  if (auto* mouse = dynamic_cast<MouseCtrl*>(control)) return std::make_unique<HotSpotItems>(mouse);
  if (auto* stages = dynamic_cast<DPIControl*>(control)) {
    return std::make_unique<StageItems>(stages);
  }
  if (auto* rates = dynamic_cast<ReporteCtrl*>(control)) return std::make_unique<RateItems>(rates);
  return nullptr;
}

QAccessibleInterface* NewItemInterface(ControlAccessible* list, int index) {
  return new ItemAccessible(list, index);
}

}  // namespace corvane::DUI
