// The colour picker dialog and the two controls it is built from: channel fields clamped
// in place as they are typed, the colour rebuilt from them, presets, the close button's
// "no change" and the name a reader hears, the palette's colour round trip and the swatch
// groups.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/text_ids.h"
#include "ui/dialogs/mouse_palette_dlg.h"
#include "ui/dui/carea.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpalette.h"

namespace corvane::ui {
namespace {

std::string FakeText(int id) { return "text" + std::to_string(id); }

// Opens the dialog, runs `step` once it shows, and returns the ShowModal result.
int RunDialog(MousePaletteDlg& dialog, const std::function<void(MousePaletteDlg&)>& step) {
  DUI::MDialog owner;
  EXPECT_TRUE(owner.Create(nullptr, "Owner", 0, 0, {0, 0, 400, 400}));
  QTimer::singleShot(0, [&dialog, step] { step(dialog); });
  return dialog.Open(owner);
}

DUI::MEdit* Field(MousePaletteDlg& dialog, int id) {
  return static_cast<DUI::MEdit*>(dialog.GetControl(id));
}

// Replaces the field's text as a person typing does.
void Type(MousePaletteDlg& dialog, int id, const QString& text) {
  auto* line = Field(dialog, id)->findChild<QLineEdit*>();
  ASSERT_NE(line, nullptr);
  line->setFocus();
  line->selectAll();
  QTest::keyClicks(line, text);
}

uint32_t PreviewOf(MousePaletteDlg& dialog) {
  return static_cast<DUI::CArea*>(dialog.GetControl(MousePaletteDlg::kIdPreview))->GetColor();
}

uint32_t PaletteOf(MousePaletteDlg& dialog) {
  return static_cast<DUI::MPalette*>(dialog.GetControl(MousePaletteDlg::kIdPalette))
      ->GetSelectColor();
}

TEST(PaletteDialog, ChannelsAreClampedInPlaceAndMakeTheColour) {
  MousePaletteDlg dialog(FakeText);
  std::string red, green, blue;
  uint32_t preview = 0, palette = 0;
  const int result = RunDialog(dialog, [&](MousePaletteDlg& d) {
    EXPECT_EQ(Field(d, MousePaletteDlg::kIdRed)->GetTitle(), "255");
    EXPECT_EQ(PreviewOf(d), MousePaletteDlg::kPreviewStart);
    Type(d, MousePaletteDlg::kIdRed, "18");
    Type(d, MousePaletteDlg::kIdGreen, "300");
    Type(d, MousePaletteDlg::kIdBlue, "999");
    red = Field(d, MousePaletteDlg::kIdRed)->GetTitle();
    green = Field(d, MousePaletteDlg::kIdGreen)->GetTitle();
    blue = Field(d, MousePaletteDlg::kIdBlue)->GetTitle();
    preview = PreviewOf(d);
    palette = PaletteOf(d);
    d.GetControl(MousePaletteDlg::kIdApply)->PerformClick();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(red, "18");
  EXPECT_EQ(green, "255");
  EXPECT_EQ(blue, "255");
  EXPECT_EQ(dialog.GetColor(), 18u + 255u * 256 + 255u * 65536);
  EXPECT_EQ(preview, dialog.GetColor());
  EXPECT_EQ(palette, dialog.GetColor());
}

TEST(PaletteDialog, PresetsFillTheFieldsAndClosingChangesNothing) {
  MousePaletteDlg dialog(FakeText);
  std::string fields, spoken;
  const int result = RunDialog(dialog, [&](MousePaletteDlg& d) {
    // Found by its fixed window title, read by what it is for.
    EXPECT_EQ(DUI::MWindow::FindWindow("PaletteDlg"), &d);
    spoken = QAccessible::queryAccessibleInterface(d.GetSafeHwnd())
                 ->text(QAccessible::Name)
                 .toStdString();
    d.GetControl(MousePaletteDlg::kIdFirstPreset + 5)->PerformClick();  // 0xFFFF00
    for (int id : {MousePaletteDlg::kIdRed, MousePaletteDlg::kIdGreen, MousePaletteDlg::kIdBlue}) {
      fields += Field(d, id)->GetTitle() + " ";
    }
    EXPECT_EQ(PreviewOf(d), 0xFFFF00u);
    EXPECT_EQ(PaletteOf(d), 0xFFFF00u);
    EXPECT_EQ(d.GetColor(), 0xFFFF00u);
    d.GetControl(MousePaletteDlg::kIdClose)->PerformClick();
  });
  EXPECT_EQ(fields, "0 255 255 ");
  EXPECT_EQ(spoken, FakeText(kTextLightingColor));
  EXPECT_EQ(result, 2);
  EXPECT_EQ(dialog.GetColor(), 0u);
}

// Palette choices reach the fields; the palette keeps a colour it was given.
TEST(PaletteDialog, PaletteChoiceShowsInFieldsAndColoursRoundTrip) {
  MousePaletteDlg dialog(FakeText);
  RunDialog(dialog, [&](MousePaletteDlg& d) {
    auto* palette = static_cast<DUI::MPalette*>(d.GetControl(MousePaletteDlg::kIdPalette));
    for (uint32_t colour : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0x804020u, 0xFFFFFFu, 0x7F7F7Fu}) {
      palette->SetSelectColor(colour);
      EXPECT_EQ(palette->GetSelectColor(), colour) << std::hex << colour;
    }
    palette->ChooseColor(0x2040C0);
    EXPECT_EQ(Field(d, MousePaletteDlg::kIdRed)->GetTitle(), "192");
    EXPECT_EQ(Field(d, MousePaletteDlg::kIdGreen)->GetTitle(), "64");
    EXPECT_EQ(Field(d, MousePaletteDlg::kIdBlue)->GetTitle(), "32");
    EXPECT_EQ(PreviewOf(d), 0x2040C0u);
    d.GetControl(MousePaletteDlg::kIdApply)->PerformClick();
  });
  EXPECT_EQ(dialog.GetColor(), 0x2040C0u);
}

TEST(ColorButtons, OneMarkPerGroupAndGroupsIndependent) {
  DUI::MDialog owner;
  ASSERT_TRUE(owner.Create(nullptr, "Owner", 0, 0, {0, 0, 400, 400}));
  DUI::CColorButton* buttons[4];
  for (int i = 0; i < 4; ++i) {
    buttons[i] = static_cast<DUI::CColorButton*>(
        owner.CreateControl("CColorButton", 60 + i, {i * 30, 0, i * 30 + 26, 26}, ""));
    ASSERT_NE(buttons[i], nullptr);
    buttons[i]->SetGroup(i < 3 ? "A" : "B");
  }
  buttons[3]->SetCheck(true);
  buttons[0]->PerformClick();
  buttons[1]->PerformClick();
  EXPECT_FALSE(buttons[0]->GetCheck());
  EXPECT_TRUE(buttons[1]->GetCheck());
  EXPECT_TRUE(buttons[3]->GetCheck());
  EXPECT_EQ(DUI::CColorButton::MarkedOf(&owner, "A"), buttons[1]);
  DUI::CColorButton::ClearGroup(&owner, "A");
  EXPECT_EQ(DUI::CColorButton::MarkedOf(&owner, "A"), nullptr);
  EXPECT_TRUE(buttons[3]->GetCheck());
}

}  // namespace
}  // namespace corvane::ui
