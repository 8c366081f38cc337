// Tokenizer for the inside of a start tag: the tag name and the `name = value` pairs after
// it. Shared by the parser (to find where a tag ends) and by attribute reading and
// writing, so all three agree on quoting and on when "/>" closes an empty element.
// Defined here in full: the parser runs it over every start tag of a document, and once
// inlined the attribute offsets it does not keep cost nothing.
#pragma once

#include <cstddef>
#include <string_view>

#include "xml/unit_search.h"

namespace corvane {

// One attribute as offsets into the document text.
struct AttributeSpan {
  std::size_t name_begin = 0;
  std::size_t name_end = 0;
  std::size_t value_begin = 0;  // inside the quotes
  std::size_t value_end = 0;
  std::size_t raw_begin = 0;  // the value with its quotes; both name_end when there is none
  std::size_t raw_end = 0;
  bool has_value = false;
};

// True for space, tab, CR and LF.
inline bool IsMarkupSpace(char16_t c) {
  return c <= u' ' && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n');
}

// True for the units that end a tag name: space, tab, CR, LF, '/' and '>'. Every unit above
// '>' (letters, '_', anything non-ASCII) is decided by the first comparison.
inline bool EndsTagName(char16_t c) {
  return c <= u'>' && (IsMarkupSpace(c) || c == u'/' || c == u'>');
}

// True for the units that end an attribute name (besides a "/>"): space, tab, CR, LF, '=',
// '>' and the quotes.
inline bool EndsAttributeName(char16_t c) {
  return c <= u'>' && (IsMarkupSpace(c) || c == u'=' || c == u'>' || c == u'"' || c == u'\'');
}

// Offset where a tag name starting at `name_begin` ends: at the first space, tab, CR, LF,
// '/' or '>', or at the end of the text.
inline std::size_t TagNameEnd(std::u16string_view text, std::size_t name_begin) {
  std::size_t pos = name_begin;
  while (pos < text.size() && !EndsTagName(text[pos])) ++pos;
  return pos;
}

class StartTagScanner {
 public:
  // Scans `text` from `begin` (just after the tag name) but never at or beyond `limit`.
  StartTagScanner(std::u16string_view text, std::size_t begin, std::size_t limit)
      : text_(text), pos_(begin), limit_(limit < text.size() ? limit : text.size()) {}

  // Reads the next attribute into `attribute`. Returns false once the tag is closed or the
  // limit is reached; Closed() tells which.
  bool Next(AttributeSpan& attribute);

  // True when a closing '>' was found.
  bool Closed() const { return closed_; }
  // True when the tag closed with "/>" outside an unquoted value.
  bool EmptyElement() const { return empty_; }
  // Offset of the "/>" or ">" that closed the tag (valid when Closed()).
  std::size_t CloseOffset() const { return close_; }
  // Offset just after the closing '>' (valid when Closed()).
  std::size_t TagEnd() const { return end_; }

 private:
  // Skips white space; true when a closing sequence or the limit ends the tag.
  bool AtTagEnd();
  void ReadValue(AttributeSpan& attribute);
  bool SlashCloses() const { return pos_ + 1 < limit_ && text_[pos_ + 1] == u'>'; }
  void SkipSpace() {
    while (pos_ < limit_ && IsMarkupSpace(text_[pos_])) ++pos_;
  }

  std::u16string_view text_;
  std::size_t pos_;
  std::size_t limit_;
  bool done_ = false;
  bool closed_ = false;
  bool empty_ = false;
  std::size_t close_ = 0;
  std::size_t end_ = 0;
};

inline bool StartTagScanner::AtTagEnd() {
  while (pos_ < limit_) {
    char16_t c = text_[pos_];
    if (IsMarkupSpace(c)) {
      ++pos_;
    } else if (c == u'>') {
      closed_ = true;
      close_ = pos_;
      end_ = pos_ + 1;
      return true;
    } else if (c == u'/' && SlashCloses()) {
      closed_ = empty_ = true;
      close_ = pos_;
      end_ = pos_ + 2;
      return true;
    } else if (c == u'/') {
      ++pos_;  // stray slash inside the tag
    } else if (c == u'"' || c == u'\'') {
      // A quoted value without a name: skip it whole so a '>' inside cannot close the tag.
      std::size_t quote = FindUnitBefore(text_, c, pos_ + 1, limit_);
      pos_ = quote == limit_ ? limit_ : quote + 1;
    } else {
      return false;
    }
  }
  return true;
}

inline void StartTagScanner::ReadValue(AttributeSpan& attribute) {
  attribute.has_value = true;
  attribute.raw_begin = pos_;
  if (pos_ >= limit_) {
    attribute.value_begin = attribute.value_end = attribute.raw_end = pos_;
    return;
  }
  char16_t c = text_[pos_];
  if (c == u'"' || c == u'\'') {
    std::size_t quote = FindUnitBefore(text_, c, pos_ + 1, limit_);
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

inline bool StartTagScanner::Next(AttributeSpan& attribute) {
  if (done_ || AtTagEnd()) {
    done_ = true;
    return false;
  }
  attribute.name_begin = pos_;
  while (pos_ < limit_) {
    char16_t c = text_[pos_];
    if (EndsAttributeName(c) || (c == u'/' && SlashCloses())) break;
    ++pos_;
  }
  attribute.name_end = pos_;
  std::size_t after_name = pos_;
  SkipSpace();
  if (pos_ < limit_ && text_[pos_] == u'=') {
    ++pos_;
    SkipSpace();
    ReadValue(attribute);
  } else {
    pos_ = after_name;
    attribute.has_value = false;
    attribute.raw_begin = attribute.raw_end = after_name;
    attribute.value_begin = attribute.value_end = after_name;
  }
  return true;
}

}  // namespace corvane
