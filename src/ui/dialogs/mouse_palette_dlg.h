// The colour picker dialog: a palette, a preview, red/green/blue fields and eight preset
// swatches. The chosen colour is read after the dialog closes; 0 means "leave the colour
// as it was" (closing with the close button gives 0 too).
#pragma once

#include <array>
#include <cstdint>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::DUI {
class CArea;
class MEdit;
class MPalette;
}  // namespace corvane::DUI

namespace corvane::ui {

class MousePaletteDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 330, kHeight = 320;
  static constexpr int kIdClose = 31, kIdPalette = 32, kIdPreview = 33;
  static constexpr int kIdRedLabel = 34, kIdRed = 37, kIdGreen = 38, kIdBlue = 39;
  static constexpr int kIdFirstPreset = 40, kPresetCount = 8, kIdApply = 48;
  static constexpr uint32_t kPreviewStart = 0xD027FB;
  static constexpr std::array<uint32_t, kPresetCount> kPresets = {
      0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF};

  explicit MousePaletteDlg(TextLookup texts);

  // Opens centred over `owner` on `start` (24-bit, red in the low byte; 0 opens on the
  // dialog's own start colour) and waits: 1 after the apply button, 2 when closed.
  int Open(DUI::MWindow& owner, uint32_t start = 0);
  // The colour chosen (24-bit, red in the low byte); 0 when nothing is to change.
  uint32_t GetColor() const { return color_; }

  void InitUI(const DUI::Rect& rect) override;
  void UISize(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

 private:
  // A field was typed into: clamp it in place, then rebuild the colour from the three.
  void ChannelEdited();
  // Shows `colour` in the fields, the palette and the preview.
  void ShowColor(uint32_t colour, bool in_palette);

  TextLookup texts_;
  uint32_t start_ = 0;
  uint32_t color_ = 0;
  DUI::MPalette* palette_ = nullptr;
  DUI::CArea* preview_ = nullptr;
  std::array<DUI::MEdit*, 3> channels_{};
};

}  // namespace corvane::ui
