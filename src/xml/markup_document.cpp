// MarkupDocument: navigation, attribute access and building over the text and its index.
#include "xml/markup_document.h"

#include "base/text.h"

namespace corvane {

MarkupDocument::MarkupDocument() = default;
MarkupDocument::~MarkupDocument() = default;

bool MarkupDocument::SetText(std::u16string_view text) {
  text_.assign(text);
  index_.Reset(text_.size());
  parent_ = current_ = child_ = 0;
  had_bom_ = false;
  return false;
}

bool MarkupDocument::SetText(std::string_view utf8) { return SetText(Utf8ToUtf16(utf8)); }

bool MarkupDocument::LoadFile(const std::filesystem::path&) { return false; }

bool MarkupDocument::SaveFile(const std::filesystem::path&) const { return false; }

std::string MarkupDocument::GetTextUtf8() const { return Utf16ToUtf8(text_); }

bool MarkupDocument::IsWellFormed() const { return false; }

bool MarkupDocument::FindElement(std::u16string_view) { return false; }
bool MarkupDocument::FindElement(std::string_view name) { return FindElement(Utf8ToUtf16(name)); }
bool MarkupDocument::FindNextElement() { return false; }
bool MarkupDocument::EnterElement() { return false; }
bool MarkupDocument::LeaveElement() { return false; }
void MarkupDocument::ResetPosition() { parent_ = current_ = child_ = 0; }

std::u16string MarkupDocument::GetTagName() const { return {}; }
std::string MarkupDocument::GetTagNameUtf8() const { return Utf16ToUtf8(GetTagName()); }

std::u16string MarkupDocument::GetAttribute(std::u16string_view) const { return {}; }
std::string MarkupDocument::GetAttribute(std::string_view name) const {
  return Utf16ToUtf8(GetAttribute(Utf8ToUtf16(name)));
}
int MarkupDocument::GetAttributeInt(std::string_view name) const {
  return DecimalToInt(GetAttribute(name));
}

bool MarkupDocument::AddElement(std::u16string_view) { return false; }
bool MarkupDocument::AddElement(std::string_view name) { return AddElement(Utf8ToUtf16(name)); }
bool MarkupDocument::SetAttribute(std::u16string_view, std::u16string_view) { return false; }
bool MarkupDocument::SetAttribute(std::string_view name, std::string_view value) {
  return SetAttribute(Utf8ToUtf16(name), Utf8ToUtf16(value));
}
bool MarkupDocument::SetAttributeInt(std::string_view name, int value) {
  return SetAttribute(name, IntToDecimal(value));
}

}  // namespace corvane
