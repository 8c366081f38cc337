// What the dialogs share: the window style they are created with, language lookup, and
// placing a window on the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/dui/cimage_button.h"
#include "ui/dui/dui_types.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mtext.h"

namespace corvane::DUI {
class MDialog;
class MWindow;
}  // namespace corvane::DUI

class QWidget;
class QString;

namespace corvane::ui {

// The save dialog of the exports: `suggested` as the name, and ".xml" added to a name typed
// without an extension, so the file shows under the imports' "*.xml" filter. Empty when
// cancelled.
QString AskXmlSaveFile(QWidget* parent, const QString& suggested, const QString& filter);

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
inline constexpr uint32_t kDialogStyle = 0x96000000u;
inline constexpr int kShowModalCode = 5;
inline constexpr uint32_t kTextWhite = 0xFFFFFFFFu;
// The dark back of the dialogs drawn without a skin image, under their white texts.
inline constexpr uint32_t kDialogFill = 0x1A1A1A;
inline constexpr uint32_t kDialogBorder = 0x969696;
inline constexpr const char* kButtonImage = "img_button.png";
inline constexpr int kButtonFrames = 4;
inline constexpr const char* kCloseImage = "sysbtn_close.png";

// A text of the current language by id.
using TextLookup = std::function<std::string(int)>;

// Moves `window` so that it is centred in the primary screen's available area.
void CenterOnScreen(DUI::MWindow& window);
// The primary screen's available area (work area) in screen coordinates.
DUI::Rect WorkArea();
// What a screen reader calls `window`: a text of the current language, while the window
// title stays the fixed name that the program and its tests find the window by.
void SetReaderName(DUI::MWindow& window, const std::string& name);
// Creates a push button with the dialogs' button skin and `text`.
DUI::MButton* AddButton(DUI::MDialog& dialog, int id, const DUI::Rect& rect,
                        const std::string& text, int font_pixels);
// Creates the close button (image only, named by its tooltip).
DUI::CImageButton* AddCloseButton(DUI::MDialog& dialog, int id, const DUI::Rect& rect,
                                  const std::string& tooltip);
// Creates a static text.
DUI::MText* AddText(DUI::MDialog& dialog, int id, const DUI::Rect& rect, const std::string& text,
                    int font_pixels, uint32_t color, bool centred);

}  // namespace corvane::ui
