// Bounded file reading and replace-by-rename writing for the exchange documents.
#include "exchange/exchange_file.h"

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "xml/markup_document.h"
#include "xml/text_codec.h"

namespace corvane {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kReadChunk = 64 * 1024;

// Reads at most kMaxExchangeFileBytes; a device that never ends (a FIFO, /dev/zero)
// stops at the limit too. Returns kOk, kUnreadable or kTooLarge.
ExchangeStatus ReadBounded(const std::filesystem::path& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return ExchangeStatus::kUnreadable;
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return ExchangeStatus::kUnreadable;
  std::string chunk(kReadChunk, '\0');
  while (true) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (bytes.size() + got > kMaxExchangeFileBytes) return ExchangeStatus::kTooLarge;
    bytes.append(chunk.data(), got);
    if (got < chunk.size()) break;
  }
  return std::ferror(file.get()) == 0 ? ExchangeStatus::kOk : ExchangeStatus::kUnreadable;
}

}  // namespace

void StartExchangeDocument(MarkupDocument& doc) { doc.SetText(kExchangeDeclaration); }

ExchangeResult LoadExchangeDocument(const std::filesystem::path& path, std::string_view root,
                                    MarkupDocument& doc) {
  std::string bytes;
  const ExchangeStatus read = ReadBounded(path, bytes);
  if (read != ExchangeStatus::kOk) return ExchangeFailure(read, path.string());
  if (!doc.SetText(std::u16string_view(DecodeDocumentBytes(bytes).text))) {
    return ExchangeFailure(ExchangeStatus::kIllFormed, path.string());
  }
  if (!doc.FindElement(root)) return ExchangeFailure(ExchangeStatus::kWrongRoot, path.string());
  return {};
}

ExchangeResult SaveExchangeDocument(const MarkupDocument& doc, const std::filesystem::path& path) {
  std::filesystem::path temp = path;
  temp += ".part";
  std::error_code ec;
  if (!doc.SaveFile(temp)) {
    std::filesystem::remove(temp, ec);
    return ExchangeFailure(ExchangeStatus::kNotWritable, path.string());
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return ExchangeFailure(ExchangeStatus::kNotWritable, path.string());
  }
  return {};
}

}  // namespace corvane
