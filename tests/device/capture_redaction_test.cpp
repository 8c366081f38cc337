// Capture lines for the support report: macro and button payloads, and the replies to
// them, are withheld; everything else stays as logged.
#include "device/capture_redaction.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CaptureRedaction, MacroAndKeyPayloadsAndTheirRepliesAreWithheld) {
  const std::vector<std::string> lines = {
      "IN  sim/wired/if2 64 C2010000AA",                  // before any OUT: unknown command
      "OUT sim/wired/if2 33 0009000F10010010020010040A",  // button table
      "IN  sim/wired/if2 33 0900000F4142",                // its reply
      "OUT sim/receiver/if2 33 0012000000",               // another path is not affected
      "IN  sim/receiver/if2 33 1200000001",
      "OUT sim/wired/if2 33 000800114104",  // macro packet
      "OUT sim/wired/if2 33 001300000000",  // a read: its reply is kept
      "IN  sim/wired/if2 33 1300000016",
      "OUT /dev/hidraw3 64 0502023CFFFF",  // the upgrade report is not a macro
      "garbage line",
  };
  const std::string w = kWithheldPayload;
  const std::vector<std::string> expected = {
      "IN  sim/wired/if2 64 C2010000" + w,  "OUT sim/wired/if2 33 0009000F10" + w,
      "IN  sim/wired/if2 33 0900000F" + w,  "OUT sim/receiver/if2 33 0012000000",
      "IN  sim/receiver/if2 33 1200000001", "OUT sim/wired/if2 33 0008001141" + w,
      "OUT sim/wired/if2 33 001300000000",  "IN  sim/wired/if2 33 1300000016",
      "OUT /dev/hidraw3 64 0502023CFFFF",
  };
  EXPECT_EQ(RedactCaptureLines(lines), expected);
}

TEST(CaptureRedaction, ShortLinesKeepWhatTheyHave) {
  EXPECT_EQ(RedactCaptureLines({"OUT p 2 0009", "IN  p 1 00"}),
            (std::vector<std::string>{"OUT p 2 0009", "IN  p 1 00"}));
}

}  // namespace
}  // namespace corvane
