// Shared pieces of the update tests: a local HTTP server process, a recording
// UpdateView, and a zip writer so that test archives are built rather than checked in.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_home.h"
#include "update/update_view.h"

namespace corvane::test {

// Runs update_test_server.py over `root` on 127.0.0.1; stopped when destroyed.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(const std::filesystem::path& root);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // True when the server started and told its port.
  bool Ready() const { return port_ > 0; }
  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(const std::string& path) const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// A port on 127.0.0.1 that is reserved but refuses every connection while this lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// Base fixture: one server per test suite (starting Python is slow on a busy machine);
// each test serves its own folder below it and has its own TempHome.
class LocalServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  // The folder this test serves, and the address of `path` inside it.
  std::filesystem::path Served() const;
  std::string Url(const std::string& path) const;
  // The address of a server-wide path (the misbehaviour routes).
  std::string RawUrl(const std::string& path) const { return server_->Url(path); }
  // This test's folder name on the server.
  static std::string TestFolder();

  TempHome home_;

 private:
  static std::unique_ptr<TempHome> served_home_;
  static std::unique_ptr<LocalHttpServer> server_;
};

// Records every call; LanguageText(id) answers "T<id>". Safe to use from two threads.
class RecordingView : public UpdateView {
 public:
  std::string LanguageText(int id) override { return "T" + std::to_string(id); }
  void SetSoftwareVersionLabel(const std::string& text) override { Add("software label " + text); }
  void SetFirmwareVersionLabel(const std::string& text) override { Add("firmware label " + text); }
  void EnableSoftwareUpdateButton(bool on) override {
    Add(std::string("software button ") + (on ? "on" : "off"));
  }
  void EnableFirmwareUpdateButton(bool on) override {
    Add(std::string("firmware button ") + (on ? "on" : "off"));
  }
  void PostUpdateAvailable(int kind) override { Add("update available " + std::to_string(kind)); }
  void PostDownloadProgress(int percent) override;
  void ShowFirmwareProgress(int percent, const std::string& text) override;

  std::vector<std::string> Events() const;
  std::vector<int> Progress() const;
  std::vector<std::pair<int, std::string>> FirmwareProgress() const;

 private:
  void Add(std::string event);

  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<int> progress_;
  std::vector<std::pair<int, std::string>> firmware_progress_;
};

struct ZipEntry {
  std::string name;
  std::string content;
  bool stored = false;  // no compression, so tests can find and damage the bytes
};

// The date every test entry carries: 2021-03-04 05:06:08 local time.
std::filesystem::file_time_type TestEntryTime();

// Writes a zip archive with the given entries. Returns false on failure.
bool WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries);

}  // namespace corvane::test
