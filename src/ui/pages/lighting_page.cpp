// Lighting page controls and their layout.
#include "ui/pages/lighting_page.h"

#include <algorithm>

#include "app/text_ids.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/light_slider.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpalette.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtext.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

constexpr const char* kPresetGroup = "DEFAULTCOLOR";
constexpr const char* kSlotGroup = "COLORVALUE";
constexpr const char* kSectionImage = "img_area_content.png";
constexpr int kSectionMargin = 10;
constexpr uint32_t kCaptionColor = 0xFFC8D0DA;
constexpr int kChannelDigits = 3;
constexpr const char* kChannelLabels[] = {"R", "G", "B"};

// Geometry of the page (client pixels before the vertical scale).
constexpr int kLeft = 30;
constexpr int kLabelLeft = 50;
constexpr int kControlLeft = 210;
constexpr int kSliderWidth = 300;
constexpr int kReadoutWidth = 200;
// The window shows the mouse's picture right of the pages, 300 to 150 pixels from the
// window's right edge; the sections end before it (page coordinates start 200 pixels in).
constexpr int kPictureRoom = 300 + 200 + 20;
constexpr int kMinSectionRight = 640;
constexpr int kRowHeight = 30;
constexpr int kRowStep = 45;
constexpr int kSwatch = 30;
constexpr int kSwatchStep = 42;
constexpr int kPaletteWidth = 240;
constexpr int kPaletteHeight = 160;
constexpr int kEffectTop = 60;
constexpr int kEffectHeight = 60;

}  // namespace

LightingPage::LightingPage(DeviceMainDlg& window) : window_(window) {}

LightingPage::~LightingPage() = default;

bool LightingPage::Handles(int id) const {
  return id == kIdModeList || id == kIdReset || id == kIdBrightness || id == kIdSpeed ||
         (id >= kIdFirstPreset && id <= kIdLastPreset) ||
         (id >= kIdFirstSlot && id <= kIdLastSlot) || id == kIdPalette ||
         (id >= kIdRed && id <= kIdBlue);
}

DUI::MControl* LightingPage::Control(int id) const {
  for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(page_)) {
    if (control->GetID() == id) return control;
  }
  return nullptr;
}

void LightingPage::Build(DUI::MControl& container) {
  page_ = &container;
  DeviceSession& session = window_.Session();
  model_ = std::make_unique<LightingModel>(session.Store(), session.Worker(),
                                           [this](int id) { return window_.Text(id); });
  for (int id : {kIdEffectArea, kIdParamArea}) {
    auto* area = page_->Create<DUI::MPicture>(id);
    area->SetImage(kSectionImage, 1);
    area->SetShowMode(DUI::MPicture::kShowSliced, kSectionMargin);
  }
  const auto caption = [this](int id, int text_id, bool visible = true) {
    auto* text = window_.Labelled(page_->Create<DUI::MText>(id, {}, {}, visible), text_id);
    text->SetFontWidth(14);
    text->SetTextColor(kCaptionColor);
    return text;
  };
  caption(kIdEffectCaption, kTextLightingEffect);
  modes_ = page_->Create<DUI::MComboBox>(kIdModeList);
  modes_->SetImage("img_combobox.png", 4);
  modes_->SetFont("", 14, 0);
  // A reader names the list by its caption; the mode shown is its value.
  window_.Named(modes_, kTextLightingEffect);
  auto* reset = page_->Create<DUI::CImageButton>(kIdReset);
  reset->SetImage("btn_reset.png", 4);
  window_.Tooltip(reset, kTextResetLightingTitle);

  caption(kIdBrightnessLabel, kTextLightingBrightness);
  caption(kIdSpeedLabel, kTextLightingSpeed);
  brightness_value_ = page_->Create<DUI::MText>(kIdBrightnessValue);
  speed_value_ = page_->Create<DUI::MText>(kIdSpeedValue);
  for (DUI::MControlFont* value : {brightness_value_, speed_value_}) value->SetFontWidth(14);
  brightness_ = page_->Create<DUI::LightSlider>(kIdBrightness);
  speed_ = page_->Create<DUI::LightSlider>(kIdSpeed);
  brightness_->SetRange(0, kLightMaxBrightness);
  speed_->SetRange(0, kMaxSpeedPosition);
  for (DUI::LightSlider* slider : {brightness_, speed_}) slider->SetImage("img_slider_bar.png", 1);
  brightness_->SetPos(kLightMaxBrightness);
  // A reader hears the percentage the readout beside the slider shows, not its level.
  brightness_->SetShownValue([](int level) { return level * 100 / kLightMaxBrightness; });
  brightness_->SetShownUnit(QStringLiteral("%"));
  speed_->SetPos(2);
  window_.Tooltip(brightness_, kTextLightingBrightness);
  window_.Tooltip(speed_, kTextLightingSpeed);

  caption(kIdSlotCaption, kTextColorSlots, false);
  for (int i = 0; i < kLightSlots; ++i) {
    slots_[i] = page_->Create<DUI::CColorButton>(kIdFirstSlot + i, {}, {}, false);
    slots_[i]->SetColor(kPresets[i]);
    slots_[i]->SetGroup(kSlotGroup);
  }
  caption(kIdColorCaption, kTextLightingColor);
  caption(kIdPresetCaption, kTextPresetColors);
  for (int i = 0; i < kPresetCount; ++i) {
    auto* preset = page_->Create<DUI::CColorButton>(kIdFirstPreset + i);
    preset->SetColor(kPresets[i]);
    preset->SetGroup(kPresetGroup);
  }
  caption(kIdCustomCaption, kTextCustomColor);
  palette_ = page_->Create<DUI::MPalette>(kIdPalette);
  window_.Tooltip(palette_, kTextCustomColor);
  preview_ = page_->Create<DUI::CArea>(kIdPreview);
  preview_->SetColor(kPreviewStart);
  for (int i = 0; i < 3; ++i) {
    auto* label = page_->Create<DUI::MText>(kIdRedLabel + i, {}, kChannelLabels[i]);
    label->SetTextColor(kCaptionColor);
    auto* edit = page_->Create<DUI::MEdit>(kIdRed + i, {}, "255");
    edit->SetImage("img_edit.png", 4);
    edit->SetAlignment(DUI::kAlignCenter);
    edit->SetNumberOnly(true, kChannelDigits);
    edit->SetHint(kChannelLabels[i]);
    channels_[i] = edit;
  }
}

