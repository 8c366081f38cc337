// Button assignments, macros with their events, and lighting rows.
#include <gtest/gtest.h>

#include "store_fixture.h"

namespace corvane::test {
namespace {

class TablesTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open());
    ASSERT_EQ(db_.EnsureProfiles("P", {}), 1);
  }
  static KeyAssignRecord Key(int profile, int code, int value, int value2 = 0) {
    KeyAssignRecord r;
    r.profile = profile;
    r.key_code = code;
    r.macro_type = 2;
    r.macro_value = value;
    r.macro_value2 = value2;
    r.macro_desc = "Ctrl+\xC3\x84";
    return r;
  }
  static LightRecord Light(int profile, int mode) {
    LightRecord r;
    r.profile = profile;
    r.name = "mode";
    r.mode = mode;
    r.brightness = 3;
    r.color_value7 = 16711680;
    r.reserved = 9;
    return r;
  }
};

TEST_F(TablesTest, SavingAButtonReplacesItsRowAndZeroValuesRemoveIt) {
  int first = db_.SaveKeyAssign(Key(1, 2, 65));
  ASSERT_GT(first, 0);
  int second = db_.SaveKeyAssign(Key(1, 2, 66, 4));
  EXPECT_GT(second, first);
  auto rows = db_.GetKeyAssigns(1);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].key_id, second);
  EXPECT_EQ(rows[0].macro_value, 66);
  EXPECT_EQ(rows[0].macro_value2, 4);
  EXPECT_EQ(rows[0].macro_desc, "Ctrl+\xC3\x84");
  // value 0 with value2 set is still an assignment.
  EXPECT_GT(db_.SaveKeyAssign(Key(1, 3, 0, 1)), 0);
  EXPECT_EQ(db_.SaveKeyAssign(Key(1, 2, 0, 0)), 0);
  EXPECT_FALSE(db_.GetKeyAssign(1, 2).has_value());
  EXPECT_TRUE(db_.GetKeyAssign(1, 3).has_value());
}

TEST_F(TablesTest, ButtonRowsArePerProfileAndDescriptionsUpdate) {
  db_.SaveKeyAssign(Key(1, 1, 5));
  db_.SaveKeyAssign(Key(2, 1, 6));
  EXPECT_TRUE(db_.SetKeyMacroDesc(1, 1, "renamed"));
  EXPECT_FALSE(db_.SetKeyMacroDesc(1, 9, "no row"));
  EXPECT_EQ(db_.GetKeyAssign(1, 1)->macro_desc, "renamed");
  EXPECT_EQ(db_.GetKeyAssign(2, 1)->macro_desc, "Ctrl+\xC3\x84");
  EXPECT_TRUE(db_.DeleteKeyAssigns(1));
  EXPECT_TRUE(db_.GetKeyAssigns(1).empty());
  EXPECT_EQ(db_.GetKeyAssigns(2).size(), 1u);
}

