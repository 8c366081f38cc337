// Building, laying out and acting on the DPI and performance page.
#include "ui/pages/dpi_page.h"

#include <cstdio>
#include <string>

#include "app/text_ids.h"
#include "settings/dpi_stages.h"
#include "settings/performance_options.h"
#include "settings/sensor_scale.h"
#include "ui/device_main_dlg.h"
#include "ui/dialogs/mouse_palette_dlg.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/dpi_control.h"
#include "ui/dui/dpi_slider.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtext.h"
#include "ui/dui/reporte_ctrl.h"
#include "ui/pages/system_mouse_settings.h"
#include "worker/device_session.h"
#include "worker/model_context.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kBackdropColor = 0x181412;  // the window background, red in the low byte
constexpr int kIdPageFrame = 109;
constexpr const char* kLiftoffGroup = "IDC_PER_STC_LOD";
constexpr uint32_t kCaptionColor = 0xFFFFFFFFu;
constexpr int kSectionFont = 16;

// Shown until the opened mouse's stages and rates arrive.
constexpr DpiStage kPlaceholderStages[kMaxDpiStages] = {
    {800, 0x0009F1},  {1600, 0xEF6B00}, {2400, 0x4CF500},
    {3200, 0x20A3FF}, {6400, 0xFFFF00}, {26000, 0xC9018F},
};
constexpr int kBasicRateClass = 4;
constexpr int kPlaceholderRateItem = 2;

// Section backgrounds and their titles, by id.
constexpr int kIdStagesSection = 112, kIdStagesCaption = 113, kIdCountCaption = 119;
constexpr int kIdRateSection = 121, kIdRateCaption = 122;
constexpr int kIdLiftoffSection = 126, kIdLiftoffCaption = 127;
constexpr int kIdSensorSection = 131, kIdSensorCaption = 132;
constexpr int kIdPowerSection = 140, kIdPowerCaption = 141, kIdSleepCaption = 142;
constexpr int kIdSystemSection = 146, kIdSystemCaption = 147, kIdSystemIcon = 148;
constexpr int kSectionIds[] = {kIdStagesSection, kIdRateSection,  kIdLiftoffSection,
                               kIdSensorSection, kIdPowerSection, kIdSystemSection};
struct Caption {
  int id;
  int text_id;
};
constexpr Caption kCaptions[] = {
    {kIdStagesCaption, kTextDpiStages},           {kIdRateCaption, kTextReportRate},
    {kIdLiftoffCaption, kTextLiftOffDistance},    {kIdSensorCaption, kTextSensorSection},
    {kIdPowerCaption, kTextPowerSaving},          {kIdSleepCaption, kTextSleepTime},
    {kIdSystemCaption, kTextSystemMouseSettings}, {kIdCountCaption, kTextStageCount},
};
constexpr int kSensorTexts[3] = {kTextMotionSync, kTextAngleSnapping, kTextRippleControl};

// The colour chosen for a stage in the palette dialog; 0 when nothing changes (closed,
// or applied without a choice).
uint32_t PickStageColour(DeviceMainDlg& window, uint32_t current) {
  MousePaletteDlg palette(window.Texts());
  palette.Open(window, current);
  return palette.GetColor();
}

}  // namespace

DpiPage::DpiPage(DeviceMainDlg& window) : window_(window) {}

template <typename T>
T* DpiPage::Add(int id, int text_id, const char* image, int frames) {
  return AddControl<T>(window_, *page_, id, text_id, image, frames);
}

