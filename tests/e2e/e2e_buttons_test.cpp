// Button assignments and macros set from the command line reach the simulated mouse as
// exact bytes, and a later process reads the same assignments back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

constexpr int kButtonHeaderBytes = 5;  // report id, command, two bytes, length

class ButtonsEndToEndTest : public CliEndToEndTest {
 protected:
  // The three entry bytes of `button` in the last button command, as hex.
  std::string ButtonEntry(int button) const {
    return LastOut("09").substr((kButtonHeaderBytes + 3 * button) * 2, 6);
  }
  // Creates a macro with the events of `lines`; returns its id as text.
  std::string MakeMacro(const std::string& lines) {
    CliResult made = Cli({"macro", "new", "Combo"});
    EXPECT_EQ(made.exit_code, 0) << made.err;
    const std::string id = made.out.substr(0, made.out.find('\n'));
    const std::string file = (home_.Root() / ("events" + id + ".txt")).string();
    WriteFileBytes(file, lines);
    CliResult events = Cli({"macro", "events", id, file});
    EXPECT_EQ(events.exit_code, 0) << events.err;
    return id;
  }
};

TEST_F(ButtonsEndToEndTest, ProfileWithoutRowsSendsTheFactoryLayout) {
  ASSERT_EQ(Cli({"buttons", "--json"}).out, "[]\n");
  CliResult sent = Cli({"buttons", "reset"});
  ASSERT_EQ(sent.exit_code, 0) << sent.err;
  // Left, right, middle, backward, forward, DPI cycle; the rest empty.
  EXPECT_EQ(LastOut("09"), "000900010F100100100200100400100800101000400100000000000000000000B0");
  ASSERT_EQ(Outs("09").size(), 1u);
  EXPECT_EQ(Outs("09")[0].first, 33);  // only the 33-byte command travels
}

TEST_F(ButtonsEndToEndTest, KeyboardAssignmentsSendTheirEntriesAndSurviveARestart) {
  CliResult combo = Cli({"button", "3", "2", "4", "5"});  // Ctrl+Alt+A
  ASSERT_EQ(combo.exit_code, 0) << combo.err;
  EXPECT_EQ(ButtonEntry(3), "700504");
  ASSERT_EQ(Cli({"button", "4", "2", "0", "1"}).exit_code, 0);  // left Ctrl alone
  EXPECT_EQ(ButtonEntry(4), "700100");
  EXPECT_EQ(ButtonEntry(3), "700504");
  for (const auto& [length, hex] : Outs("09")) {
    EXPECT_EQ(length, 33);
    EXPECT_EQ(hex.size(), 66u);
  }

  CliResult listed = Cli({"buttons", "--json"});
  ASSERT_EQ(listed.exit_code, 0);
  EXPECT_NE(listed.out.find("{\"key_code\":3,\"macro_type\":2,\"macro_value\":4,\"macro_value2\":5,"),
            std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("{\"key_code\":4,\"macro_type\":2,\"macro_value\":0,\"macro_value2\":1,"),
            std::string::npos) << listed.out;

  ASSERT_EQ(Cli({"button", "3", "reset"}).exit_code, 0);
  EXPECT_EQ(ButtonEntry(3), "100800");
  EXPECT_EQ(ButtonEntry(4), "700100");
  ASSERT_EQ(Cli({"buttons", "reset"}).exit_code, 0);
  EXPECT_EQ(ButtonEntry(4), "101000");
  EXPECT_EQ(Cli({"buttons", "--json"}).out, "[]\n");
}

