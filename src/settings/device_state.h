// What the window knows about the open mouse beyond the store: its sensor and rate
// capability from the device information, the cached DPI stage count and index, the
// link and reachable flags, battery values and version texts. The worker writes it,
// page logic and the window read it; every access takes the lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "base/device_values.h"

namespace corvane {

class DeviceState {
 public:
  // Sensor code; also resets the DPI range from the sensor's scale.
  void SetSensor(int sensor);
  int Sensor() const;
  int MinDpi() const;
  int MaxDpi() const;
  // Back to the 50..26000 range used before any device information arrived.
  void ResetDpiRange();

  void SetRateClass(int rate_class);
  int RateClass() const;

  // The stage count and index last shown; used to tell real changes from repeats.
  void SetCachedStages(int count, int index);
  int CachedCount() const;
  int CachedIndex() const;
  void SetCachedIndex(int index);

  void SetLink(bool linked);
  bool Link() const;
  void SetReachable(bool reachable);
  bool Reachable() const;
  void SetBattery(BatteryStatus battery);
  BatteryStatus Battery() const;

  void SetMouseVersion(const std::string& version);
  std::string MouseVersion() const;
  void SetReceiverVersion(const std::string& version);
  std::string ReceiverVersion() const;

  // Device types whose settings were read back in this run. Returns true when the
  // type was newly added.
  bool MarkRead(int device_type);
  bool WasRead(int device_type) const;
  void ForgetReads();

  // The worker's idle notification poll: on while device entries exist.
  void SetIdlePoll(bool on);
  bool IdlePoll() const;

  // Buttons whose macro goes to the mouse before the next button table: marked when a
  // button is given a macro or its macro is edited; taken (and cleared) by the button job.
  void MarkMacroButton(int button);
  std::set<int> TakeMarkedMacroButtons();

  // The DPI pop-up a page asked for, shown by the worker once the mouse took the stages.
  void SetPendingDpiPopup(std::optional<int> dpi);
  std::optional<int> TakePendingDpiPopup();

  // Definition flags: DPI pop-up on stage change, save-wait dialog after a post.
  void SetTips(bool show_dpitips, bool show_savetips);
  bool ShowDpiTips() const;
  bool ShowSaveTips() const;

 private:
  mutable std::mutex mutex_;
  int sensor_ = 0;
  int min_dpi_ = 50;
  int max_dpi_ = 26000;
  int rate_class_ = 4;
  int cached_count_ = 0;
  int cached_index_ = 0;
  bool link_ = false;
  bool reachable_ = false;
  BatteryStatus battery_;
  std::string mouse_version_;
  std::string receiver_version_;
  std::set<int> read_types_;
  bool idle_poll_ = false;
  std::set<int> marked_macro_buttons_;
  std::optional<int> pending_dpi_popup_;
  bool show_dpitips_ = false;
  bool show_savetips_ = false;
};

}  // namespace corvane
