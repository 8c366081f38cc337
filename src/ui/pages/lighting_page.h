// The lighting page's controls: the mode list, the brightness and speed sliders with
// their captions, the colour slots, the preset swatches, the palette, the red/green/blue
// fields and the reset button. What each control does to the store and the mouse is
// settings/lighting_model.h; this class only binds the controls to it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "settings/lighting_model.h"
#include "ui/dui/dui_types.h"
#include "ui/pages/page.h"

namespace corvane::DUI {
class CArea;
class CColorButton;
class LightSlider;
class MComboBox;
class MControl;
class MControlFont;
class MEdit;
class MPalette;
}  // namespace corvane::DUI

namespace corvane::ui {

class DeviceMainDlg;

class LightingPage : public Page {
 public:
  static constexpr int kIdEffectArea = 198, kIdParamArea = 199;
  static constexpr int kIdEffectCaption = 196, kIdModeList = 197, kIdReset = 201;
  static constexpr int kIdBrightnessLabel = 200, kIdBrightnessValue = 203;
  static constexpr int kIdBrightness = 204;
  static constexpr int kIdSpeedLabel = 202, kIdSpeedValue = 206, kIdSpeed = 207;
  static constexpr int kIdColorCaption = 205, kIdPresetCaption = 208;
  static constexpr int kIdSlotCaption = 217, kIdCustomCaption = 225;
  static constexpr int kIdFirstPreset = 209, kIdLastPreset = 216;
  static constexpr int kIdFirstSlot = 218, kIdLastSlot = 224;
  static constexpr int kIdPalette = 226, kIdPreview = 227;
  static constexpr int kIdRedLabel = 228, kIdRed = 231, kIdGreen = 232, kIdBlue = 233;
  static constexpr int kPresetCount = kIdLastPreset - kIdFirstPreset + 1;
  static constexpr std::array<uint32_t, kPresetCount> kPresets = {
      0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00, 0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};
  static constexpr uint32_t kPreviewStart = 0xD027FB;
  static constexpr int kMaxSpeedPosition = 4;

  explicit LightingPage(DeviceMainDlg& window);
  ~LightingPage();

  // Creates the controls inside the lighting page container.
  void Build(DUI::MControl& container) override;
  // Places them for the window's client rectangle and layout scale.
  void Layout(const PageGeometry& geometry) override;
  bool Handles(int id) const override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra) override;
  void Refresh() override { Reload(); }
  bool Shows(DevicePage part) const override { return part == DevicePage::kLighting; }
  // The captions and the mode list follow the language: reloads.
  void Relabel() override { Reload(); }
  // Loads the active profile's rows (creating them on first use) and shows the current
  // mode; does nothing for a model without lighting.
  void Reload();

 private:
  // Shows `mode`'s parameters; false when the profile has no row for it.
  bool Show(int mode);
  void FillModeList();
  void OnModeChosen(int index);
  void OnSlider(int id, DUI::NotifyCode code, int position);
  void OnPalette(DUI::NotifyCode code);
  void OnPreset(int id);
  void OnChannelEdited();
  void OnReset();
  // Stores colour `c` for the current mode and sends it.
  void ApplyColour(uint32_t colour);
  // Shows `colour`'s red, green and blue in the three fields; marks the preset equal to it.
  void ShowChannels(uint32_t colour);
  // The preview shows `colour`.
  void ShowPreview(uint32_t colour);
  // Marks the preset swatch equal to `colour`, or none when no preset is.
  void MarkPreset(uint32_t colour);
  // The fields and the preview show `colour` (a mode shown, a slot marked).
  void ShowCurrent(uint32_t colour);
  // The colour of the three fields as typed, each clamped to 0..255.
  uint32_t ChannelColour() const;
  int MarkedSlot() const;
  void PlaceParameters();
  // Where the sections end: left of the mouse's picture.
  int SectionRight() const;
  void SetShown(int first, int last, bool shown);
  DUI::MControl* Control(int id) const;

  DeviceMainDlg& window_;
  std::unique_ptr<LightingModel> model_;
  DUI::MControl* page_ = nullptr;
  DUI::MComboBox* modes_ = nullptr;
  DUI::LightSlider* brightness_ = nullptr;
  DUI::LightSlider* speed_ = nullptr;
  DUI::MControlFont* brightness_value_ = nullptr;
  DUI::MControlFont* speed_value_ = nullptr;
  DUI::MPalette* palette_ = nullptr;
  DUI::CArea* preview_ = nullptr;
  std::array<DUI::CColorButton*, kLightSlots> slots_{};
  std::array<DUI::MEdit*, 3> channels_{};
  std::optional<LightView> view_;
  DUI::Rect client_;
  double scale_ = 1.0;
};

}  // namespace corvane::ui
