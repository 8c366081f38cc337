// The element index of a MarkupDocument: fixed-size records addressed by 32-bit handles,
// stored in blocks of 65,536 so growth never moves existing records. Holds positions
// and links only; the text lives in the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// One element: where it lies in the text and how it links to its neighbours.
struct ElementRecord {
  int32_t start = 0;         // offset of the '<' of the start tag
  uint32_t length = 0;       // up to just after the end tag (or the start tag when alone)
  uint32_t tag_lengths = 0;  // low 22 bits start-tag length, high 10 bits end-tag length
  uint32_t flags = 0;        // low 16 bits depth, then the k*Flag bits below
  uint32_t parent = 0;
  uint32_t first_child = 0;
  uint32_t next = 0;  // 0 for the last child
  uint32_t prev = 0;  // for the first child: the last child, so appending needs no walk

  static constexpr uint32_t kStartTagBits = 22;
  static constexpr uint32_t kMaxStartTag = (1u << kStartTagBits) - 1;
  static constexpr uint32_t kMaxEndTag = (1u << (32 - kStartTagBits)) - 1;
  static constexpr uint32_t kMaxDepth = 0xFFFF;
  static constexpr uint32_t kNotEndedFlag = 1u << 16;
  static constexpr uint32_t kFirstChildFlag = 1u << 17;
  static constexpr uint32_t kIllFormedFlag = 1u << 18;  // record 0 only

  // Start-tag length in code units.
  uint32_t StartTagLength() const { return tag_lengths & kMaxStartTag; }
  // End-tag length in code units; 0 for an empty-element tag or a not-ended element.
  uint32_t EndTagLength() const { return tag_lengths >> kStartTagBits; }
  // Replaces both tag lengths; callers keep them within kMaxStartTag / kMaxEndTag.
  void SetTagLengths(uint32_t start_tag, uint32_t end_tag) {
    tag_lengths = (start_tag & kMaxStartTag) | (end_tag << kStartTagBits);
  }
  // Nesting depth: 0 for the root.
  uint32_t Depth() const { return flags & kMaxDepth; }
  void SetDepth(uint32_t depth) { flags = (flags & ~kMaxDepth) | (depth & kMaxDepth); }
  // True when the element has no separate end tag (<a/> or a not-ended start tag).
  bool IsEmptyElement() const { return StartTagLength() == length; }
  // Offset just after the element.
  int64_t End() const { return int64_t{start} + length; }
};

class ElementIndex {
 public:
  using Handle = uint32_t;
  static constexpr uint32_t kBlockBits = 16;
  static constexpr uint32_t kBlockSize = 1u << kBlockBits;
  static constexpr std::size_t kInitialDivisor = 64;  // first room: text length / 64 + 8
  static constexpr std::size_t kInitialExtra = 8;

  ElementIndex();
  ~ElementIndex();
  ElementIndex(const ElementIndex&) = delete;
  ElementIndex& operator=(const ElementIndex&) = delete;

  // Empties the index, leaving only record 0 (the document, spanning text_length units),
  // with room reserved for text_length / 64 + 8 records.
  void Reset(std::size_t text_length);

  // Number of records including record 0.
  std::size_t Count() const { return count_; }

  // The record of a handle below Count(); handle 0 is the document record.
  ElementRecord& operator[](Handle handle) {
    return blocks_[handle >> kBlockBits][handle & (kBlockSize - 1)];
  }
  const ElementRecord& operator[](Handle handle) const {
    return blocks_[handle >> kBlockBits][handle & (kBlockSize - 1)];
  }

  // Appends a new record as the last child of `parent` with the given start offset and
  // depth; length and tag lengths start at 0. Returns its handle, or 0 when the index is
  // full (2^32 - 1 records).
  Handle AppendChild(Handle parent, int32_t start);

  // Adds a new record linked directly after sibling `after` (same parent). Returns its
  // handle, or 0 when the index is full.
  Handle InsertAfter(Handle after, int32_t start);

  // True when the document record carries the ill-formed flag.
  bool IllFormed() const { return ((*this)[0].flags & ElementRecord::kIllFormedFlag) != 0; }
  void MarkIllFormed() { (*this)[0].flags |= ElementRecord::kIllFormedFlag; }

 private:
  // Allocates a fresh record; 0 when full.
  Handle NewRecord();

  // Every block but the last is full (kBlockSize records); references into the last
  // block are invalidated when it grows.
  std::vector<std::vector<ElementRecord>> blocks_;
  std::size_t count_ = 0;
};

}  // namespace corvane
