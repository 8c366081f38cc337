// Start-tag tokenizer: attribute names, quoted and unquoted values, "/>" detection.
#include "xml/start_tag_scanner.h"

namespace corvane {

bool IsMarkupSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::size_t TagNameEnd(std::u16string_view text, std::size_t name_begin) {
  std::size_t pos = name_begin;
  while (pos < text.size()) {
    char16_t c = text[pos];
    if (IsMarkupSpace(c) || c == u'/' || c == u'>') break;
    ++pos;
  }
  return pos;
}

StartTagScanner::StartTagScanner(std::u16string_view text, std::size_t begin, std::size_t limit)
    : text_(text), pos_(begin), limit_(limit < text.size() ? limit : text.size()) {}

bool StartTagScanner::AtTagEnd() {
  while (pos_ < limit_) {
    char16_t c = text_[pos_];
    if (IsMarkupSpace(c)) {
      ++pos_;
    } else if (c == u'>') {
      closed_ = true;
      close_ = pos_;
      end_ = pos_ + 1;
      return true;
    } else if (c == u'/' && pos_ + 1 < limit_ && text_[pos_ + 1] == u'>') {
      closed_ = empty_ = true;
      close_ = pos_;
      end_ = pos_ + 2;
      return true;
    } else if (c == u'/') {
      ++pos_;  // stray slash inside the tag
    } else if (c == u'"' || c == u'\'') {
      // A quoted value without a name: skip it whole so a '>' inside cannot close the tag.
      std::size_t quote = text_.find(c, pos_ + 1);
      pos_ = (quote == std::u16string_view::npos || quote >= limit_) ? limit_ : quote + 1;
    } else {
      return false;
    }
  }
  return true;
}

void StartTagScanner::ReadValue(AttributeSpan& attribute) {
  attribute.has_value = true;
  attribute.raw_begin = pos_;
  if (pos_ >= limit_) {
    attribute.value_begin = attribute.value_end = attribute.raw_end = pos_;
    return;
  }
  char16_t c = text_[pos_];
  if (c == u'"' || c == u'\'') {
    std::size_t quote = text_.find(c, pos_ + 1);
    if (quote == std::u16string_view::npos || quote >= limit_) quote = limit_;
    attribute.value_begin = pos_ + 1;
    attribute.value_end = quote;
    pos_ = quote < limit_ ? quote + 1 : limit_;
  } else {
    // Unquoted: up to white space or '>' (a '/' before '>' belongs to the value).
    attribute.value_begin = pos_;
    while (pos_ < limit_ && !IsMarkupSpace(text_[pos_]) && text_[pos_] != u'>') ++pos_;
    attribute.value_end = pos_;
  }
  attribute.raw_end = pos_;
}

bool StartTagScanner::Next(AttributeSpan& attribute) {
  if (done_ || AtTagEnd()) {
    done_ = true;
    return false;
  }
  attribute = AttributeSpan{};
  attribute.name_begin = pos_;
  while (pos_ < limit_) {
    char16_t c = text_[pos_];
    if (IsMarkupSpace(c) || c == u'=' || c == u'>' || c == u'"' || c == u'\'') break;
    if (c == u'/' && pos_ + 1 < limit_ && text_[pos_ + 1] == u'>') break;
    ++pos_;
  }
  attribute.name_end = pos_;
  std::size_t after_name = pos_;
  while (pos_ < limit_ && IsMarkupSpace(text_[pos_])) ++pos_;
  if (pos_ < limit_ && text_[pos_] == u'=') {
    ++pos_;
    while (pos_ < limit_ && IsMarkupSpace(text_[pos_])) ++pos_;
    ReadValue(attribute);
  } else {
    pos_ = after_name;
    attribute.raw_begin = attribute.raw_end = after_name;
    attribute.value_begin = attribute.value_end = after_name;
  }
  return true;
}

}  // namespace corvane
