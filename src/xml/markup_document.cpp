// MarkupDocument: navigation, attribute access and building over the text and its index.
#include "xml/markup_document.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/text.h"
#include "xml/markup_parser.h"
#include "xml/markup_references.h"
#include "xml/text_codec.h"

namespace corvane {
namespace {

// Files beyond this size are refused rather than read into memory.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;
constexpr std::size_t kReadChunk = 64 * 1024;
// Text buffer growth: half the needed size plus this many units at a time.
constexpr std::size_t kTextGrowthExtra = 128;
constexpr std::u16string_view kLineEnd = u"\r\n";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Reads a whole file in binary mode. Returns false when it cannot be opened or read or is
// larger than kMaxFileBytes.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  std::string chunk(kReadChunk, '\0');
  while (true) {
    std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (bytes.size() + got > kMaxFileBytes) return false;
    bytes.append(chunk.data(), got);
    if (got < chunk.size()) break;
  }
  return std::ferror(file.get()) == 0;
}

// Element and attribute names we can write without breaking the markup.
bool IsWritableName(std::u16string_view name) {
  if (name.empty()) return false;
  char16_t first = name[0];
  bool start_ok = (first >= u'a' && first <= u'z') || (first >= u'A' && first <= u'Z') ||
                  first == u'_' || first == u':' || first >= 0x80;
  if (!start_ok) return false;
  return name.find_first_of(u" \t\r\n/<>\"'=&") == std::u16string_view::npos;
}

// A lookup name given as UTF-8. Names are nearly always short ASCII; widening those on the
// stack spares an allocation on every lookup, which reading a large file does thousands of
// times.
class Utf16Name {
 public:
  explicit Utf16Name(std::string_view utf8) {
    if (utf8.size() <= kInline) {
      unsigned char high_bits = 0;  // a plain loop, so the compiler can widen in blocks
      for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        high_bits |= byte;
        inline_[i] = byte;
      }
      if (high_bits < 0x80) {
        view_ = std::u16string_view(inline_, utf8.size());
        return;
      }
    }
    heap_ = Utf8ToUtf16(utf8);
    view_ = heap_;
  }
  Utf16Name(const Utf16Name&) = delete;
  Utf16Name& operator=(const Utf16Name&) = delete;

  std::u16string_view View() const { return view_; }

 private:
  static constexpr std::size_t kInline = 64;
  char16_t inline_[kInline];
  std::u16string heap_;
  std::u16string_view view_;
};

// True when text[begin, end) is exactly `name`. Names are compared this way thousands of
// times per file; u16string_view's == goes unit by unit with two comparisons each.
bool SpanIs(std::u16string_view text, std::size_t begin, std::size_t end,
            std::u16string_view name) {
  return end - begin == name.size() &&
         std::memcmp(text.data() + begin, name.data(), name.size() * sizeof(char16_t)) == 0;
}

// True when a raw attribute value holds a character reference to decode.
bool HasReference(std::u16string_view raw) { return raw.find(u'&') != std::u16string_view::npos; }

}  // namespace

MarkupDocument::MarkupDocument() = default;
MarkupDocument::~MarkupDocument() = default;

bool MarkupDocument::Reparse() {
  parent_ = current_ = child_ = 0;
  attributes_of_ = 0;
  return MarkupParser::Parse(text_, index_);
}

bool MarkupDocument::SetText(std::u16string_view text) {
  text_.assign(text);
  had_bom_ = false;
  return Reparse();
}

bool MarkupDocument::SetText(std::string_view utf8) {
  text_ = DecodeUtf8(utf8);
  had_bom_ = false;
  return Reparse();
}

bool MarkupDocument::LoadFile(const std::filesystem::path& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    SetText(std::u16string_view());
    return false;
  }
  DecodedText decoded = DecodeDocumentBytes(bytes);
  text_ = std::move(decoded.text);
  had_bom_ = decoded.had_bom;
  return Reparse();
}

