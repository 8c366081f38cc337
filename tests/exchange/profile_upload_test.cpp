// An imported profile reaches the simulated mouse: the import posts the upload job, and
// the job's traffic in the capture follows the task table's order.
#include <string>
#include <vector>

#include "../worker/worker_fixture.h"
#include "exchange/profile_file.h"
#include "exchange_fixture.h"

namespace corvane::test {
namespace {

// Command id (byte 1) of each OUT line from `first` on.
std::vector<std::string> CommandIds(const std::vector<std::string>& lines, size_t first) {
  std::vector<std::string> ids;
  for (size_t i = first; i < lines.size(); ++i) {
    ids.push_back(lines[i].substr(lines[i].rfind(' ') + 1).substr(2, 2));
  }
  return ids;
}

class ProfileUploadTest : public WorkerSimTest {
 protected:
  // Exports the active profile with `report_rate` 4, resets that key, and imports it back.
  void ImportChangedProfile(bool lighting) {
    const int profile = store_.GetActiveProfile();
    ASSERT_GT(profile, 0);
    Set("report_rate", "4");
    KeyAssignRecord button;
    button.profile = profile;
    button.key_code = 2;
    button.macro_type = 2;
    button.macro_value = 4;
    ASSERT_GT(store_.SaveKeyAssign(button), 0);
    const auto file = home_.Root() / "Tournament.xml";
    ASSERT_TRUE(ExportProfile(store_, profile, lighting, file).ok());
    Set("report_rate", "1");
    ASSERT_TRUE(store_.DeleteKeyAssigns(profile));
    ASSERT_TRUE(ImportProfile(store_, profile, lighting, file, poster_).ok());
    ASSERT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kUploadProfile});
    EXPECT_EQ(store_.GetProfileName(profile), "Tournament");
  }
  RecordingPoster poster_;
};

TEST_F(ProfileUploadTest, ImportUploadsTheWholeProfileInTaskOrder) {
  StartSim(SimMode::kWired);
  ASSERT_TRUE(jobs_.Run(WorkerTask::kStartup));
  ASSERT_TRUE(model_.HasLighting());
  const int profile = store_.GetActiveProfile();
  if (store_.GetLightCount(profile) == 0) {
    LightRecord row;
    row.profile = profile;
    row.mode = 1;
    row.brightness = 3;
    ASSERT_GT(store_.AddLight(row), 0);
  }
  ASSERT_TRUE(store_.SetActiveLight(profile, store_.GetLights(profile).front().mode));

  ImportChangedProfile(true);
  ASSERT_EQ(sim_->State().settings.report_rate, 1);
  const size_t before = CaptureLines().size();
  ASSERT_TRUE(jobs_.Run(poster_.tasks.front()));
  EXPECT_EQ(CommandIds(CaptureLines(), before),
            (std::vector<std::string>{"09", "05", "03", "04", "02", "06", "07"}));
  EXPECT_EQ(Get("report_rate"), "4");
  EXPECT_EQ(sim_->State().settings.report_rate, 4);
}

}  // namespace
}  // namespace corvane::test
