// Macro recording. Measured delays are the time between captured events, capped at
// 31 s; the fixed delay goes before every event but the first of the list.
#include "settings/macro_recorder.h"

#include <algorithm>

#include "protocol/key_codes.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

constexpr int kDelayNone = 0;
constexpr int kDelayMeasured = 1;
constexpr int kDelayFixed = 2;

}  // namespace

MacroRecorder::MacroRecorder(MacroEditor& editor, MacroClock& clock)
    : editor_(editor), clock_(clock) {}

RecordResult MacroRecorder::Start(int delay_choice, const std::string& fixed_delay_field) {
  if (editor_.SelectedMacro() <= 0) return RecordResult::kNoMacro;
  delay_mode_ = std::clamp(delay_choice, kDelayNone, kDelayFixed);
  fixed_delay_ = delay_mode_ == kDelayFixed ? ClampFixedDelay(fixed_delay_field) : 0;
  previous_.reset();
  pressed_.clear();
  next_stamp_ = clock_.NowMs();
  recording_ = true;
  return RecordResult::kRecording;
}

void MacroRecorder::AddItem(int type, int value, const std::string& text) {
  ++next_stamp_;
  editor_.MutableEvents().Append(type, value, text, static_cast<int>(next_stamp_));
}

RecordResult MacroRecorder::CheckLimits() {
  if (!editor_.FitsMouse()) {
    // Drop the event that overflowed, so what is stored can still be sent whole.
    MacroEventList& list = editor_.MutableEvents();
    list.Delete(list.Size() - 1);
    Stop();
    return RecordResult::kTooLong;
  }
  if (editor_.Events().CountedEvents() >= kMaxRecordedEvents) {
    Stop();
    return RecordResult::kLimitReached;
  }
  return RecordResult::kRecording;
}

RecordResult MacroRecorder::OnKey(const KeyEvent& event) {
  if (!recording_ || event.name.empty() || event.kind != kKeyEventKeyboard) {
    return RecordResult::kIgnored;
  }
  const bool pressed = event.released == 0;
  if (pressed && event.code == kVkEscape) {
    Stop();
    return RecordResult::kStoppedByKey;
  }
  if (pressed) {
    pressed_.insert(event.code);
  } else if (pressed_.erase(event.code) == 0) {
    return RecordResult::kIgnored;
  }
  const uint32_t now = clock_.NowMs();
  if (delay_mode_ == kDelayMeasured) {
    uint32_t delay = 0;
    if (previous_) delay = std::min<uint32_t>(now - *previous_, kMaxMeasuredDelay);
    previous_ = now;
    if (delay != 0) {
      AddItem(kEventDelay, static_cast<int>(delay), DelayText(static_cast<int>(delay)));
      if (RecordResult r = CheckLimits(); r != RecordResult::kRecording) return r;
    }
  } else if (delay_mode_ == kDelayFixed && fixed_delay_ != 0 && editor_.Events().Size() > 0) {
    AddItem(kEventDelay, fixed_delay_, DelayText(fixed_delay_));
    if (RecordResult r = CheckLimits(); r != RecordResult::kRecording) return r;
  }
  AddItem(pressed ? kEventKeyDown : kEventKeyUp, event.code, ArrowText(pressed, event.name));
  return CheckLimits();
}

void MacroRecorder::Stop() {
  if (!recording_) return;
  recording_ = false;
  MacroEventList& list = editor_.MutableEvents();
  // The closing delay is part of what the user sees, so it is stored with the rest.
  if (delay_mode_ == kDelayMeasured && previous_) {
    const uint32_t delay = std::min<uint32_t>(clock_.NowMs() - *previous_, kMaxMeasuredDelay);
    if (delay != 0) {
      list.Append(kEventDelay, static_cast<int>(delay), DelayText(static_cast<int>(delay)),
                  static_cast<int>(++next_stamp_));
    }
  } else if (delay_mode_ == kDelayFixed && fixed_delay_ != 0 && list.Size() > 0) {
    list.Append(kEventDelay, fixed_delay_, DelayText(fixed_delay_), static_cast<int>(++next_stamp_));
  }
  editor_.SaveEvents();
}

}  // namespace corvane