bool MarkupDocument::SaveFile(const std::filesystem::path& path) const {
  std::string bytes = EncodeDocumentText(text_, had_bom_);
  FileHandle file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  // A failed close can still lose buffered bytes, so it counts as a short write.
  bool closed = std::fclose(file.release()) == 0;
  return written && closed;
}

std::string MarkupDocument::GetTextUtf8() const { return Utf16ToUtf8(text_); }

bool MarkupDocument::IsWellFormed() const {
  ElementIndex::Handle root = index_[0].first_child;
  return !index_.IllFormed() && root != 0 && index_[root].next == 0;
}

bool MarkupDocument::NameIs(ElementIndex::Handle handle, std::u16string_view name) const {
  std::size_t begin = static_cast<std::size_t>(index_[handle].start) + 1;
  std::size_t end = begin + name.size();
  if (end > text_.size() || !SpanIs(text_, begin, end, name)) return false;
  return end == text_.size() || EndsTagName(text_[end]);
}

bool MarkupDocument::FindElement(std::u16string_view name) {
  // A name holding a unit that ends tag names can never match one (NameIs relies on this).
  if (name.empty() || std::find_if(name.begin(), name.end(), EndsTagName) != name.end()) {
    return false;
  }
  ElementIndex::Handle handle =
      current_ != 0 ? index_[current_].next : index_[parent_].first_child;
  for (; handle != 0; handle = index_[handle].next) {
    if (NameIs(handle, name)) {
      current_ = handle;
      child_ = 0;
      return true;
    }
  }
  return false;
}

bool MarkupDocument::FindElement(std::string_view name) {
  return FindElement(Utf16Name(name).View());
}

bool MarkupDocument::FindNextElement() {
  ElementIndex::Handle handle =
      current_ != 0 ? index_[current_].next : index_[parent_].first_child;
  if (handle == 0) return false;
  current_ = handle;
  child_ = 0;
  return true;
}

bool MarkupDocument::EnterElement() {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

bool MarkupDocument::LeaveElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = index_[parent_].parent;
  return true;
}

void MarkupDocument::ResetPosition() { parent_ = current_ = child_ = 0; }

std::u16string MarkupDocument::GetTagName() const {
  if (current_ == 0) return {};
  std::size_t begin = static_cast<std::size_t>(index_[current_].start) + 1;
  return text_.substr(begin, TagNameEnd(text_, begin) - begin);
}

std::string MarkupDocument::GetTagNameUtf8() const { return Utf16ToUtf8(GetTagName()); }

bool MarkupDocument::FindAttribute(ElementIndex::Handle handle, std::u16string_view name,
                                   AttributeSpan& attribute) const {
  if (handle != attributes_of_) {
    attributes_.clear();
    const ElementRecord& record = index_[handle];
    std::size_t start = static_cast<std::size_t>(record.start);
    StartTagScanner scanner(text_, TagNameEnd(text_, start + 1), start + record.StartTagLength());
    do {
      attributes_.emplace_back();
    } while (scanner.Next(attributes_.back()));
    attributes_.pop_back();
    attributes_of_ = handle;
  }
  std::u16string_view text(text_);
  for (const AttributeSpan& candidate : attributes_) {
    if (SpanIs(text, candidate.name_begin, candidate.name_end, name)) {
      attribute = candidate;
      return true;
    }
  }
  return false;
}

std::u16string_view MarkupDocument::RawAttribute(std::u16string_view name) const {
  AttributeSpan attribute;
  if (current_ == 0 || name.empty() || !FindAttribute(current_, name, attribute)) return {};
  return std::u16string_view(text_).substr(attribute.value_begin,
                                           attribute.value_end - attribute.value_begin);
}

std::u16string MarkupDocument::GetAttribute(std::u16string_view name) const {
  return DecodeReferences(RawAttribute(name));
}

