// Where windows go on window systems that differ in what a program may decide: on X11 a
// program places its top-level windows itself; on Wayland the compositor does, and only a
// pop-up surface of another window keeps a spot, given relative to that window. The
// frame's resize edges live here too, so that both can be checked without a window.
#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

#include "ui/dui/dui_types.h"

namespace corvane::DUI {

// Width of the band along a resizable frameless window's edges that resizes it.
inline constexpr int kResizeBorder = 6;

// True when the window system places top-level windows itself (Wayland): a window that
// must sit at a spot has to be a pop-up surface of its owner there.
bool CompositorPlacesWindows();
// The edges whose resize band (`border` wide) holds `pos` in a window of `size`; none
// outside the bands. Corners give two edges.
Qt::Edges FrameEdgesAt(const QPoint& pos, const QSize& size, int border);
// The cursor shape that announces resizing along `edges` (the arrow for none).
Qt::CursorShape ResizeCursor(Qt::Edges edges);
// A `width` x `height` rectangle in the bottom-right corner of `area`, `gap` pixels in.
Rect CornerOf(const Rect& area, int width, int height, int gap);
// A `width` x `height` rectangle centred in `area`.
Rect CentredIn(const Rect& area, int width, int height);

}  // namespace corvane::DUI
