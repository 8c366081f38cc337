// The items of the buttons page's family lists in page order: the language text id
// (or a fixed text) and the code stored when the item is chosen.
#pragma once

#include <span>

namespace corvane {

struct FamilyListItem {
  int text_id = 0;             // language text id; 0 when `text` is used instead
  const char* text = nullptr;  // fixed text for items without a language text
  int code = 0;                // macro_value stored for the item
};

// Returns the items of the list of `family` (1, 3, 5, 6 or 8); empty for other families.
std::span<const FamilyListItem> FamilyListItems(int family);

// Returns the 0-based item a family list (1, 3, 4, 5, 6 or 8) shows in its first state, the
// state every button selection starts from: the multimedia list at its fourth item, the
// system list at its third, every other list at its first.
int FamilyListFirstItem(int family);

}  // namespace corvane
