// Mapping of SQLite result codes onto the store failures a user is told about.
#include "store/store_error.h"

namespace corvane {
namespace {

// Primary SQLite result codes (the low byte of an extended code).
constexpr int kSqliteOk = 0;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteAuth = 23;
constexpr int kSqliteRow = 100;
constexpr int kSqliteDone = 101;
constexpr int kPrimaryMask = 0xFF;

}  // namespace

StoreError ClassifySqliteResult(int result) {
  switch (result & kPrimaryMask) {
    case kSqliteOk:
    case kSqliteRow:
    case kSqliteDone:
      return StoreError::kNone;
    case kSqliteBusy:
    case kSqliteLocked:
      return StoreError::kBusy;
    case kSqliteFull:
      return StoreError::kFull;
    case kSqliteReadOnly:
    case kSqliteAuth:
      return StoreError::kReadOnly;
    // A journal that cannot be created beside the file: its folder takes no new files.
    case kSqliteCantOpen:
      return StoreError::kReadOnly;
    default:
      return StoreError::kOther;
  }
}

const char* StoreErrorText(StoreError error) {
  switch (error) {
    case StoreError::kNone: return "";
    case StoreError::kBusy: return "database busy";
    case StoreError::kFull: return "disk full";
    case StoreError::kReadOnly: return "read-only";
    case StoreError::kOther: return "settings store refused the change";
  }
  return "settings store refused the change";
}

std::string StoreErrorMessage(StoreError error, const std::string& detail) {
  std::string message = StoreErrorText(error == StoreError::kNone ? StoreError::kOther : error);
  if (error == StoreError::kBusy) message += " (another program holds it; try again)";
  if (!detail.empty()) message += ": " + detail;
  return message;
}

}  // namespace corvane
