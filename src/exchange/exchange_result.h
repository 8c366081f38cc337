// What an export or import reports back: a status the window may ignore (file failures
// are silent there) and a one-line message the command line prints.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_texts.h"

namespace corvane {

enum class ExchangeStatus {
  kOk,
  kUnreadable,     // the file could not be opened or read
  kTooLarge,       // the file is larger than kMaxExchangeFileBytes
  kIllFormed,      // not a well-formed document
  kWrongRoot,      // well formed, but not the expected root element
  kNotWritable,    // the export could not be written
  kNoSuchProfile,  // the profile id is not in the store
  kNoSuchMacro,    // the macro id is not in the store
  kStoreFailed,    // the store refused a write (busy, disk full, read-only); nothing changed
  kBadValue,       // a value breaks a rule of the pages; the file was refused whole
};

struct ExchangeResult {
  ExchangeStatus status = ExchangeStatus::kOk;
  std::string message;         // one line naming the file and the problem; "" when ok
  std::string profile_name;    // profile import: the name the profile was given
  std::vector<int> macro_ids;  // macro import: the new macros, in file order

  // True when the operation did what was asked.
  bool ok() const { return status == ExchangeStatus::kOk; }
};

// Returns a failed result with `status` and the message "<what>: <path>".
ExchangeResult ExchangeFailure(ExchangeStatus status, const std::string& path);
// The same with the particular problem appended: "<what>: <path>: <detail>".
ExchangeResult ExchangeFailure(ExchangeStatus status, const std::string& path,
                               const std::string& detail);

// Returns the fixed wording of a status ("file is not well formed", ...).
const char* ExchangeStatusText(ExchangeStatus status);

// What the window says of a failed export or import of `path`: why, in the person's own
// language, a blank line and the file. The command line's English `message` is not for them.
std::string ExchangeFailureMessage(ExchangeStatus status, const std::string& path,
                                   const TextLookup& texts);

}  // namespace corvane
