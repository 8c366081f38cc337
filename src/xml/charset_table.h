// Charset names as they appear in encoding declarations, resolved to code page numbers,
// and the converter name used for each code page. Names only; no conversion here.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kUtf16LeCodePage = 1200;
inline constexpr int kUtf16BeCodePage = 1201;
inline constexpr int kUtf32LeCodePage = 12000;
inline constexpr int kUtf32BeCodePage = 12001;
// Stand-in for the system's ANSI code page: files in an unknown 8-bit encoding are read
// as Western European text, which maps almost every byte to a character.
inline constexpr int kAnsiCodePage = 1252;
// Declared names this long or longer are not looked up.
inline constexpr std::size_t kMaxCharsetNameLength = 100;

// Code page of a charset name or alias, compared case-insensitively ("utf-8", "latin1",
// "gbk", ...); names beginning with "UTF-32" select 32-bit units. Returns 0 when the name
// is unknown, empty or kMaxCharsetNameLength characters or longer.
int CodePageForCharset(std::string_view name);

// Converter (iconv) name of a code page; nullptr when the table has none.
const char* ConverterNameForCodePage(int code_page);

// Number of names in the alias table.
std::size_t CharsetNameCount();

}  // namespace corvane
