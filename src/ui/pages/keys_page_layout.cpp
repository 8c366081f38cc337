// Placing the buttons page's controls: the left area holds the button list (260 wide at
// scale 1) and, once a button is picked, the key-edit panel beside it (500 in all); the
// button map takes the room to the right, below the frame's model picture.
#include <algorithm>

#include "ui/device_main_dlg.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/medit.h"
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"
#include "ui/pages/keys_page.h"

namespace corvane::ui {
namespace {

constexpr int kLeftClosed = 260;
constexpr int kLeftOpen = 500;
constexpr int kLeft = 30;
constexpr int kTop = 60;
// The editor openers' rows: caption and button.
struct Opener {
  int caption_id;
  int button_id;
};
constexpr Opener kOpeners[] = {{kIdKeysKeyboardCaption, kIdKeysKeyboard},
                               {kIdKeysRapidFireCaption, kIdKeysRapidFire},
                               {kIdKeysDisableCaption, kIdKeysDisable}};

}  // namespace

void KeysPage::Layout(const PageGeometry& geometry) {
  LayoutPage(page_->GetRect(), geometry.scale);
}

void KeysPage::LayoutPage(const DUI::Rect& page_rect, double scale) {
  scale_ = scale;
  const auto s = [scale](double v) { return static_cast<int>(v * scale); };
  const int width = page_rect.Width();
  const int height = page_rect.Height();
  const int rows = std::max(1, list_->GetCount());
  const int row_height = 15 + s(30);
  const int left_width = s(panel_->IsVisible() ? kLeftOpen : kLeftClosed);
  const int list_width = s(kLeftClosed);
  const int list_top = kTop + s(44);
  const int list_bottom = list_top + rows * row_height;
  auto place = [](DUI::MControl* control, DUI::Rect rect) {
    if (control != nullptr) control->SetRect(rect);
  };
  place(window_.GetControl(kIdKeysListBackground), DUI::Rect{kLeft, kTop, kLeft + list_width, list_bottom + s(64)});
  place(window_.GetControl(kIdKeysListCaption), DUI::Rect{kLeft + 16, kTop + s(8), kLeft + list_width - 16, kTop + s(38)});
  list_->SetRowHeight(row_height);
  place(list_, DUI::Rect{kLeft + 10, list_top, kLeft + list_width - 10, list_bottom});
  place(window_.GetControl(kIdKeysResetAll),
        DUI::Rect{kLeft + 20, list_bottom + s(16), kLeft + list_width - 20, list_bottom + s(48)});
  place(panel_, DUI::Rect{kLeft + list_width + 10, kTop, kLeft + left_width, height - 20});
  LayoutPanel(scale);
  // The button map goes right of the left area and below the frame's model picture,
  // which stands in the page's top right corner.
  int mouse_top = kTop;
  if (DUI::MControl* side = window_.GetControl(kIdSidePicture); side && !side->GetRect().IsEmpty()) {
    mouse_top = std::max(kTop, side->GetRect().bottom - page_rect.top + 10);
  }
  const int mouse_left = kLeft + left_width + 20;
  const int room_width = std::max(0, width - 20 - mouse_left);
  const int room_height = std::max(0, height - 20 - mouse_top);
  const int mouse_width =
      std::min({room_width, s(520), room_height * DUI::MouseCtrl::kDesignWidth /
                                        DUI::MouseCtrl::kDesignHeight});
  const int mouse_x = mouse_left + (room_width - mouse_width) / 2;
  place(mouse_, DUI::Rect{mouse_x, mouse_top, mouse_x + mouse_width,
                          mouse_top + mouse_width * DUI::MouseCtrl::kDesignHeight /
                                          DUI::MouseCtrl::kDesignWidth});
}

int KeysPage::OpenerSplit(int left, int width, int right, double scale) const {
  // The openers' captions ("Keyboard shortcut") and their buttons share a row: half and
  // half when both fit so, else where both fit, else in proportion to what each needs.
  constexpr int kButtonPadding = 24, kCaptionGap = 6;
  int caption = 0, button = 0;
  for (const auto [caption_id, button_id] : kOpeners) {
    if (auto* text = window_.GetControl<DUI::MControlFont>(caption_id)) {
      caption = std::max(caption, text->TitleWidth());
    }
    if (auto* opener = window_.GetControl<DUI::MControlFont>(button_id)) {
      button = std::max(button, opener->TitleWidth());
    }
  }
  caption += static_cast<int>(kCaptionGap * scale);
  button += static_cast<int>(kButtonPadding * scale);
  const int room = right - left;
  if (caption + button <= room) return std::clamp(width / 2, left + caption, right - button);
  return left + room * caption / (caption + button);
}

void KeysPage::LayoutPanel(double scale) {
  const auto s = [scale](double v) { return static_cast<int>(v * scale); };
  const int w = s(kLeftOpen - kLeftClosed) - 10;
  const int h = panel_->GetRect().Height();
  const int x = 12, r = w - 12;
  auto place = [this](int id, DUI::Rect rect) {
    if (DUI::MControl* control = window_.GetControl(id)) control->SetRect(rect);
  };
  place(kIdKeysPanelBackground, DUI::Rect{0, 0, w, h});
  panel_title_->SetRect(DUI::Rect{x, s(8), r - 34, s(38)});
  place(kIdKeysResetButton, DUI::Rect{r - 28, s(10), r, s(38)});
  int y = s(46);
  for (int i = 0; i < kKeysPageListCount; ++i) {
    list_captions_[i]->SetRect(DUI::Rect{x, y, r, y + s(20)});
    lists_[i]->SetRect(DUI::Rect{x, y + s(22), r, y + s(50)});
    y += s(56);
  }
  const int editor_top = y;
  const int split = OpenerSplit(x, w, r, scale);
  for (const auto [caption_id, button_id] : kOpeners) {
    place(caption_id, DUI::Rect{x, y, split, y + s(28)});
    place(button_id, DUI::Rect{split, y, r, y + s(28)});
    y += s(36);
  }
  // Both editors cover the three opener rows and what lies below them.
  y = editor_top - s(6);
  const DUI::Rect back{4, y, w - 4, std::min(h - 4, y + s(176))};
  place(kIdKeysKeyboardBackground, back);
  place(kIdKeysRapidBackground, back);
  place(kIdKeysKeyboardClose, DUI::Rect{r - 26, y + s(8), r - 2, y + s(32)});
  place(kIdKeysRapidClose, DUI::Rect{r - 26, y + s(8), r - 2, y + s(32)});
  place(kIdKeysKeyboardTitle, DUI::Rect{x + 4, y + s(8), r - 30, y + s(32)});
  place(kIdKeysRapidTitle, DUI::Rect{x + 4, y + s(8), r - 30, y + s(32)});
  key_field_->SetRect(DUI::Rect{x + 4, y + s(38), r - 4, y + s(66)});
  const int half = (x + r) / 2;
  for (int i = 0; i < 4; ++i) {
    const int top = y + s(72) + (i / 2) * s(32);
    const int left = i % 2 == 0 ? x + 4 : half + 4;
    toggles_[i]->SetRect(DUI::Rect{left, top, left + (half - x - 8), top + s(28)});
  }
  place(kIdKeysKeyboardApply, DUI::Rect{x + 4, y + s(140), r - 4, y + s(168)});
  place(kIdKeysRapidSecondCaption, DUI::Rect{x + 4, y + s(38), half, y + s(64)});
  rapid_second_->SetRect(DUI::Rect{half, y + s(38), r - 4, y + s(64)});
  place(kIdKeysRapidFirstCaption, DUI::Rect{x + 4, y + s(70), half, y + s(96)});
  rapid_first_->SetRect(DUI::Rect{half, y + s(70), r - 4, y + s(96)});
  place(kIdKeysRapidNote, DUI::Rect{x + 4, y + s(100), r - 4, y + s(136)});
  place(kIdKeysRapidApply, DUI::Rect{x + 4, y + s(140), r - 4, y + s(168)});
}

}  // namespace corvane::ui
