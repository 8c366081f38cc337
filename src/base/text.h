// Text helpers shared by every concern: UTF-8/UTF-16 conversion and the decimal
// number convention of the store, the key/value store and XML attributes.
// Nothing here knows about devices, files or Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Converts UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-16 surrogates: a code point above U+FFFF is written as a high unit (D800..DBFF)
// followed by a low one (DC00..DFFF).
constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
constexpr char32_t JoinSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// Appends `cp` (a scalar value up to U+10FFFF, not a surrogate) as one or two units.
void AppendUtf16(std::u16string& out, char32_t cp);

// Reads a decimal integer the way the stored values are read: optional white space,
// optional sign, then digits up to the first non-digit. Returns 0 for empty or
// non-numeric text; values beyond the int range are clamped.
int DecimalToInt(std::string_view text);
int DecimalToInt(std::u16string_view text);

// Reads `text` as DecimalToInt does; nullopt when no digit follows the white space and
// sign ("", "abc", " -"), so a caller can tell "0" from "not a number".
std::optional<int> DecimalPrefixToInt(std::string_view text);

// Reads a number a person typed into a field: digits only, white space around them
// allowed, values beyond the int range clamped. nullopt for anything else ("", "abc",
// "1,600", "-5"), which a field takes as no number at all rather than as a part of one.
std::optional<int> TypedDigitsToInt(std::string_view text);

// Reads `text` when it is exactly a decimal number as IntToDecimal writes it (no spaces, no
// "+", no leading zeros, within the int range). False otherwise.
bool ParseExactDecimal(std::string_view text, int& value);

// Writes an integer as "%d" does.
std::string IntToDecimal(long long value);

// ASCII-only case folding, for names and attribute values that are ASCII by contract.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Whether `name` can stand as one file name inside a folder without leaving it: not
// empty, not "." or "..", and free of '/', '\\' and NUL. Used for names taken from data
// files (a model's device_attr) before they become paths.
bool IsSafeFileStem(std::string_view name);

// `text` with each ASCII control character (below 0x20, and 0x7F) replaced by `with`. Names
// read from files pass through it before they become stored names, file names or INI
// sections, where a line break would split a record.
std::string ReplaceControlCharacters(std::string_view text, char with);

// Replaces every occurrence of `from` (non-empty) with `to`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

}  // namespace corvane
