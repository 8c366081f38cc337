// Where windows go and how the frame resizes: the resize band along the edges of a
// resizable frameless window, the notices' corner and centre, and that a window placed
// relative to its owner stays an ordinary window where the program places windows itself
// (X11, and the offscreen platform the tests run on).
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/dui/mdialog.h"
#include "ui/dui/window_placement.h"

namespace corvane::DUI {
namespace {

constexpr uint32_t kPopupStyle = kStylePopup | kStyleVisible;

TEST(WindowPlacementTest, ResizeBandCoversEdgesAndCornersOnly) {
  const QSize size(400, 300);
  const int band = kResizeBorder;
  EXPECT_EQ(FrameEdgesAt({200, 150}, size, band), Qt::Edges());
  EXPECT_EQ(FrameEdgesAt({0, 150}, size, band), Qt::LeftEdge);
  EXPECT_EQ(FrameEdgesAt({band - 1, 150}, size, band), Qt::LeftEdge);
  EXPECT_EQ(FrameEdgesAt({band, 150}, size, band), Qt::Edges());
  EXPECT_EQ(FrameEdgesAt({399, 150}, size, band), Qt::RightEdge);
  EXPECT_EQ(FrameEdgesAt({400 - band, 150}, size, band), Qt::RightEdge);
  EXPECT_EQ(FrameEdgesAt({400 - band - 1, 150}, size, band), Qt::Edges());
  EXPECT_EQ(FrameEdgesAt({200, 0}, size, band), Qt::TopEdge);
  EXPECT_EQ(FrameEdgesAt({200, 299}, size, band), Qt::BottomEdge);
  EXPECT_EQ(FrameEdgesAt({0, 0}, size, band), Qt::LeftEdge | Qt::TopEdge);
  EXPECT_EQ(FrameEdgesAt({399, 299}, size, band), Qt::RightEdge | Qt::BottomEdge);
  EXPECT_EQ(FrameEdgesAt({2, 298}, size, band), Qt::LeftEdge | Qt::BottomEdge);
  // Outside the window nothing resizes.
  EXPECT_EQ(FrameEdgesAt({-1, 150}, size, band), Qt::Edges());
  EXPECT_EQ(FrameEdgesAt({400, 150}, size, band), Qt::Edges());
  // A window narrower than two bands cannot tell its left from its right.
  EXPECT_EQ(FrameEdgesAt({3, 150}, QSize(8, 300), band), Qt::Edges());
  EXPECT_EQ(FrameEdgesAt({3, 0}, QSize(8, 300), band), Qt::TopEdge);
}

TEST(WindowPlacementTest, ResizeCursorFollowsTheEdges) {
  EXPECT_EQ(ResizeCursor({}), Qt::ArrowCursor);
  EXPECT_EQ(ResizeCursor(Qt::LeftEdge), Qt::SizeHorCursor);
  EXPECT_EQ(ResizeCursor(Qt::RightEdge), Qt::SizeHorCursor);
  EXPECT_EQ(ResizeCursor(Qt::TopEdge), Qt::SizeVerCursor);
  EXPECT_EQ(ResizeCursor(Qt::BottomEdge), Qt::SizeVerCursor);
  EXPECT_EQ(ResizeCursor(Qt::LeftEdge | Qt::TopEdge), Qt::SizeFDiagCursor);
  EXPECT_EQ(ResizeCursor(Qt::RightEdge | Qt::BottomEdge), Qt::SizeFDiagCursor);
  EXPECT_EQ(ResizeCursor(Qt::RightEdge | Qt::TopEdge), Qt::SizeBDiagCursor);
  EXPECT_EQ(ResizeCursor(Qt::LeftEdge | Qt::BottomEdge), Qt::SizeBDiagCursor);
}

TEST(WindowPlacementTest, CornerAndCentreOfAnArea) {
  const Rect area{100, 50, 1700, 1050};
  EXPECT_EQ(CornerOf(area, 300, 130, 2), (Rect{1398, 918, 1698, 1048}));
  EXPECT_EQ(CentredIn(area, 500, 200), (Rect{650, 450, 1150, 650}));
  // A notice over a window follows the window wherever it is.
  EXPECT_EQ(CentredIn(Rect{37, 61, 1337, 849}, 500, 200), (Rect{437, 355, 937, 555}));
}

void MoveMouse(QWidget* widget, const QPoint& pos) {
  QMouseEvent move(QEvent::MouseMove, QPointF(pos), widget->mapToGlobal(QPointF(pos)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST(WindowPlacementTest, ResizableFrameShowsTheResizeCursorAtItsEdges) {
  MDialog resizable, fixed;
  resizable.SetResizableFrame(true);
  ASSERT_TRUE(resizable.Create(nullptr, "resizable", kPopupStyle, 0, Rect{0, 0, 400, 300}));
  ASSERT_TRUE(fixed.Create(nullptr, "fixed", kPopupStyle, 0, Rect{0, 0, 400, 300}));
  QWidget* widget = resizable.GetSafeHwnd();
  MoveMouse(widget, {399, 150});
  EXPECT_EQ(widget->cursor().shape(), Qt::SizeHorCursor);
  MoveMouse(widget, {0, 0});
  EXPECT_EQ(widget->cursor().shape(), Qt::SizeFDiagCursor);
  MoveMouse(widget, {200, 150});
  EXPECT_EQ(widget->cursor().shape(), Qt::ArrowCursor);
  // A dialog of fixed size has no resize band.
  MoveMouse(fixed.GetSafeHwnd(), {399, 150});
  EXPECT_EQ(fixed.GetSafeHwnd()->cursor().shape(), Qt::ArrowCursor);
}

TEST(WindowPlacementTest, PlacedPopupStaysAnOrdinaryWindowWhereTheProgramPlacesWindows) {
  ASSERT_FALSE(CompositorPlacesWindows());  // the offscreen platform, as X11
  MDialog owner, popup;
  ASSERT_TRUE(owner.Create(nullptr, "owner", kPopupStyle, 0, Rect{100, 100, 900, 700}));
  popup.SetPlacedOnOwner(true);
  ASSERT_TRUE(popup.Create(&owner, "popup", kPopupStyle, 0, Rect{400, 300, 550, 505}));
  QWidget* widget = popup.GetSafeHwnd();
  EXPECT_EQ(widget->windowType(), Qt::Window);
  EXPECT_TRUE(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(widget->geometry(), QRect(400, 300, 150, 205));
  // A transient child of its owner: the window system keeps it above the owner.
  EXPECT_EQ(widget->parentWidget(), owner.GetSafeHwnd());
}

}  // namespace
}  // namespace corvane::DUI
