// Recording timing rules with a clock the test moves.
#include "settings/macro_recorder.h"

#include "protocol/key_codes.h"
#include "protocol/macro_packets.h"
#include "settings/macro_page_logic.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

KeyEvent Key(int vk, bool pressed, const std::string& name) {
  return KeyEvent{kKeyEventKeyboard, pressed ? 0 : 1, vk, name};
}

class MacroRecorderTest : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    editor.NewMacro();
  }
  std::vector<std::pair<int, int>> TypesAndValues(const std::vector<MacroEventRecord>& items) {
    std::vector<std::pair<int, int>> out;
    for (const auto& item : items) out.emplace_back(item.type, item.value);
    return out;
  }
  std::vector<MacroEventRecord> Stored() { return db.GetMacroEvents(editor.SelectedMacro()); }

  MacroEditor editor{db, clock, test::IdTexts()};
  MacroRecorder recorder{editor, clock};
};

TEST_F(MacroRecorderTest, MeasuredDelays) {
  clock.now = 10000;
  ASSERT_EQ(recorder.Start(1, ""), RecordResult::kRecording);
  clock.now = 10400;  // time before the first key is not recorded
  EXPECT_EQ(recorder.OnKey(Key('A', true, "A")), RecordResult::kRecording);
  clock.now = 10600;
  EXPECT_EQ(recorder.OnKey(Key('A', false, "A")), RecordResult::kRecording);
  clock.now = 10600;  // no time passed: no delay item
  EXPECT_EQ(recorder.OnKey(Key('B', true, "B")), RecordResult::kRecording);
  clock.now = 60600;  // long pauses are capped at 31 s
  EXPECT_EQ(recorder.OnKey(Key('B', false, "B")), RecordResult::kRecording);
  const auto& items = editor.Events().Items();
  EXPECT_EQ(TypesAndValues(items), (std::vector<std::pair<int, int>>{
                                        {2, 'A'}, {1, 200}, {3, 'A'}, {2, 'B'}, {1, 31000}, {3, 'B'}}));
  EXPECT_EQ(items[0].desc, "\xE2\x86\x93  A");
  EXPECT_EQ(items[1].desc, "200 ms");
  EXPECT_EQ(items[2].desc, "\xE2\x86\x91  A");
  // Every recorded item has its own, increasing timestamp starting after the start tick.
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].delay_time, 10001 + int(i));

  clock.now = 60650;
  recorder.Stop();
  EXPECT_FALSE(recorder.IsRecording());
  // The closing delay is shown and stored.
  EXPECT_EQ(TypesAndValues(editor.Events().Items()).back(), (std::pair<int, int>{1, 50}));
  EXPECT_EQ(TypesAndValues(Stored()), TypesAndValues(editor.Events().Items()));
  EXPECT_EQ(recorder.OnKey(Key('C', true, "C")), RecordResult::kIgnored);
}

TEST_F(MacroRecorderTest, FixedAndNoDelays) {
  ASSERT_EQ(recorder.Start(2, "10"), RecordResult::kRecording);
  recorder.OnKey(Key('A', true, "A"));
  clock.now += 777;
  recorder.OnKey(Key('A', false, "A"));
  recorder.Stop();
  EXPECT_EQ(TypesAndValues(Stored()),
            (std::vector<std::pair<int, int>>{{2, 'A'}, {1, 10}, {3, 'A'}, {1, 10}}));

  editor.Clear();
  ASSERT_EQ(recorder.Start(0, "10"), RecordResult::kRecording);
  recorder.OnKey(Key('A', true, "A"));
  clock.now += 500;
  recorder.OnKey(Key('A', false, "A"));
  recorder.Stop();
  EXPECT_EQ(TypesAndValues(Stored()), (std::vector<std::pair<int, int>>{{2, 'A'}, {3, 'A'}}));
}

TEST_F(MacroRecorderTest, ThirtiethEventStopsTheRecording) {
  ASSERT_EQ(recorder.Start(1, ""), RecordResult::kRecording);
  for (int i = 0; i < 29; ++i) {
    clock.now += 5;
    ASSERT_EQ(recorder.OnKey(Key('A', i % 2 == 0, "A")), RecordResult::kRecording) << i;
  }
  clock.now += 5;
  EXPECT_EQ(recorder.OnKey(Key('A', false, "A")), RecordResult::kLimitReached);
  EXPECT_FALSE(recorder.IsRecording());
  EXPECT_EQ(editor.Events().CountedEvents(), 30);
  EXPECT_EQ(Stored().size(), editor.Events().Items().size());
}

