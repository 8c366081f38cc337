// Colour families by hue, saturation and value.
#include "ui/dui/colour_names.h"

#include <QColor>
#include <utility>

namespace corvane::DUI {
namespace {

// Below this saturation or value (of 255) a colour reads as white, grey or black.
constexpr int kGreyishSaturation = 40;
constexpr int kBlackValue = 40;
constexpr int kWhiteValue = 215;

// Upper hue bounds (degrees, exclusive) of the families around the wheel.
struct HueBand {
  int below;
  ColourFamily family;
};
constexpr HueBand kHueBands[] = {
    {15, ColourFamily::kRed},     {40, ColourFamily::kOrange}, {70, ColourFamily::kYellow},
    {160, ColourFamily::kGreen},  {200, ColourFamily::kCyan},  {255, ColourFamily::kBlue},
    {290, ColourFamily::kPurple}, {340, ColourFamily::kPink},  {361, ColourFamily::kRed},
};

std::function<std::string(uint32_t)>& Namer() {
  static std::function<std::string(uint32_t)> namer;
  return namer;
}

QColor FromColorRef(uint32_t colorref) {
  return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

}  // namespace

ColourFamily FamilyOf(uint32_t colorref) {
  const QColor colour = FromColorRef(colorref);
  const int value = colour.value();
  if (value < kBlackValue) return ColourFamily::kBlack;
  if (colour.hsvSaturation() < kGreyishSaturation) {
    return value >= kWhiteValue ? ColourFamily::kWhite : ColourFamily::kGrey;
  }
  const int hue = colour.hsvHue();
  for (const HueBand& band : kHueBands) {
    if (hue < band.below) return band.family;
  }
  return ColourFamily::kRed;
}

int ColourTextId(uint32_t colorref) {
  return kColourTextIds[static_cast<size_t>(FamilyOf(colorref))];
}

std::string ColourCode(uint32_t colorref) {
  return FromColorRef(colorref).name(QColor::HexRgb).toUpper().toStdString();
}

void SetColourNamer(std::function<std::string(uint32_t)> namer) { Namer() = std::move(namer); }

std::string ColourNameFor(uint32_t colorref) {
  std::string name = Namer() ? Namer()(colorref) : std::string();
  return name.empty() ? ColourCode(colorref) : name;
}

}  // namespace corvane::DUI
