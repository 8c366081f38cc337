// Why the settings store refused an operation, in the words a user can act on: another
// program holds the file, the disk is full, or the file or its folder cannot be written.
#pragma once

#include <string>

namespace corvane {

enum class StoreError {
  kNone,      // nothing failed since the last look
  kBusy,      // another connection held the file locked past the busy time-out
  kFull,      // the disk (or the file's size limit) is full
  kReadOnly,  // the file or its folder cannot be written
  kOther,     // any other refusal (damaged file, missing table, ...)
};

// Returns the kind of a SQLite result code (primary or extended); kNone for SQLITE_OK,
// SQLITE_ROW and SQLITE_DONE.
StoreError ClassifySqliteResult(int result);

// Returns the words for a failure: "database busy", "disk full", "read-only",
// "settings store refused the change"; "" for kNone.
const char* StoreErrorText(StoreError error);

// Returns "<words>: <detail>" (the file that was refused, say), for one-line messages.
std::string StoreErrorMessage(StoreError error, const std::string& detail);

}  // namespace corvane
