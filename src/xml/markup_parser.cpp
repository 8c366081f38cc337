// The index-building scan over a document text.
#include "xml/markup_parser.h"

#include <cstdint>

#include "xml/start_tag_scanner.h"
#include "xml/unit_search.h"

namespace corvane {
namespace {

constexpr std::size_t kNpos = std::u16string_view::npos;

bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' ||
         c >= 0x80;
}

}  // namespace

bool MarkupParser::Parse(std::u16string_view text, ElementIndex& index) {
  MarkupParser parser(text, index);
  return parser.Run();
}

bool MarkupParser::Run() {
  index_.Reset(text_.size());
  if (text_.size() > static_cast<std::size_t>(INT32_MAX)) {
    index_.MarkIllFormed();
    return false;
  }
  std::size_t pos = 0;
  while (true) {
    std::size_t lt = FindUnit(text_, u'<', pos);
    if (lt == kNpos) break;
    pos = ParseMarkup(lt);
    if (pos == kNpos) {
      index_.MarkIllFormed();  // unterminated at the end of the text
      break;
    }
  }
  if (!open_.empty()) {
    index_.MarkIllFormed();
    CloseNotEnded(0);
  }
  if (moved_children_) FixDepths();
  ElementIndex::Handle root = index_[0].first_child;
  return !index_.IllFormed() && root != 0 && index_[root].next == 0;
}

std::size_t MarkupParser::ParseMarkup(std::size_t lt) {
  if (lt + 1 >= text_.size()) return kNpos;
  std::u16string_view rest = text_.substr(lt);
  char16_t c = text_[lt + 1];
  if (c == u'!') {
    if (rest.starts_with(u"<!--")) return SkipPast(lt + 4, u"-->");
    if (rest.starts_with(u"<![C")) return SkipPast(lt + 4, u"]]>");
    if (rest.starts_with(u"<!D")) return SkipDoctype(lt + 3);
    return SyntaxError(lt);
  }
  if (c == u'?') return SkipPast(lt + 2, u"?>");
  if (c == u'/') return ParseEndTag(lt);
  if (IsNameStart(c)) return ParseStartTag(lt);
  return SyntaxError(lt);
}

std::size_t MarkupParser::SkipPast(std::size_t from, std::u16string_view terminator) {
  std::size_t found = text_.find(terminator, from);
  return found == kNpos ? kNpos : found + terminator.size();
}

std::size_t MarkupParser::SkipDoctype(std::size_t pos) {
  while (true) {
    pos = text_.find_first_of(u"[>", pos);
    if (pos == kNpos) return kNpos;
    if (text_[pos] == u'>') return pos + 1;
    pos = text_.find(u']', pos + 1);  // internal subset
    if (pos == kNpos) return kNpos;
    ++pos;
  }
}

std::size_t MarkupParser::SyntaxError(std::size_t lt) {
  index_.MarkIllFormed();
  std::size_t gt = FindUnit(text_, u'>', lt + 1);
  return gt == kNpos ? kNpos : gt + 1;
}

std::u16string_view MarkupParser::NameOf(ElementIndex::Handle handle) const {
  std::size_t begin = static_cast<std::size_t>(index_[handle].start) + 1;
  return text_.substr(begin, TagNameEnd(text_, begin) - begin);
}

void MarkupParser::PushOpen(ElementIndex::Handle handle) {
  open_.push_back(handle);
  ++open_names_[NameOf(handle)];
}

std::size_t MarkupParser::ParseStartTag(std::size_t lt) {
  StartTagScanner scanner(text_, TagNameEnd(text_, lt + 1), text_.size());
  AttributeSpan attribute;
  while (scanner.Next(attribute)) {
  }
  if (!scanner.Closed()) return kNpos;
  std::size_t tag_length = scanner.TagEnd() - lt;
  if (tag_length > ElementRecord::kMaxStartTag) {
    index_.MarkIllFormed();  // cannot be indexed; skipped like a syntax error
    return scanner.TagEnd();
  }
  if (open_.size() > ElementRecord::kMaxDepth) index_.MarkIllFormed();
  ElementIndex::Handle parent = open_.empty() ? 0 : open_.back();
  ElementIndex::Handle handle = index_.AppendChild(parent, static_cast<int32_t>(lt));
  if (handle == 0) return kNpos;  // index full
  ElementRecord& record = index_[handle];
  record.length = static_cast<uint32_t>(tag_length);
  record.SetTagLengths(static_cast<uint32_t>(tag_length), 0);
  if (!scanner.EmptyElement()) PushOpen(handle);
  return scanner.TagEnd();
}

std::size_t MarkupParser::ParseEndTag(std::size_t lt) {
  std::size_t gt = FindUnit(text_, u'>', lt + 2);
  if (gt == kNpos) return kNpos;
  std::size_t name_end = lt + 2;
  while (name_end < gt && !IsMarkupSpace(text_[name_end])) ++name_end;
  std::u16string_view name = text_.substr(lt + 2, name_end - lt - 2);
  std::size_t end_length = gt + 1 - lt;
  auto open_name = open_names_.find(name);
  if (end_length > ElementRecord::kMaxEndTag || open_name == open_names_.end() ||
      open_name->second == 0) {
    index_.MarkIllFormed();  // lone end tag (or one too long to record)
    return gt + 1;
  }
  std::size_t match = open_.size() - 1;
  while (NameOf(open_[match]) != name) --match;  // present, so the walk ends
  if (match + 1 < open_.size()) {
    index_.MarkIllFormed();
    CloseNotEnded(match + 1);
  }
  ElementRecord& record = index_[open_[match]];
  record.length = static_cast<uint32_t>(gt + 1 - static_cast<std::size_t>(record.start));
  record.SetTagLengths(record.StartTagLength(), static_cast<uint32_t>(end_length));
  --open_names_[name];
  open_.pop_back();
  return gt + 1;
}

void MarkupParser::CloseNotEnded(std::size_t keep) {
  // Outermost first: each element is then the last child of its parent, and its children
  // (the next open element among them) are moved up once only.
  for (std::size_t i = keep; i < open_.size(); ++i) {
    ElementIndex::Handle handle = open_[i];
    ElementRecord& record = index_[handle];
    record.length = record.StartTagLength();
    record.flags |= ElementRecord::kNotEndedFlag;
    --open_names_[NameOf(handle)];
    ElementIndex::Handle first = record.first_child;
    if (first == 0) continue;
    ElementIndex::Handle parent = record.parent;
    ElementIndex::Handle last = index_[first].prev;
    record.first_child = 0;
    record.next = first;
    index_[first].prev = handle;
    for (ElementIndex::Handle child = first; child != 0; child = index_[child].next) {
      index_[child].parent = parent;
    }
    index_[index_[parent].first_child].prev = last;
    moved_children_ = true;
  }
  open_.resize(keep);
}

void MarkupParser::FixDepths() {
  // Handles follow document order, so a parent is always fixed before its children.
  for (std::size_t h = 1; h < index_.Count(); ++h) {
    ElementRecord& record = index_[static_cast<ElementIndex::Handle>(h)];
    const ElementRecord& parent = index_[record.parent];
    uint32_t depth = record.parent == 0 ? 0 : parent.Depth() + 1;
    record.SetDepth(depth > ElementRecord::kMaxDepth ? ElementRecord::kMaxDepth : depth);
    if (parent.first_child == h) {
      record.flags |= ElementRecord::kFirstChildFlag;
    } else {
      record.flags &= ~ElementRecord::kFirstChildFlag;
    }
  }
}

}  // namespace corvane
