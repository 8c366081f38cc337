// Record storage and linking for the element index.
#include "xml/element_index.h"

namespace corvane {

ElementIndex::ElementIndex() { Reset(0); }

ElementIndex::~ElementIndex() = default;

void ElementIndex::Reset(std::size_t text_length) {
  blocks_.clear();
  std::size_t room = text_length / kInitialDivisor + kInitialExtra;
  blocks_.emplace_back();
  blocks_.back().reserve(room < kBlockSize ? room : kBlockSize);
  blocks_.back().emplace_back();
  count_ = 1;
  ElementRecord& doc = blocks_.back().back();
  doc.length = static_cast<uint32_t>(text_length);
}

ElementIndex::Handle ElementIndex::NewRecord() {
  if (count_ >= UINT32_MAX) return 0;
  if (blocks_.back().size() == kBlockSize) blocks_.emplace_back();
  std::vector<ElementRecord>& block = blocks_.back();
  if (block.size() == block.capacity()) {
    // Grow by half the room (vector growth would double it).
    std::size_t room = block.capacity() + block.capacity() / 2 + 1;
    block.reserve(room < kBlockSize ? room : kBlockSize);
  }
  block.emplace_back();
  return static_cast<Handle>(count_++);
}

ElementIndex::Handle ElementIndex::AppendChild(Handle parent, int32_t start) {
  Handle handle = NewRecord();
  if (handle == 0) return 0;
  ElementRecord& parent_record = (*this)[parent];
  ElementRecord& record = (*this)[handle];
  record.start = start;
  record.parent = parent;
  uint32_t depth = parent == 0 ? 0 : parent_record.Depth() + 1;
  record.SetDepth(depth > ElementRecord::kMaxDepth ? ElementRecord::kMaxDepth : depth);
  if (parent_record.first_child == 0) {
    parent_record.first_child = handle;
    record.prev = handle;
    record.flags |= ElementRecord::kFirstChildFlag;
  } else {
    ElementRecord& first = (*this)[parent_record.first_child];
    (*this)[first.prev].next = handle;
    record.prev = first.prev;
    first.prev = handle;
  }
  return handle;
}

ElementIndex::Handle ElementIndex::InsertAfter(Handle after, int32_t start) {
  Handle handle = NewRecord();
  if (handle == 0) return 0;
  ElementRecord& left = (*this)[after];
  ElementRecord& record = (*this)[handle];
  record.start = start;
  record.parent = left.parent;
  record.flags = left.flags & ElementRecord::kMaxDepth;
  record.prev = after;
  record.next = left.next;
  if (left.next != 0) {
    (*this)[left.next].prev = handle;
  } else {
    (*this)[(*this)[left.parent].first_child].prev = handle;
  }
  left.next = handle;
  return handle;
}

}  // namespace corvane
