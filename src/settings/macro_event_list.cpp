// Macro event list operations. An inserted press and its release share a timestamp; a
// recorded pair is matched by its code, so an edit always changes both halves.
#include "settings/macro_event_list.h"

#include <algorithm>

#include "protocol/key_codes.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

// Timestamps come from a wrapping 32-bit tick count; step them without overflow.
int StampAfter(int t, int steps) {
  return static_cast<int>(static_cast<uint32_t>(t) + static_cast<uint32_t>(steps));
}

}  // namespace

std::string DelayText(int ms) { return std::to_string(ms) + " ms"; }

std::string ArrowText(bool pressed, const std::string& name) {
  return (pressed ? "\xE2\x86\x93  " : "\xE2\x86\x91  ") + name;
}

std::string MouseButtonName(int bit) {
  switch (static_cast<MouseChoice>(bit)) {
    case MouseChoice::kLeft: return "LB";
    case MouseChoice::kRight: return "RB";
    case MouseChoice::kMiddle: return "MB";
    case MouseChoice::kBackward: return "Backward";
    case MouseChoice::kForward: return "Forward";
  }
  return {};
}

std::string EventText(int type, int value) {
  switch (type) {
    case kEventDelay: return DelayText(value);
    case kEventKeyDown:
    case kEventKeyUp: return ArrowText(type == kEventKeyDown, VkKeyName(value));
    case kEventMouseDown:
    case kEventMouseUp: return ArrowText(type == kEventMouseDown, MouseButtonName(value));
    default: return {};
  }
}

int MacroEventList::CountedEvents() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const auto& item) {
    return item.type != kEventDelay;
  }));
}

int MacroEventList::Append(int type, int value, const std::string& text, int timestamp) {
  return Insert(-1, type, value, text, timestamp);
}

int MacroEventList::Insert(int position, int type, int value, const std::string& text,
                           int timestamp) {
  MacroEventRecord item;
  item.type = type;
  item.value = value;
  item.desc = text;
  item.delay_time = timestamp;
  if (position < 0 || position > Size()) position = Size();
  items_.insert(items_.begin() + position, std::move(item));
  return position;
}

void MacroEventList::InsertPress(int selected, int down_type, int value, const std::string& name,
                                 int t) {
  const auto at = [selected](int offset) { return selected < 0 ? -1 : selected + offset; };
  Insert(at(1), down_type, value, ArrowText(true, name), t);
  Insert(at(2), kEventDelay, kDefaultInsertDelay, DelayText(kDefaultInsertDelay), StampAfter(t, 1));
  Insert(at(3), down_type + 1, value, ArrowText(false, name), t);
  Insert(at(4), kEventDelay, kDefaultInsertDelay, DelayText(kDefaultInsertDelay), StampAfter(t, 2));
}

int MacroEventList::FreeTimestamp(int t) const {
  const auto used = [this](int stamp) {
    return std::any_of(items_.begin(), items_.end(),
                       [stamp](const auto& item) { return item.delay_time == stamp; });
  };
  // Two inserts within the same millisecond must not share a timestamp, or editing
  // one would also rewrite the other.
  while (used(t) || used(StampAfter(t, 1)) || used(StampAfter(t, 2))) t = StampAfter(t, 1);
  return t;
}

bool MacroEventList::EditDelay(int position, int ms) {
  if (!Valid(position) || items_[position].type != kEventDelay) return false;
  const int clamped = std::clamp(ms, kMinEditDelay, kMaxEditDelay);
  items_[position].value = clamped;
  items_[position].desc = DelayText(clamped);
  return true;
}

int MacroEventList::PartnerOf(int position, int down_type) const {
  const MacroEventRecord& item = items_[position];
  const bool pressed = item.type == down_type;
  const int partner_type = pressed ? down_type + 1 : down_type;
  // An inserted press and its release share a timestamp.
  for (int i = 0; i < Size(); ++i) {
    if (i != position && items_[i].delay_time == item.delay_time &&
        items_[i].type == partner_type) {
      return i;
    }
  }
  // Recorded events each carry their own time: the partner is the matching release after
  // a press (or press before a release) of the same code, skipping nested repeats of it.
  const int step = pressed ? 1 : -1;
  int depth = 0;
  for (int i = position + step; i >= 0 && i < Size(); i += step) {
    const MacroEventRecord& other = items_[i];
    if (other.value != item.value) continue;
    if (other.type == item.type) {
      ++depth;
    } else if (other.type == partner_type && depth-- == 0) {
      return i;
    }
  }
  return -1;
}

bool MacroEventList::EditPress(int position, int down_type, int value, const std::string& name) {
  if (!Valid(position)) return false;
  const int type = items_[position].type;
  if (type != down_type && type != down_type + 1) return false;
  const int partner = PartnerOf(position, down_type);
  for (int i : {position, partner}) {
    if (i < 0) continue;
    items_[i].value = value;
    items_[i].desc = ArrowText(items_[i].type == down_type, name);
  }
  return true;
}

bool MacroEventList::MoveUp(int position) {
  if (!Valid(position) || position == 0) return false;
  std::swap(items_[position], items_[position - 1]);
  return true;
}

bool MacroEventList::MoveDown(int position) {
  if (!Valid(position) || position + 1 >= Size()) return false;
  std::swap(items_[position], items_[position + 1]);
  return true;
}

bool MacroEventList::MoveTop(int position) {
  if (!Valid(position)) return false;
  std::rotate(items_.begin(), items_.begin() + position, items_.begin() + position + 1);
  return true;
}

bool MacroEventList::MoveBottom(int position) {
  if (!Valid(position)) return false;
  std::rotate(items_.begin() + position, items_.begin() + position + 1, items_.end());
  return true;
}

bool MacroEventList::Delete(int position) {
  if (!Valid(position)) return false;
  items_.erase(items_.begin() + position);
  return true;
}

}  // namespace corvane
