// Macro files: one macro (root `macro`, `macroinfo` + `macroitems`) or every macro of the
// device (root `macro`, one `macro_item` each). Imports always add new macros; they
// never replace or merge with existing ones.
#pragma once

#include <filesystem>

#include "exchange/exchange_result.h"
#include "settings/settings_texts.h"

namespace corvane {

class SettingsDatabase;

// Writes macro `macro_id` and its events to `path`, named as the macro list shows it in the
// language of `texts`. Returns kOk, kNoSuchMacro or kNotWritable.
ExchangeResult ExportMacro(SettingsDatabase& db, int macro_id, const std::filesystem::path& path,
                           const TextLookup& texts);

// Writes every macro of the store, ascending by id and with the stored names, to `path`.
// Returns kOk or kNotWritable.
ExchangeResult ExportAllMacros(SettingsDatabase& db, const std::filesystem::path& path);

// Adds the macro of a single-macro file (an empty one when the file has no `macroinfo`).
// Returns kOk with the new id in macro_ids, kStoreFailed, or a load failure (nothing added).
ExchangeResult ImportMacro(SettingsDatabase& db, const std::filesystem::path& path);

// Adds every `macro_item` of an all-macros file. Returns kOk with the new ids (none for a
// file without macro items), kStoreFailed, or a load failure (nothing added).
ExchangeResult ImportAllMacros(SettingsDatabase& db, const std::filesystem::path& path);

}  // namespace corvane
