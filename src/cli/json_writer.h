// A tiny JSON writer for the --json output of corvane-cli: compact text, commas placed
// automatically, strings escaped. Not a parser and not a document model.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();

  // The key of the next member; must be followed by one value.
  JsonWriter& Key(std::string_view key);

  // Values: a string (escaped), a number, true/false, null.
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // Key followed by a value, for the common case. Separate names keep a string literal
  // from ever turning into a bool.
  JsonWriter& StringMember(std::string_view key, std::string_view value);
  JsonWriter& IntMember(std::string_view key, long long value);
  JsonWriter& BoolMember(std::string_view key, bool value);

  // The text written so far.
  const std::string& Text() const { return out_; }

  // `value` as a JSON string literal with its quotes: '"', '\' and control characters
  // escaped, malformed UTF-8 replaced by U+FFFD, everything else kept as UTF-8.
  static std::string Quote(std::string_view value);

 private:
  // Writes the comma a value needs when it is not the first of its container.
  void BeforeValue();

  std::string out_;
  // One entry per open container: true once it holds a value.
  std::vector<bool> has_value_;
  bool after_key_ = false;
};

}  // namespace corvane::cli
