// Wording of the exchange failures for the command line.
#include "exchange/exchange_result.h"

#include "app/text_ids.h"

namespace corvane {

const char* ExchangeStatusText(ExchangeStatus status) {
  switch (status) {
    case ExchangeStatus::kOk:
      return "ok";
    case ExchangeStatus::kUnreadable:
      return "cannot read file";
    case ExchangeStatus::kTooLarge:
      return "file exceeds a size limit";
    case ExchangeStatus::kIllFormed:
      return "file is not well-formed XML";
    case ExchangeStatus::kWrongRoot:
      return "file has the wrong root element";
    case ExchangeStatus::kNotWritable:
      return "cannot write file";
    case ExchangeStatus::kNoSuchProfile:
      return "no such profile";
    case ExchangeStatus::kNoSuchMacro:
      return "no such macro";
    case ExchangeStatus::kStoreFailed:
      return "settings store refused the change";
    case ExchangeStatus::kBadValue:
      return "file holds a value the settings cannot take";
  }
  return "unknown failure";
}

std::string ExchangeFailureMessage(ExchangeStatus status, const std::string& path,
                                   const TextLookup& texts) {
  int text = kTextSettingsNotSaved;  // the store refused, or what was named is gone
  switch (status) {
    case ExchangeStatus::kUnreadable:
      text = kTextFileUnreadable;
      break;
    case ExchangeStatus::kTooLarge:
      text = kTextFileTooLarge;
      break;
    case ExchangeStatus::kIllFormed:
    case ExchangeStatus::kWrongRoot:
      text = kTextFileNotSettings;
      break;
    case ExchangeStatus::kNotWritable:
      text = kTextFileNotWritable;
      break;
    case ExchangeStatus::kBadValue:
      text = kTextFileBadValue;
      break;
    default:
      break;
  }
  return texts(text) + "\n\n" + path;
}

ExchangeResult ExchangeFailure(ExchangeStatus status, const std::string& path) {
  ExchangeResult result;
  result.status = status;
  result.message = std::string(ExchangeStatusText(status)) + ": " + path;
  return result;
}

ExchangeResult ExchangeFailure(ExchangeStatus status, const std::string& path,
                               const std::string& detail) {
  ExchangeResult result = ExchangeFailure(status, path);
  if (!detail.empty()) result.message += ": " + detail;
  return result;
}

}  // namespace corvane