void DpiPage::Build(DUI::MControl& container) {
  page_ = &container;
  // An opaque backdrop in the window's colour under everything on the page (the title
  // included, made earlier): the model's side picture must not show between sections.
  auto* backdrop = Add<DUI::CArea>(kIdPageFrame);
  backdrop->SetColor(kBackdropColor);
  backdrop->lower();
  for (int id : kSectionIds) {
    auto* back = Add<DUI::MPicture>(id, kNoText, "img_area_content.png", 1);
    back->SetShowMode(DUI::MPicture::kShowSliced, 10);
  }
  for (const Caption& caption : kCaptions) {
    auto* text = Add<DUI::MText>(caption.id, caption.text_id);
    // The two captions that name a list beside them are smaller and plain.
    const bool names_list = caption.id == kIdSleepCaption || caption.id == kIdCountCaption;
    text->SetFont("", names_list ? 14 : kSectionFont, names_list ? 0 : DUI::kFontBold);
    text->SetTextColor(kCaptionColor);
    if (caption.id == kIdCountCaption) text->SetAlignment(DUI::kAlignRight);
  }
  auto* reset = Add<DUI::CImageButton>(kIdDpiReset, kNoText, "btn_reset.png", 4);
  window_.Tooltip(reset, kTextResetDpi);
  // Lists without a title of their own are named by their tooltips.
  stages_ = Add<DUI::DPIControl>(kIdDpiList);
  window_.Tooltip(stages_, kTextDpiStages);
  auto* apply = Add<DUI::MButton>(kIdDpiApply, kTextApplyDpi, "img_button.png", 4);
  count_ = Add<DUI::MComboBox>(kIdDpiCount, kNoText, "img_combobox.png", 4);
  // Named by the captions beside them; the reader says the value as the chosen item.
  window_.Named(count_, kTextStageCount);
  for (int i = 1; i <= kMaxDpiStages; ++i) count_->AddString(std::to_string(i), i);
  count_->SelectData(kMaxDpiStages);
  slider_ = Add<DUI::DPISlider>(kIdDpiSlider, kNoText, "img_dpi_bar.png", 1);
  slider_->setAccessibleName("DPI");
  // A reader hears the DPI the stage gets, not the slider's step number.
  slider_->SetShownValue(
      [this](int pos) { return SliderPositionToDpi(window_.Session().State().Sensor(), pos); });
  // Tab follows the page as it reads: the header's count and reset, the stages, the slider
  // that edits the chosen stage, then Apply.
  QWidget::setTabOrder(count_, reset);
  QWidget::setTabOrder(reset, stages_);
  QWidget::setTabOrder(stages_, slider_);
  QWidget::setTabOrder(slider_, apply);
  window_.Tooltip(Add<DUI::CImageButton>(kIdRateReset, kNoText, "btn_reset.png", 4),
                  kTextResetReportRate);
  rates_ = Add<DUI::ReporteCtrl>(kIdRateList);
  window_.Tooltip(rates_, kTextReportRate);
  const char* liftoff_texts[2] = {"1.0mm", "2.0mm"};
  for (int i = 0; i < 2; ++i) {
    liftoff_[i] = Add<DUI::CRadioButton>(kIdLiftoff1 + i, kNoText, "btn_radiobox.png", 8);
    liftoff_[i]->SetTitle(liftoff_texts[i]);
    liftoff_[i]->SetGroup(kLiftoffGroup);
  }
  liftoff_[0]->SetCheck(true);
  for (int i = 0; i < 3; ++i) {
    sensor_[i] = Add<DUI::CCheckButton>(kIdSensorBox, kSensorTexts[i], "btn_checkbox.png", 8);
  }
  sensor_[2]->SetCheck(true);
  sleep_ = Add<DUI::MComboBox>(kIdSleepTime, kNoText, "img_combobox.png", 4);
  window_.Named(sleep_, kTextSleepTime);
  wakeup_ = Add<DUI::CCheckButton>(kIdMoveWakeup, kTextMoveWakeup, "btn_checkbox.png", 8);
  closelight_ =
      Add<DUI::CCheckButton>(kIdMoveCloseLight, kTextMoveCloseLight, "btn_checkbox.png", 8);
  Add<DUI::MPicture>(kIdSystemIcon, kNoText, "icon/icon_mouse_settings.png", 1)
      ->SetShowMode(DUI::MPicture::kShowCentered, 0);
  Add<DUI::MButton>(kIdMouseSettings, kTextOpenMouseSettings, "img_button.png", 4);
  FillSleepItems();
  ShowPlaceholders();
}

