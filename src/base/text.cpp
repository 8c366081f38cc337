// UTF conversion and decimal text helpers.
#include "base/text.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "base/trace.h"

namespace corvane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Index of the first character after the leading white space and sign of `text`.
template <typename Char>
size_t SkipSpaceAndSign(std::basic_string_view<Char> text, bool& negative) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  return i;
}

template <typename Char>
int ParseDecimal(std::basic_string_view<Char> text) {
  bool negative = false;
  size_t i = SkipSpaceAndSign(text, negative);
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

std::u16string Utf8ToUtf16(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp;
    size_t extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    bool ok = i + extra < in.size();  // a sequence cut off at the end is malformed
    if (ok) {
      for (size_t k = 1; k <= extra; ++k) {
        unsigned char cc = static_cast<unsigned char>(in[i + k]);
        if ((cc & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        cp = (cp << 6) | (cc & 0x3F);
      }
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || IsSurrogate(cp)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (IsHighSurrogate(cp) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
      cp = JoinSurrogates(cp, in[i + 1]);
      ++i;
    } else if (IsSurrogate(cp)) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

int DecimalToInt(std::string_view text) { return ParseDecimal(text); }
int DecimalToInt(std::u16string_view text) { return ParseDecimal(text); }

std::optional<int> DecimalPrefixToInt(std::string_view text) {
  bool negative = false;
  const size_t i = SkipSpaceAndSign(text, negative);
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
  return ParseDecimal(text);
}

std::optional<int> TypedDigitsToInt(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  return ParseDecimal(digits);
}

std::string IntToDecimal(long long value) { return std::to_string(value); }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

bool IsSafeFileStem(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool ParseExactDecimal(std::string_view text, int& value) {
  value = DecimalToInt(text);
  return !text.empty() && IntToDecimal(value) == text;
}

std::string ReplaceControlCharacters(std::string_view text, char with) {
  std::string result(text);
  for (char& c : result) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = with;
  }
  return result;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

void Trace(const char* format, ...) {
  static const bool enabled = [] {
    const char* v = std::getenv("CORVANE_TRACE");
    return v != nullptr && v[0] == '1';
  }();
  if (!enabled) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

}  // namespace corvane
