// Encoding detection and conversion for document files.
#include "xml/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "base/text.h"
#include "xml/charset_table.h"

namespace corvane {
namespace {

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// Opens a converter; empty when iconv has none for the pair.
IconvHandle OpenIconv(const char* to, const char* from) {
  iconv_t handle = iconv_open(to, from);
  if (handle == reinterpret_cast<iconv_t>(-1)) return IconvHandle();
  return IconvHandle(handle);
}

constexpr std::size_t kConvertChunk = 64 * 1024;
constexpr std::size_t kShiftTail = 16;  // room for a closing shift sequence
constexpr char16_t kReplacement = 0xFFFD;
// UTF-8 decoding: bytes tested for ASCII at once, and the units gathered before appending.
constexpr std::size_t kAsciiBlock = 16;
constexpr std::size_t kDecodeBuffer = 4096;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool StartsWithBytes(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::size_t SkipSpaces(std::string_view text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' ||
                               text[pos] == '\n')) {
    ++pos;
  }
  return pos;
}

// Value after `pos` of the form [spaces] '=' [spaces] value, quoted or ending at one of
// `stops`. Returns "" when no '=' follows.
std::string ReadAssignedValue(std::string_view text, std::size_t pos, std::string_view stops) {
  pos = SkipSpaces(text, pos);
  if (pos >= text.size() || text[pos] != '=') return {};
  pos = SkipSpaces(text, pos + 1);
  if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
    std::size_t close = text.find(text[pos], pos + 1);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(pos + 1, close - pos - 1));
  }
  std::size_t end = text.find_first_of(stops, pos);
  return std::string(text.substr(pos, end == std::string_view::npos ? end : end - pos));
}

std::string CharsetOfMeta(std::string_view head) {
  std::string lower = AsciiLower(head);
  for (std::size_t meta = lower.find("<meta"); meta != std::string::npos;
       meta = lower.find("<meta", meta + 5)) {
    std::size_t tag_end = lower.find('>', meta);
    std::string_view tag = std::string_view(head).substr(
        meta, tag_end == std::string::npos ? std::string::npos : tag_end - meta);
    std::size_t charset = AsciiLower(tag).find("charset");
    if (charset == std::string::npos) continue;
    std::string value = ReadAssignedValue(tag, charset + 7, " \t\r\n;\"'/>");
    std::size_t cut = value.find_first_of(" \t\r\n;");
    if (cut != std::string::npos) value.resize(cut);
    if (!value.empty()) return value;
  }
  return {};
}

// 16- or 32-bit code units recognisable from a leading '<' and its zero bytes; 0 if none.
int UnitsFromLeadingBytes(std::string_view bytes) {
  if (bytes.size() < 4) return 0;
  bool z0 = bytes[0] == 0, z1 = bytes[1] == 0, z2 = bytes[2] == 0, z3 = bytes[3] == 0;
  if (bytes[0] == '<' && z1 && z2 && z3) return kUtf32LeCodePage;
  if (z0 && z1 && z2 && bytes[3] == '<') return kUtf32BeCodePage;
  if (bytes[0] == '<' && z1 && !z2) return kUtf16LeCodePage;
  if (z0 && bytes[1] == '<' && !z3) return kUtf16BeCodePage;
  return 0;
}

std::u16string DecodeUtf16(std::string_view bytes, bool big_endian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto b0 = static_cast<unsigned char>(bytes[i]);
    auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(big_endian ? static_cast<char16_t>(b0 << 8 | b1)
                             : static_cast<char16_t>(b1 << 8 | b0));
  }
  if (bytes.size() % 2 != 0) out.push_back(kReplacement);
  return out;
}

std::string EncodeUtf16(std::u16string_view text, bool big_endian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out.push_back(big_endian ? high : low);
    out.push_back(big_endian ? low : high);
  }
  return out;
}

