// MarkupDocument: the one XML class. The document is kept as a single UTF-16 text exactly
// as written to disk plus an index of element positions; reading walks the index with a
// forward-only cursor, building inserts text and patches the index. Not a node tree.
// One document is used by one thread at a time: even reading updates a small cache.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "xml/element_index.h"
#include "xml/start_tag_scanner.h"

namespace corvane {

class MarkupDocument {
 public:
  MarkupDocument();
  ~MarkupDocument();
  MarkupDocument(const MarkupDocument&) = delete;
  MarkupDocument& operator=(const MarkupDocument&) = delete;

  // --- Loading and saving -------------------------------------------------------------

  // Replaces the whole text, rebuilds the index and resets navigation to top level.
  // Returns true when the text is well formed (one root element, no syntax errors).
  bool SetText(std::u16string_view text);
  // UTF-8 convenience: same as above after conversion (malformed UTF-8 becomes U+FFFD).
  bool SetText(std::string_view utf8);

  // Reads and decodes a file (byte-order mark, declared encoding, UTF-8 test, fallback
  // code page), then behaves as SetText. Returns true only when the file was read and the
  // document is well formed; on false the document holds whatever was read.
  bool LoadFile(const std::filesystem::path& path);

  // Encodes the text in its declared encoding (UTF-8 without a declaration) and writes it,
  // truncating the file. Returns true when the file was opened and fully written.
  bool SaveFile(const std::filesystem::path& path) const;

  // The whole document text (UTF-16 / converted to UTF-8).
  const std::u16string& GetText() const { return text_; }
  std::string GetTextUtf8() const;

  // True when the last SetText/LoadFile found a well-formed document.
  bool IsWellFormed() const;

  // --- Forward-only navigation ---------------------------------------------------------

  // Moves forward to the next sibling element named exactly `name` (case-sensitive),
  // starting after the current element, or at the parent's first child when there is none.
  // Returns false and moves nothing when no such element follows.
  bool FindElement(std::u16string_view name);
  bool FindElement(std::string_view name);

  // Like FindElement but accepts any element name. Returns false at the end of the list.
  bool FindNextElement();

  // Descends: the current element becomes the parent. False (nothing changes) when there
  // is no current element.
  bool EnterElement();

  // Ascends: the parent becomes current, so a later EnterElement resumes after the child
  // that was left. False (nothing changes) at top level.
  bool LeaveElement();

  // Returns navigation to top level, before the root (as after SetText). Always succeeds.
  void ResetPosition();

  // Tag name of the current element; empty when there is none.
  std::u16string GetTagName() const;
  std::string GetTagNameUtf8() const;

  // Decoded value of the named attribute of the current element (numeric and named
  // character references resolved); "" when missing or when there is no current element.
  std::u16string GetAttribute(std::u16string_view name) const;
  std::string GetAttribute(std::string_view name) const;

  // The attribute read as decimal text: 0 when missing, empty or non-numeric.
  int GetAttributeInt(std::string_view name) const;

  // --- Building ------------------------------------------------------------------------

  // Inserts the empty element "<name/>" CR LF after the current element (or at the end of
  // the parent, splitting an empty-element parent) and makes it current. Returns false only
  // when the name is empty or the document would outgrow its 32-bit offsets.
  bool AddElement(std::u16string_view name);
  bool AddElement(std::string_view name);

  // Sets the attribute on the current element, replacing an existing value or appending
  // ` name="value"`; the value is escaped and always double-quoted. Returns false (nothing
  // changes) when there is no current element, the name is empty, or limits would be
  // exceeded.
  bool SetAttribute(std::u16string_view name, std::u16string_view value);
  bool SetAttribute(std::string_view name, std::string_view value);

  // Sets the attribute to the decimal text of `value` ("%d"). Same result as SetAttribute.
  bool SetAttributeInt(std::string_view name, int value);

 private:
  // Parses the text again and resets navigation. Returns whether it is well formed.
  bool Reparse();
  // True when `handle`'s tag name is exactly `name`, which holds no unit that ends a name.
  bool NameIs(ElementIndex::Handle handle, std::u16string_view name) const;
  // The undecoded value of attribute `name` of the current element; empty when it is
  // missing or there is no current element.
  std::u16string_view RawAttribute(std::u16string_view name) const;
  // Finds attribute `name` in the start tag of `handle`. Returns false when absent.
  bool FindAttribute(ElementIndex::Handle handle, std::u16string_view name,
                     AttributeSpan& attribute) const;
  // Replaces `erase` units at `offset` with `insert`. Returns false (text unchanged) when
  // the text would outgrow 32-bit offsets.
  bool Edit(std::size_t offset, std::size_t erase, std::u16string_view insert);
  // Moves `first`, its following siblings and all their descendants by `delta`.
  void ShiftFrom(ElementIndex::Handle first, int64_t delta);
  // Lengthens `handle` and each ancestor by `delta` and moves whatever follows them.
  void GrowAncestors(ElementIndex::Handle handle, int64_t delta);
  bool AddAfterCurrent(std::u16string_view element);
  bool AddUnderParent(std::u16string_view element);

  std::u16string text_;
  ElementIndex index_;
  // Navigation: parent, current, and the child that LeaveElement left (0 = none).
  ElementIndex::Handle parent_ = 0;
  ElementIndex::Handle current_ = 0;
  ElementIndex::Handle child_ = 0;
  // The attributes of one element's start tag (0 = none), kept so that reading several
  // attributes of an element scans its start tag once. Emptied by every edit and reparse.
  mutable ElementIndex::Handle attributes_of_ = 0;
  mutable std::vector<AttributeSpan> attributes_;
  // Byte-order mark seen by LoadFile, written again by SaveFile.
  bool had_bom_ = false;
};

}  // namespace corvane