void DpiPage::Layout(const PageGeometry& geometry) {
  const int width = geometry.width, height = geometry.height;
  const double scale = geometry.scale;
  auto place = [this](int id, DUI::Rect rect) {
    for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(page_)) {
      if (control->GetID() == id && control->parentWidget() == page_) control->SetRect(rect);
    }
  };
  auto s = [scale](int value) { return static_cast<int>(value * scale); };
  // Left column: the stages. Right column: everything else, one section per block.
  const int left = 30, mid = width / 2 - 10, right = width - 30;
  const int top = 60;
  const int row = s(40);
  place(kIdPageFrame, {0, 0, width, height});
  place(kIdStagesSection, {left, top, mid, height - 20});
  place(kIdStagesCaption, {left + 20, top + 10, left + 220, top + 40});
  place(kIdCountCaption, {mid - 220, top + 10, mid - 130, top + 40});
  place(kIdDpiCount, {mid - 120, top + 8, mid - 60, top + 40});
  place(kIdDpiReset, {mid - 48, top + 10, mid - 18, top + 40});
  const int list_top = top + 55;
  stages_->SetRect({left + 20, list_top, mid - 20, list_top + kMaxDpiStages * row});
  const int slider_top = list_top + kMaxDpiStages * row + s(10);
  slider_->SetRect({left + 20, slider_top, mid - 20, slider_top + 50});
  place(kIdDpiApply, {mid - 140, slider_top + 64, mid - 20, slider_top + 98});

  const int x = mid + 20;
  int y = top;
  const int section = s(92);
  auto block = [&](int back, int title, int h) {
    place(back, {x, y, right, y + h});
    place(title, {x + 20, y + 8, x + 300, y + 36});
  };
  block(kIdRateSection, kIdRateCaption, section);
  place(kIdRateReset, {right - 48, y + 8, right - 18, y + 38});
  rates_->SetRect({x + 20, y + 42, right - 20, y + section - 10});
  y += section + 10;
  block(kIdLiftoffSection, kIdLiftoffCaption, s(80));
  liftoff_[0]->SetRect({x + 20, y + 42, x + 140, y + 68});
  liftoff_[1]->SetRect({x + 150, y + 42, x + 270, y + 68});
  y += s(80) + 10;
  block(kIdSensorSection, kIdSensorCaption, s(80));
  const int third = (right - x - 40) / 3;
  for (int i = 0; i < 3; ++i) {
    sensor_[i]->SetRect({x + 20 + i * third, y + 42, x + 20 + (i + 1) * third, y + 68});
  }
  y += s(80) + 10;
  block(kIdPowerSection, kIdPowerCaption, s(118));
  place(kIdSleepCaption, {x + 20, y + 42, x + 150, y + 72});
  sleep_->SetRect({x + 160, y + 42, x + 300, y + 72});
  wakeup_->SetRect({x + 20, y + 80, x + 220, y + 106});
  closelight_->SetRect({x + 230, y + 80, right - 20, y + 106});
  y += s(118) + 10;
  block(kIdSystemSection, kIdSystemCaption, std::max(80, height - 20 - y));
  place(kIdSystemIcon, {x + 20, y + 42, x + 46, y + 72});
  place(kIdMouseSettings, {x + 56, y + 40, x + 256, y + 74});
}

bool DpiPage::Handles(int id) const {
  switch (id) {
    case kIdDpiReset:
    case kIdDpiList:
    case kIdDpiSlider:
    case kIdDpiApply:
    case kIdDpiCount:
    case kIdRateReset:
    case kIdRateList:
    case kIdLiftoff1:
    case kIdLiftoff2:
    case kIdSensorBox:
    case kIdMoveWakeup:
    case kIdMoveCloseLight:
    case kIdSleepTime:
    case kIdMouseSettings:
      return true;
    default:
      return false;
  }
}

void DpiPage::ShowPlaceholders() {
  stages_->ClearList();
  for (const DpiStage& stage : kPlaceholderStages) {
    stages_->AddItem(stage.value, static_cast<uint32_t>(stage.rgb));
  }
  stages_->SetSelectItem(0);
  const SensorScale scale = ScaleForSensor(0);
  slider_->SetRange(1, scale.slider_max);
  slider_->SetDPIDesc(std::to_string(scale.min_dpi), std::to_string(scale.max_dpi));
  slider_->SetProgress(DpiToSliderPosition(0, kPlaceholderStages[0].value));
  rates_->DeleteAllItems();
  for (const ReportRateItem& item : ReportRateItems(kBasicRateClass)) {
    rates_->AddItem(item.text, item.code, static_cast<uint32_t>(item.colour));
  }
  rates_->SetSelectItemValue(rates_->GetItemKeyValue(kPlaceholderRateItem));
}

