// Controls: frame choice by state, skin loading and its fallback, and the notification
// codes that reach the owning dialog.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "ui/dui/battery_ctrl.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/control_factory.h"
#include "ui/dui/dpi_control.h"
#include "ui/dui/dpi_slider.h"
#include "ui/dui/reporte_ctrl.h"
#include "ui/dui/light_slider.h"
#include "ui/dui/cradio_button.h"
#include "control_fixture.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/medit.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/dui/mtab_layout.h"
#include "ui/dui/mtext.h"

namespace corvane::DUI {
namespace {

using ControlTest = ControlFixture;

TEST(SkinFrames, FrameForStateFollowsStripLayout) {
  const ControlState normal{};
  const ControlState hover{true, true, false, false};
  const ControlState pressed{true, true, true, false};
  const ControlState disabled{false, true, true, false};
  const ControlState checked{true, false, false, true};
  const ControlState checked_hover{true, true, false, true};
  const ControlState checked_disabled{false, false, false, true};
  EXPECT_EQ(SkinImage::FrameForState(1, pressed), 0);
  EXPECT_EQ(SkinImage::FrameForState(2, normal), 0);
  EXPECT_EQ(SkinImage::FrameForState(2, hover), 1);
  EXPECT_EQ(SkinImage::FrameForState(4, normal), 0);
  EXPECT_EQ(SkinImage::FrameForState(4, hover), 1);
  EXPECT_EQ(SkinImage::FrameForState(4, pressed), 2);
  EXPECT_EQ(SkinImage::FrameForState(4, disabled), 3) << "disabled wins over pressed";
  EXPECT_EQ(SkinImage::FrameForState(4, checked), 2) << "toggled buttons look pressed";
  EXPECT_EQ(SkinImage::FrameForState(8, normal), 0);
  EXPECT_EQ(SkinImage::FrameForState(8, checked), 4);
  EXPECT_EQ(SkinImage::FrameForState(8, checked_hover), 5);
  EXPECT_EQ(SkinImage::FrameForState(8, checked_disabled), 7);
}

TEST(SkinFrames, ShippedStripsSplitIntoTheirFramesAndUnsafeNamesAreRefused) {
  SkinImage button;
  ASSERT_TRUE(button.Load("img_button.png", 4));
  const QImage whole(QString::fromStdString(SkinImage::ResolvePath("img_button.png")));
  EXPECT_EQ(button.FrameSize(), QSize(whole.width() / 4, whole.height()));
  const int frame_width = whole.width() / 4;
  const QPoint middle(frame_width / 2, whole.height() / 2);
  EXPECT_EQ(button.Frame(2).toImage().pixel(middle),
            whole.pixel(middle + QPoint(2 * frame_width, 0)));
  EXPECT_NE(button.Frame(2).toImage().pixel(middle), button.Frame(0).toImage().pixel(middle))
      << "pressed and normal frames differ";
  EXPECT_EQ(button.Frame(99).toImage(), button.Frame(3).toImage()) << "index clamped";

  SkinImage nested;
  EXPECT_TRUE(nested.Load("icon\\icon_battery_bkg.png", 1)) << "backslash folders";
  EXPECT_TRUE(nested.Load("icon//icon_mouse_settings.png", 1));
  EXPECT_EQ(SkinImage::ResolvePath("../../config.xml"), "");
  EXPECT_EQ(SkinImage::ResolvePath("icon\\..\\..\\x.png"), "");
  EXPECT_EQ(SkinImage::ResolvePath("/etc/passwd"), "");
  EXPECT_NE(SkinImage::ResolvePath("a..b.png"), "");
}

TEST_F(ControlTest, MissingImageFallsBackToAPaintedNativeButton) {
  auto* button = Make<MButton>("MButton", 5, Rect{10, 10, 130, 40}, "Apply");
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->SetImage("no_such_image.png", 4));
  EXPECT_TRUE(button->GetImage().IsNull());
  QImage shot = button->grab().toImage();
  int painted = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) painted += qAlpha(shot.pixel(x, y)) > 0;
  }
  EXPECT_GT(painted, shot.width() * shot.height() / 2) << "the fallback still draws a button";
  EXPECT_TRUE(button->SetImage("img_button.png", 4));
}

