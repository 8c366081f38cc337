// HTTP transfers against a local server: request headers, status and size refusals,
// progress values, and cancellation from another thread.

#include "update/http_transfer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/temp_home.h"
#include "update_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

class HttpTransferTest : public test::LocalServerTest {
 protected:
  fs::path Target() const { return home_.Root() / "download.zip"; }

  HttpTransfer transfer_;
  test::RecordingView view_;
};

TEST_F(HttpTransferTest, FetchSendsTheAgreedHeadersAndKeepsTheTextVerbatim) {
  const FetchResult headers = transfer_.fetch(RawUrl("/_headers"));
  ASSERT_EQ(headers.code, 1);
  EXPECT_NE(headers.text.find("User-Agent: IIC2.0/PC 5.5.0000"), std::string::npos);
  EXPECT_NE(headers.text.find("Accept: */*"), std::string::npos);
  EXPECT_NE(headers.text.find("Cache-Control: no-cache"), std::string::npos);
  EXPECT_NE(headers.text.find("Pragma: no-cache"), std::string::npos);

  ASSERT_TRUE(WriteFileBytes(Served() / "version", "1.0.2\n"));
  const FetchResult version = transfer_.fetch(Url("/version"));
  EXPECT_EQ(version.code, 1);
  EXPECT_EQ(version.text, "1.0.2\n");
  EXPECT_FALSE(transfer_.Running());
}

TEST_F(HttpTransferTest, FetchRefusesErrorStatusOversizedBodyAndUnreachableServer) {
  for (const char* status : {"/_status/404", "/_status/500"}) {
    const FetchResult result = transfer_.fetch(RawUrl(status));
    EXPECT_EQ(result.code, -1) << status;
    EXPECT_EQ(result.text, "") << status;  // "Not Found" must not pass as a version
  }
  EXPECT_EQ(transfer_.fetch(RawUrl("/_huge/1048576/0")).code, -1);
  EXPECT_EQ(transfer_.fetch(RawUrl("/_huge/1048576/1")).code, -1);
  test::RefusingPort closed;
  ASSERT_GT(closed.Port(), 0);
  const std::string gone = "http://127.0.0.1:" + std::to_string(closed.Port()) + "/version";
  const FetchResult unreachable = transfer_.fetch(gone);
  EXPECT_EQ(unreachable.code, -1);
  EXPECT_EQ(unreachable.text, "");
}