// Bytes per input unit for skipping undecodable input.
std::size_t UnitSize(int code_page) {
  if (code_page == kUtf32LeCodePage || code_page == kUtf32BeCodePage) return 4;
  return 1;
}

}  // namespace

std::string FindDeclaredEncoding(std::string_view head) {
  std::size_t pos = SkipSpaces(head, 0);
  if (head.substr(pos).starts_with("<?xml")) {
    std::size_t end = head.find("?>", pos);
    std::string_view declaration = head.substr(pos, end == std::string_view::npos ? end : end - pos);
    std::size_t encoding = declaration.find("encoding");
    if (encoding == std::string_view::npos) return {};
    return ReadAssignedValue(declaration, encoding + 8, " \t\r\n?>");
  }
  return CharsetOfMeta(head);
}

bool LooksLikeUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t follow = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                         : (lead & 0xF8) == 0xF0 ? 3 : 0;
    if (follow == 0 || bytes.size() - i <= follow) return false;
    for (std::size_t k = 1; k <= follow; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += follow + 1;
  }
  return true;
}

std::u16string DecodeUtf8(std::string_view bytes) {
  // Units are gathered in a small buffer and appended in pieces: sizing the result up front
  // would clear the whole text once before writing it again.
  std::u16string out;
  out.reserve(bytes.size());
  char16_t buffer[kDecodeBuffer];
  std::size_t used = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    if (used + kAsciiBlock > kDecodeBuffer) {
      out.append(buffer, used);
      used = 0;
    }
#ifdef __SSE2__
    if (i + kAsciiBlock <= size) {
      // Widen the whole block, then keep only its ASCII prefix; the rest is overwritten.
      __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + used), _mm_unpacklo_epi8(block, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + used + kAsciiBlock / 2),
                       _mm_unpackhi_epi8(block, zero));
      auto high_bits = static_cast<unsigned>(_mm_movemask_epi8(block));
      std::size_t ascii = high_bits == 0 ? kAsciiBlock : std::countr_zero(high_bits);
      used += ascii;
      i += ascii;
      if (ascii == kAsciiBlock) continue;
    }
#endif
    unsigned char lead = in[i];
    if (lead < 0x80) {
      buffer[used++] = lead;
      ++i;
      continue;
    }
    // Well-formed two- and three-byte sequences are decoded here; anything else (four
    // bytes, malformed input) goes to the general decoder up to the next ASCII byte. A
    // multi-byte sequence never holds an ASCII byte, so cutting there changes nothing.
    if (lead >= 0xC2 && lead < 0xE0 && i + 1 < size && IsContinuation(in[i + 1])) {
      buffer[used++] = static_cast<char16_t>((lead & 0x1F) << 6 | (in[i + 1] & 0x3F));
      i += 2;
      continue;
    }
    if ((lead & 0xF0) == 0xE0 && i + 2 < size && IsContinuation(in[i + 1]) &&
        IsContinuation(in[i + 2])) {
      char32_t cp = (lead & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 | (in[i + 2] & 0x3F);
      if (cp >= 0x800 && !IsSurrogate(cp)) {
        buffer[used++] = static_cast<char16_t>(cp);
        i += 3;
        continue;
      }
    }
    std::size_t end = i;
    while (end < size && in[end] >= 0x80) ++end;
    out.append(buffer, used);
    used = 0;
    out += Utf8ToUtf16(bytes.substr(i, end - i));
    i = end;
  }
  out.append(buffer, used);
  return out;
}

