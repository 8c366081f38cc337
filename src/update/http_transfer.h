// HTTP transfers of the update service over libcurl: short version texts and
// package downloads with progress, both cancellable from another thread.
// Knows nothing of versions or packages; see version_check.h and update_install.h.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

namespace corvane {

class UpdateView;

// Every request is made with this user agent, "Accept: */*" and no-cache headers.
inline constexpr const char* kUpdateUserAgent = "IIC2.0/PC 5.5.0000";
// The body is handed over in blocks of at most this many bytes.
inline constexpr size_t kTransferBlockBytes = 10240;
// A version text is a few characters; a longer answer is refused while it arrives.
inline constexpr size_t kMaxVersionTextBytes = 4096;
// Largest package accepted; bigger ones (declared or streamed) are refused.
inline constexpr std::uint64_t kMaxPackageBytes = 64ull * 1024 * 1024;
// A server that accepts no connection in this time, or sends nothing for the stall time, fails.
inline constexpr long kConnectTimeoutSeconds = 30;
inline constexpr long kStallSeconds = 60;
// Whole-request deadlines, so a server that trickles or stalls mid-body cannot hold a check
// or a download without end: a version text is a few bytes, a package up to kMaxPackageBytes
// over a slow line (64 MiB in 15 minutes is about 75 KB/s).
inline constexpr long kVersionTextDeadlineSeconds = 5;
inline constexpr long kPackageDeadlineSeconds = 15 * 60;

// The schemes a request to `url` may be redirected to: "https" alone for an https address
// (a secure request never continues in clear), "http,https" otherwise.
const char* RedirectProtocols(const std::string& url);

struct HttpDeadlines {
  long version_text_seconds = kVersionTextDeadlineSeconds;
  long package_seconds = kPackageDeadlineSeconds;
};

struct FetchResult {
  // 1 done, 0 no HTTP session could be set up, -1 failed (unreachable, non-2xx status,
  // oversized or broken body), -2 cancelled through Cancel().
  int code = 0;
  // The body as UTF-8 (malformed bytes replaced), untrimmed; empty unless code is 1.
  std::string text;
};

class HttpTransfer {
 public:
  explicit HttpTransfer(HttpDeadlines deadlines = {});
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Reads the short text at `url`; see FetchResult for the codes. Past the version text
  // deadline the request fails (-1). Redirects are followed up to five times, never from
  // https to plain http.
  FetchResult fetch(const std::string& url);

  // Downloads `url` into `target` (replaced), posting progress 0, 2, 8, 10, ..., 100 to `view`
  // (may be null) whenever the value changes. Returns 1 done, 0 no HTTP session, -1 failed
  // (unreachable, non-2xx, oversized, target not writable, broken transfer, past the package
  // deadline), -2 cancelled. A failed download leaves no partial package.
  int download(const std::string& url, const std::filesystem::path& target, UpdateView* view);

  // Clears the running flag: a transfer running on another thread ends with -2 at once,
  // even while it waits for a server or a name lookup.
  void Cancel();

  // True while a transfer runs and has not been cancelled.
  bool Running() const { return running_.load(); }

  // The last download progress value posted (0 before any download).
  int LastProgress() const { return last_progress_; }

  // Why the last fetch or download failed, in a few words ("HTTP status 404", "the
  // package is larger than 64 MiB", "cannot write the package: No space left on device");
  // "" after a success.
  const std::string& LastError() const { return last_error_; }

 private:
  // Remembers `percent` and posts it to `view` when it differs from the last value.
  void PostProgress(UpdateView* view, int percent);
  // Makes `multi` (a CURLM*, or null once the request is over) the one Cancel wakes.
  void SetWaitingRequest(void* multi);

  HttpDeadlines deadlines_;
  std::string last_error_;
  std::atomic<bool> running_{false};
  std::mutex waiting_mutex_;
  void* waiting_ = nullptr;  // the running request's CURLM, woken by Cancel
  int last_progress_ = 0;
};

}  // namespace corvane
