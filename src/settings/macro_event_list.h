// The working copy of one macro's events as the macro page shows them: text, type,
// value and timestamp per item, with the insert, edit, reorder and delete operations.
// Pure data; MacroEditor stores the list after each change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/store_records.h"

namespace corvane {

inline constexpr int kMaxInsertItems = 199;  // inserting is refused above this many items
inline constexpr int kDefaultInsertDelay = 10;
inline constexpr int kMinEditDelay = 1;
inline constexpr int kMaxEditDelay = 10000;

// Mouse buttons of the insert menu and the edit panel, with their button bits.
enum class MouseChoice : int { kLeft = 1, kRight = 2, kMiddle = 4, kBackward = 8, kForward = 16 };

// Returns "%d ms".
std::string DelayText(int ms);
// Returns the arrow (down when pressed) and two spaces before `name`.
std::string ArrowText(bool pressed, const std::string& name);
// Returns "LB", "RB", "MB", "Backward" or "Forward"; empty for another bit.
std::string MouseButtonName(int bit);
// Returns the text the macro page shows for an event (key names from VkKeyName);
// empty for an unknown type.
std::string EventText(int type, int value);

class MacroEventList {
 public:
  // Items in list order; delay_time holds the item's timestamp.
  const std::vector<MacroEventRecord>& Items() const { return items_; }
  void Assign(std::vector<MacroEventRecord> items) { items_ = std::move(items); }
  int Size() const { return static_cast<int>(items_.size()); }
  // Returns the number of key and mouse events (delays are not counted).
  int CountedEvents() const;
  // True when the list holds more items than an insert allows.
  bool Full() const { return Size() > kMaxInsertItems; }

  // Appends an item; returns its position.
  int Append(int type, int value, const std::string& text, int timestamp);
  // Inserts at `position` (-1 or past the end appends); returns the position used.
  int Insert(int position, int type, int value, const std::string& text, int timestamp);
  // Inserts pressed, 10 ms, released, 10 ms after `selected` (-1: at the end), the
  // delays with timestamps t + 1 and t + 2. `down_type` is 2 (key) or 4 (mouse).
  void InsertPress(int selected, int down_type, int value, const std::string& name, int t);
  // Returns a timestamp at or after `t` such that t, t + 1 and t + 2 are all unused.
  int FreeTimestamp(int t) const;

  // Sets a delay item's value and text, clamped to 1..10000. False when not a delay.
  bool EditDelay(int position, int ms);
  // Replaces the event at `position` (of `down_type`/`down_type` + 1) and its partner with
  // `value` and `name`: the item sharing its timestamp, else the matching release after a
  // press (press before a release) of the same code. False when the position is not such
  // an event.
  bool EditPress(int position, int down_type, int value, const std::string& name);

  // Reorder and delete; each returns false (changing nothing) for a bad position.
  bool MoveUp(int position);
  bool MoveDown(int position);
  bool MoveTop(int position);
  bool MoveBottom(int position);
  bool Delete(int position);
  void Clear() { items_.clear(); }

 private:
  bool Valid(int position) const { return position >= 0 && position < Size(); }
  // The press or release that belongs with the event at `position`; -1 when it has none.
  int PartnerOf(int position, int down_type) const;
  std::vector<MacroEventRecord> items_;
};

}  // namespace corvane
