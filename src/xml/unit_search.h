// Searching a UTF-16 text for one code unit, eight units at a time where SSE2 is there.
// std::u16string_view::find compares one unit per step, and finding '<', '>' and closing
// quotes is most of what parsing a document costs.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace corvane {

// Offset of the first `unit` in text[from, limit), or `limit` when there is none. `limit`
// must not exceed text.size().
inline std::size_t FindUnitBefore(std::u16string_view text, char16_t unit, std::size_t from,
                                  std::size_t limit) {
  const char16_t* data = text.data();
  std::size_t pos = from;
#ifdef __SSE2__
  constexpr std::size_t kLanes = sizeof(__m128i) / sizeof(char16_t);
  const __m128i needle = _mm_set1_epi16(static_cast<short>(unit));
  for (; pos + kLanes <= limit; pos += kLanes) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, needle)));
    if (mask != 0) return pos + static_cast<std::size_t>(std::countr_zero(mask)) / 2;
  }
#endif
  for (; pos < limit; ++pos) {
    if (data[pos] == unit) return pos;
  }
  return limit;
}

// Offset of the first `unit` at or after `from`, or npos when there is none.
inline std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from) {
  if (from >= text.size()) return std::u16string_view::npos;
  std::size_t found = FindUnitBefore(text, unit, from, text.size());
  return found == text.size() ? std::u16string_view::npos : found;
}

}  // namespace corvane