TEST_F(ControlTest, ClicksReachOnMessageWithCodeTwoAndToggleChecks) {
  auto* button = Make<MButton>("MButton", 33, Rect{10, 10, 110, 40}, "OK");
  auto* box = Make<CCheckButton>("CCheckButton", 134, Rect{10, 50, 200, 70}, "one");
  auto* box2 = Make<CCheckButton>("CCheckButton", 134, Rect{10, 80, 200, 100}, "two");
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::mouseClick(box2, Qt::LeftButton);
  QTest::mouseClick(box2, Qt::LeftButton);
  ASSERT_EQ(dialog_.notes.size(), 4u);
  EXPECT_EQ(dialog_.notes[0].id, 33);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes[1].id, 134);
  EXPECT_EQ(dialog_.notes[2].id, 134) << "shared ids are reported as they are";
  EXPECT_TRUE(box->GetCheck());
  EXPECT_FALSE(box2->GetCheck());

  button->SetEnabled(false);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(dialog_.notes.size(), 4u) << "disabled controls stay silent";
}

TEST_F(ControlTest, RadioGroupsKeepOneChecked) {
  auto* a = Make<CRadioButton>("CRadioButton", 129, Rect{0, 0, 100, 20}, "1.0mm");
  auto* b = Make<CRadioButton>("CRadioButton", 130, Rect{0, 30, 100, 50}, "2.0mm");
  auto* other = Make<CRadioButton>("CRadioButton", 286, Rect{0, 60, 100, 80}, "x");
  a->SetGroup("IDC_PER_STC_LOD");
  b->SetGroup("IDC_PER_STC_LOD");
  other->SetGroup("IDC_SET_STC_EXITMODE");
  a->SetCheck(true);
  other->SetCheck(true);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_FALSE(a->GetCheck());
  EXPECT_TRUE(b->GetCheck());
  EXPECT_TRUE(other->GetCheck()) << "other groups untouched";
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->GetCheck()) << "clicking a checked radio keeps it";
  ASSERT_EQ(dialog_.notes.size(), 2u);
  EXPECT_EQ(dialog_.notes[0].id, 130);
}

TEST_F(ControlTest, ComboBoxSelectionByDataAndValueChangedCode) {
  auto* combo = Make<MComboBox>("MComboBox", 120, Rect{0, 0, 120, 28});
  for (int i = 1; i <= 6; ++i) combo->AddString(std::to_string(i), i);
  EXPECT_TRUE(combo->SelectData(6));
  EXPECT_EQ(combo->GetCurSel(), 5);
  EXPECT_FALSE(combo->SelectData(42));
  EXPECT_EQ(combo->GetCurSel(), 5) << "unknown data keeps the selection";
  EXPECT_EQ(combo->GetItemData(9), -1);
  EXPECT_TRUE(dialog_.notes.empty()) << "programmatic selection does not notify";
  combo->ChooseItem(2);
  combo->ChooseItem(2);
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kValueChanged);
  EXPECT_EQ(dialog_.notes[0].extra, 2);
  EXPECT_EQ(combo->GetCurData(), 3);
}

