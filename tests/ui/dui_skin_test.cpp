// The shipped skin and the pieces that read it: every image the windows name exists with
// a width that splits into its frames, the icon loads, the skin folder follows the
// manager's settings, nine-slice drawing keeps corners, and window geometry calls.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_home.h"
#include "ui/dui/manager.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mprogress.h"
#include "ui/dui/mrender.h"
#include "ui/dui/skin_image.h"

namespace corvane::DUI {
namespace {

TEST(ShippedSkin, EveryNamedImageLoadsWithItsFrameCount) {
  const std::vector<std::pair<const char*, int>> images = {
      {"main_bkg.png", 1}, {"img_area_caption.png", 1}, {"sysbtn_close.png", 4},
      {"sysbtn_maximize.png", 4}, {"sysbtn_restore.png", 4}, {"sysbtn_min.png", 4},
      {"sysbtn_setting.png", 4}, {"icon\\icon_battery_bkg.png", 1},
      {"icon\\icon_batteryvalue.png", 1}, {"icon\\icon_charge.png", 1}, {"img_area.png", 4},
      {"img_button.png", 4}, {"icon\\icon_arrow_up.png", 1}, {"img_tab_bkg.png", 1},
      {"img_tabitem_bkg.png", 4}, {"logo.png", 1}, {"icon\\tab_home.png", 1},
      {"icon\\tab_key.png", 1}, {"icon\\tab_dpi.png", 1}, {"icon\\tab_macro.png", 1},
      {"icon\\tab_light.png", 1}, {"icon\\tab_set.png", 1}, {"area_device.png", 1},
      {"img_btn_pre.png", 4}, {"img_btn_next.png", 4}, {"img_area3.png", 1},
      {"device_mode.png", 2}, {"img_area_bkg.png", 1}, {"img_area2.png", 1},
      {"img_list_bkg.png", 2}, {"img_key_bkg.png", 2}, {"btn_reset.png", 4},
      {"img_combobox.png", 4}, {"img_button2.png", 4}, {"img_area_content.png", 1},
      {"btn_close.png", 4}, {"img_edit.png", 4}, {"img_dpi_bar.png", 1},
      {"btn_radiobox.png", 8}, {"btn_checkbox.png", 8}, {"icon//icon_mouse_settings.png", 1},
      {"btn_more.png", 4}, {"img_eventcaption.png", 1}, {"icon\\icon_list.png", 8},
      {"icon\\icon_rec.png", 1}, {"img_recorditem_up.png", 4},
      {"img_recorditem_down.png", 4}, {"img_slider_bar.png", 1}, {"img_return.png", 4},
      {"bk_prompt.png", 1}};
  for (const auto& [file, frames] : images) {
    SkinImage image;
    EXPECT_TRUE(image.Load(file, frames)) << file;
    const QImage whole(QString::fromStdString(SkinImage::ResolvePath(file)));
    EXPECT_EQ(whole.width() % frames, 0) << file << " does not split into " << frames;
  }
  EXPECT_FALSE(MRender::LoadIconFromFile("DeviceDriver.ico").isNull());
  EXPECT_TRUE(MRender::LoadIconFromFile("missing.ico").isNull());
  EXPECT_TRUE(MRender::LoadIconFromFile("../DeviceDriver.ico").isNull());
}

TEST(ShippedSkin, CommittedImagesAreExactlyWhatTheGeneratorMakes) {
  namespace fs = std::filesystem;
  test::TempHome home;
  const fs::path data = CORVANE_DATA_DIR;
  const fs::path script = data.parent_path() / "scripts" / "make-skins";
  const std::string command = "python3 '" + script.string() + "' --out '" +
                              (home.Root() / "skins").string() + "' >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(home.Root() / "skins" / "dark")) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), home.Root() / "skins");
    EXPECT_EQ(test::ReadFileBytes(entry.path()), test::ReadFileBytes(data / "skins" / relative))
        << relative << " differs from the generator's output; run scripts/make-skins";
    ++compared;
  }
  EXPECT_GT(compared, 50);
}

TEST(ManagerSettings, SkinFolderFollowsProgramFolderAndTheme) {
  const std::string saved_dir = Manager::GetProgramDir();
  Manager::SetProgramDir("/opt/x");
  Manager::SetTheme("light");
  EXPECT_EQ(Manager::GetSkinFolder(), "/opt/x/skins/light/");
  Manager::SetTheme("");
  EXPECT_EQ(Manager::GetTheme(), Manager::kDefaultTheme);
  Manager::SetProgramDir("/opt/x/");
  EXPECT_EQ(Manager::GetSkinFolder(), std::string("/opt/x/skins/") + Manager::kDefaultTheme + "/");
  Manager::SetProgramDir(saved_dir);

  EXPECT_EQ(Manager::GetDeviceName(), Manager::kDefaultCaption);
  std::thread reader([] { Manager::GetDeviceName(); });
  Manager::SetDeviceName("Caption A");
  reader.join();
  EXPECT_EQ(Manager::GetDeviceName(), "Caption A");
  Manager::SetDeviceName(Manager::kDefaultCaption);
}

TEST(SkinDrawing, NineSliceKeepsCornersAndStretchesTheMiddle) {
  SkinImage panel;
  ASSERT_TRUE(panel.Load("img_area_bkg.png", 1));
  const QSize source = panel.FrameSize();
  QImage target(source.width() * 4, source.height() * 3, QImage::Format_ARGB32);
  target.fill(Qt::transparent);
  {
    QPainter painter(&target);
    panel.Draw(painter, 0, target.rect(), QMargins(10, 10, 10, 10));
  }
  const QImage original = panel.Frame(0).toImage().convertToFormat(QImage::Format_ARGB32);
  // Corner pixels land on the target's corners unscaled.
  EXPECT_EQ(target.pixel(0, 0), original.pixel(0, 0));
  EXPECT_EQ(qAlpha(target.pixel(2, 2)), qAlpha(original.pixel(2, 2)));
  EXPECT_EQ(qAlpha(target.pixel(target.width() - 3, target.height() - 3)),
            qAlpha(original.pixel(source.width() - 3, source.height() - 3)));
  EXPECT_EQ(target.pixel(target.width() / 2, target.height() / 2),
            original.pixel(source.width() / 2, source.height() / 2));
}

class SkinDialog : public MDialog {};

TEST(SkinDrawing, PanelPictureWithoutImageStillPaintsAndPlainPictureStaysEmpty) {
  SkinDialog dialog;
  dialog.Create(nullptr, "PictureDlg", kStylePopup, 0, Rect{0, 0, 200, 200});
  auto* panel = static_cast<MPicture*>(dialog.CreateArea("MPicture", 1, Rect{0, 0, 80, 80}, ""));
  auto* plain = static_cast<MPicture*>(dialog.CreateArea("MPicture", 2, Rect{0, 0, 80, 80}, ""));
  EXPECT_FALSE(panel->SetImage("gone.png", 1));
  plain->SetImage("gone.png", 1);
  panel->SetShowMode(MPicture::kShowSliced, 10);
  EXPECT_EQ(panel->GetImageSize(), QSize());
  const QImage drawn = panel->grab().toImage();
  const QImage empty = plain->grab().toImage();
  EXPECT_NE(drawn.pixel(0, 40), empty.pixel(0, 40)) << "the fallback panel has an edge";
}

TEST(WindowGeometry, ClientToScreenSetWindowPosAndProgressRun) {
  SkinDialog dialog;
  dialog.Create(nullptr, "GeoDlg", kStylePopup, 0, Rect{100, 80, 400, 280});
  dialog.ShowWindow(kShowShow);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.GetClientRect(), (Rect{0, 0, 300, 200}));
  dialog.SetWindowPos(kInsertTopmost, 10, 20, 0, 0, kSwpNoSize);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.GetClientRect(), (Rect{0, 0, 300, 200})) << "kSwpNoSize keeps the size";
  EXPECT_TRUE(dialog.GetSafeHwnd()->windowFlags() & Qt::WindowStaysOnTopHint);
  Rect button{5, 5, 50, 25};
  dialog.ClientToScreen(button);
  const QPoint origin = dialog.GetSafeHwnd()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(button, (Rect{5 + origin.x(), 5 + origin.y(), 50 + origin.x(), 25 + origin.y()}));
  dialog.SetWindowPos(0, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize | kSwpHideWindow);
  EXPECT_FALSE(dialog.IsWindowVisible());

  auto* progress = static_cast<MProgress*>(dialog.CreateControl("MProgress2", 33, Rect{}, ""));
  progress->SetRun(true, 1);
  for (int i = 0; i < MProgress::kSweepSteps - 1; ++i) progress->OnMTimer();
  EXPECT_TRUE(progress->IsRunning());
  progress->OnMTimer();
  EXPECT_FALSE(progress->IsRunning()) << "one pass asked, one pass run";
  progress->SetRange(10, 10);
  progress->SetProgress(500);
  EXPECT_EQ(progress->GetProgress(), MProgress::kDefaultMax) << "bad range ignored, value clamped";
}

