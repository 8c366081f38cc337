// Small value types and constants shared by the control layer: rectangles given as
// left/top/right/bottom edges, notification codes, alignment and window style bits.
// Only plain data and conversions live here; no widget code.
#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>

namespace corvane::DUI {

// A rectangle by its edges; right and bottom are exclusive, as the layout tables give them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  // True when the rectangle covers no pixel.
  bool IsEmpty() const { return right <= left || bottom <= top; }
  // The same area as a QRect (width and height kept, never negative).
  QRect ToQRect() const;
  // Builds a Rect from a QRect's position and size.
  static Rect FromQRect(const QRect& rect);
  bool operator==(const Rect&) const = default;
};

// Codes a control passes to its dialog's OnMessage; the numbers are fixed so a logged
// notification reads the same in every build.
enum class NotifyCode : int {
  kClick = 2,
  // A colour swatch of the DPI stage list was clicked (extra: the stage).
  kSwatchClick = 9,
  kValueChanged = 26,
  kPaletteSelect = 27,
  kEditFinished = 29,
  kFocusGained = 30,
  // A list's menu is asked for (extra: the selected row, -1 without one).
  kShowMenu = 31,
  // Enter pressed in a text field: the field's text is meant to be used now.
  kReturnPressed = 32,
  // Delete pressed on a list's selected item (extra: its position): remove it.
  kDeleteItem = 33,
};

// Horizontal and vertical text alignment bits.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignCenter = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kVAlignTop = 0;
inline constexpr int kVAlignCenter = 4;
inline constexpr int kVAlignBottom = 8;

// Font style bits for MControlFont::SetFont.
inline constexpr int kFontBold = 1;
inline constexpr int kFontItalic = 2;
inline constexpr int kFontUnderline = 4;

// Show codes for ShowWindow / ShowModal.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowShow = 5;
inline constexpr int kShowMinimized = 6;

// Window style bits understood by MWindow::Create.
inline constexpr uint32_t kStylePopup = 0x80000000u;
inline constexpr uint32_t kStyleVisible = 0x10000000u;
inline constexpr uint32_t kExStyleTopmost = 0x00000008u;
inline constexpr uint32_t kExStyleToolWindow = 0x00000080u;

// SetWindowPos arguments.
inline constexpr int kInsertTopmost = -1;
inline constexpr int kInsertNoTopmost = -2;
inline constexpr uint32_t kSwpNoSize = 0x0001;
inline constexpr uint32_t kSwpNoMove = 0x0002;
inline constexpr uint32_t kSwpShowWindow = 0x0040;
inline constexpr uint32_t kSwpHideWindow = 0x0080;

// Window messages the layer itself acts on.
inline constexpr uint32_t kMessageClose = 0x0010;

// Colour from 0xAARRGGBB (text colours).
QColor ColorFromArgb(uint32_t argb);
// Colour from a 24-bit value with red in the low byte (stored colours, presets).
QColor ColorFromColorRef(uint32_t colorref);
// The 24-bit red-low value of a colour; alpha dropped.
uint32_t ColorToColorRef(const QColor& color);
// Channel `index` (0 red, 1 green, 2 blue) of a red-low colour value.
inline int ColorRefChannel(uint32_t colorref, int index) {
  return static_cast<int>((colorref >> (8 * index)) & 0xFF);
}

}  // namespace corvane::DUI
