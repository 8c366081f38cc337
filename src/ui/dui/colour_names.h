// Words for colours, so that a screen reader says "Blue" for a swatch rather than
// "#0048FF": a colour falls into one of a few families a person names without thinking
// (by hue, or white, grey and black when it has little colour), each a language text.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/text_ids.h"

namespace corvane::DUI {

enum class ColourFamily {
  kRed, kOrange, kYellow, kGreen, kCyan, kBlue, kPurple, kPink, kWhite, kGrey, kBlack
};

// Language text ids of the families, in ColourFamily order.
inline constexpr std::array<int, 11> kColourTextIds = {
    kTextColourRed,    kTextColourOrange, kTextColourYellow, kTextColourGreen,
    kTextColourCyan,   kTextColourBlue,   kTextColourPurple, kTextColourPink,
    kTextColourWhite,  kTextColourGrey,   kTextColourBlack};

// The family of a 24-bit colour (red in the low byte, as swatches hold it).
ColourFamily FamilyOf(uint32_t colorref);
// The language text id of a colour's family.
int ColourTextId(uint32_t colorref);
// "#RRGGBB" of a 24-bit colour (red in the low byte).
std::string ColourCode(uint32_t colorref);

// What swatches are called for assistive tools: set by the window program to look up its
// language texts; unset (or answering empty), a swatch is called by its colour code.
void SetColourNamer(std::function<std::string(uint32_t colorref)> namer);
std::string ColourNameFor(uint32_t colorref);

}  // namespace corvane::DUI