// The open list is walked from the keyboard: Home and End reach its ends, Enter chooses.
TEST_F(ControlTest, ComboBoxListTakesHomeAndEndThenEnter) {
  auto* combo = Make<MComboBox>("MComboBox", 120, Rect{0, 0, 120, 28});
  for (int i = 1; i <= 6; ++i) combo->AddString(std::to_string(i), i);
  combo->SetCurSel(2);
  for (const auto& [key, expected] : {std::pair{Qt::Key_End, 5}, {Qt::Key_Home, 0}}) {
    dialog_.notes.clear();
    QTimer::singleShot(50, [key = key] {
      QWidget* open = QApplication::activePopupWidget();
      if (open == nullptr) return;
      QTest::keyClick(open, key);
      QTest::keyClick(open, Qt::Key_Return);
    });
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_EQ(combo->GetCurSel(), expected) << key;
    ASSERT_EQ(dialog_.notes.size(), 1u) << key;
    EXPECT_EQ(dialog_.notes[0].extra, expected);
  }
}

TEST_F(ControlTest, AFunctionListTakesTheItemItShowsAsAChoice) {
  // A function list shows its first item before anything from it is assigned; picking
  // that item must assign it. Picking the marked (assigned) item again assigns it again,
  // so a macro edited since reaches the mouse.
  auto* list = Make<MComboBox>("MComboBox", 86, Rect{0, 0, 160, 28});
  list->AddString("Custom 1", 1);
  list->SetCurSel(0);
  list->SetCheck(false);
  list->ChooseItem(0);
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].extra, 0);
  list->SetCheck(true);
  list->ChooseItem(0);
  EXPECT_EQ(dialog_.notes.size(), 2u);
}

TEST_F(ControlTest, EditReportsFocusTypingAndFinishedEditing) {
  auto* edit = Make<MEdit>("NumberEdit", 139, Rect{0, 0, 120, 28}, "12");
  ASSERT_NE(edit, nullptr);
  edit->SetImage("img_edit.png", 4);
  auto* field = edit->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "12");
  dialog_.GetSafeHwnd()->activateWindow();
  edit->OnFocus(true);
  QCoreApplication::processEvents();
  QTest::keyClicks(field, "3x");
  QTest::keyClick(field, Qt::Key_Return);
  std::vector<NotifyCode> codes;
  for (const Note& note : dialog_.notes) codes.push_back(note.code);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), NotifyCode::kFocusGained);
  EXPECT_NE(std::find(codes.begin(), codes.end(), NotifyCode::kValueChanged), codes.end());
  // A finished edit is reported, then confirmed (a click) because the number changed.
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[codes.size() - 2], NotifyCode::kEditFinished);
  EXPECT_EQ(codes.back(), NotifyCode::kClick);
  EXPECT_EQ(edit->GetTitle(), "123") << "digits only in a number edit";
  EXPECT_EQ(edit->GetNumber(), 123);
}

TEST_F(ControlTest, StageListReportsRowSwatchAndEditByTheirCodes) {
  auto* list = Make<DPIControl>("DPIControl", 116, Rect{0, 0, 300, 240});
  ASSERT_NE(list, nullptr);
  list->AddItem(800, 0x0000FF);
  list->AddItem(1600, 0x00FF00);
  QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, list->ItemRect(1).center());
  QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, list->SwatchRect(0).center());
  ASSERT_EQ(dialog_.notes.size(), 2u);
  EXPECT_EQ(std::tie(dialog_.notes[0].code, dialog_.notes[0].extra),
            std::make_tuple(NotifyCode::kClick, int64_t{1}));
  EXPECT_EQ(std::tie(dialog_.notes[1].code, dialog_.notes[1].extra),
            std::make_tuple(NotifyCode::kSwatchClick, int64_t{0}));
  EXPECT_EQ(list->GetSelectItem(), 1) << "a swatch click does not select";
  EXPECT_EQ(list->GetColorIndex(), 0);
  ASSERT_TRUE(list->BeginEdit(1));
  auto* field = list->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "1600");
  field->setText("2450");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kEditFinished);
  EXPECT_EQ(dialog_.notes.back().extra, 1);
  EXPECT_EQ(list->GetEditText(), "2450");
  EXPECT_EQ(list->GetDPIValue(1), 1600) << "the owner decides what is stored and shown";
  ASSERT_TRUE(list->BeginEdit(0));
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_EQ(dialog_.notes.size(), 3u) << "Escape drops the edit";
  EXPECT_FALSE(list->BeginEdit(5));
}

