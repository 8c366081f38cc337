// Reading and writing the exchange documents as files: a bounded read that checks the
// root before anyone changes the store, and a write that never leaves a half file behind.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "exchange/exchange_result.h"

namespace corvane {

class MarkupDocument;
class SettingsDatabase;

// Files larger than this are refused unread (profile and macro files are a few KiB).
inline constexpr std::size_t kMaxExchangeFileBytes = std::size_t{16} << 20;

// The first line of every exported file.
inline constexpr std::string_view kExchangeDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Starts `doc` as a new export holding only the declaration.
void StartExchangeDocument(MarkupDocument& doc);

// Loads `path` into `doc` and checks that its root is `root`; on success navigation is
// at top level with the root current. Returns kOk, kUnreadable, kTooLarge, kIllFormed or
// kWrongRoot.
ExchangeResult LoadExchangeDocument(const std::filesystem::path& path, std::string_view root,
                                    MarkupDocument& doc);

// A kStoreFailed result whose message says why the store refused ("database busy",
// "disk full", "read-only"), taken (and forgotten) from `db`, naming the database and the
// file `path` that was not stored.
ExchangeResult StoreFailure(SettingsDatabase& db, const std::filesystem::path& path);

// Reads integer attribute `name` of the current element: absent ("") is 0, anything else
// must be a decimal number. Returns false with `problem` naming the attribute otherwise.
bool ReadIntAttribute(const MarkupDocument& doc, std::string_view name, int& value,
                      std::string& problem);

// When a text that failed to parse breaks one of the document's size limits rather than
// its syntax, returns that limit ("elements nested deeper than 65535 levels"); else "".
std::string ExceededMarkupLimit(std::u16string_view text);

// Writes `doc` to exactly `path`. An existing file is replaced through a temporary file
// beside it and a rename, so a failed write keeps the old file (written in place only when
// its folder takes no new files); a symbolic link keeps pointing at its target, which
// receives the document; a terminal or pipe is written directly. Returns kOk or kNotWritable.
ExchangeResult SaveExchangeDocument(const MarkupDocument& doc, const std::filesystem::path& path);

}  // namespace corvane