TEST_F(ButtonsEndToEndTest, SixEventMacroOnButtonTwoGoesInOnePacket) {
  const std::string id = MakeMacro("2 65\n1 20\n3 65\n2 66\n3 66\n4 1\n5 1\n");
  ASSERT_EQ(Cli({"macro", "play", id, "0", "3"}).exit_code, 0);
  CliResult assigned = Cli({"button", "2", "4", id});
  ASSERT_EQ(assigned.exit_code, 0) << assigned.err;

  auto packets = Outs("08");
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].second.substr(6, 4), "0119");  // one of one, 1 + 6 × 4 bytes
  EXPECT_EQ(packets[0].second.substr(10, 2), "02");   // the button the macro is for
  EXPECT_EQ(ButtonEntry(2), "902203");
  // The macro goes before the table that names it.
  const std::string capture = ReadFileBytes(Capture());
  EXPECT_LT(capture.find(packets[0].second), capture.find(LastOut("09")));

  CliResult macros = Cli({"macros", "--json"});
  EXPECT_NE(macros.out.find("\"name\":\"Combo\",\"play_type\":0,\"play_times\":3,"),
            std::string::npos) << macros.out;
  EXPECT_NE(macros.out.find("{\"index\":1,\"type\":1,\"value\":20,\"desc\":\"20 ms\","),
            std::string::npos) << macros.out;
  // A press and its release share a timestamp, so editing one edits both.
  EXPECT_NE(macros.out.find("{\"index\":0,\"type\":2,\"value\":65,\"desc\":\"\u2193  A\",\"timestamp\":0}"),
            std::string::npos) << macros.out;
  EXPECT_NE(macros.out.find("{\"index\":2,\"type\":3,\"value\":65,\"desc\":\"\u2191  A\",\"timestamp\":0}"),
            std::string::npos) << macros.out;
  EXPECT_NE(Cli({"buttons", "--json"}).out.find(
                "{\"key_code\":2,\"macro_type\":4,\"macro_value\":" + id + ","),
            std::string::npos);
}

TEST_F(ButtonsEndToEndTest, KeypadThreeAndFourAreKeysNotWindowsModifiers) {
  ASSERT_EQ(Cli({"button", "3", "2", "91", "0"}).exit_code, 0);  // keypad 3
  EXPECT_EQ(ButtonEntry(3), "70005B");
  ASSERT_EQ(Cli({"button", "4", "2", "92", "1"}).exit_code, 0);  // Ctrl + keypad 4
  EXPECT_EQ(ButtonEntry(4), "70015C");
  ASSERT_EQ(Cli({"button", "4", "2", "227", "0"}).exit_code, 0);  // left Windows alone
  EXPECT_EQ(ButtonEntry(4), "700800");
}

TEST_F(ButtonsEndToEndTest, MacroKeysNumbered224To231TravelAsKeys) {
  // 226 is the ISO backslash key (usage 100); left Alt (164) is a modifier bit.
  const std::string id = MakeMacro("2 226\n3 226\n2 164\n3 164\n");
  ASSERT_EQ(Cli({"button", "3", "4", id}).exit_code, 0);
  auto packets = Outs("08");
  ASSERT_EQ(packets.size(), 1u);
  // Button 3, then four records of kind, delay (1 ms, little-endian) and code: 0x30 / 0xB0
  // with usage 100 for the key, 0x20 / 0xA0 with bit 4 for left Alt.
  EXPECT_EQ(packets[0].second.substr(10, 2 + 4 * 8), "0330010064B001006420010004A0010004");
}

TEST_F(ButtonsEndToEndTest, SevenEventMacroTakesTwoPackets) {
  const std::string id = MakeMacro("2 65\n3 65\n2 66\n3 66\n2 67\n3 67\n2 68\n");
  ASSERT_EQ(Cli({"button", "5", "4", id}).exit_code, 0);
  auto packets = Outs("08");
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].second.substr(6, 4), "021B");  // first of two, 27 bytes
  EXPECT_EQ(packets[1].second.substr(6, 4), "1202");  // second of two, 2 bytes
  EXPECT_EQ(packets[0].first, 33);
}

TEST_F(ButtonsEndToEndTest, MacroEditsAreCheckedAndDeletionForgetsTheMacro) {
  const std::string id = MakeMacro("1 5\n");
  const std::string bad = (home_.Root() / "bad.txt").string();
  WriteFileBytes(bad, "2 65\n\n3 sixty\n");
  CliResult refused = Cli({"macro", "events", id, bad});
  EXPECT_NE(refused.exit_code, 0);
  EXPECT_NE(refused.err.find("line 3"), std::string::npos) << refused.err;
  WriteFileBytes(bad, "2 65\n1 0\n");
  EXPECT_NE(Cli({"macro", "events", id, bad}).err.find("line 2"), std::string::npos);
  WriteFileBytes(bad, "4 3\n");  // not a single mouse button
  EXPECT_NE(Cli({"macro", "events", id, bad}).exit_code, 0);

  std::string presses;
  for (int i = 0; i < 51; ++i) presses += "2 65\n3 65\n";  // 102 events: one too many
  WriteFileBytes(bad, presses);
  CliResult too_long = Cli({"macro", "events", id, bad});
  EXPECT_NE(too_long.exit_code, 0);
  EXPECT_NE(too_long.err.find("too long"), std::string::npos) << too_long.err;
  // The refused files left the stored events alone.
  EXPECT_NE(Cli({"macros", "--json"}).out.find("\"value\":5,\"desc\":\"5 ms\""), std::string::npos);

  EXPECT_NE(Cli({"macro", "delete", "99"}).exit_code, 0);
  ASSERT_EQ(Cli({"macro", "delete", id}).exit_code, 0);
  EXPECT_EQ(Cli({"macros", "--json"}).out, "[]\n");
  EXPECT_NE(Cli({"button", "2", "4", id}).exit_code, 0);
}

