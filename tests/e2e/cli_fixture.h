// Shared set-up of the end-to-end tests: corvane-cli against the simulated mouse in a
// private home, every transfer logged to one capture file that the tests read back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_home.h"

namespace corvane::test {

class CliEndToEndTest : public ::testing::Test {
 protected:
  // Runs corvane-cli with the shipped data, the simulator and the capture file.
  CliResult Cli(std::vector<std::string> args) {
    std::vector<std::string> all = {"--program-dir", ShippedDataDir().string(), "--simulate",
                                    "--capture", Capture()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(CORVANE_CLI_PATH, all);
  }
  std::string Capture() const { return (home_.Root() / "capture.txt").string(); }

  // Every OUT line whose command byte is `command` ("09"), as (length, hex), in order.
  std::vector<std::pair<int, std::string>> Outs(const std::string& command) const {
    std::vector<std::pair<int, std::string>> found;
    const std::string text = ReadFileBytes(Capture());
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      if (line.rfind("OUT", 0) != 0) continue;
      const size_t hex_at = line.rfind(' ') + 1;
      const size_t length_at = line.rfind(' ', hex_at - 2) + 1;
      const std::string hex = line.substr(hex_at);
      if (hex.compare(2, 2, command) == 0) found.emplace_back(std::stoi(line.substr(length_at)), hex);
    }
    return found;
  }
  // The hex of the last OUT line with that command byte; empty when none.
  std::string LastOut(const std::string& command) const {
    auto outs = Outs(command);
    return outs.empty() ? "" : outs.back().second;
  }

  TempHome home_;
};

}  // namespace corvane::test
