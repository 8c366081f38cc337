// The profile chooser: list, in-place rename, import/export and closing from outside.
#include "ui/dialogs/profile_dlg.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/display_names.h"
#include "app/text_ids.h"
#include "focus/app_links.h"
#include "store/settings_database.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/mpicture.h"

namespace corvane::ui {
namespace {

constexpr int kListFontPixels = 14;
constexpr int kMargin = 10;
constexpr int kButtonHeight = 30;
constexpr int kLinkedLineHeight = 20;  // with the link button and a margin: kLinkRowsHeight
constexpr int kLinkedFontPixels = 12;
constexpr int kListImageFrames = 2;
constexpr int kSlicedMargin = 10;
constexpr const char* kTitle = "ProfileDlg";

// Calls `outside` for a mouse press on any window but `dialog`.
class ClickOutsideWatcher : public QObject {
 public:
  ClickOutsideWatcher(QWidget* dialog, std::function<void()> outside)
      : dialog_(dialog), outside_(std::move(outside)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        dialog_ != nullptr && dialog_->isVisible()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->window() != dialog_) outside_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* dialog_;
  std::function<void()> outside_;
};

}  // namespace

ProfileDlg::ProfileDlg(DUI::MWindow& owner, SettingsDatabase& store, int current, TextLookup texts)
    : owner_(owner), store_(store), current_(current), texts_(std::move(texts)) {}

int ProfileDlg::Open(const DUI::Rect& button) {
  DUI::Rect place{button.left, button.top - kHeightAbove - kLinkRowsHeight, button.right,
                  button.top - kGapAbove};
  owner_.ClientToScreen(place);
  SetPlacedOnOwner(true);
  if (!Create(&owner_, kTitle, kDialogStyle & ~DUI::kStyleVisible, 0, place)) return 0;
  SetReaderName(*this, texts_(kTextProfileList));
  // A click anywhere else closes it, as losing activation does; without a window manager
  // (or with one that does not move activation on click) only the click itself tells.
  SetBlocksOwner(false);
  ClickOutsideWatcher watcher(GetSafeHwnd(), [this] { LoseActivation(); });
  qApp->installEventFilter(&watcher);
  // Opened by pointer or keyboard, the chooser takes the keyboard once it shows: the arrows
  // move through the profiles, Enter or Space chooses one, Escape closes it. Left on the
  // profile button, the keys would open a second chooser behind this one.
  QTimer::singleShot(0, GetSafeHwnd(), [this] {
    GetSafeHwnd()->activateWindow();
    list_->setFocus(Qt::ActiveWindowFocusReason);
  });
  const int result = ShowModal(kShowModalCode);
  qApp->removeEventFilter(&watcher);
  return result;
}

void ProfileDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height();
  auto* background = Create<DUI::MPicture>(kIdBackground, rect);
  background->SetImage("img_area_content.png", 1);
  background->SetShowMode(DUI::MPicture::kShowSliced, kSlicedMargin);
  // Below the list: the linked applications' line and "Link to applications…".
  const int link_top = h - 2 * kMargin - 2 * kButtonHeight;
  const int line_top = link_top - kLinkedLineHeight;
  list_ = Create<DUI::DListBox>(kIdList, {kMargin, kMargin, w - kMargin, line_top});
  list_->SetFontWidth(kListFontPixels);
  list_->SetAlignment(DUI::kAlignCenter);
  list_->SetImage("img_list_bkg.png", kListImageFrames);
  list_->setAccessibleName(QString::fromStdString(texts_(kTextProfileList)));
  for (const ProfileRecord& profile : store_.GetProfiles()) {
    list_->AddString(DisplayProfileName(profile.name, texts_(kTextProfile)), profile.profile);
  }
  list_->SetCurData(current_);
  std::string linked;
  for (const ProfileRecord& profile : store_.GetProfiles()) {
    if (profile.profile != current_) continue;
    for (const std::string& app : SplitApps(profile.app)) linked += (linked.empty() ? " " : ", ") + app;
  }
  AddText(*this, kIdLinkedApps, {kMargin, line_top, w - kMargin, link_top},
          linked.empty() ? std::string() : texts_(kTextLinkedTo) + linked, kLinkedFontPixels,
          kTextWhite, true);
  AddButton(*this, kIdLinkApps, {kMargin, link_top, w - kMargin, link_top + kButtonHeight},
            texts_(kTextLinkApplications), kLinkedFontPixels);
  const int half = w / 2;
  const int top = h - kMargin - kButtonHeight;
  AddButton(*this, kIdImport, {kMargin, top, half - kMargin / 2, h - kMargin}, texts_(kTextImport),
            kListFontPixels);
  AddButton(*this, kIdExport, {half + kMargin / 2, top, w - kMargin, h - kMargin},
            texts_(kTextExport), kListFontPixels);
}

void ProfileDlg::Report(int what, int64_t profile) {
  owner_.PostMessage(kMessageProfileDialog, what, profile);
}

int64_t ProfileDlg::OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) {
  if (id == kIdList && code == DUI::NotifyCode::kClick) {
    const int64_t profile = list_->GetCurData();
    list_->OnFocus(false);
    Report(kProfileActivate, profile);
    closing_ = true;
    DoOK();
    return 1;
  }
  if (id == kIdList && code == DUI::NotifyCode::kEditFinished) {
    const int index = static_cast<int>(extra);
    // An empty name is ignored: the row keeps its old text.
    if (!list_->LastEditText().empty() &&
        store_.RenameProfile(static_cast<int>(list_->GetItemData(index)), list_->LastEditText())) {
      renamed_ = true;
      renamed_id_ = list_->GetItemData(index);
    }
    return 1;
  }
  if ((id == kIdImport || id == kIdExport || id == kIdLinkApps) && code == DUI::NotifyCode::kClick) {
    const int64_t profile = list_->GetCurData();
    if (renamed_) Report(kProfileActivate, profile);
    Report(id == kIdImport ? kProfileImport : id == kIdExport ? kProfileExport : kProfileLink,
           profile);
    closing_ = true;
    DoOK();
    return 1;
  }
  return 0;
}

void ProfileDlg::LoseActivation() {
  if (closing_) return;
  closing_ = true;
  list_->OnFocus(false);  // ends an edit in progress, which may rename
  if (renamed_) Report(kProfileActivate, renamed_id_);
  DoOK();
}

int ProfileDlg::OnNcActivate(bool active) {
  // Only a loss after having been active counts: a pop-up may hear of a change at once.
  if (active) was_active_ = true;
  if (!active && was_active_ && IsWindowVisible()) LoseActivation();
  return DUI::MDialog::OnNcActivate(active);
}

int64_t ProfileDlg::OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) {
  // A pop-up closed by a click outside it.
  if (message == DUI::kMessageClose) {
    LoseActivation();
    return 0;
  }
  return DUI::MDialog::OnWindowMessage(message, wparam, lparam);
}

}  // namespace corvane::ui
