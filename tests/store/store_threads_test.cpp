// The store shared by a worker-style writer and an interface-style reader that also
// switches between two models' files. Meant to run under the thread sanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/text.h"
#include "store_fixture.h"

namespace corvane::test {
namespace {

constexpr int kWorkerRounds = 300;
constexpr int kSwitches = 40;

using StoreThreadsTest = StoreTest;

TEST_F(StoreThreadsTest, WorkerWritesWhileInterfaceReadsAndSwitchesModels) {
  ASSERT_TRUE(Open("b"));
  ASSERT_EQ(db_.EnsureProfiles("B", {}), 1);
  ASSERT_TRUE(Open("a"));
  ASSERT_EQ(db_.EnsureProfiles("A", {}), 1);

  std::atomic<bool> stop{false};
  std::atomic<int> writes{0};
  std::thread worker([&] {
    for (int i = 0; i < kWorkerRounds && !stop; ++i) {
      int profile = db_.GetActiveProfile();
      if (db_.SetConfigInt(profile, "dpi_group0_value", 100 + i)) ++writes;
      {
        // A macro id only means something in the file it came from, so a job that
        // needs both steps in one file holds the store's lock across them.
        auto lock = db_.Lock();
        int macro = db_.AddMacro("m" + IntToDecimal(i));
        db_.AddMacroEvents({{0, macro, 2, 0, 65, 0, "A"}, {0, macro, 3, 1, 65, 0, "A"}});
      }
      db_.SaveKeyAssign({0, profile, 0, 1, 0, "", 2, 65 + i % 3, 0, 0, "k"});
    }
  });

  int reads = 0;
  for (int s = 0; s < kSwitches; ++s) {
    ASSERT_TRUE(Open(s % 2 ? "a" : "b"));
    for (int r = 0; r < 5; ++r) {
      auto value = db_.GetConfigValue(1, "dpi_group0_value");
      if (value) reads += DecimalToInt(*value) > 0;
      std::vector<MacroRecord> macros = db_.GetMacros();
      if (!macros.empty()) {
        // The newest macro is the one a concurrent batch may still be writing.
        size_t events = db_.GetMacroEvents(macros.back().macro_id).size();
        EXPECT_TRUE(events == 0 || events == 2) << events;
      }
    }
  }
  stop = true;
  worker.join();
  EXPECT_GT(reads, 0);
  EXPECT_GT(writes.load(), 0);
  // Both files are intact: four profiles each, each with a full set of keys.
  for (const char* attr : {"a", "b"}) {
    ASSERT_TRUE(Open(attr));
    EXPECT_EQ(db_.GetProfiles().size(), 4u) << attr;
    EXPECT_EQ(db_.GetConfigValues(1).size(), 39u) << attr;
    EXPECT_LE(db_.GetKeyAssigns(1).size(), 1u) << attr;
  }
}

}  // namespace
}  // namespace corvane::test
