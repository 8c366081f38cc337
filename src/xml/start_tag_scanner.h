// Tokenizer for the inside of a start tag: the tag name and the `name = value` pairs after
// it. Shared by the parser (to find where a tag ends) and by attribute reading and
// writing, so all three agree on quoting and on when "/>" closes an empty element.
#pragma once

#include <cstddef>
#include <string_view>

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
bool IsMarkupSpace(char16_t c);

// Offset where a tag name starting at `name_begin` ends: at the first space, tab, CR, LF,
// '/' or '>', or at the end of the text.
std::size_t TagNameEnd(std::u16string_view text, std::size_t name_begin);

class StartTagScanner {
 public:
  // Scans `text` from `begin` (just after the tag name) but never at or beyond `limit`.
  StartTagScanner(std::u16string_view text, std::size_t begin, std::size_t limit);

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

  std::u16string_view text_;
  std::size_t pos_;
  std::size_t limit_;
  bool done_ = false;
  bool closed_ = false;
  bool empty_ = false;
  std::size_t close_ = 0;
  std::size_t end_ = 0;
};

}  // namespace corvane
