// Words for colours: the swatch colours of the lighting page and the palette fall into the
// families a person names them by, greys by their lightness, and a swatch's name follows
// the namer the window program sets (its code without one).
#include <gtest/gtest.h>

#include "ui/dui/colour_names.h"

namespace corvane::DUI {
namespace {

// 24-bit colour with red in the low byte, as swatches hold it.
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}

TEST(ColourNames, SwatchColoursFallIntoTheFamiliesTheyAreSeenAs) {
  const struct {
    uint32_t colour;
    ColourFamily family;
  } cases[] = {
      {Rgb(0xFF, 0x00, 0x00), ColourFamily::kRed},    {Rgb(0xFF, 0x48, 0x00), ColourFamily::kOrange},
      {Rgb(0xFF, 0xDE, 0x00), ColourFamily::kYellow}, {Rgb(0x00, 0xFF, 0x06), ColourFamily::kGreen},
      {Rgb(0x00, 0xFF, 0xFC), ColourFamily::kCyan},   {Rgb(0x00, 0x0C, 0xFF), ColourFamily::kBlue},
      {Rgb(0x80, 0x00, 0xFF), ColourFamily::kPurple}, {Rgb(0xFF, 0x00, 0xFF), ColourFamily::kPink},
      {Rgb(0xFF, 0x00, 0x10), ColourFamily::kRed},    {Rgb(0x12, 0x14, 0x18), ColourFamily::kBlack},
      {Rgb(0x80, 0x80, 0x84), ColourFamily::kGrey},   {Rgb(0xF4, 0xF4, 0xF0), ColourFamily::kWhite},
      {Rgb(0x60, 0x00, 0x00), ColourFamily::kRed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FamilyOf(c.colour), c.family) << ColourCode(c.colour);
    EXPECT_EQ(ColourTextId(c.colour), kColourTextIds[static_cast<size_t>(c.family)]);
  }
  // Each family has a text of its own.
  for (size_t i = 0; i < kColourTextIds.size(); ++i) {
    for (size_t j = i + 1; j < kColourTextIds.size(); ++j) EXPECT_NE(kColourTextIds[i], kColourTextIds[j]);
  }
}

TEST(ColourNames, CodeIsRedGreenBlueWhateverTheByteOrderHeld) {
  EXPECT_EQ(ColourCode(Rgb(0x12, 0x34, 0x56)), "#123456");
  EXPECT_EQ(ColourCode(0x0048FF), "#FF4800");
}

TEST(ColourNames, NamesComeFromTheNamerElseTheCode) {
  SetColourNamer(nullptr);
  EXPECT_EQ(ColourNameFor(Rgb(0, 0, 0xFF)), "#0000FF");
  SetColourNamer([](uint32_t colour) {
    return ColourTextId(colour) == kTextColourBlue ? std::string("Blue") : std::string();
  });
  EXPECT_EQ(ColourNameFor(Rgb(0, 0, 0xFF)), "Blue");
  // A namer without a word for the colour leaves its code.
  EXPECT_EQ(ColourNameFor(Rgb(0xFF, 0, 0)), "#FF0000");
  SetColourNamer(nullptr);
}

}  // namespace
}  // namespace corvane::DUI