std::u16string DecodeCodePage(std::string_view bytes, int code_page) {
  if (code_page == kUtf8CodePage) return DecodeUtf8(bytes);
  if (code_page == kUtf16LeCodePage || code_page == kUtf16BeCodePage) {
    return DecodeUtf16(bytes, code_page == kUtf16BeCodePage);
  }
  const char* converter = ConverterNameForCodePage(code_page);
  if (converter == nullptr) converter = ConverterNameForCodePage(kAnsiCodePage);
  std::u16string out;
  IconvHandle handle = OpenIconv("UTF-16LE", converter);
  if (!handle) {
    for (char byte : bytes) out.push_back(static_cast<unsigned char>(byte));  // Latin-1
    return out;
  }
  out.reserve(bytes.size());
  std::string buffer(std::min(kConvertChunk, bytes.size() * 4 + 16), '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  while (in_left > 0) {
    char* out_ptr = buffer.data();
    std::size_t out_left = buffer.size();
    std::size_t result = iconv(static_cast<iconv_t>(handle.get()), &in, &in_left, &out_ptr,
                               &out_left);
    int error = errno;
    std::u16string chunk = DecodeUtf16(std::string_view(buffer.data(), out_ptr - buffer.data()),
                                       false);
    out += chunk;
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    out.push_back(kReplacement);
    if (error != EILSEQ) break;  // input ends inside a character
    std::size_t skip = std::min(UnitSize(code_page), in_left);
    in += skip;
    in_left -= skip;
  }
  return out;
}

namespace {

// Runs `in` through `handle`, appending to `out`; stops at the first character it cannot
// convert. Returns iconv's result and leaves errno's value in `error`.
std::size_t ConvertSome(iconv_t handle, char** in, std::size_t* in_left, std::string& out,
                        int& error) {
  std::string buffer(std::min(kConvertChunk, *in_left * 4 + 16), '\0');
  while (true) {
    char* out_ptr = buffer.data();
    std::size_t out_left = buffer.size();
    std::size_t result = iconv(handle, in, in_left, &out_ptr, &out_left);
    error = errno;
    out.append(buffer.data(), out_ptr - buffer.data());
    if (result == static_cast<std::size_t>(-1) && error == E2BIG) continue;
    return result;
  }
}

// Code point at the front of UTF-16LE bytes and how many bytes it takes.
char32_t FrontCodePoint(const char* in, std::size_t in_left, std::size_t& used) {
  auto unit_at = [in](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(in[i]) |
                                 static_cast<unsigned char>(in[i + 1]) << 8);
  };
  used = in_left < 2 ? in_left : 2;
  if (in_left < 2) return kReplacement;
  char16_t unit = unit_at(0);
  if (IsHighSurrogate(unit) && in_left >= 4) {
    char16_t low = unit_at(2);
    if (IsLowSurrogate(low)) {
      used = 4;
      return JoinSurrogates(unit, low);
    }
  }
  if (IsSurrogate(unit)) return kReplacement;
  return unit;
}

std::string EncodeLatin1(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit <= 0xFF) {
      out.push_back(static_cast<char>(unit));
    } else {
      out += "&#" + IntToDecimal(unit) + ";";
    }
  }
  return out;
}

}  // namespace

std::string EncodeCodePage(std::u16string_view text, int code_page) {
  if (code_page == kUtf8CodePage) return Utf16ToUtf8(text);
  if (code_page == kUtf16LeCodePage || code_page == kUtf16BeCodePage) {
    return EncodeUtf16(text, code_page == kUtf16BeCodePage);
  }
  const char* converter = ConverterNameForCodePage(code_page);
  if (converter == nullptr) converter = ConverterNameForCodePage(kAnsiCodePage);
  IconvHandle handle = OpenIconv(converter, "UTF-16LE");
  if (!handle) return EncodeLatin1(text);
  iconv_t cd = static_cast<iconv_t>(handle.get());
  std::string input = EncodeUtf16(text, false);
  std::string out;
  out.reserve(input.size() / 2);
  char* in = input.data();
  std::size_t in_left = input.size();
  int error = 0;
  while (in_left > 0) {
    if (ConvertSome(cd, &in, &in_left, out, error) != static_cast<std::size_t>(-1)) break;
    // Not representable here: write a reference, which reads back as the same character.
    std::size_t used = 0;
    char32_t code_point = FrontCodePoint(in, in_left, used);
    in += used;
    in_left -= used;
    std::string reference = EncodeUtf16(Utf8ToUtf16("&#" + IntToDecimal(code_point) + ";"),
                                        false);
    char* ref_in = reference.data();
    std::size_t ref_left = reference.size();
    ConvertSome(cd, &ref_in, &ref_left, out, error);
  }
  std::string tail(kShiftTail, '\0');
  char* out_ptr = tail.data();
  std::size_t out_left = tail.size();
  iconv(cd, nullptr, nullptr, &out_ptr, &out_left);  // closing shift sequence, if any
  out.append(tail.data(), out_ptr - tail.data());
  return out;
}

