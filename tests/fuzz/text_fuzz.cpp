// libFuzzer target: arbitrary bytes as a language file, as registry.ini and through the
// text conversions (UTF-8/UTF-16 and the code pages of the markup layer).
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "app/ini_file.h"
#include "app/ini_key_value_store.h"
#include "app/language_text.h"
#include "base/text.h"
#include "fuzz_scratch.h"
#include "xml/charset_table.h"
#include "xml/text_codec.h"

namespace {

void Conversions(std::string_view bytes) {
  // Conversion replaces malformed input once; the result must then be stable.
  const std::string once = corvane::Utf16ToUtf8(corvane::Utf8ToUtf16(bytes));
  if (corvane::Utf16ToUtf8(corvane::Utf8ToUtf16(once)) != once) __builtin_trap();
  corvane::DecimalToInt(bytes);
  corvane::DecimalToInt(corvane::Utf8ToUtf16(bytes));
  corvane::ReplaceControlCharacters(bytes, '_');
  // One code page per input (the first byte picks it): each conversion opens a converter.
  static constexpr int kCodePages[] = {corvane::kUtf8CodePage,
                                       corvane::kUtf16LeCodePage,
                                       corvane::kUtf16BeCodePage,
                                       936,
                                       932,
                                       949,
                                       950,
                                       1252};
  const int code_page =
      kCodePages[bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % std::size(kCodePages)];
  corvane::EncodeCodePage(corvane::DecodeCodePage(bytes, code_page), code_page);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = corvane::fuzz::AsText(data, size);
  Conversions(bytes);

  // As a language file: parsed and looked up by id as the window does.
  static const std::filesystem::path program = corvane::fuzz::ScratchFolder() / "program";
  static int round = 0;
  const int language = (++round % 2 == 0) ? 1033 : 2052;  // a new id makes it read the file
  corvane::LanguageText texts(program);
  corvane::fuzz::WriteBytes(texts.LanguageFilePath(language), bytes);
  texts.SetLanguageId(language);
  for (int id : {1, 50, 52, 551, 580}) texts.Text(id);
  const corvane::IniFile ini = corvane::IniFile::Parse(bytes);
  ini.Get("LAN", "1");

  // As registry.ini: values read, then one written back over it.
  static const std::filesystem::path registry = corvane::fuzz::ScratchFolder() / "registry.ini";
  corvane::fuzz::WriteBytes(registry, bytes);
  corvane::IniKeyValueStore store(registry, "Corvane");
  store.ReadLcid();
  store.ReadDeviceType();
  store.ReadHideOnClose();
  store.WriteNumber(corvane::kValueDeviceType, 7);
  store.ReadDeviceType();
  return 0;
}
