// The link dialog: two lists, a name field, link and unlink.
#include "ui/dialogs/link_apps_dlg.h"

#include "app/text_ids.h"
#include "focus/app_links.h"
#include "store/settings_database.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/medit.h"
#include "ui/dui/paint_manager.h"

namespace corvane::ui {
namespace {

constexpr int kFontPixels = 14;
constexpr int kMargin = 20;
constexpr int kRowGap = 8;
constexpr int kLabelHeight = 24;
constexpr int kButtonWidth = 110;
constexpr int kFieldHeight = 32;
constexpr int kListImageFrames = 2;
constexpr const char* kTitle = "LinkAppsDlg";

}  // namespace

LinkAppsDlg::LinkAppsDlg(SettingsDatabase& store, int profile, std::string profile_name,
                         std::vector<std::string> choices, TextLookup texts)
    : store_(store),
      profile_(profile),
      profile_name_(std::move(profile_name)),
      choices_(std::move(choices)),
      texts_(std::move(texts)) {}

bool LinkAppsDlg::Open(DUI::MWindow& owner) {
  if (!Create(&owner, kTitle, kDialogStyle & ~DUI::kStyleVisible, 0, {0, 0, kWidth, kHeight})) {
    return false;
  }
  SetReaderName(*this, Heading());
  CenterWindow();
  ShowModal(kShowModalCode);
  return changed_;
}

std::string LinkAppsDlg::Heading() const {
  return profile_name_ + " — " + texts_(kTextLinkApplications);
}

int LinkAppsDlg::OnInitDialog() {
  GetPaintManager().SetBackColor(kDialogFill, kDialogBorder);
  return DUI::MDialog::OnInitDialog();
}

void LinkAppsDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height();
  AddText(*this, kIdTitle, {kMargin, 8, w - 50, 38}, Heading(), kFontPixels, kTextWhite, true);
  AddCloseButton(*this, kIdClose, {w - 40, 10, w - 16, 34}, texts_(kTextClose));

  int y = 48;
  AddText(*this, kIdLinkedLabel, {kMargin, y, w - kMargin, y + kLabelHeight},
          texts_(kTextLinkedApplications), kFontPixels, kTextWhite, false);
  y += kLabelHeight + 4;
  const int linked_bottom = y + 3 * 40;
  linked_ =
      Create<DUI::DListBox>(kIdLinked, {kMargin, y, w - 2 * kMargin - kButtonWidth, linked_bottom});
  AddButton(*this, kIdUnlink, {w - kMargin - kButtonWidth, y, w - kMargin, y + kFieldHeight},
            texts_(kTextUnlinkApplication), kFontPixels);
  y = linked_bottom + kRowGap;
  AddText(*this, kIdChoicesLabel, {kMargin, y, w - kMargin, y + kLabelHeight},
          texts_(kTextApplicationChoices), kFontPixels, kTextWhite, false);
  y += kLabelHeight + 4;
  const int field_top = h - kMargin - kFieldHeight;
  choice_list_ = Create<DUI::DListBox>(kIdChoices, {kMargin, y, w - kMargin, field_top - kRowGap});
  for (DUI::DListBox* list : {linked_, choice_list_}) {
    list->SetFontWidth(kFontPixels);
    list->SetImage("img_list_bkg.png", kListImageFrames);
  }
  linked_->setAccessibleName(QString::fromStdString(texts_(kTextLinkedApplications)));
  choice_list_->setAccessibleName(QString::fromStdString(texts_(kTextApplicationChoices)));
  for (const std::string& choice : choices_) choice_list_->AddString(choice);
  name_ = Create<DUI::MEdit>(kIdName,
                             {kMargin, field_top, w - 2 * kMargin - kButtonWidth, h - kMargin});
  name_->SetImage("img_edit.png", 4);
  name_->SetHint(texts_(kTextApplicationName));
  AddButton(*this, kIdLink, {w - kMargin - kButtonWidth, field_top, w - kMargin, h - kMargin},
            texts_(kTextLinkApplication), kFontPixels);
  FillLinked();
}

void LinkAppsDlg::FillLinked() {
  linked_->ResetContent();
  for (const ProfileRecord& record : store_.GetProfiles()) {
    if (record.profile != profile_) continue;
    for (const std::string& app : SplitApps(record.app)) linked_->AddString(app);
  }
}

void LinkAppsDlg::LinkTyped() {
  int moved_from = 0;
  if (LinkApp(store_, profile_, name_->GetTitle(), moved_from) == LinkResult::kLinked) {
    changed_ = true;
    name_->SetTitle("");
  }
  FillLinked();
}

int64_t LinkAppsDlg::OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) {
  if (id == kIdChoices && code == DUI::NotifyCode::kClick) {
    // Picking a choice puts it into the field, where it can still be changed.
    name_->SetTitle(choice_list_->GetItemText(static_cast<int>(extra)));
    return 1;
  }
  if (id == kIdLinked && code == DUI::NotifyCode::kEditFinished) {
    FillLinked();  // the names are not edited in place: unlink and link instead
    return 1;
  }
  if (id == kIdName && code == DUI::NotifyCode::kReturnPressed) {
    LinkTyped();  // Enter does what the button beside the field does
    return 1;
  }
  if (id == kIdName && code == DUI::NotifyCode::kEditFinished) return 1;
  if (code != DUI::NotifyCode::kClick) return 0;
  if (id == kIdLink) {
    LinkTyped();
  } else if (id == kIdUnlink) {
    const int row = linked_->GetCurSel();
    if (row >= 0 && UnlinkApp(store_, profile_, linked_->GetItemText(row)) ==
                        UnlinkResult::kUnlinked) {
      changed_ = true;
    }
    FillLinked();
  } else if (id == kIdClose) {
    DoOK();
  } else {
    return 0;
  }
  return 1;
}

}  // namespace corvane::ui
