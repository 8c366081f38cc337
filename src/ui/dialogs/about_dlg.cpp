// The about box.
#include "ui/dialogs/about_dlg.h"

#include <iterator>

#include "app/text_ids.h"
#include "ui/dui/mpicture.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kTextGrey = 0xFF969696u;
constexpr int kLogoWidth = 260;
constexpr int kFontPixels = 14;
constexpr const char* kTitle = "About Window";

}  // namespace

std::string ProgramVersionLine(const TextLookup& texts) {
  return texts(kTextDeviceVersion) + ": " + CORVANE_PROGRAM_VERSION;
}

AboutDlg::AboutDlg(std::vector<std::string> firmware, TextLookup texts)
    : firmware_(std::move(firmware)), texts_(std::move(texts)) {}

int AboutDlg::Open(DUI::MWindow& owner) {
  if (!Create(&owner, kTitle, kDialogStyle & ~DUI::kStyleVisible, 0, {0, 0, kWidth, kHeight})) {
    return 0;
  }
  SetReaderName(*this, texts_(kTextAbout));
  CenterWindow();
  return ShowModal(kShowModalCode);
}

int AboutDlg::OnInitDialog() {
  GetPaintManager().SetBackColor(kDialogFill, kDialogBorder);
  return DUI::MDialog::OnInitDialog();
}

void AboutDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height(), c = w / 2;
  AddCloseButton(*this, kIdClose, {w - 40, 15, w - 21, 34}, texts_(kTextClose));
  auto* logo = Create<DUI::MPicture>(kIdLogo, {c - kLogoWidth / 2, 80, c + kLogoWidth / 2, 120});
  logo->SetImage("logo.png", 1);
  logo->SetShowMode(DUI::MPicture::kShowCentered, 0);
  // The program's own version first: what a report of a fault needs to name.
  AddText(*this, kIdProgramVersion, {c - 150, 122, c + 150, 152}, ProgramVersionLine(texts_),
          kFontPixels, kTextGrey, true);
  // Each firmware once: two copies of one line read as two different versions.
  const int ids[] = {kIdVersion, kIdVersion2};
  for (std::size_t i = 0; i < firmware_.size() && i < std::size(ids); ++i) {
    const int top = 157 + static_cast<int>(i) * 35;
    AddText(*this, ids[i], {c - 150, top, c + 150, top + 35}, firmware_[i], kFontPixels, kTextGrey,
            true);
  }
  AddText(*this, kIdWebsite, {10, h - 40, w - 10, h - 5}, texts_(kTextWebsiteLine), kFontPixels,
          kTextGrey, true);
}

int64_t AboutDlg::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (id == kIdClose && code == DUI::NotifyCode::kClick) {
    DoOK();
    return 1;
  }
  return 0;
}

}  // namespace corvane::ui
