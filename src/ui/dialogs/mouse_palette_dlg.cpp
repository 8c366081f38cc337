// The colour picker dialog.
#include "ui/dialogs/mouse_palette_dlg.h"

#include "app/text_ids.h"
#include "settings/lighting_model.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpalette.h"

namespace corvane::ui {
namespace {

constexpr const char* kTitle = "PaletteDlg";
constexpr const char* kPresetGroup = "DEFAULTCOLOR";
constexpr const char* kEditImage = "img_edit.png";
constexpr const char* kChannelLabels[] = {"R:", "G:", "B:"};
constexpr int kChannelDigits = 3;
constexpr int kRowStep = 30;
constexpr int kPresetSide = 26;
constexpr int kPresetStep = 35;
constexpr int kFontPixels = 14;
// The dialog's backdrop is light: the channel labels are dark to be read on it.
constexpr uint32_t kLabelColour = 0xFF303438u;

}  // namespace

MousePaletteDlg::MousePaletteDlg(TextLookup texts) : texts_(std::move(texts)) {}

int MousePaletteDlg::Open(DUI::MWindow& owner, uint32_t start) {
  start_ = start;
  if (!Create(&owner, kTitle, kDialogStyle & ~DUI::kStyleVisible, 0, {0, 0, kWidth, kHeight})) {
    return 0;
  }
  SetReaderName(*this, texts_(kTextLightingColor));
  CenterWindow();
  return ShowModal(kShowModalCode);
}

void MousePaletteDlg::InitUI(const DUI::Rect&) {
  AddCloseButton(*this, kIdClose, {}, texts_(kTextClose));
  palette_ = Create<DUI::MPalette>(kIdPalette);
  palette_->SetTooltip(texts_(kTextCustomColor));
  preview_ = Create<DUI::CArea>(kIdPreview);
  preview_->SetColor(kPreviewStart);
  for (int i = 0; i < 3; ++i) {
    AddText(*this, kIdRedLabel + i, {}, kChannelLabels[i], kFontPixels, kLabelColour, false);
    auto* edit = Create<DUI::MEdit>(kIdRed + i);
    edit->SetImage(kEditImage, kButtonFrames);
    edit->SetAlignment(DUI::kAlignCenter);
    edit->SetNumberOnly(true, kChannelDigits);
    edit->SetHint(std::string(kChannelLabels[i], 1));
    channels_[i] = edit;
  }
  channels_[0]->SetTitle("255");
  for (int i = 0; i < kPresetCount; ++i) {
    auto* preset = Create<DUI::CColorButton>(kIdFirstPreset + i);
    preset->SetColor(kPresets[i]);
    preset->SetGroup(kPresetGroup);
  }
  AddButton(*this, kIdApply, {}, texts_(kTextOk), kFontPixels);
  // Opened for a colour that exists, the dialog starts on it rather than on its own.
  if (start_ != 0) {
    ShowColor(start_, true);
    color_ = 0;  // nothing chosen yet: applying at once changes nothing
  }
}

void MousePaletteDlg::UISize(const DUI::Rect& rect) {
  if (palette_ == nullptr) return;
  const int w = rect.Width(), h = rect.Height();
  GetControl(kIdClose)->SetRect({w - 50, 15, w - 20, 45});
  palette_->SetRect({30, 60, 200, 220});
  preview_->SetRect({210, 60, 300, 110});
  for (int i = 0; i < 3; ++i) {
    const int top = 120 + i * kRowStep;
    GetControl(kIdRedLabel + i)->SetRect({210, top, 240, top + 25});
    channels_[i]->SetRect({240, top, 300, top + 25});
  }
  for (int i = 0; i < kPresetCount; ++i) {
    const int left = 30 + i * kPresetStep;
    GetControl(kIdFirstPreset + i)->SetRect({left, 230, left + kPresetSide, 230 + kPresetSide});
  }
  GetControl(kIdApply)->SetRect({w - 120, h - 50, w - 20, h - 20});
}

void MousePaletteDlg::ShowColor(uint32_t colour, bool in_palette) {
  color_ = colour;
  for (int i = 0; i < 3; ++i) {
    channels_[i]->SetTitle(std::to_string(DUI::ColorRefChannel(colour, i)));
  }
  if (in_palette) palette_->SetSelectColor(colour);
  preview_->SetColor(colour);
}

void MousePaletteDlg::ChannelEdited() {
  int values[3];
  for (int i = 0; i < 3; ++i) values[i] = channels_[i]->GetNumber();
  int typed[3] = {values[0], values[1], values[2]};
  color_ = static_cast<uint32_t>(ColourFromChannels(values[0], values[1], values[2]));
  for (int i = 0; i < 3; ++i) {
    if (values[i] != typed[i]) channels_[i]->SetTitle(std::to_string(values[i]));
  }
  palette_->SetSelectColor(color_);
  preview_->SetColor(color_);
}

int64_t MousePaletteDlg::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (id == kIdPalette && code == DUI::NotifyCode::kPaletteSelect) {
    ShowColor(palette_->GetSelectColor(), false);
    return 1;
  }
  if (id >= kIdRed && id <= kIdBlue && code == DUI::NotifyCode::kValueChanged) {
    ChannelEdited();
    return 1;
  }
  if (code != DUI::NotifyCode::kClick) return 0;
  if (id >= kIdFirstPreset && id < kIdFirstPreset + kPresetCount) {
    ShowColor(kPresets[id - kIdFirstPreset], true);
    return 1;
  }
  if (id == kIdClose) {
    color_ = 0;
    DoCancel();
    return 1;
  }
  if (id == kIdApply) {
    DoOK();
    return 1;
  }
  return 0;
}

}  // namespace corvane::ui