std::string MarkupDocument::GetAttribute(std::string_view name) const {
  std::u16string_view raw = RawAttribute(Utf16Name(name).View());
  return HasReference(raw) ? Utf16ToUtf8(DecodeReferences(raw)) : Utf16ToUtf8(raw);
}

int MarkupDocument::GetAttributeInt(std::string_view name) const {
  std::u16string_view raw = RawAttribute(Utf16Name(name).View());
  return HasReference(raw) ? DecimalToInt(DecodeReferences(raw)) : DecimalToInt(raw);
}

bool MarkupDocument::Edit(std::size_t offset, std::size_t erase, std::u16string_view insert) {
  std::size_t new_size = text_.size() - erase + insert.size();
  if (new_size > static_cast<std::size_t>(INT32_MAX)) return false;
  if (new_size > text_.capacity()) text_.reserve(new_size + new_size / 2 + kTextGrowthExtra);
  text_.replace(offset, erase, insert);
  attributes_of_ = 0;  // offsets after the edit point have moved
  return true;
}

void MarkupDocument::ShiftFrom(ElementIndex::Handle first, int64_t delta) {
  std::vector<ElementIndex::Handle> pending;
  if (first != 0) pending.push_back(first);
  while (!pending.empty()) {
    ElementIndex::Handle handle = pending.back();
    pending.pop_back();
    for (; handle != 0; handle = index_[handle].next) {
      ElementRecord& record = index_[handle];
      record.start = static_cast<int32_t>(record.start + delta);
      if (record.first_child != 0) pending.push_back(record.first_child);
    }
  }
}

void MarkupDocument::GrowAncestors(ElementIndex::Handle handle, int64_t delta) {
  for (; handle != 0; handle = index_[handle].parent) {
    ElementRecord& record = index_[handle];
    record.length = static_cast<uint32_t>(record.length + delta);
    ShiftFrom(record.next, delta);
  }
  index_[0].length = static_cast<uint32_t>(text_.size());
}

bool MarkupDocument::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (current_ == 0 || !IsWritableName(name)) return false;
  std::u16string quoted = u"\"" + EscapeMarkup(value) + u"\"";
  std::size_t offset = 0, erase = 0;
  std::u16string insert;
  AttributeSpan attribute;
  if (FindAttribute(current_, name, attribute)) {
    offset = attribute.has_value ? attribute.raw_begin : attribute.name_end;
    erase = attribute.raw_end - attribute.raw_begin;
    insert = attribute.has_value ? quoted : u"=" + quoted;
  } else {
    const ElementRecord& record = index_[current_];
    std::size_t start = static_cast<std::size_t>(record.start);
    StartTagScanner scanner(text_, TagNameEnd(text_, start + 1), start + record.StartTagLength());
    while (scanner.Next(attribute)) {
    }
    if (!scanner.Closed()) return false;
    offset = scanner.CloseOffset();
    insert = u" " + std::u16string(name) + u"=" + quoted;
  }
  int64_t delta = static_cast<int64_t>(insert.size()) - static_cast<int64_t>(erase);
  ElementRecord& record = index_[current_];
  int64_t start_tag = record.StartTagLength() + delta;
  if (start_tag > ElementRecord::kMaxStartTag || !Edit(offset, erase, insert)) return false;
  record.SetTagLengths(static_cast<uint32_t>(start_tag), record.EndTagLength());
  ShiftFrom(record.first_child, delta);
  GrowAncestors(current_, delta);
  return true;
}

bool MarkupDocument::SetAttribute(std::string_view name, std::string_view value) {
  return SetAttribute(Utf8ToUtf16(name), Utf8ToUtf16(value));
}

bool MarkupDocument::SetAttributeInt(std::string_view name, int value) {
  return SetAttribute(name, IntToDecimal(value));
}

bool MarkupDocument::AddElement(std::u16string_view name) {
  if (!IsWritableName(name)) return false;
  std::u16string element = u"<" + std::u16string(name) + u"/>";
  return current_ != 0 ? AddAfterCurrent(element) : AddUnderParent(element);
}