TEST_F(ControlTest, EnterEditsAStageAndTheKeyboardStaysOnTheListAfterwards) {
  auto* list = Make<DPIControl>("DPIControl", 116, Rect{0, 0, 300, 240});
  auto* next = Make<MEdit>("NumberEdit", 139, Rect{0, 250, 120, 280}, "12");
  ASSERT_NE(list, nullptr);
  ASSERT_NE(next, nullptr);
  list->AddItem(800, 0x0000FF);
  list->AddItem(1600, 0x00FF00);
  dialog_.GetSafeHwnd()->activateWindow();
  if (!QTest::qWaitForWindowActive(dialog_.GetSafeHwnd())) GTEST_SKIP() << "no activation here";
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  auto* field = list->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(field->isVisible()) << "Enter opens the stage's editor";
  EXPECT_TRUE(field->hasFocus());
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_FALSE(field->isVisible()) << "the Enter that closed the editor does not open it again";
  EXPECT_TRUE(list->hasFocus()) << "not the next control in the Tab order";
  QTest::keyClick(list, Qt::Key_F2);
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_TRUE(list->hasFocus()) << "Escape leaves the keyboard on the list too";
}

TEST_F(ControlTest, DpiSliderShowsItsEndsAndReportsMovesThenARelease) {
  auto* slider = Make<DPISlider>("DPISlider", 117, Rect{0, 0, 400, 50});
  ASSERT_NE(slider, nullptr);
  slider->SetRange(1, 160);
  slider->SetDPIDesc("100", "16000");
  slider->SetProgress(8);
  EXPECT_TRUE(dialog_.notes.empty()) << "setting the position is silent";
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Right);
  ASSERT_EQ(dialog_.notes.size(), 2u);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kValueChanged);
  EXPECT_EQ(dialog_.notes[0].extra, 9);
  EXPECT_EQ(dialog_.notes[1].code, NotifyCode::kClick);
  // Home and End go to the ends, the paging keys a tenth of the range.
  for (auto [key, pos] : {std::pair{Qt::Key_PageUp, 24}, {Qt::Key_End, 160}, {Qt::Key_PageUp, 160},
                          {Qt::Key_PageDown, 145}, {Qt::Key_Home, 1}, {Qt::Key_PageDown, 1}}) {
    QTest::keyClick(slider, key);
    EXPECT_EQ(slider->GetPos(), pos) << "key " << static_cast<int>(key);
    EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kClick);
  }
  QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(399, 10));
  QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(399, 10));
  EXPECT_EQ(slider->GetPos(), 160);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes.back().extra, 160);
  EXPECT_EQ(slider->MaxText(), "16000");
}

TEST_F(ControlTest, RatePickerSelectsByKeyAndReportsClickedItems) {
  auto* rates = Make<ReporteCtrl>("ReporteCtrl", 125, Rect{0, 0, 400, 40});
  ASSERT_NE(rates, nullptr);
  rates->AddItem("125Hz", 8, 0x0108F1);
  rates->AddItem("250Hz", 4, 0xED6B00);
  rates->SetSelectItemValue(4);
  EXPECT_EQ(rates->GetSelectItem(), 1);
  rates->SetSelectItemValue(99);
  EXPECT_EQ(rates->GetSelectItem(), -1) << "a code without an item leaves nothing selected";
  QTest::mouseClick(rates, Qt::LeftButton, Qt::NoModifier, rates->ItemRect(0).center());
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes[0].extra, 0);
  EXPECT_EQ(rates->GetItemKeyValue(rates->GetSelectItem()), 8);
}

