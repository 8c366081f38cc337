// Family list contents. The mouse list's fourth code (4) is the rapid-fire preset.
#include "settings/button_lists.h"

#include "protocol/button_table_encoding.h"

namespace corvane {
namespace {

constexpr FamilyListItem kMouse[] = {{106, nullptr, 1}, {107, nullptr, 3}, {108, nullptr, 2},
                                     {109, nullptr, 5}, {110, nullptr, 6}, {180, nullptr, 4},
                                     {112, nullptr, 7}, {113, nullptr, 8}};
constexpr FamilyListItem kMultimedia[] = {{117, nullptr, 6}, {118, nullptr, 7}, {119, nullptr, 8},
                                          {120, nullptr, 1}, {121, nullptr, 2}, {122, nullptr, 4},
                                          {123, nullptr, 5}, {124, nullptr, 3}};
constexpr FamilyListItem kSystem[] = {{127, nullptr, 1}, {128, nullptr, 2}, {129, nullptr, 3},
                                      {130, nullptr, 4}, {131, nullptr, 5}, {132, nullptr, 6},
                                      {133, nullptr, 7}, {134, nullptr, 8}, {31, nullptr, 9},
                                      {36, nullptr, 11}, {32, nullptr, 10}};
constexpr FamilyListItem kDpi[] = {{142, nullptr, 3}, {0, "DPI +", 1}, {0, "DPI -", 2}};
constexpr FamilyListItem kSpecial[] = {{151, nullptr, 1}, {181, nullptr, 2}};

}  // namespace

std::span<const FamilyListItem> FamilyListItems(int family) {
  switch (family) {
    case kFamilyMouse: return kMouse;
    case kFamilyMultimedia: return kMultimedia;
    case kFamilySystem: return kSystem;
    case kFamilyDpi: return kDpi;
    case kFamilySpecial: return kSpecial;
    default: return {};
  }
}

int FamilyListFirstItem(int family) {
  constexpr int kMultimediaFirstItem = 3;  // text 120, the media player
  constexpr int kSystemFirstItem = 2;      // text 129, the calculator
  switch (family) {
    case kFamilyMultimedia:
      return kMultimediaFirstItem;
    case kFamilySystem:
      return kSystemFirstItem;
    default:
      return 0;
  }
}

}  // namespace corvane