bool MarkupDocument::AddElement(std::string_view name) { return AddElement(Utf8ToUtf16(name)); }

bool MarkupDocument::AddAfterCurrent(std::u16string_view element) {
  std::size_t offset = static_cast<std::size_t>(index_[current_].End());
  // Land at the start of the following tag's line rather than after its indentation.
  std::size_t next = offset;
  while (next < text_.size() && IsMarkupSpace(text_[next])) ++next;
  if (next < text_.size() && text_[next] == u'<') offset = next;
  std::u16string insert = std::u16string(element) + std::u16string(kLineEnd);
  if (!Edit(offset, 0, insert)) return false;
  int64_t delta = static_cast<int64_t>(insert.size());
  ShiftFrom(index_[current_].next, delta);
  GrowAncestors(index_[current_].parent, delta);
  ElementIndex::Handle added = index_.InsertAfter(current_, static_cast<int32_t>(offset));
  if (added == 0) return false;
  index_[added].length = static_cast<uint32_t>(element.size());
  index_[added].SetTagLengths(static_cast<uint32_t>(element.size()), 0);
  current_ = added;
  child_ = 0;
  return true;
}

bool MarkupDocument::AddUnderParent(std::u16string_view element) {
  std::u16string line_end(kLineEnd);
  std::size_t offset = text_.size(), erase = 0, element_at = 0;
  std::u16string insert = std::u16string(element) + line_end;
  uint32_t start_tag = 0, end_tag = 0;
  if (parent_ != 0) {
    const ElementRecord& parent = index_[parent_];
    std::size_t start = static_cast<std::size_t>(parent.start);
    std::size_t close = start + parent.StartTagLength();
    start_tag = parent.StartTagLength();
    end_tag = parent.EndTagLength();
    if (parent.IsEmptyElement()) {
      // <p .../> becomes <p ...> CR LF <name/> CR LF </p>; a start tag that never got its
      // end tag just receives one.
      std::size_t name_begin = start + 1;
      std::u16string parent_name =
          text_.substr(name_begin, TagNameEnd(text_, name_begin) - name_begin);
      std::u16string closing = u"</" + parent_name + u">";
      bool slash = (parent.flags & ElementRecord::kNotEndedFlag) == 0 && start_tag >= 2 &&
                   text_[close - 2] == u'/';
      offset = slash ? close - 2 : close;
      erase = slash ? 2 : 0;
      insert = (slash ? u">" : u"") + line_end + std::u16string(element) + line_end + closing;
      element_at = offset + (slash ? 1 : 0) + line_end.size();
      if (slash) --start_tag;
      end_tag = static_cast<uint32_t>(closing.size());
      if (end_tag > ElementRecord::kMaxEndTag) return false;
    } else if (parent.length == start_tag + end_tag) {
      offset = close;
      insert = line_end + insert;
      element_at = offset + line_end.size();
    } else {
      offset = start + parent.length - end_tag;
      element_at = offset;
    }
  } else {
    element_at = offset;
  }
  if (!Edit(offset, erase, insert)) return false;
  int64_t delta = static_cast<int64_t>(insert.size()) - static_cast<int64_t>(erase);
  if (parent_ != 0) {
    ElementRecord& parent = index_[parent_];
    parent.SetTagLengths(start_tag, end_tag);
    parent.flags &= ~ElementRecord::kNotEndedFlag;
  }
  GrowAncestors(parent_, delta);
  ElementIndex::Handle added = index_.AppendChild(parent_, static_cast<int32_t>(element_at));
  if (added == 0) return false;
  index_[added].length = static_cast<uint32_t>(element.size());
  index_[added].SetTagLengths(static_cast<uint32_t>(element.size()), 0);
  current_ = added;
  child_ = 0;
  return true;
}

}  // namespace corvane
