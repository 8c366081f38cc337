// Window system differences in placing windows, and the frame's resize edges.
#include "ui/dui/window_placement.h"

#include <QGuiApplication>

namespace corvane::DUI {

bool CompositorPlacesWindows() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Qt::Edges FrameEdgesAt(const QPoint& pos, const QSize& size, int border) {
  Qt::Edges edges;
  if (pos.x() < 0 || pos.y() < 0 || pos.x() >= size.width() || pos.y() >= size.height()) {
    return edges;
  }
  if (pos.x() < border) edges |= Qt::LeftEdge;
  if (pos.x() >= size.width() - border) edges |= Qt::RightEdge;
  if (pos.y() < border) edges |= Qt::TopEdge;
  if (pos.y() >= size.height() - border) edges |= Qt::BottomEdge;
  // A window narrower than two bands would claim both sides at once: keep none of them.
  if (edges.testFlag(Qt::LeftEdge) && edges.testFlag(Qt::RightEdge)) {
    edges &= ~(Qt::LeftEdge | Qt::RightEdge);
  }
  if (edges.testFlag(Qt::TopEdge) && edges.testFlag(Qt::BottomEdge)) {
    edges &= ~(Qt::TopEdge | Qt::BottomEdge);
  }
  return edges;
}

Qt::CursorShape ResizeCursor(Qt::Edges edges) {
  const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
  const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
  if (horizontal && vertical) {
    const bool falling =
        edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
    return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  }
  if (horizontal) return Qt::SizeHorCursor;
  if (vertical) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}

Rect CornerOf(const Rect& area, int width, int height, int gap) {
  return Rect{area.right - width - gap, area.bottom - height - gap, area.right - gap,
              area.bottom - gap};
}

Rect CentredIn(const Rect& area, int width, int height) {
  const int left = area.left + (area.Width() - width) / 2;
  const int top = area.top + (area.Height() - height) / 2;
  return Rect{left, top, left + width, top + height};
}

}  // namespace corvane::DUI
