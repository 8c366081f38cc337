// INI reader for the language files; see ini_file.h.
#include "app/ini_file.h"

#include <fstream>
#include <sstream>

#include "base/text.h"

namespace corvane {

namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool little_endian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[little_endian ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little_endian ? i + 1 : i]);
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return text;
}

// The file's text as UTF-16, by its byte-order mark.
std::u16string DecodeIniBytes(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return DecodeUtf16(bytes.substr(2), true);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    return DecodeUtf16(bytes.substr(2), false);
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return Utf8ToUtf16(bytes);
}

std::u16string_view Trim(std::u16string_view text) {
  size_t first = 0;
  while (first < text.size() && (text[first] == u' ' || text[first] == u'\t')) ++first;
  size_t last = text.size();
  while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t' ||
                          text[last - 1] == u'\r')) {
    --last;
  }
  return text.substr(first, last - first);
}

// Removes one pair of matching double or single quotes around a value.
std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string LowerKey(std::u16string_view text) { return AsciiLower(Utf16ToUtf8(text)); }

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile file;
  const std::u16string text = DecodeIniBytes(bytes);
  std::map<std::string, std::string>* section = nullptr;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      // The last bracket closes the header: a section named after a caption may hold ']'.
      const size_t close = line.rfind(u']');
      if (close == std::u16string_view::npos) continue;
      section = &file.sections_[LowerKey(Trim(line.substr(1, close - 1)))];
      continue;
    }
    const size_t eq = line.find(u'=');
    if (section == nullptr || eq == std::u16string_view::npos) continue;
    const std::string key = LowerKey(Trim(line.substr(0, eq)));
    // emplace keeps the first occurrence of a key, as the original lookup did.
    section->emplace(key, Utf16ToUtf8(Unquote(Trim(line.substr(eq + 1)))));
  }
  return file;
}

std::optional<IniFile> IniFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return Parse(bytes.str());
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(AsciiLower(section));
  if (s == sections_.end()) return std::nullopt;
  const auto k = s->second.find(AsciiLower(key));
  if (k == s->second.end()) return std::nullopt;
  std::u16string value = Utf8ToUtf16(k->second);
  if (value.size() > kMaxIniValueUnits) {
    value.resize(kMaxIniValueUnits);
    // Never leave half of a surrogate pair at the end.
    if (IsHighSurrogate(value.back())) value.pop_back();
    return Utf16ToUtf8(value);
  }
  return k->second;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
  const auto s = sections_.find(AsciiLower(section));
  return s == sections_.end() ? 0 : s->second.size();
}

}  // namespace corvane
