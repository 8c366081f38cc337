// Lighting rows, page operations, the lighting job and the read-back.
#include "settings/lighting_model.h"

#include "protocol/light_payload.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

constexpr LightModeFlags kAllModes{true, true, true, true, true, true};

class LightingModelTest : public SettingsFixture {
 protected:
  LightingModel model{db, poster, test::IdTexts()};
};

TEST_F(LightingModelTest, RowsForEnabledModesWithDefaults) {
  const auto rows = model.Load(kProfile, kAllModes);
  ASSERT_EQ(rows.size(), 6u);
  const int modes[] = {1, 2, 3, 4, 5, 0};
  const int funcs[] = {3, 0x813, 0x11, 3, 3, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(rows[i].mode, modes[i]);
    EXPECT_EQ(rows[i].config_func, funcs[i]);
    EXPECT_EQ(rows[i].reserved, 280 + i);
    EXPECT_EQ(rows[i].brightness, 4);
    EXPECT_EQ(rows[i].speed, 2);
    EXPECT_EQ(rows[i].colorful, 1);
    EXPECT_EQ(rows[i].color_value1, 255);
    EXPECT_EQ(rows[i].color_value6, 16711935);
    EXPECT_EQ(rows[i].color_value7, 16777215);
    EXPECT_EQ(rows[i].status, rows[i].mode == 1 ? 1 : 0);
  }
  EXPECT_EQ(rows[1].name, "\xE5\x91\xBC\xE5\x90\xB8");
  EXPECT_EQ(model.CurrentMode(), 1);
  // A second load creates nothing new.
  EXPECT_EQ(model.Load(kProfile, kAllModes).size(), 6u);
}

TEST_F(LightingModelTest, ModesNotEnabledGetNoRow) {
  const auto rows = model.Load(kProfile, {false, false, true, false, false, true});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].mode, 3);
  EXPECT_EQ(rows[1].mode, 0);
  EXPECT_EQ(model.CurrentMode(), 0);
  EXPECT_FALSE(db.GetLight(kProfile, 1));
  // Only steady light offered: the page still shows a mode that exists.
  model.Load(2, {false, false, true, false, false, false});
  EXPECT_EQ(model.CurrentMode(), 3);
}

TEST_F(LightingModelTest, ShowingAndChoosingModes) {
  model.Load(kProfile, kAllModes);
  auto view = model.ShowMode(2);
  ASSERT_TRUE(view);
  EXPECT_TRUE(view->show_brightness);
  EXPECT_TRUE(view->show_speed);
  EXPECT_TRUE(view->show_slots);
  EXPECT_TRUE(view->tall);
  EXPECT_FALSE(model.ShowMode(1)->tall);
  view = model.ShowMode(2);
  EXPECT_EQ(view->brightness_caption, "T278: 100%");
  EXPECT_EQ(view->speed_caption, "T279: 2");
  EXPECT_EQ(db.GetActiveLight(kProfile), 2);
  EXPECT_TRUE(poster.tasks.empty());
  view = model.ChooseMode(3);
  EXPECT_TRUE(view->tall);
  EXPECT_FALSE(view->show_speed);
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>{WorkerTask::kLightingMode}));
  EXPECT_FALSE(model.ChooseMode(9));
  EXPECT_EQ(BrightnessCaption("B", 2), "B: 50%");
  EXPECT_EQ(BrightnessCaption("B", 7), "B: 100%");
  // While dragging, the speed caption takes a full-width colon and no space.
  EXPECT_EQ(SpeedDragCaption("T279", 3), "T279\uFF1A3");
}

TEST_F(LightingModelTest, BrightnessSpeedAndColours) {
  model.Load(kProfile, kAllModes);
  model.ShowMode(3);
  ASSERT_TRUE(model.SetBrightness(2));
  ASSERT_TRUE(model.SetSpeed(5));
  int r = 0x11, g = 300, b = -4;
  const int colour = ColourFromChannels(r, g, b);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 0);
  ASSERT_TRUE(model.ApplyColour(colour, 3));  // steady light has no slots: colour 1
  auto row = db.GetLight(kProfile, 3);
  EXPECT_EQ(row->brightness, 2);
  EXPECT_EQ(row->speed, 5);
  EXPECT_EQ(row->color_value1, 0x00FF11);
  EXPECT_EQ(row->color_value4, 16776960);
  const CommandReport sent = LightingCommand(*row);
  EXPECT_EQ(sent.bytes[4], 5);
  EXPECT_EQ(sent.bytes[6], 2 * 16 + 5);
  EXPECT_EQ(sent.bytes[7], 0x11);
  EXPECT_EQ(sent.bytes[8], 0xFF);
  EXPECT_EQ(sent.bytes[9], 0x00);

  // Breathing keeps seven slots: only the marked one changes.
  model.ShowMode(2);
  ASSERT_TRUE(model.ApplyColour(0x123456, 4));
  row = db.GetLight(kProfile, 2);
  EXPECT_EQ(row->color_value1, 255);
  EXPECT_EQ(row->color_value5, 0x123456);
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>(4, WorkerTask::kLightingMode)));
  // The other modes kept their own settings.
  EXPECT_EQ(db.GetLight(kProfile, 1)->brightness, 4);
}

TEST_F(LightingModelTest, ResetPostsTheReadBack) {
  model.Load(kProfile, kAllModes);
  model.Reset();
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>{WorkerTask::kLightingReadback}));
}

}  // namespace
}  // namespace corvane