DecodedText DecodeDocumentBytes(std::string_view bytes) {
  DecodedText decoded;
  std::string_view body = bytes;
  // The 32-bit marks first: FF FE 00 00 would otherwise pass for a UTF-16 mark.
  if (StartsWithBytes(bytes, std::string_view("\xFF\xFE\0\0", 4))) {
    decoded.code_page = kUtf32LeCodePage;
    body.remove_prefix(4);
  } else if (StartsWithBytes(bytes, std::string_view("\0\0\xFE\xFF", 4))) {
    decoded.code_page = kUtf32BeCodePage;
    body.remove_prefix(4);
  } else if (StartsWithBytes(bytes, "\xEF\xBB\xBF")) {
    decoded.code_page = kUtf8CodePage;
    body.remove_prefix(3);
  } else if (StartsWithBytes(bytes, "\xFF\xFE")) {
    decoded.code_page = kUtf16LeCodePage;
    body.remove_prefix(2);
  } else if (StartsWithBytes(bytes, "\xFE\xFF")) {
    decoded.code_page = kUtf16BeCodePage;
    body.remove_prefix(2);
  }
  decoded.had_bom = decoded.code_page != 0;
  if (!decoded.had_bom) {
    std::string head;
    for (char byte : bytes.substr(0, kProbeBytes)) {
      if (byte != '\0') head.push_back(byte);
    }
    std::string declared = FindDeclaredEncoding(head);
    // Zero bytes around a leading '<' reveal 16/32-bit units whatever is declared.
    decoded.code_page = UnitsFromLeadingBytes(bytes);
    if (decoded.code_page == 0 && !declared.empty()) {
      decoded.code_page = CodePageForCharset(declared);
      if (decoded.code_page == 0) decoded.code_page = kAnsiCodePage;
    }
    if (decoded.code_page == 0 && !bytes.empty() && bytes[0] == '<') {
      decoded.code_page = kUtf8CodePage;
    }
    if (decoded.code_page == 0) {
      decoded.code_page = LooksLikeUtf8(bytes) ? kUtf8CodePage : kAnsiCodePage;
    }
  }
  decoded.text = DecodeCodePage(body, decoded.code_page);
  std::erase(decoded.text, u'\0');
  return decoded;
}

std::string EncodeDocumentText(std::u16string_view text, bool with_bom) {
  std::string declared = FindDeclaredEncoding(Utf16ToUtf8(text.substr(0, kProbeBytes)));
  int code_page = kUtf8CodePage;
  if (!declared.empty()) {
    code_page = CodePageForCharset(declared);
    if (code_page == 0) code_page = kAnsiCodePage;
  }
  std::string out;
  if (with_bom) {
    if (code_page == kUtf8CodePage) out = "\xEF\xBB\xBF";
    if (code_page == kUtf16LeCodePage) out = "\xFF\xFE";
    if (code_page == kUtf16BeCodePage) out = "\xFE\xFF";
    if (code_page == kUtf32LeCodePage) out = std::string("\xFF\xFE\0\0", 4);
    if (code_page == kUtf32BeCodePage) out = std::string("\0\0\xFE\xFF", 4);
  }
  return out + EncodeCodePage(text, code_page);
}

}  // namespace corvane