void LightingPage::Layout(const PageGeometry& geometry) {
  client_ = geometry.client;
  scale_ = geometry.scale;
  const double scale = geometry.scale;
  if (page_ == nullptr) return;
  const int right = SectionRight();
  const auto y = [scale](int v) { return static_cast<int>(v * scale); };
  Control(kIdEffectArea)->SetRect({kLeft, y(kEffectTop), right, y(kEffectTop + kEffectHeight)});
  const int row = y(kEffectTop) + (y(kEffectHeight) - kRowHeight) / 2;
  Control(kIdEffectCaption)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
  modes_->SetRect({kControlLeft, row, kControlLeft + 240, row + kRowHeight});
  Control(kIdReset)->SetRect({right - 50, row, right - 20, row + kRowHeight});
  PlaceParameters();
}

// The parameter area lists the rows the current mode offers, top to bottom.
void LightingPage::PlaceParameters() {
  if (page_ == nullptr) return;
  const double s = scale_;
  const auto y = [s](int v) { return static_cast<int>(v * s); };
  const int page_height = client_.bottom - 50 - 80;
  const bool brightness = view_ && view_->show_brightness;
  const bool speed = view_ && view_->show_speed;
  const bool with_slots = view_ && view_->show_slots;
  const bool tall = view_ && view_->tall;
  const int top = y(kEffectTop + kEffectHeight + 15);
  int row = top + y(15);
  const auto place_row = [&](int label, DUI::MControl* control, int readout) {
    Control(label)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
    control->SetRect({kControlLeft, row, kControlLeft + kSliderWidth, row + kRowHeight});
    if (readout != 0) {
      Control(readout)->SetRect({kControlLeft + kSliderWidth + 20, row,
                                 kControlLeft + kSliderWidth + 20 + kReadoutWidth,
                                 row + kRowHeight});
    }
    row += y(kRowStep);
  };
  if (brightness) place_row(kIdBrightnessLabel, brightness_, kIdBrightnessValue);
  if (speed) place_row(kIdSpeedLabel, speed_, kIdSpeedValue);
  if (with_slots) {
    Control(kIdSlotCaption)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
    for (int i = 0; i < kLightSlots; ++i) {
      const int left = kControlLeft + i * kSwatchStep;
      slots_[i]->SetRect({left, row, left + kSwatch, row + kSwatch});
    }
    row += y(kRowStep);
  }
  if (tall) {
    Control(kIdColorCaption)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
    row += y(kRowStep) - 10;
    Control(kIdPresetCaption)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
    for (int i = 0; i < kPresetCount; ++i) {
      const int left = kControlLeft + i * kSwatchStep;
      Control(kIdFirstPreset + i)->SetRect({left, row, left + kSwatch, row + kSwatch});
    }
    row += y(kRowStep);
    Control(kIdCustomCaption)->SetRect({kLabelLeft, row, kControlLeft, row + kRowHeight});
    const int palette_height = std::max(80, y(kPaletteHeight));
    palette_->SetRect({kControlLeft, row, kControlLeft + kPaletteWidth, row + palette_height});
    const int side = kControlLeft + kPaletteWidth + 25;
    preview_->SetRect({side, row, side + 90, row + std::min(50, palette_height / 3)});
    const int field_step = std::max(kRowHeight + 2, (palette_height - 50) / 3);
    for (int i = 0; i < 3; ++i) {
      const int field_top = row + palette_height - (3 - i) * field_step + (field_step - 28);
      Control(kIdRedLabel + i)->SetRect({side, field_top, side + 20, field_top + 28});
      channels_[i]->SetRect({side + 22, field_top, side + 90, field_top + 28});
    }
  }
  // Tall: down to the page's foot; otherwise as high as the rows it holds.
  const int bottom = tall ? page_height - y(10) : std::max(row, top + y(60));
  Control(kIdParamArea)->SetRect({kLeft, top, SectionRight(), bottom});
}

