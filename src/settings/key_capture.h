// Who receives decoded key events: nobody, the macro recorder, the keyboard panel's
// key field or the macro editor's key field. Holds the key a field captured. The UI
// starts and ends captures on focus changes and forwards recorder events itself.
#pragma once

#include <string>

#include "settings/key_decoder.h"

namespace corvane {

enum class CaptureMode : int {
  kNone = 0,
  kRecording = 1,
  kKeyboardPanel = 10,
  kMacroEditorKey = 12,
};

class KeyCapture {
 public:
  // Starts a capture for `mode`, replacing any running one; clears the captured key.
  void Start(CaptureMode mode);
  // Ends the capture; further events are ignored. The mode is kept.
  void End() { active_ = false; }
  bool Active() const { return active_; }
  CaptureMode Mode() const { return mode_; }

  // Routes one decoded event. Returns the consumer that took it, kNone when dropped.
  // Key fields store the event's code and name as the captured key.
  CaptureMode Dispatch(const KeyEvent& event);

  // The captured key of a key field: virtual-key code (0 none) and its name.
  int CapturedCode() const { return code_; }
  const std::string& CapturedName() const { return name_; }

 private:
  bool active_ = false;
  CaptureMode mode_ = CaptureMode::kNone;
  int code_ = 0;
  std::string name_;
};

}  // namespace corvane