TEST_F(MacroRecorderTest, RefusalsAndIgnoredInput) {
  MacroEditor empty{db, clock, test::IdTexts()};
  MacroRecorder idle{empty, clock};
  EXPECT_EQ(idle.Start(1, ""), RecordResult::kNoMacro);
  EXPECT_FALSE(idle.IsRecording());

  ASSERT_EQ(recorder.Start(1, ""), RecordResult::kRecording);
  EXPECT_EQ(recorder.OnKey(Key(166, true, "")), RecordResult::kIgnored);
  EXPECT_EQ(recorder.OnKey(KeyEvent{kKeyEventOtherHid, 0, 0, "x"}), RecordResult::kIgnored);
  recorder.Stop();
  EXPECT_TRUE(Stored().empty());  // no event, so no closing delay either
}

// Started from the keyboard, the recording hears the release of the key that started it:
// a key-up with no key-down in the macro would reach the mouse as a stray release.
TEST_F(MacroRecorderTest, AReleaseWhosePressCameBeforeTheRecordingIsLeftOut) {
  ASSERT_EQ(recorder.Start(1, ""), RecordResult::kRecording);
  clock.now += 120;
  EXPECT_EQ(recorder.OnKey(Key(' ', false, "Space")), RecordResult::kIgnored);
  clock.now += 80;
  recorder.OnKey(Key('Q', true, "Q"));
  clock.now += 30;
  recorder.OnKey(Key('Q', false, "Q"));
  clock.now += 30;
  EXPECT_EQ(recorder.OnKey(Key('Q', false, "Q")), RecordResult::kIgnored);  // once only
  recorder.Stop();
  EXPECT_EQ(TypesAndValues(Stored()),
            (std::vector<std::pair<int, int>>{{2, 'Q'}, {1, 30}, {3, 'Q'}, {1, 30}}));
}

// Esc ends a recording as the stop button does (the closing delay, the store), so a person
// at the keyboard can stop; neither its press nor its release becomes part of the macro.
TEST_F(MacroRecorderTest, EscStopsTheRecordingAndIsNotRecorded) {
  ASSERT_EQ(recorder.Start(1, ""), RecordResult::kRecording);
  recorder.OnKey(Key('Q', true, "Q"));
  clock.now += 40;
  recorder.OnKey(Key('Q', false, "Q"));
  clock.now += 60;
  EXPECT_EQ(recorder.OnKey(Key(kVkEscape, true, "Esc")), RecordResult::kStoppedByKey);
  EXPECT_FALSE(recorder.IsRecording());
  EXPECT_EQ(recorder.OnKey(Key(kVkEscape, false, "Esc")), RecordResult::kIgnored);
  const std::vector<std::pair<int, int>> expected{{2, 'Q'}, {1, 40}, {3, 'Q'}, {1, 60}};
  EXPECT_EQ(TypesAndValues(Stored()), expected);
  EXPECT_EQ(TypesAndValues(editor.Events().Items()), expected);
  EXPECT_FALSE(MessageFor(RecordResult::kStoppedByKey));  // stopping by hand says nothing
}

TEST_F(MacroRecorderTest, RecordingNeverOutgrowsWhatTheMouseTakes) {
  // 101 key events already fill fifteen packets: the next recorded key is dropped.
  std::vector<MacroEventRecord> many(101);
  for (auto& e : many) e.type = kEventKeyDown, e.value = 'Q';
  editor.MutableEvents().Assign(many);
  ASSERT_TRUE(editor.SaveEvents());
  ASSERT_EQ(recorder.Start(0, ""), RecordResult::kRecording);
  EXPECT_EQ(recorder.OnKey(Key('A', true, "A")), RecordResult::kTooLong);
  EXPECT_FALSE(recorder.IsRecording());
  EXPECT_EQ(Stored().size(), 101u);
  EXPECT_TRUE(MacroFitsPackets(Stored()));
}

}  // namespace
}  // namespace corvane
