// Controls drawing their words by the fitting rule: a cut title shows whole in the tooltip
// (above the control's own), a label with room below wraps, and a tab too narrow for its
// name is cut rather than drawn past its edge.
#include <QFontMetrics>
#include <QHelpEvent>
#include <QApplication>
#include <QToolTip>

#include <gtest/gtest.h>

#include "control_fixture.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/mtext.h"

namespace corvane::DUI {
namespace {

using TextFitControlTest = ControlFixture;

const char* kLong = "Налаштування пристрою та підсвічування";

void Draw(QWidget* control) { (void)control->grab(); }

// The drawn text's rectangle, joined over its characters.
QRect Drawn(const TextLayoutRecord& layout) {
  QRect all;
  for (int i = 0; i < layout.shown.size(); ++i) all |= layout.CharacterRect(i);
  return all;
}

TEST_F(TextFitControlTest, CutTitleShowsWholeInTheTooltipAboveItsOwn) {
  auto* text = Make<MText>("MText", 10, Rect{0, 0, 60, 20});
  text->SetTitle(kLong);
  Draw(text);
  EXPECT_EQ(text->TitleLayout().mode, TextFitMode::kElided);
  EXPECT_EQ(text->toolTip(), QString::fromUtf8(kLong));
  EXPECT_TRUE(text->rect().contains(Drawn(text->TitleLayout())));

  text->SetTooltip("Own words");
  Draw(text);
  EXPECT_EQ(text->toolTip(), QString::fromUtf8(kLong) + "\nOwn words");
  EXPECT_EQ(text->OwnToolTip(), "Own words");

  // Wide enough again: only its own tooltip is left.
  text->SetRect(Rect{0, 0, 700, 20});
  Draw(text);
  EXPECT_EQ(text->TitleLayout().mode, TextFitMode::kFits);
  EXPECT_EQ(text->toolTip(), "Own words");
  text->SetTooltip("");
  text->SetTitle("Short");
  Draw(text);
  EXPECT_TRUE(text->toolTip().isEmpty());
}

TEST_F(TextFitControlTest, LabelWithRoomBelowWrapsInsteadOfCutting) {
  auto* text = Make<MText>("MText", 11, Rect{0, 0, 170, 80});
  text->SetTitle(kLong);
  Draw(text);
  EXPECT_EQ(text->TitleLayout().mode, TextFitMode::kWrapped);
  EXPECT_EQ(text->TitleLayout().shown, QString::fromUtf8(kLong));
  EXPECT_TRUE(text->rect().contains(Drawn(text->TitleLayout())));
  EXPECT_TRUE(text->toolTip().isEmpty());
}

TEST_F(TextFitControlTest, NarrowTabIsCutInsideItsItemAndNamedWholeInItsTooltip) {
  auto* tabs = Make<MTabCtrl>("MTabCtrl", 12, Rect{0, 0, 120, 200});
  tabs->InsertItem(1, kLong, "", nullptr);
  tabs->InsertItem(2, "Home", "", nullptr);
  tabs->SetItemWidth(120, 120, 1);
  tabs->SetItemHeight(24, 24, 1);
  Draw(tabs);
  const TextLayoutRecord cut = tabs->ItemLayout(0);
  ASSERT_TRUE(cut.drawn);
  EXPECT_EQ(cut.mode, TextFitMode::kElided);
  EXPECT_TRUE(tabs->ItemRect(0).contains(Drawn(cut)));
  EXPECT_EQ(tabs->ItemLayout(1).shown, "Home");

  const QPoint inside = tabs->ItemRect(0).center();
  QHelpEvent help(QEvent::ToolTip, inside, tabs->mapToGlobal(inside));
  QApplication::sendEvent(tabs, &help);
  EXPECT_EQ(QToolTip::text(), QString::fromUtf8(kLong));
  QToolTip::hideText();
}

}  // namespace
}  // namespace corvane::DUI
