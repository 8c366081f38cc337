// The lighting page in the real window on the simulated mouse (offscreen): the preset
// swatch marked for the colour the fields show, whichever way the colour came there, and
// the page lists (lighting effect, the macro editor's type and value) as a reader hears
// them.
#include "ui/pages/lighting_page.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/ccolor_button.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpalette.h"
#include "ui/pages/macro_page.h"
#include "window_fixture.h"

namespace corvane::ui {
namespace {

class LightingPageTest : public WindowFixture {
 protected:
  void SetUp() override {
    Start("wired");
    OpenSimulatedMouse();
    Settle();
  }
  // The lighting page's container: the one that holds the palette.
  QWidget* Container() {
    const std::vector<DUI::MPalette*> palettes =
        DUI::ControlsOf<DUI::MPalette>(Window().GetSafeHwnd());
    return palettes.size() == 1 ? palettes.front()->parentWidget() : nullptr;
  }
  // Control `id` of the lighting page (other pages reuse its ids).
  template <typename T>
  T* Control(int id) {
    for (T* control : DUI::ControlsOf<T>(Container())) {
      if (control->GetID() == id) return control;
    }
    return nullptr;
  }
  DUI::MComboBox* Modes() { return Control<DUI::MComboBox>(LightingPage::kIdModeList); }
  // Chooses the first mode that shows the presets and the palette.
  bool ShowPresetMode() {
    for (int i = 0; i < Modes()->GetCount(); ++i) {
      Modes()->ChooseItem(i);
      preset_mode_ = i;
      if (Control<DUI::MPalette>(LightingPage::kIdPalette)->IsVisible()) return true;
    }
    return false;
  }
  // Chooses another mode, then that one again: it is shown from the store.
  void ShowPresetModeAgain() {
    Modes()->ChooseItem((preset_mode_ + 1) % Modes()->GetCount());
    Settle();
    Modes()->ChooseItem(preset_mode_);
    Settle();
  }
  // Replaces channel `index`'s text by typing `text`; Enter sends it.
  void Type(int index, const char* text, bool enter) {
    QLineEdit* field =
        Control<DUI::MEdit>(LightingPage::kIdRed + index)->findChild<QLineEdit*>();
    field->selectAll();
    QTest::keyClicks(field, text);
    if (enter) QTest::keyClick(field, Qt::Key_Return);
  }
  // The presets marked, by position.
  std::vector<int> Marked() {
    std::vector<int> marked;
    for (int i = 0; i < LightingPage::kPresetCount; ++i) {
      if (Control<DUI::CColorButton>(LightingPage::kIdFirstPreset + i)->GetCheck()) {
        marked.push_back(i);
      }
    }
    return marked;
  }
  int PresetOf(uint32_t colour) {
    for (int i = 0; i < LightingPage::kPresetCount; ++i) {
      if (LightingPage::kPresets[i] == colour) return i;
    }
    return -1;
  }
  int preset_mode_ = 0;
};

TEST_F(LightingPageTest, ThePresetMarkedIsTheOneEqualToTheColourShown) {
  ASSERT_NE(Container(), nullptr);
  ASSERT_TRUE(ShowPresetMode());
  const int red = PresetOf(0x0000FF), cyan = PresetOf(0xFCFF00);
  ASSERT_TRUE(red >= 0 && cyan >= 0);

  // Typed in the fields: red.
  Type(0, "255", true);
  Type(1, "0", true);
  Type(2, "0", true);
  EXPECT_EQ(Marked(), std::vector<int>{red});

  // Chosen as a preset, then one field changed: no preset is that colour.
  Control<DUI::CColorButton>(LightingPage::kIdFirstPreset + cyan)->PerformClick();
  EXPECT_EQ(Marked(), std::vector<int>{cyan});
  Type(0, "128", false);
  EXPECT_EQ(Marked(), std::vector<int>{}) << "while typing";
  QTest::keyClick(Control<DUI::MEdit>(LightingPage::kIdRed)->findChild<QLineEdit*>(),
                  Qt::Key_Return);
  EXPECT_EQ(Marked(), std::vector<int>{});
  Type(0, "0", true);
  EXPECT_EQ(Marked(), std::vector<int>{cyan});

  // A value past 255 is sent as 255: the white the fields then show.
  Type(0, "999", true);
  Type(2, "255", true);
  EXPECT_EQ(Marked(), std::vector<int>{PresetOf(0xFFFFFF)});

  // The stored colour shown again with the mode.
  Type(1, "7", true);
  ShowPresetModeAgain();
  EXPECT_EQ(Control<DUI::MEdit>(LightingPage::kIdGreen)->GetTitle(), "7");
  EXPECT_EQ(Marked(), std::vector<int>{});
  Type(1, "0", true);
  Type(2, "0", true);
  ShowPresetModeAgain();
  EXPECT_EQ(Marked(), std::vector<int>{red});
}

// A reader hears each list by its caption, in the language chosen, and the item it shows
// as its value (it heard only the item: "Steady", "Right click").
TEST_F(LightingPageTest, PageListsAreNamedByTheirCaptionsAndReadTheirChoiceAsValue) {
  ASSERT_NE(Container(), nullptr);
  std::vector<std::pair<DUI::MComboBox*, int>> lists = {{Modes(), kTextLightingEffect}};
  for (DUI::MComboBox* box : DUI::ControlsOf<DUI::MComboBox>(Window().GetSafeHwnd())) {
    if (box->GetID() == MacroPage::kIdTypeCombo) lists.emplace_back(box, kTextEventTypeLabel);
    if (box->GetID() == MacroPage::kIdMouseCombo) lists.emplace_back(box, kTextEventValueLabel);
  }
  ASSERT_EQ(lists.size(), 3u);
  Modes()->ChooseItem(1);
  for (int language : {1033, 1042}) {
    ASSERT_TRUE(Window().ChangeLanguage(language));
    for (const auto& [box, caption] : lists) {
      QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(box);
      ASSERT_NE(reader, nullptr);
      EXPECT_EQ(reader->text(QAccessible::Name).toStdString(), Text(caption)) << language;
      EXPECT_EQ(reader->text(QAccessible::Value).toStdString(),
                box->GetItemText(box->GetCurSel()))
          << language << " " << caption;
    }
    EXPECT_FALSE(Modes()->GetItemText(Modes()->GetCurSel()).empty());
  }
}

}  // namespace
}  // namespace corvane::ui