void DpiPage::Refresh() {
  loaded_ = true;
  ShowStages();
  ShowOptions();
}

void DpiPage::Relabel() {
  FillSleepItems();
  if (loaded_) ShowOptions();
}

void DpiPage::FillSleepItems() {
  const int64_t chosen = sleep_->GetCurData();
  sleep_->ResetContent();
  for (const SleepDelayItem& item : SleepDelayItems()) {
    sleep_->AddString(std::to_string(item.amount) + " " + window_.Text(item.text_id), item.data);
  }
  if (chosen >= 0) sleep_->SelectData(chosen);
}

void DpiPage::ShowStages() {
  DeviceSession& session = window_.Session();
  DpiStages dpi(session.Store(), session.State(), session.Worker());
  const DpiPageView view = dpi.Load();
  count_->SelectData(view.count);
  stages_->ClearList();
  for (const DpiStage& stage : view.stages) {
    stages_->AddItem(stage.value, static_cast<uint32_t>(stage.rgb));
  }
  stages_->SetSelectItem(view.index);
  const int sensor = session.State().Sensor();
  const SensorScale scale = ScaleForSensor(sensor);
  slider_->SetRange(1, scale.slider_max);
  slider_->SetDPIDesc(std::to_string(scale.min_dpi), std::to_string(scale.max_dpi));
  slider_->SetProgress(view.slider_position);
}

void DpiPage::ShowOptions() {
  DeviceSession& session = window_.Session();
  PerformanceOptions options(session.Store(), session.State(), session.Worker());
  const PerformanceView view = options.Load();
  rates_->DeleteAllItems();
  for (const ReportRateItem& item : view.rates) {
    rates_->AddItem(item.text, item.code, static_cast<uint32_t>(item.colour));
  }
  rates_->SetSelectItemValue(view.selected_rate ? rates_->GetItemKeyValue(*view.selected_rate)
                                                : -1);
  for (int i = 0; i < 3; ++i) sensor_[i]->SetCheck(view.sensor_box[i]);
  liftoff_[view.liftoff_two_mm ? 1 : 0]->SetCheck(true);
  if (view.sleep_item) sleep_->SetCurSel(*view.sleep_item);
  wakeup_->SetCheck(view.move_wakeup);
  closelight_->SetCheck(view.move_closelight);
  const auto& definition = session.Model().Definition();
  // A model without lift-off or sensor options shows neither the controls nor their
  // sections; the stored values stay.
  for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(page_)) {
    const int id = control->GetID();
    if (id == kIdLiftoffSection || id == kIdLiftoffCaption || id == kIdLiftoff1 ||
        id == kIdLiftoff2) {
      control->SetVisible(definition.show_lod);
    } else if (id == kIdSensorSection || id == kIdSensorCaption || id == kIdSensorBox) {
      control->SetVisible(definition.show_sensor);
    }
  }
}

void DpiPage::After(const DpiActionResult& result) {
  // The worker shows the DPI pop-up once the mouse took the change.
  if (result.show_save_wait) window_.ShowSavingPopup();
}

void DpiPage::After(const OptionResult& result) {
  if (result.show_save_wait) window_.ShowSavingPopup();
}

void DpiPage::SetSliderFromStage(int index) {
  slider_->SetProgress(
      DpiToSliderPosition(window_.Session().State().Sensor(), stages_->GetDPIValue(index)));
}

int64_t DpiPage::OnMessage(int id, DUI::NotifyCode code, int64_t extra) {
  if (id == kIdDpiReset || id == kIdDpiList || id == kIdDpiSlider || id == kIdDpiApply ||
      id == kIdDpiCount) {
    return OnStageMessage(id, code, extra);
  }
  return OnOptionMessage(id, code, extra);
}

