// libcurl behind the update transfers. Every request gets its own easy handle, so a
// transfer object can be reused but never runs two requests at once.

#include "update/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>

#include "base/text.h"
#include "base/trace.h"
#include "update/update_view.h"

namespace corvane {
namespace {

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

// Longest wait for network activity before the running flag is looked at again; Cancel
// also wakes the wait at once.
constexpr int kWaitSliceMs = 100;

struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// State shared with the libcurl callbacks of one request.
struct Exchange {
  const std::atomic<bool>* running = nullptr;
  CURL* curl = nullptr;
  long deadline_seconds = 0;
  bool cancelled = false;
  bool opened = false;
  // Called once when the final response is known (before its first byte, or at the end of
  // an empty body); false refuses the response.
  std::function<bool()> on_open;
  // Called for each block of the body; false stops the transfer.
  std::function<bool(const char* data, size_t size)> on_block;
  // Called once the session is set up, just before the request goes out.
  std::function<void()> on_session;
  // Why the exchange failed, when a callback refused it; otherwise libcurl's words are used.
  std::string failure;
  // Told the request's CURLM while it runs, and null once it is over.
  std::function<void(CURLM*)> on_waiting;
};

constexpr long kMaxRedirects = 5;

// True for an https address (scheme compared without regard to case).
bool IsSecureUrl(const std::string& url) {
  constexpr std::string_view kScheme = "https:";
  if (url.size() < kScheme.size()) return false;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(url[i])) != kScheme[i]) return false;
  }
  return true;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* exchange = static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  if (!exchange->running->load()) {
    exchange->cancelled = true;
    return 0;
  }
  if (!exchange->opened) {
    exchange->opened = true;
    if (!exchange->on_open()) return 0;
  }
  return exchange->on_block(data, bytes) ? bytes : 0;
}

int OnTick(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* exchange = static_cast<Exchange*>(user);
  if (exchange->running->load()) return 0;
  exchange->cancelled = true;
  return 1;
}

// Returns the HTTP status of the final response (0 when none arrived).
long ResponseStatus(CURL* curl) {
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

bool IsSuccessStatus(long status) { return status >= 200 && status < 300; }

// Checks the final response's status; a refusal names it in `failure`.
bool AcceptStatus(CURL* curl, std::string& failure) {
  const long status = ResponseStatus(curl);
  if (IsSuccessStatus(status)) return true;
  failure = "HTTP status " + std::to_string(status);
  return false;
}

// Returns the declared content length, 0 when the server sent none.
std::uint64_t DeclaredLength(CURL* curl) {
  curl_off_t length = -1;
  if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) return 0;
  return length > 0 ? static_cast<std::uint64_t>(length) : 0;
}

// Returns a handle set up the way every update request is made, or null.
CurlHandle PrepareRequest(const std::string& url, curl_slist* headers, Exchange* exchange) {
  static std::once_flag global_init;
  std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CurlHandle curl(curl_easy_init());
  if (!curl) return nullptr;
  CURL* c = curl.get();
  bool ok = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  // A secure request stays secure: a redirect to plain http would let anyone on the path
  // choose the package (or the version that picks it).
  ok = ok && curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(url)) == CURLE_OK;
  if (!ok) return nullptr;
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUpdateUserAgent);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(c, CURLOPT_BUFFERSIZE, static_cast<long>(kTransferBlockBytes));
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  // A cancelled request must not wait for a name lookup that is still running to finish.
  curl_easy_setopt(c, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, exchange->deadline_seconds);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, exchange);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnTick);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, exchange);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  exchange->curl = c;
  return curl;
}

// The request headers: any type accepted, never an answer from a cache.
HeaderList RequestHeaders() {
  curl_slist* list = nullptr;
  for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
    curl_slist* grown = curl_slist_append(list, header);
    if (grown == nullptr) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return HeaderList(list);
}

// Runs `easy` until it is done or `running` is cleared; a waiting request can be woken
// through the CURLM handed to exchange.on_waiting. Returns libcurl's result of the request.
CURLcode RunRequest(CURL* easy, Exchange& exchange, const std::atomic<bool>& running) {
  MultiHandle multi(curl_multi_init());
  if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
  if (exchange.on_waiting) exchange.on_waiting(multi.get());
  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  bool done = false;
  while (!done && running.load()) {
    int active = 0;
    if (curl_multi_perform(multi.get(), &active) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
      if (message->msg == CURLMSG_DONE) {
        result = message->data.result;
        done = true;
      }
    }
    if (!done) curl_multi_poll(multi.get(), nullptr, 0, kWaitSliceMs, nullptr);
  }
  if (exchange.on_waiting) exchange.on_waiting(nullptr);
  curl_multi_remove_handle(multi.get(), easy);
  return result;
}

// Runs a prepared request to its end. Returns the transfer code of fetch/download
// (0 when it could not be set up); `running` is consulted for the -2 outcome.
int Perform(const std::string& url, Exchange& exchange, const std::atomic<bool>& running) {
  HeaderList headers = RequestHeaders();
  if (!headers) return 0;
  exchange.running = &running;
  CurlHandle curl = PrepareRequest(url, headers.get(), &exchange);
  if (!curl) return 0;
  if (exchange.on_session) exchange.on_session();
  const CURLcode rc = RunRequest(curl.get(), exchange, running);
  if (exchange.cancelled || !running.load()) return -2;
  if (rc != CURLE_OK) {
    Trace("update transfer failed: %s", curl_easy_strerror(rc));
    if (exchange.failure.empty()) exchange.failure = curl_easy_strerror(rc);
    return -1;
  }
  if (!exchange.opened) {  // an empty body never reached the write callback
    exchange.opened = true;
    if (!exchange.on_open()) return -1;
  }
  return 1;
}

