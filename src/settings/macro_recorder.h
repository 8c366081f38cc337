// Recording keyboard events into the selected macro: delay modes (none, measured,
// fixed), the 30-event limit and the final delay on stop. Time comes from an injected
// MacroClock so the rules can be tested without waiting.
#pragma once

#include "app/text_ids.h"

#include <cstdint>
#include <optional>
#include <set>

#include "settings/key_decoder.h"
#include "settings/macro_clock.h"
#include "settings/macro_editor.h"

namespace corvane {

inline constexpr int kMaxRecordedEvents = 30;
inline constexpr int kMaxMeasuredDelay = 31000;
// Language texts the recorder reports with.

enum class RecordResult {
  kRecording,     // started, or the event was added and recording goes on
  kNoMacro,       // no macro selected: show texts 358/387
  kIgnored,       // not recording, or an event without a name
  kLimitReached,  // 30 events: stopped; show texts 355/386
  kTooLong,       // the macro would not fit the mouse: stopped; show kTextMacroTooLong
  kStoppedByKey,  // Esc was pressed: stopped as the button stops it; Esc is not recorded
};

class MacroRecorder {
 public:
  MacroRecorder(MacroEditor& editor, MacroClock& clock);

  // Starts recording into the selected macro with the page's delay choice (0 none,
  // 1 measured, 2 fixed with `fixed_delay_field`, "10" when empty).
  RecordResult Start(int delay_choice, const std::string& fixed_delay_field);
  // Adds a captured key event while recording; a release whose press came before the
  // recording started is ignored. Esc stops the recording, so it can be ended from the
  // keyboard (every other key is recorded); an Esc in a macro is inserted by hand.
  RecordResult OnKey(const KeyEvent& event);
  // Stops: adds the final delay and stores the list. Does nothing when idle.
  void Stop();
  bool IsRecording() const { return recording_; }

 private:
  void AddItem(int type, int value, const std::string& text);
  // Stops and reports when the list reached a limit; kRecording otherwise.
  RecordResult CheckLimits();

  MacroEditor& editor_;
  MacroClock& clock_;
  bool recording_ = false;
  int delay_mode_ = 1;
  int fixed_delay_ = 0;
  std::optional<uint32_t> previous_;  // time of the previous event this recording
  // Keys pressed since the recording started. A release of any other key (the Space or
  // Enter that started the recording from the keyboard) has no press in the macro.
  std::set<int> pressed_;
  uint32_t next_stamp_ = 0;
};

}  // namespace corvane
