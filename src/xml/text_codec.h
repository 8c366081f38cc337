// Byte-level side of document files: finding the encoding of loaded bytes (byte-order
// mark, declaration, UTF-8 test, fallback) and converting between it and UTF-16.
// Conversions other than UTF-8/16 go through iconv.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// How many leading bytes are searched for a byte-order mark and a declared encoding.
inline constexpr std::size_t kProbeBytes = 1024;

struct DecodedText {
  std::u16string text;  // NUL code units removed
  bool had_bom = false;
  int code_page = 0;  // encoding the bytes were read in
};

// The encoding declared by a document head: the `encoding` of a leading <?xml ... ?>, or
// the charset of an HTML meta element. Returns "" when nothing is declared.
std::string FindDeclaredEncoding(std::string_view head);

// True when every lead byte is followed by the right number of continuation bytes.
bool LooksLikeUtf8(std::string_view bytes);

// UTF-8 to UTF-16 like Utf8ToUtf16 (malformed input becomes U+FFFD), with a fast path for
// runs of ASCII, which is most of any markup text.
std::u16string DecodeUtf8(std::string_view bytes);

// Decodes the bytes of a document file as described at DecodedText.
DecodedText DecodeDocumentBytes(std::string_view bytes);

// Converts `bytes` in `code_page` to UTF-16; undecodable input becomes U+FFFD. An unknown
// code page or one without a converter is read as kAnsiCodePage.
std::u16string DecodeCodePage(std::string_view bytes, int code_page);

// Converts `text` to `code_page`; characters it cannot represent are written as numeric
// character references (&#N;), unpaired surrogates as &#65533;.
std::string EncodeCodePage(std::u16string_view text, int code_page);

// Encodes a document in its declared encoding (UTF-8 when none, kAnsiCodePage when the
// name is unknown), with a byte-order mark when `with_bom` and the encoding is Unicode.
std::string EncodeDocumentText(std::u16string_view text, bool with_bom);

}  // namespace corvane
