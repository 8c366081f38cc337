// One forward scan of a document text that rebuilds its element index: start and end
// tags become linked records; comments, CDATA, declarations and processing instructions
// are skipped; syntax errors and mismatched tags mark the document ill-formed.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/element_index.h"

namespace corvane {

class MarkupParser {
 public:
  // Rebuilds `index` for `text` (at most INT32_MAX units). Returns true when the document
  // is well formed: no syntax error, a root element, and nothing beside the root.
  static bool Parse(std::u16string_view text, ElementIndex& index);

 private:
  MarkupParser(std::u16string_view text, ElementIndex& index) : text_(text), index_(index) {}

  bool Run();
  // Each Parse* takes the offset of a '<' and returns the offset after the construct, or
  // npos when the text ends before it is terminated.
  std::size_t ParseMarkup(std::size_t lt);
  std::size_t ParseStartTag(std::size_t lt);
  std::size_t ParseEndTag(std::size_t lt);
  std::size_t SkipDoctype(std::size_t pos);
  std::size_t SkipPast(std::size_t from, std::u16string_view terminator);
  std::size_t SyntaxError(std::size_t lt);

  std::u16string_view NameOf(ElementIndex::Handle handle) const;
  void PushOpen(ElementIndex::Handle handle);
  // Closes open_[keep..] as not-ended, innermost last; their children become siblings.
  void CloseNotEnded(std::size_t keep);
  // Recomputes depths and first-child flags after children were moved up.
  void FixDepths();

  std::u16string_view text_;
  ElementIndex& index_;
  std::vector<ElementIndex::Handle> open_;
  // How many open elements carry each name, so a lone end tag is refused without a walk.
  std::unordered_map<std::u16string_view, std::size_t> open_names_;
  bool moved_children_ = false;
};

}  // namespace corvane