int LightingPage::SectionRight() const {
  return std::max(kMinSectionRight, client_.right - kPictureRoom);
}

void LightingPage::SetShown(int first, int last, bool shown) {
  for (int id = first; id <= last; ++id) {
    if (DUI::MControl* control = Control(id)) control->SetVisible(shown);
  }
}

void LightingPage::Reload() {
  if (page_ == nullptr || !window_.Session().Model().HasLighting()) return;
  SettingsDatabase& store = window_.Session().Store();
  const int profile = store.GetActiveProfile();
  if (profile <= 0) return;
  model_->Load(profile, window_.Session().Model().Definition().light_modes);
  FillModeList();
  Show(model_->CurrentMode());
}

void LightingPage::FillModeList() {
  const std::vector<LightRecord> rows =
      window_.Session().Store().GetLights(window_.Session().Store().GetActiveProfile());
  modes_->ResetContent();
  for (const LightRecord& row : rows) modes_->AddString(window_.Text(row.reserved), row.mode);
}

bool LightingPage::Show(int mode) {
  modes_->SelectData(mode);
  view_ = model_->ShowMode(mode);
  const bool found = view_.has_value();
  const bool brightness = found && view_->show_brightness;
  const bool speed = found && view_->show_speed;
  const bool with_slots = found && view_->show_slots;
  const bool tall = found && view_->tall;
  SetShown(kIdBrightnessLabel, kIdBrightnessLabel, brightness);
  SetShown(kIdBrightnessValue, kIdBrightness, brightness);
  SetShown(kIdSpeedLabel, kIdSpeedLabel, speed);
  SetShown(kIdSpeedValue, kIdSpeed, speed);
  SetShown(kIdSlotCaption, kIdSlotCaption, with_slots);
  SetShown(kIdFirstSlot, kIdLastSlot, with_slots);
  for (int id : {kIdColorCaption, kIdPresetCaption, kIdCustomCaption, kIdPalette, kIdPreview}) {
    SetShown(id, id, tall);
  }
  SetShown(kIdFirstPreset, kIdLastPreset, tall);
  SetShown(kIdRedLabel, kIdBlue, tall);
  if (found) {
    brightness_->SetPos(view_->row.brightness);
    brightness_value_->SetTitle(view_->brightness_caption);
    speed_->SetPos(view_->row.speed);
    speed_value_->SetTitle(view_->speed_caption);
    const int colours[kLightSlots] = {view_->row.color_value1, view_->row.color_value2,
                                      view_->row.color_value3, view_->row.color_value4,
                                      view_->row.color_value5, view_->row.color_value6,
                                      view_->row.color_value7};
    for (int i = 0; i < kLightSlots; ++i) slots_[i]->SetColor(static_cast<uint32_t>(colours[i]));
    if (with_slots) slots_[0]->SetCheck(true);
    // The fields and the preview show the colour a typed change would replace.
    ShowCurrent(static_cast<uint32_t>(colours[0]));
  }
  PlaceParameters();
  return found;
}

int64_t LightingPage::OnMessage(int id, DUI::NotifyCode code, int64_t extra) {
  if (page_ == nullptr) return 0;
  if (id == kIdModeList) {
    if (code == DUI::NotifyCode::kValueChanged) OnModeChosen(static_cast<int>(extra));
    return 1;
  }
  if (id == kIdBrightness || id == kIdSpeed) {
    OnSlider(id, code, static_cast<int>(extra));
    return 1;
  }
  if (id == kIdPalette) {
    OnPalette(code);
    return 1;
  }
  if (id >= kIdRed && id <= kIdBlue) {
    // Typing shows the colour; it is sent once the field is left or Enter is pressed.
    if (code == DUI::NotifyCode::kValueChanged) ShowPreview(ChannelColour());
    if (code == DUI::NotifyCode::kEditFinished) OnChannelEdited();
    return 1;
  }
  if (code != DUI::NotifyCode::kClick) return 0;
  if (id == kIdReset) {
    OnReset();
  } else if (id >= kIdFirstPreset && id <= kIdLastPreset) {
    OnPreset(id);
  } else if (id >= kIdFirstSlot && id <= kIdLastSlot) {
    // A colour slot takes the mark, and the next colour chosen goes into it: the fields
    // show what is there now.
    ShowCurrent(slots_[id - kIdFirstSlot]->GetColor());
  }
  return 1;
}