TEST_F(TablesTest, FailedButtonInsertKeepsThePreviousAssignment) {
  ASSERT_GT(db_.SaveKeyAssign(Key(1, 2, 65)), 0);
  // A trigger makes every insert fail while deletes still work.
  ASSERT_TRUE(Exec(DbFile("m1"),
                   "CREATE TRIGGER no_insert BEFORE INSERT ON t_key_macro_data "
                   "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  EXPECT_EQ(db_.SaveKeyAssign(Key(1, 2, 70)), 0);
  ASSERT_TRUE(db_.GetKeyAssign(1, 2).has_value());
  EXPECT_EQ(db_.GetKeyAssign(1, 2)->macro_value, 65);
}

TEST_F(TablesTest, MacrosAddRenameUpdateAndDelete) {
  int id = db_.AddMacro("M");
  ASSERT_GT(id, 0);
  auto macro = db_.GetMacro(id);
  ASSERT_TRUE(macro.has_value());
  EXPECT_EQ(macro->name, "M");
  EXPECT_EQ(macro->play_type, 0);
  EXPECT_EQ(macro->play_times, 1);
  EXPECT_EQ(macro->delay_type, 1);
  EXPECT_EQ(macro->delay_time, 0);
  MacroRecord record{0, "\xD0\x9C\xD0\xB0\xD0\xBA\xD1\x80\xD0\xBE", 2, 5, 3, 40};
  int other = db_.InsertMacro(record);
  EXPECT_EQ(db_.GetMacro(other)->name, record.name);
  EXPECT_TRUE(db_.RenameMacro(id, "N"));
  EXPECT_FALSE(db_.RenameMacro(999, "N"));
  record.play_times = 9;
  EXPECT_TRUE(db_.UpdateMacro(id, record));
  EXPECT_EQ(db_.GetMacro(id)->play_times, 9);
  EXPECT_FALSE(db_.UpdateMacro(999, record));
  auto macros = db_.GetMacros();
  ASSERT_EQ(macros.size(), 2u);
  EXPECT_LT(macros[0].macro_id, macros[1].macro_id);

  db_.AddMacroEvents({{0, id, 2, 0, 65, 0, "A"}, {0, other, 2, 0, 66, 0, "B"}});
  db_.SaveKeyAssign(Key(1, 4, id));
  EXPECT_TRUE(db_.DeleteMacro(id));
  EXPECT_FALSE(db_.GetMacro(id).has_value());
  EXPECT_TRUE(db_.GetMacroEvents(id).empty());
  EXPECT_EQ(db_.GetMacroEvents(other).size(), 1u);
  EXPECT_TRUE(db_.GetKeyAssign(1, 4).has_value());  // buttons are left alone
  EXPECT_TRUE(db_.DeleteMacro(12345));
}

TEST_F(TablesTest, MacroEventsComeBackInRecordIndexOrder) {
  int id = db_.AddMacro("M");
  std::vector<MacroEventRecord> events;
  for (int i : {3, 0, 2, 1})
    events.push_back({0, id, 1 + i % 2, i, 10 * i, i, "e" + std::to_string(i)});
  EXPECT_EQ(db_.AddMacroEvents(events), 4);
  int single = db_.AddMacroEvent({0, id, 4, 4, 1, 0, "click"});
  EXPECT_GT(single, 0);
  auto stored = db_.GetMacroEvents(id);
  ASSERT_EQ(stored.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(stored[i].record_index, i);
  EXPECT_EQ(stored[2].value, 20);
  EXPECT_EQ(stored[2].delay_time, 2);
  EXPECT_EQ(stored[2].desc, "e2");
  EXPECT_EQ(stored[4].record_id, single);
  EXPECT_TRUE(db_.DeleteMacroEvents(id));
  EXPECT_TRUE(db_.GetMacroEvents(id).empty());
}

TEST_F(TablesTest, ReplacingEventsIsAllOrNothing) {
  int id = db_.AddMacro("M");
  db_.AddMacroEvents({{0, id, 2, 0, 65, 0, "A"}, {0, id, 3, 1, 65, 0, "A"}});
  EXPECT_TRUE(db_.ReplaceMacroEvents(id, {{0, 0, 1, 0, 50, 50, "50"}}));
  ASSERT_EQ(db_.GetMacroEvents(id).size(), 1u);
  EXPECT_EQ(db_.GetMacroEvents(id)[0].macro_id, id);
  ASSERT_TRUE(Exec(DbFile("m1"),
                   "CREATE TRIGGER no_second BEFORE INSERT ON t_macrorecord "
                   "WHEN NEW.record_index = 1 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  EXPECT_FALSE(db_.ReplaceMacroEvents(id, {{0, 0, 2, 0, 1, 0, "x"}, {0, 0, 3, 1, 1, 0, "x"}}));
  ASSERT_EQ(db_.GetMacroEvents(id).size(), 1u);
  EXPECT_EQ(db_.GetMacroEvents(id)[0].value, 50);
  // The batch insert skips the failing row and keeps the rest.
  EXPECT_EQ(db_.AddMacroEvents({{0, id, 2, 1, 1, 0, ""}, {0, id, 2, 2, 1, 0, ""}}), 1);
}

TEST_F(TablesTest, LightRowsPerModeUpdateAndActivation) {
  EXPECT_EQ(db_.GetLightCount(1), 0);
  for (int mode = 1; mode <= 3; ++mode) EXPECT_GT(db_.AddLight(Light(1, mode)), 0);
  EXPECT_EQ(db_.AddLight(Light(1, 2)), 0);  // one row per mode
  EXPECT_GT(db_.AddLight(Light(2, 2)), 0);
  EXPECT_EQ(db_.GetLightCount(1), 3);
  ASSERT_TRUE(db_.SetActiveLight(1, 2));
  EXPECT_EQ(db_.GetActiveLight(1), 2);
  EXPECT_EQ(db_.GetActiveLight(2), 0);
  // A mode without a row is refused and the active one stays.
  EXPECT_FALSE(db_.SetActiveLight(1, 6));
  EXPECT_EQ(db_.GetActiveLight(1), 2);

  LightRecord changed = Light(1, 99);  // the mode argument, not the record's, selects
  changed.name = "ignored";
  changed.status = 0;
  changed.brightness = 7;
  changed.color_value1 = 255;
  EXPECT_TRUE(db_.UpdateLight(2, changed));
  EXPECT_FALSE(db_.UpdateLight(5, changed));
  auto light = db_.GetLight(1, 2);
  ASSERT_TRUE(light.has_value());
  EXPECT_EQ(light->brightness, 7);
  EXPECT_EQ(light->color_value1, 255);
  EXPECT_EQ(light->color_value7, 16711680);
  EXPECT_EQ(light->reserved, 9);
  EXPECT_EQ(light->name, "mode");
  EXPECT_EQ(light->status, 1);
  EXPECT_EQ(db_.GetLight(2, 2)->brightness, 3);
  auto lights = db_.GetLights(1);
  ASSERT_EQ(lights.size(), 3u);
  EXPECT_EQ(lights[2].mode, 3);
  EXPECT_FALSE(db_.GetLight(1, 9).has_value());
}

}  // namespace
}  // namespace corvane::test
