// Key event routing. The keyboard panel ignores sided Shift, Ctrl and Alt because
// those are chosen with the panel's toggles, not captured as the key.
#include "settings/key_capture.h"

#include "protocol/key_codes.h"

namespace corvane {

void KeyCapture::Start(CaptureMode mode) {
  active_ = true;
  mode_ = mode;
  code_ = 0;
  name_.clear();
}

CaptureMode KeyCapture::Dispatch(const KeyEvent& event) {
  if (!active_ || event.name.empty()) return CaptureMode::kNone;
  switch (mode_) {
    case CaptureMode::kRecording: return mode_;
    case CaptureMode::kKeyboardPanel:
      if (event.kind != kKeyEventKeyboard || IsSidedShiftCtrlAlt(event.code)) {
        return CaptureMode::kNone;
      }
      break;
    case CaptureMode::kMacroEditorKey:
      if (event.kind != kKeyEventKeyboard) return CaptureMode::kNone;
      break;
    default: return CaptureMode::kNone;
  }
  code_ = event.code;
  name_ = event.name;
  return mode_;
}

}  // namespace corvane