int64_t DpiPage::OnStageMessage(int id, DUI::NotifyCode code, int64_t extra) {
  DeviceSession& session = window_.Session();
  DpiStages dpi(session.Store(), session.State(), session.Worker());
  const int index = static_cast<int>(extra);
  if (id == kIdDpiCount && (code == DUI::NotifyCode::kValueChanged || code == DUI::NotifyCode::kClick)) {
    const DpiActionResult result = dpi.ChangeCount(static_cast<int>(count_->GetCurData()));
    ShowStages();
    After(result);
  } else if (id == kIdDpiList && (code == DUI::NotifyCode::kClick || code == DUI::NotifyCode::kFocusGained)) {
    const DpiActionResult result = dpi.SelectStage(index);
    SetSliderFromStage(index);
    After(result);
  } else if (id == kIdDpiList && code == DUI::NotifyCode::kSwatchClick) {
    ChooseColour(index);
  } else if (id == kIdDpiList && code == DUI::NotifyCode::kEditFinished) {
    const DpiActionResult result = dpi.TypeValue(index, stages_->GetEditText());
    stages_->SetDPIValue(index, result.value);
    if (index == stages_->GetSelectItem()) SetSliderFromStage(index);
    After(result);
  } else if (id == kIdDpiSlider && code == DUI::NotifyCode::kValueChanged) {
    const int selected = stages_->GetSelectItem();
    const DpiActionResult result = dpi.MoveSlider(selected, static_cast<int>(extra));
    stages_->SetDPIValue(selected, result.value);
  } else if ((id == kIdDpiSlider || id == kIdDpiApply) && code == DUI::NotifyCode::kClick) {
    After(dpi.Apply());
  } else if (id == kIdDpiReset && code == DUI::NotifyCode::kClick) {
    if (window_.MessageBox(kTextResetDpi, kTextResetDpiBody, 2) == DUI::MWindow::kModalCancel) {
      return 1;
    }
    After(dpi.Reset());
  } else {
    return 0;
  }
  return 1;
}

int64_t DpiPage::OnOptionMessage(int id, DUI::NotifyCode code, int64_t extra) {
  DeviceSession& session = window_.Session();
  PerformanceOptions options(session.Store(), session.State(), session.Worker());
  const bool click = code == DUI::NotifyCode::kClick;
  if (id == kIdRateList && click) {
    After(options.SelectReportRate(static_cast<int>(extra)));
  } else if (id == kIdRateReset && click) {
    std::optional<int> code_default;
    if (auto defaults = session.Model().ReadFactoryDefaults()) code_default = defaults->report_rate;
    const OptionResult result = options.ResetReportRate(code_default);
    rates_->SetSelectItemValue(result.value);
    After(result);
  } else if ((id == kIdLiftoff1 || id == kIdLiftoff2) && click) {
    After(options.SetLiftoff(liftoff_[1]->GetCheck()));
  } else if (id == kIdSensorBox && click) {
    After(options.SetSensorSwitches(sensor_[0]->GetCheck(), sensor_[1]->GetCheck(),
                                    sensor_[2]->GetCheck()));
  } else if (id == kIdSleepTime && (code == DUI::NotifyCode::kValueChanged || click)) {
    if (sleep_->GetCurSel() < 0) return 1;
    After(options.SetSleepDelay(static_cast<int>(sleep_->GetCurData())));
  } else if (id == kIdMoveWakeup && click) {
    After(options.SetMoveWakeup(wakeup_->GetCheck()));
  } else if (id == kIdMoveCloseLight && click) {
    After(options.SetMoveCloseLight(closelight_->GetCheck()));
  } else if (id == kIdMouseSettings && click) {
    if (!OpenSystemMouseSettings()) {
      window_.MessageBox(kTextSystemMouseSettings, kTextNoMouseSettingsProgram, 1);
    }
  } else {
    return 0;
  }
  return 1;
}

void DpiPage::ChooseColour(int index) {
  const uint32_t colour = PickStageColour(window_, stages_->GetDPIColorValue(index));
  if (colour == 0) return;
  DeviceSession& session = window_.Session();
  DpiStages dpi(session.Store(), session.State(), session.Worker());
  const DpiActionResult result = dpi.SetColour(index, static_cast<int>(colour));
  if (!result.posted) return;
  stages_->SetDPIColorValue(index, colour);
  SetSliderFromStage(stages_->GetSelectItem());
  After(result);
}

}  // namespace corvane::ui
