// Character references in attribute values: decoding numeric and named references on
// read, escaping the five markup characters on write. Knows nothing about the index.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Longest reference body between '&' and ';' that is still decoded.
inline constexpr std::size_t kMaxReferenceLength = 9;

// Code point of a named reference (HTML 4 names plus "apos"); an exact-case match wins,
// otherwise the first case-insensitive one. Returns 0 when the name is unknown.
char32_t LookupNamedReference(std::u16string_view name);

// Resolves &#N; &#xH; and &name; in a raw attribute value. A reference without ';' within
// kMaxReferenceLength units, naming nothing known, or giving code point 0, a surrogate or
// one above U+10FFFF is copied through unchanged. Returns the decoded value.
std::u16string DecodeReferences(std::u16string_view raw);

// Escapes & < > ' " as &amp; &lt; &gt; &apos; &quot;. Returns the escaped value.
std::u16string EscapeMarkup(std::u16string_view value);

}  // namespace corvane