// Any application-defined message number will do for the control library.
constexpr uint32_t kCountedMessage = 0x8001;

class CountingDialog : public MDialog {
 public:
  int received = 0;
  int ticks = 0;
  int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) override {
    if (message == kCountedMessage) ++received;
    return MDialog::OnWindowMessage(message, wparam, lparam);
  }
};

class TickingProgress : public MProgress {
 public:
  using MProgress::MProgress;
  int ticks = 0;
  void OnMTimer() override { ++ticks; }
};

TEST(WindowMessages, ManyWorkersPostingLoseNothingAndAnimationTicksRegisteredControls) {
  CountingDialog dialog;
  dialog.Create(nullptr, "CountDlg", kStylePopup, 0, Rect{0, 0, 100, 100});
  constexpr int kThreads = 4;
  constexpr int kPerThread = 250;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < kPerThread; ++i) dialog.PostMessage(kCountedMessage, i, 0);
    });
  }
  for (auto& worker : workers) worker.join();
  QTest::qWait(50);
  EXPECT_EQ(dialog.received, kThreads * kPerThread);

  auto* ticking = new TickingProgress(dialog.GetSafeHwnd(), &dialog, 5);
  ticking->AddMTimer();
  ticking->AddMTimer();  // joining twice still ticks once per tick
  dialog.SetMTimer(5);
  QTest::qWait(60);
  dialog.SetMTimer(0);
  const int ticks = ticking->ticks;
  EXPECT_GT(ticks, 2);
  QTest::qWait(30);
  EXPECT_EQ(ticking->ticks, ticks) << "stopped";
  delete ticking;  // leaves the tick list; the next tick must not touch it
  dialog.SetMTimer(5);
  QTest::qWait(20);
}

}  // namespace
}  // namespace corvane::DUI