TEST_F(ControlTest, TabStripSwitchesPagesAndReportsTheNewIndex) {
  auto* home = Make<MTabLayout>("MTabLayout", 49, Rect{200, 0, 800, 500});
  auto* keys = Make<MTabLayout>("MTabLayout", 50, Rect{200, 0, 800, 500});
  auto* tabs = Make<MTabCtrl>("MTabCtrl", 48, Rect{0, 0, 190, 400});
  tabs->SetImage("img_tabitem_bkg.png", 4);
  tabs->SetItemWidth(190, 190, 1);
  tabs->SetItemHeight(60, 60, 1);
  EXPECT_EQ(tabs->InsertItem(1, "Home", "icon\\tab_home.png", home), 0);
  EXPECT_EQ(tabs->InsertItem(2, "Keys", "icon\\tab_key.png", keys), 1);
  tabs->SetCurSel(0);
  EXPECT_TRUE(home->IsVisible());
  EXPECT_FALSE(keys->IsVisible());
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->ItemRect(1).center());
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].id, 48);
  EXPECT_EQ(dialog_.notes[0].extra, 1);
  EXPECT_EQ(tabs->GetItemID(dialog_.notes[0].extra), 2);
  EXPECT_TRUE(keys->IsVisible());
  EXPECT_FALSE(home->IsVisible());
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->ItemRect(1).center());
  EXPECT_EQ(dialog_.notes.size(), 1u) << "the selected tab does not report again";
  EXPECT_EQ(tabs->GetItemID(7), -1);
}

TEST_F(ControlTest, ContainersCreateChildrenThatNotifyTheDialog) {
  auto* page = Make<MTabLayout>("MTabLayout", 55, Rect{0, 0, 400, 300});
  MControl* inner = page->CreateControl("MButton", 248, Rect{10, 10, 110, 40}, "Check");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(dialog_.GetControl(248), inner);
  EXPECT_EQ(dialog_.CreateControl("NoSuchClass", 1, Rect{}, ""), nullptr);
  EXPECT_EQ(dialog_.CreateArea("MPicture", 2, Rect{}, "", 0)->IsVisible(), false);
  QTest::mouseClick(inner, Qt::LeftButton);
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].id, 248);
}

TEST_F(ControlTest, TypedCreationHandsBackTheTypeWithItsArguments) {
  auto* page = Make<MTabLayout>("MTabLayout", 55, Rect{0, 0, 400, 300});
  MButton* button = page->Create<MButton>(248, Rect{10, 10, 110, 40}, "Check");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetTitle(), "Check");
  EXPECT_EQ(button->GetRect(), (Rect{10, 10, 110, 40}));
  EXPECT_EQ(button->parentWidget(), page) << "made inside the container";
  EXPECT_EQ(dialog_.GetControl<MButton>(248), button);
  EXPECT_EQ(dialog_.GetControl<MEdit>(248), nullptr) << "a control of another type is not handed back";
  EXPECT_EQ(button->Create<MText>(1), nullptr) << "a plain control holds no children";
  MText* hidden = dialog_.Create<MText>(2, Rect{}, "", false, false);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->IsVisible());
  EXPECT_FALSE(hidden->IsEnabled());
  NoteDialog unopened;
  EXPECT_EQ(unopened.Create<MText>(3), nullptr) << "no window, no controls";
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].id, 248);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kClick);
}

