// The randomised stateful test: thousands of user operations and mouse events (switched
// off and on, the DPI button, lost and refused replies) drawn from a seed; after every
// settled step the simulated mouse must hold what the store says for the active profile,
// and at the end a clean job must settle everything. A failure prints its seed and the
// shortest step list found that still fails.
//
// CORVANE_CONSISTENCY_SEEDS (comma-separated) and CORVANE_CONSISTENCY_STEPS (per seed)
// widen the sweep; odd seeds run the wired mouse, even ones the receiver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>

#include "consistency_rig.h"

namespace corvane::test {
namespace {

constexpr int kDefaultSteps = 1200;
constexpr const char* kDefaultSeeds = "1,2,3,4";
constexpr int kDrainPercent = 75;   // the worker runs after most steps, not all
constexpr int kMaxShrinkRuns = 150;  // replays spent looking for a shorter failing list

struct DrawnStep {
  Step step;
  bool drain = true;
};

struct Failure {
  size_t at = 0;  // index of the step after which the check failed
  std::string what;
};

std::vector<DrawnStep> Draw(unsigned seed, int count) {
  // How often each operation is drawn, in the rig's operation order.
  static const std::vector<int> kWeights = {16, 3, 1, 4, 2, 10, 3, 6, 1, 3, 10, 8, 6, 1, 6};
  EXPECT_EQ(kWeights.size(), static_cast<size_t>(ConsistencyRig::OperationCount()));
  std::mt19937 rng(seed);
  std::discrete_distribution<int> op(kWeights.begin(), kWeights.end());
  std::uniform_int_distribution<unsigned> number(0, 1u << 30);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<DrawnStep> steps(count);
  for (DrawnStep& s : steps) {
    s.step = Step{op(rng), number(rng), number(rng), number(rng)};
    s.drain = percent(rng) < kDrainPercent;
  }
  return steps;
}

SimMode ModeOf(unsigned seed) { return seed % 2 ? SimMode::kWired : SimMode::kWireless; }

std::optional<Failure> Replay(SimMode mode, const std::vector<DrawnStep>& steps) {
  ConsistencyRig rig(mode);
  for (size_t i = 0; i < steps.size(); ++i) {
    rig.Perform(steps[i].step, steps[i].drain);
    if (std::string what = rig.Disagreement(); !what.empty()) return Failure{i, what};
  }
  // Whatever was left pending must reach the mouse once it is on and a job goes through.
  rig.Settle();
  if (!rig.Settled()) return Failure{steps.size(), "still out of step after a clean job"};
  if (std::string what = rig.Disagreement(); !what.empty()) return Failure{steps.size(), what};
  return std::nullopt;
}

// Drops ever smaller runs of steps as long as the list still fails.
std::vector<DrawnStep> Shrink(SimMode mode, std::vector<DrawnStep> steps) {
  int runs = 0;
  for (size_t chunk = std::max<size_t>(steps.size() / 2, 1); chunk >= 1 && runs < kMaxShrinkRuns;) {
    bool removed = false;
    for (size_t i = 0; i < steps.size() && runs < kMaxShrinkRuns;) {
      std::vector<DrawnStep> candidate = steps;
      candidate.erase(candidate.begin() + i,
                      candidate.begin() + std::min(i + chunk, candidate.size()));
      ++runs;
      if (Replay(mode, candidate)) {
        steps = std::move(candidate);
        removed = true;
      } else {
        i += chunk;
      }
    }
    if (!removed) {
      if (chunk == 1) break;
      chunk /= 2;
    }
  }
  return steps;
}

std::vector<unsigned> Seeds() {
  const char* text = std::getenv("CORVANE_CONSISTENCY_SEEDS");
  std::stringstream list(text != nullptr ? text : kDefaultSeeds);
  std::vector<unsigned> seeds;
  for (std::string item; std::getline(list, item, ',');) {
    if (!item.empty()) seeds.push_back(static_cast<unsigned>(std::stoul(item)));
  }
  return seeds;
}

int StepCount() {
  const char* text = std::getenv("CORVANE_CONSISTENCY_STEPS");
  return text != nullptr ? std::atoi(text) : kDefaultSteps;
}

TEST(ConsistencyTest, MouseHoldsWhatTheStoreSaysAfterEveryStep) {
  const int count = StepCount();
  size_t survived = 0;
  const auto start = std::chrono::steady_clock::now();
  for (unsigned seed : Seeds()) {
    const std::vector<DrawnStep> steps = Draw(seed, count);
    const std::optional<Failure> failure = Replay(ModeOf(seed), steps);
    if (!failure) {
      survived += steps.size();
      continue;
    }
    std::vector<DrawnStep> prefix(steps.begin(), steps.begin() + std::min(failure->at + 1, steps.size()));
    const std::vector<DrawnStep> shortest = Shrink(ModeOf(seed), prefix);
    std::string list;
    for (const DrawnStep& s : shortest) {
      list += "\n  " + ConsistencyRig::Describe(s.step) + (s.drain ? "" : " (worker not run)");
    }
    const std::optional<Failure> again = Replay(ModeOf(seed), shortest);
    ADD_FAILURE() << "seed " << seed << ": after step " << failure->at << ", " << failure->what
                  << "\nshortest failing list (" << shortest.size() << " steps"
                  << (again ? ", fails with: " + again->what : ", no longer fails alone")
                  << "):" << list;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("consistency: %zu steps survived in %.1f s\n", survived, seconds);
}

}  // namespace
}  // namespace corvane::test