// The reason of a failed transfer code, "" for success.
std::string ErrorText(int code, const Exchange& exchange) {
  if (code == 1) return "";
  if (code == -2) return "cancelled";
  if (code == 0) return "no HTTP session could be set up";
  return exchange.failure.empty() ? "the transfer failed" : exchange.failure;
}

std::string TooLargeText() {
  return "the package is larger than " + std::to_string(kMaxPackageBytes >> 20) + " MiB";
}

std::string WriteErrorText(int error) {
  return std::string("cannot write the package: ") + std::strerror(error);
}

}  // namespace

const char* RedirectProtocols(const std::string& url) {
  return IsSecureUrl(url) ? "https" : "http,https";
}

HttpTransfer::HttpTransfer(HttpDeadlines deadlines) : deadlines_(deadlines) {}

void HttpTransfer::Cancel() {
  running_.store(false);
  std::lock_guard lock(waiting_mutex_);
  if (waiting_ != nullptr) curl_multi_wakeup(static_cast<CURLM*>(waiting_));
}

void HttpTransfer::SetWaitingRequest(void* multi) {
  std::lock_guard lock(waiting_mutex_);
  waiting_ = multi;
}

FetchResult HttpTransfer::fetch(const std::string& url) {
  running_.store(true);
  std::string body;
  Exchange exchange;
  exchange.deadline_seconds = deadlines_.version_text_seconds;
  exchange.on_waiting = [this](CURLM* multi) { SetWaitingRequest(multi); };
  exchange.on_open = [&exchange] { return AcceptStatus(exchange.curl, exchange.failure); };
  exchange.on_block = [&body, &exchange](const char* data, size_t size) {
    if (body.size() + size > kMaxVersionTextBytes) {
      exchange.failure = "the answer is longer than " + std::to_string(kMaxVersionTextBytes) +
                         " bytes";
      return false;
    }
    body.append(data, size);
    return true;
  };
  FetchResult result;
  result.code = Perform(url, exchange, running_);
  running_.store(false);
  last_error_ = ErrorText(result.code, exchange);
  if (result.code == 1) result.text = Utf16ToUtf8(Utf8ToUtf16(body));
  return result;
}

void HttpTransfer::PostProgress(UpdateView* view, int percent) {
  if (percent == last_progress_) return;
  last_progress_ = percent;
  if (view != nullptr) view->PostDownloadProgress(percent);
}

int HttpTransfer::download(const std::string& url, const std::filesystem::path& target,
                           UpdateView* view) {
  running_.store(true);
  if (view != nullptr && last_progress_ != 0) PostProgress(view, 0);
  FileHandle file;
  bool discard = false;  // the partial file is unusable (oversized or not written)
  std::uint64_t length = 0;
  std::uint64_t received = 0;
  Exchange exchange;
  exchange.deadline_seconds = deadlines_.package_seconds;
  exchange.on_waiting = [this](CURLM* multi) { SetWaitingRequest(multi); };
  exchange.on_open = [&] {
    if (!AcceptStatus(exchange.curl, exchange.failure)) return false;
    PostProgress(view, 8);
    length = DeclaredLength(exchange.curl);
    if (length > kMaxPackageBytes) {
      exchange.failure = TooLargeText();
      return false;
    }
    std::error_code ec;
    std::filesystem::remove(target, ec);
    file.reset(std::fopen(target.c_str(), "wb"));
    if (!file) {
      exchange.failure = WriteErrorText(errno);
      return false;
    }
    PostProgress(view, 10);
    return true;
  };
  exchange.on_block = [&](const char* data, size_t size) {
    received += size;
    if (received > kMaxPackageBytes) {
      exchange.failure = TooLargeText();
      discard = true;
      return false;
    }
    if (std::fwrite(data, 1, size, file.get()) != size) {
      exchange.failure = WriteErrorText(errno);
      discard = true;
      return false;
    }
    if (view != nullptr && length >= kTransferBlockBytes) {
      PostProgress(view,
                   static_cast<int>(std::min<std::uint64_t>(100, 10 + 90 * received / length)));
    }
    return true;
  };
  exchange.on_session = [&] { PostProgress(view, 2); };
  const int code = Perform(url, exchange, running_);
  running_.store(false);
  const bool created = static_cast<bool>(file);
  const bool flushed = created && std::fflush(file.get()) == 0;
  if (code == 1 && created && !flushed) exchange.failure = WriteErrorText(errno);
  // The close writes what the buffer still holds; a full disk may refuse only that.
  const bool closed = !created || std::fclose(file.release()) == 0;
  if (code == 1 && !closed && exchange.failure.empty()) exchange.failure = WriteErrorText(errno);
  if ((code == 1 && (!flushed || !closed)) || (code == -1 && created)) discard = true;
  last_error_ = discard ? ErrorText(-1, exchange) : ErrorText(code, exchange);
  if (discard) {
    std::error_code ec;
    std::filesystem::remove(target, ec);
    return -1;
  }
  if (created && (code == 1 || code == -2)) PostProgress(view, 100);
  return code;
}

}  // namespace corvane