TEST_F(ControlTest, DeviceListTracksPresenceSelectionAndClicks) {
  auto* list = Make<CDeviceList>("CDeviceList", 57, Rect{0, 0, 800, 300});
  list->AddDevice("Wired", 101, "device/device_default.png");
  list->AddDevice("Dual", 102, "device/device_default.png");
  EXPECT_EQ(list->GetOnlineDevCount(), 0);
  list->SetSelectDevice(101);
  EXPECT_EQ(list->GetSelectDevice(), 0) << "nothing present, nothing selected";
  list->SetDeviceState(102, CDeviceList::kModeWireless, 2);
  EXPECT_EQ(list->GetOnlineDevCount(), 1) << "receiver present counts";
  list->SetSelectDevice(101);
  EXPECT_EQ(list->GetSelectDevice(), 102) << "absent type falls back to the first present";
  list->SetDeviceState(101, CDeviceList::kModeWired, 1);
  list->SetSelectDevice(101);
  EXPECT_EQ(list->GetSelectDevice(), 101);
  list->SetSelectIndex(-1);
  EXPECT_EQ(list->GetSelectDevice(), 0);

  QCoreApplication::processEvents();
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(400 + CDeviceList::kCardGap, 150));
  ASSERT_EQ(dialog_.notes.size(), 1u);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes[0].extra, 102);
  EXPECT_EQ(list->GetSelectDevice(), 102);

  // Paging: one card per page in a narrow list; losing a model pulls the page back.
  list->SetRect(Rect{0, 0, CDeviceList::kCardWidth, 300});
  EXPECT_FALSE(list->PrevPage());
  EXPECT_TRUE(list->NextPage());
  EXPECT_FALSE(list->NextPage());
  list->SetDeviceState(102, CDeviceList::kModeWired, 0);
  list->SetDeviceState(102, CDeviceList::kModeWireless, 0);
  QCoreApplication::processEvents();
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(CDeviceList::kCardWidth / 2, 150));
  ASSERT_EQ(dialog_.notes.size(), 2u) << "the remaining card is shown and clickable";
  EXPECT_EQ(dialog_.notes[1].extra, 101);

  list->SetAllDeviceState(0);
  EXPECT_EQ(list->GetOnlineDevCount(), 0);
  EXPECT_EQ(CDeviceList::FormatRelease(0x123), "1.23");
  EXPECT_EQ(CDeviceList::FormatRelease(0x5), "5.5");
}

TEST_F(ControlTest, SliderMovesOnClickAndReportsThePosition) {
  auto* slider = Make<LightSlider>("LightSlider", 204, Rect{0, 0, 214, 20});
  slider->SetRange(0, 100);
  slider->SetPos(500);
  EXPECT_EQ(slider->GetPos(), 100) << "clamped into the range";
  slider->SetPos(0);
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(107, 10));
  // The move, then the release.
  ASSERT_EQ(dialog_.notes.size(), 2u);
  EXPECT_EQ(dialog_.notes[0].code, NotifyCode::kValueChanged);
  EXPECT_EQ(dialog_.notes[0].extra, 50);
  EXPECT_EQ(dialog_.notes[1].code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes[1].extra, 50);
  EXPECT_EQ(slider->GetPos(), 50);
  EXPECT_EQ(slider->PositionAt(-40), 0);
  EXPECT_EQ(slider->PositionAt(1000), 100);
}

TEST_F(ControlTest, BatteryClampsLevelAndAnimatesOnlyWhileCharging) {
  auto* battery = Make<BatteryCtrl>("BatteryCtrl", 43, Rect{0, 0, 95, 30});
  battery->SetImage("icon\\icon_battery_bkg.png", 1);
  EXPECT_TRUE(battery->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png"));
  battery->SetBatteryInfo(250, 0);
  EXPECT_EQ(battery->GetLevel(), 100);
  EXPECT_EQ(battery->GetTitle(), "100%");
  battery->SetBatteryInfo(40, 0);
  for (int i = 0; i < 3 * BatteryCtrl::kTicksPerStep; ++i) battery->OnMTimer();
  EXPECT_EQ(battery->GetShownLevel(), 40);
  battery->SetBatteryInfo(40, BatteryCtrl::kStateCharging);
  for (int i = 0; i < BatteryCtrl::kTicksPerStep; ++i) battery->OnMTimer();
  EXPECT_EQ(battery->GetShownLevel(), 40 + BatteryCtrl::kSweepStep);
  EXPECT_EQ(battery->GetLevel(), 40);
}

}  // namespace
}  // namespace corvane::DUI
