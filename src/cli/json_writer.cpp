// Compact JSON output for corvane-cli; see json_writer.h.
#include "cli/json_writer.h"

#include <cstdio>

#include "base/text.h"

namespace corvane::cli {

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!has_value_.empty()) {
    if (has_value_.back()) out_ += ',';
    has_value_.back() = true;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  out_ += '{';
  has_value_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  if (!has_value_.empty()) has_value_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  out_ += '[';
  has_value_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  if (!has_value_.empty()) has_value_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  out_ += Quote(key);
  out_ += ':';
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  out_ += Quote(value);
  return *this;
}

JsonWriter& JsonWriter::Int(long long value) {
  BeforeValue();
  out_ += IntToDecimal(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::StringMember(std::string_view key, std::string_view value) {
  return Key(key).String(value);
}

JsonWriter& JsonWriter::IntMember(std::string_view key, long long value) {
  return Key(key).Int(value);
}

JsonWriter& JsonWriter::BoolMember(std::string_view key, bool value) {
  return Key(key).Bool(value);
}

std::string JsonWriter::Quote(std::string_view value) {
  // The round trip through UTF-16 replaces malformed sequences, so the output stays valid.
  const std::string text = Utf16ToUtf8(Utf8ToUtf16(value));
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace corvane::cli