TEST_F(ButtonsEndToEndTest, TooLongMacroIsRefusedInTheUsersLanguage) {
  const char* old_locale = std::getenv("LC_ALL");
  const std::string saved = old_locale ? old_locale : "";
  setenv("LC_ALL", "uk_UA.UTF-8", 1);  // the first run stores the language it picks
  const std::string id = MakeMacro("1 5\n");
  std::string presses;
  for (int i = 0; i < 51; ++i) presses += "2 65\n3 65\n";  // 102 events: one too many
  const std::string file = (home_.Root() / "long.txt").string();
  WriteFileBytes(file, presses);
  CliResult too_long = Cli({"macro", "events", id, file});
  old_locale ? setenv("LC_ALL", saved.c_str(), 1) : unsetenv("LC_ALL");
  EXPECT_NE(too_long.exit_code, 0);
  EXPECT_EQ(too_long.err.find("too long"), std::string::npos) << too_long.err;
  EXPECT_NE(too_long.err.find("Макрос задовгий"), std::string::npos) << too_long.err;
}

TEST_F(ButtonsEndToEndTest, AMacroTooLongForTheMouseIsNotAssigned) {
  ASSERT_EQ(Cli({"button", "2", "1", "3"}).exit_code, 0);
  // A file may carry a macro past the editor's limit; the mouse could not hold it.
  std::string items;
  for (int i = 0; i < 60; ++i) {
    const std::string index = std::to_string(2 * i);
    items += "<item desc=\"A\" index=\"" + index + "\" type=\"2\" value=\"65\" timestamp=\"5\"/>\r\n";
    items += "<item desc=\"A\" index=\"" + std::to_string(2 * i + 1) +
             "\" type=\"3\" value=\"65\" timestamp=\"5\"/>\r\n";
  }
  const std::string file = (home_.Root() / "long.xml").string();
  ASSERT_TRUE(WriteFileBytes(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
                                   "<macroinfo macro_name=\"Long\" macro_type=\"1\" play_times=\"1\" "
                                   "delay_type=\"1\" delay_time=\"0\"/>\r\n<macroitems>\r\n" +
                                       items + "</macroitems>\r\n</macro>\r\n"));
  CliResult imported = Cli({"macro", "import", file});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  const std::string id = imported.out.substr(0, imported.out.find(' '));
  const size_t sent_before = Outs("09").size();
  CliResult assigned = Cli({"button", "2", "4", id});
  EXPECT_NE(assigned.exit_code, 0);
  EXPECT_NE(assigned.err.find("The macro is too long for the mouse"), std::string::npos)
      << assigned.err;
  EXPECT_TRUE(Outs("08").empty()) << "no macro packet was sent";
  EXPECT_EQ(Outs("09").size(), sent_before) << "the button table was not sent";
  EXPECT_EQ(Cli({"buttons"}).out.rfind("2 1 3 ", 0), 0u) << "the button keeps its function";
}

TEST_F(ButtonsEndToEndTest, BadAssignmentsAreRefusedWithAMessage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"button", "21", "1", "1"},
                                             {"button", "12", "1", "1"},  // a six-button mouse
                                             {"button", "6", "2", "4"},
                                             {"button", "3", "1", "99"},
                                             {"button", "3", "7", "2", "9"},
                                             {"button", "3", "0", "1"},
                                             {"button", "3", "10", "1"},
                                             {"button", "3", "4", "42"},
                                             {"button", "0", "2", "4"},
                                             {"button", "x", "1", "1"},
                                             {"button", "3"}}) {
    CliResult result = Cli(args);
    EXPECT_NE(result.exit_code, 0) << args[1] << " " << args.size();
    EXPECT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  }
  EXPECT_TRUE(Outs("09").empty());  // nothing refused reached the mouse
  EXPECT_EQ(Cli({"buttons", "--json"}).out, "[]\n");
}

}  // namespace
}  // namespace corvane::test