void LightingPage::OnModeChosen(int index) {
  const int64_t mode = modes_->GetItemData(index);
  if (mode < 0) return;
  Show(static_cast<int>(mode));
  model_->ChooseMode(static_cast<int>(mode));
  window_.ShowSavingPopup();
}

void LightingPage::OnSlider(int id, DUI::NotifyCode code, int position) {
  const bool is_brightness = id == kIdBrightness;
  if (code == DUI::NotifyCode::kValueChanged) {
    // While dragging only the caption follows the thumb.
    if (is_brightness) {
      brightness_value_->SetTitle(
          BrightnessCaption(window_.Text(kTextBrightnessCaption), position));
    } else {
      speed_value_->SetTitle(SpeedDragCaption(window_.Text(kTextSpeedCaption), position));
    }
    return;
  }
  if (code != DUI::NotifyCode::kClick) return;
  const bool stored = is_brightness ? model_->SetBrightness(position) : model_->SetSpeed(position);
  if (!stored) return;
  view_ = model_->ShowMode(model_->CurrentMode());
  if (view_) {
    brightness_value_->SetTitle(view_->brightness_caption);
    speed_value_->SetTitle(view_->speed_caption);
  }
  window_.ShowSavingPopup();
}

void LightingPage::OnPalette(DUI::NotifyCode code) {
  const uint32_t colour = palette_->GetSelectColor();
  if (code == DUI::NotifyCode::kPaletteSelect) {
    ShowChannels(colour);
  } else if (code == DUI::NotifyCode::kClick) {
    ShowChannels(colour);
    ApplyColour(colour);
  }
}

void LightingPage::OnPreset(int id) {
  const uint32_t colour = kPresets[id - kIdFirstPreset];
  ShowChannels(colour);
  ApplyColour(colour);
}

uint32_t LightingPage::ChannelColour() const {
  int red = channels_[0]->GetNumber(), green = channels_[1]->GetNumber();
  int blue = channels_[2]->GetNumber();
  return static_cast<uint32_t>(ColourFromChannels(red, green, blue));
}

void LightingPage::OnChannelEdited() {
  const uint32_t colour = ChannelColour();
  ShowChannels(colour);  // a value past 255 shows the 255 that is sent
  ApplyColour(colour);
}

void LightingPage::ShowChannels(uint32_t colour) {
  for (int i = 0; i < 3; ++i) {
    const std::string value = std::to_string(DUI::ColorRefChannel(colour, i));
    if (channels_[i]->GetTitle() != value) channels_[i]->SetTitle(value);
  }
  MarkPreset(colour);
}

void LightingPage::ShowPreview(uint32_t colour) {
  preview_->SetColor(colour);
  MarkPreset(colour);
}

void LightingPage::MarkPreset(uint32_t colour) {
  const auto* match = std::find(kPresets.begin(), kPresets.end(), colour & 0xFFFFFFu);
  if (match == kPresets.end()) {
    DUI::CColorButton::ClearGroup(&window_, kPresetGroup);
  } else if (auto* preset = dynamic_cast<DUI::CColorButton*>(
                 Control(kIdFirstPreset + static_cast<int>(match - kPresets.begin())))) {
    preset->SetCheck(true);  // clears the rest of the group
  }
}

void LightingPage::ShowCurrent(uint32_t colour) {
  ShowChannels(colour);
  ShowPreview(colour);
}

int LightingPage::MarkedSlot() const {
  for (int i = 0; i < kLightSlots; ++i) {
    if (slots_[i]->GetCheck()) return i;
  }
  return 0;
}

void LightingPage::ApplyColour(uint32_t colour) {
  ShowPreview(colour);
  const bool with_slots = view_ && view_->show_slots;
  const int slot = MarkedSlot();
  if (!model_->ApplyColour(static_cast<int>(colour), slot)) return;
  if (with_slots) slots_[slot]->SetColor(colour);
  window_.ShowSavingPopup();
}

void LightingPage::OnReset() {
  if (window_.MessageBox(kTextResetLightingTitle, kTextResetLightingBody, 2) == 2) return;
  model_->Reset();
  window_.ShowSavingPopup();
}

}  // namespace corvane::ui
