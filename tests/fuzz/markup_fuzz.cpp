// libFuzzer entry: arbitrary bytes go through decoding, parsing, navigation, attribute
// reads and edits, and encoding. Any crash or sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "xml/markup_document.h"
#include "xml/text_codec.h"

namespace {

constexpr int kMaxSteps = 256;  // bounds the walk on documents with many elements

void Walk(corvane::MarkupDocument& doc, bool edit) {
  int steps = 0;
  while (steps++ < kMaxSteps && doc.FindNextElement()) {
    doc.GetAttribute(std::string_view("a"));
    doc.GetTagName();
    if (edit && steps % 3 == 0) doc.SetAttribute(std::string_view("a"), "x\"<&'>");
    if (doc.EnterElement()) {
      if (edit && steps % 5 == 0) doc.AddElement(std::string_view("n"));
      doc.FindElement(std::string_view("b"));
      doc.LeaveElement();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  corvane::DecodedText decoded = corvane::DecodeDocumentBytes(bytes);
  corvane::MarkupDocument doc;
  bool well_formed = doc.SetText(decoded.text);
  Walk(doc, false);
  doc.ResetPosition();
  Walk(doc, true);
  if (well_formed) {
    // Edits inside a well-formed document must leave it well formed.
    corvane::MarkupDocument again;
    if (!again.SetText(doc.GetText())) __builtin_trap();
  }
  corvane::EncodeDocumentText(doc.GetText(), decoded.had_bom);
  return 0;
}