TEST_F(HttpTransferTest, StallingServersMeetTheRequestDeadlines) {
  using Clock = std::chrono::steady_clock;
  // A byte every half second keeps the stall guard quiet; only a deadline ends the request.
  Clock::time_point start = Clock::now();
  const FetchResult trickled = transfer_.fetch(RawUrl("/_trickle"));
  EXPECT_EQ(trickled.code, -1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(kVersionTextDeadlineSeconds + 3));

  HttpTransfer quick(HttpDeadlines{kVersionTextDeadlineSeconds, 1});
  start = Clock::now();
  EXPECT_EQ(quick.download(RawUrl("/_slow"), Target(), &view_), -1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  EXPECT_FALSE(fs::exists(Target())) << "a download cut short leaves no partial package";
}

TEST_F(HttpTransferTest, FailuresAreNamed) {
  EXPECT_EQ(transfer_.fetch(RawUrl("/_status/404")).code, -1);
  EXPECT_EQ(transfer_.LastError(), "HTTP status 404");
  EXPECT_EQ(transfer_.fetch(RawUrl("/_huge/1048576/0")).code, -1);
  EXPECT_NE(transfer_.LastError().find("longer than 4096 bytes"), std::string::npos)
      << transfer_.LastError();
  EXPECT_EQ(transfer_.download(RawUrl("/_huge/70000000/1"), Target(), nullptr), -1);
  EXPECT_NE(transfer_.LastError().find("larger than 64 MiB"), std::string::npos)
      << transfer_.LastError();
  EXPECT_EQ(transfer_.download(RawUrl("/_status/404"), Target(), nullptr), -1);
  EXPECT_EQ(transfer_.LastError(), "HTTP status 404");
  ASSERT_TRUE(WriteFileBytes(Served() / "version", "1.0.2"));
  EXPECT_EQ(transfer_.fetch(Url("/version")).code, 1);
  EXPECT_EQ(transfer_.LastError(), "");
}

TEST_F(HttpTransferTest, RedirectsAreBoundedAndNeverLeaveHttps) {
  ASSERT_TRUE(WriteFileBytes(Served() / "version", "1.0.2"));
  const FetchResult moved = transfer_.fetch(RawUrl("/_redirect/" + TestFolder() + "/version"));
  EXPECT_EQ(moved.code, 1) << transfer_.LastError();
  EXPECT_EQ(moved.text, "1.0.2");
  EXPECT_EQ(transfer_.fetch(RawUrl("/_loop")).code, -1);
  EXPECT_NE(transfer_.LastError().find("redirect"), std::string::npos) << transfer_.LastError();
  // A secure address may only be redirected to another secure one.
  EXPECT_STREQ(RedirectProtocols("https://updates.example/version"), "https");
  EXPECT_STREQ(RedirectProtocols("HTTPS://updates.example/version"), "https");
  EXPECT_STREQ(RedirectProtocols("http://updates.example/version"), "http,https");
}

TEST_F(HttpTransferTest, DownloadPostsEachProgressValueOnceUpToHundred) {
  std::string body(100000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(WriteFileBytes(Served() / "pkg.zip", body));
  EXPECT_EQ(transfer_.download(Url("/pkg.zip"), Target(), &view_), 1);
  EXPECT_EQ(ReadFileBytes(Target()), body);
  const std::vector<int> progress = view_.Progress();
  ASSERT_GE(progress.size(), 5u);
  EXPECT_EQ(std::vector<int>(progress.begin(), progress.begin() + 3), (std::vector<int>{2, 8, 10}));
  EXPECT_EQ(progress.back(), 100);
  for (size_t i = 1; i < progress.size(); ++i) EXPECT_LT(progress[i - 1], progress[i]);
  EXPECT_EQ(transfer_.LastProgress(), 100);
}

TEST_F(HttpTransferTest, DownloadWithoutLengthOrShortBodyPostsOnlyTheSteps) {
  ASSERT_TRUE(WriteFileBytes(Served() / "big.zip", std::string(50000, 'b')));
  ASSERT_TRUE(WriteFileBytes(Served() / "small.zip", std::string(5000, 's')));
  EXPECT_EQ(transfer_.download(RawUrl("/_nolength/" + TestFolder() + "/big.zip"), Target(), &view_),
            1);
  EXPECT_EQ(view_.Progress(), (std::vector<int>{2, 8, 10, 100}));
  EXPECT_EQ(ReadFileBytes(Target()).size(), 50000u);

  test::RecordingView second;  // an earlier download left 100 behind
  EXPECT_EQ(transfer_.download(Url("/small.zip"), Target(), &second), 1);
  EXPECT_EQ(second.Progress(), (std::vector<int>{0, 2, 8, 10, 100}));
  EXPECT_EQ(ReadFileBytes(Target()), std::string(5000, 's'));
}

TEST_F(HttpTransferTest, DownloadFailuresLeaveNoPackageBehind) {
  ASSERT_TRUE(WriteFileBytes(Target(), "stale"));
  EXPECT_EQ(transfer_.download(RawUrl("/_status/404"), Target(), &view_), -1);
  EXPECT_EQ(view_.Progress(), (std::vector<int>{2}));
  EXPECT_EQ(transfer_.download(Url("/missing.zip"), Target(), &view_), -1);
  // Declared and streamed bodies beyond the package bound are both refused.
  const std::string over = std::to_string(kMaxPackageBytes + 1);
  EXPECT_EQ(transfer_.download(RawUrl("/_huge/" + over + "/1"), Target(), &view_), -1);
  EXPECT_EQ(transfer_.download(RawUrl("/_huge/" + over + "/0"), Target(), &view_), -1);
  EXPECT_FALSE(fs::exists(Target()));
  EXPECT_NE(view_.Progress().back(), 100);
}

TEST_F(HttpTransferTest, DownloadIntoUnwritableTargetFails) {
  ASSERT_TRUE(WriteFileBytes(Served() / "pkg.zip", "zip"));
  const fs::path target = home_.Root() / "no" / "such" / "folder" / "pkg.zip";
  EXPECT_EQ(transfer_.download(Url("/pkg.zip"), target, &view_), -1);
  EXPECT_EQ(view_.Progress(), (std::vector<int>{2, 8}));
}

TEST_F(HttpTransferTest, CancelFromAnotherThreadEndsTheDownloadWithMinusTwo) {
  int result = 0;
  std::thread worker([&] { result = transfer_.download(RawUrl("/_slow"), Target(), &view_); });
  const auto start = std::chrono::steady_clock::now();
  while (view_.Progress().size() < 4 &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(transfer_.Running());
  const auto cancelled_at = std::chrono::steady_clock::now();
  transfer_.Cancel();
  worker.join();
  EXPECT_EQ(result, -2);
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled_at, std::chrono::seconds(3));
  EXPECT_EQ(view_.Progress().back(), 100);
  EXPECT_FALSE(transfer_.Running());
}

TEST_F(HttpTransferTest, NoViewStillRemembersTheStepValues) {
  ASSERT_TRUE(WriteFileBytes(Served() / "pkg.zip", "abc"));
  EXPECT_EQ(transfer_.download(Url("/pkg.zip"), Target(), nullptr), 1);
  EXPECT_EQ(transfer_.LastProgress(), 100);
  EXPECT_EQ(ReadFileBytes(Target()), "abc");
}

}  // namespace
}  // namespace corvane
