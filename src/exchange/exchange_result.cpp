// Wording of the exchange failures for the command line.
#include "exchange/exchange_result.h"

namespace corvane {

const char* ExchangeStatusText(ExchangeStatus status) {
  switch (status) {
    case ExchangeStatus::kOk:
      return "ok";
    case ExchangeStatus::kUnreadable:
      return "cannot read file";
    case ExchangeStatus::kTooLarge:
      return "file is larger than 16 MiB";
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
  }
  return "unknown failure";
}

ExchangeResult ExchangeFailure(ExchangeStatus status, const std::string& path) {
  ExchangeResult result;
  result.status = status;
  result.message = std::string(ExchangeStatusText(status)) + ": " + path;
  return result;
}

}  // namespace corvane
