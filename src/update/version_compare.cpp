// Dotted version comparison: part counts first, then each part as a decimal number.

#include "update/version_compare.h"

#include <vector>

#include "base/text.h"

namespace corvane {
namespace {

// Splits at every "."; empty parts are kept, so "1.0." has three parts.
std::vector<std::string_view> SplitAtPoints(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t point = text.find('.', start);
    if (point == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, point - start));
    start = point + 1;
  }
}

}  // namespace

int compare(std::string_view a, std::string_view b) {
  const std::vector<std::string_view> ours = SplitAtPoints(a);
  const std::vector<std::string_view> offered = SplitAtPoints(b);
  if (ours.size() != offered.size()) return 2;
  for (size_t i = 0; i < ours.size(); ++i) {
    const int mine = DecimalToInt(ours[i]);
    const int theirs = DecimalToInt(offered[i]);
    if (mine > theirs) return -1;
    if (mine < theirs) return 1;
  }
  return 0;
}

bool IsVersionText(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != '.') {
      return false;
    }
  }
  return digit;
}

}  // namespace corvane
