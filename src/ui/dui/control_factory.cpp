// The class-name table of the control layer.
#include "ui/dui/control_factory.h"

#include <functional>
#include <map>

#include "ui/dui/battery_ctrl.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/cdevice_state.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/crecord_list.h"
#include "ui/dui/cround_area.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/dpi_control.h"
#include "ui/dui/dpi_slider.h"
#include "ui/dui/ctext_button.h"
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
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"
#include "ui/dui/mtext.h"
#include "ui/dui/number_edit.h"
#include "ui/dui/reporte_ctrl.h"

namespace corvane::DUI {
namespace {

using Maker = std::function<MControl*(QWidget*, MDialog*, int)>;

template <typename T>
Maker Make() {
  return [](QWidget* parent, MDialog* owner, int id) { return new T(parent, owner, id); };
}

const std::map<std::string, Maker>& Makers() {
  static const std::map<std::string, Maker> makers = {
      {"MPicture", Make<MPicture>()},
      {"MText", Make<MText>()},
      {"MButton", Make<MButton>()},
      {"MButton2", Make<MButton>()},
      {"MButton3", Make<MToggleButton>()},
      {"CTextButton", Make<CTextButton>()},
      {"CImageButton", Make<CImageButton>()},
      {"CIconButton", Make<CIconButton>()},
      {"CCheckButton", Make<CCheckButton>()},
      {"CRadioButton", Make<CRadioButton>()},
      {"MComboBox", Make<MComboBox>()},
      {"MComboBox2", Make<MComboBox>()},
      {"MEdit", Make<MEdit>()},
      {"NumberEdit", Make<NumberEdit>()},
      {"MProgress", Make<MProgress>()},
      {"MProgress2", Make<MProgress>()},
      {"MTabCtrl", Make<MTabCtrl>()},
      {"MTabLayout", Make<MTabLayout>()},
      {"CArea", Make<CArea>()},
      {"CRoundArea", Make<CRoundArea>()},
      {"LightSlider", Make<LightSlider>()},
      {"CColorButton", Make<CColorButton>()},
      {"MPalette", Make<MPalette>()},
      {"DPISlider", Make<DPISlider>()},
      {"DPIControl", Make<DPIControl>()},
      {"ReporteCtrl", Make<ReporteCtrl>()},
      {"CDeviceList", Make<CDeviceList>()},
      {"BatteryCtrl", Make<BatteryCtrl>()},
      {"CDeviceState", Make<CDeviceState>()},
      {"DListBox", Make<DListBox>()},
      {"MacroList", Make<MacroList>()},
      {"CRecordList", Make<CRecordList>()},
      {"MouseKeyCtrl", Make<MouseKeyCtrl>()},
      {"MouseCtrl", Make<MouseCtrl>()},
  };
  return makers;
}

}  // namespace

MControl* ControlFactory::Create(const std::string& class_name, QWidget* parent, MDialog* owner,
                                 int id) {
  const auto it = Makers().find(class_name);
  if (it == Makers().end() || parent == nullptr) return nullptr;
  return it->second(parent, owner, id);
}

MControl* ControlFactory::Build(const std::string& class_name, QWidget* parent, MDialog* owner,
                                int id, const Rect& rect, const std::string& text, int visible,
                                int enabled) {
  MControl* control = Create(class_name, parent, owner, id);
  if (control == nullptr) return nullptr;
  PrepareControl(*control, rect, text, visible != 0, enabled != 0);
  return control;
}

void PrepareControl(MControl& control, const Rect& rect, const std::string& text, bool visible,
                    bool enabled) {
  control.SetRect(rect);
  if (auto* titled = dynamic_cast<MControlFont*>(&control)) titled->SetTitle(text);
  control.SetEnabled(enabled);
  control.SetVisible(visible);
}

}  // namespace corvane::DUI
