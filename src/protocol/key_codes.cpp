// Virtual-key to HID usage, modifier bits and Windows key names.
// The usage table follows the HID Keyboard/Keypad page; names follow a US layout.
#include "protocol/key_codes.h"

#include <array>
#include <utility>

namespace corvane {
namespace {

// Single codes whose usage is not part of a contiguous run.
constexpr std::pair<int, int> kSingleUsages[] = {
    {48, 39},   {13, 40},   {27, 41},   {8, 42},    {9, 43},    {32, 44},   {189, 45},
    {187, 46},  {219, 47},  {221, 48},  {220, 49},  {666, 50},  {186, 51},  {222, 52},
    {192, 53},  {188, 54},  {190, 55},  {191, 56},  {20, 57},   {44, 70},   {145, 71},
    {19, 72},   {45, 73},   {36, 74},   {33, 75},   {46, 76},   {35, 77},   {34, 78},
    {39, 79},   {37, 80},   {40, 81},   {38, 82},   {144, 83},  {111, 84},  {106, 85},
    {109, 86},  {107, 87},  {108, 88},  {96, 98},   {110, 99},  {226, 100}, {93, 101},
    {254, 175}, {301, 236},
};

// Modifier virtual-key codes in usage order 224..231.
constexpr std::array<int, 8> kModifierVks{162, 160, 164, 91, 163, 161, 165, 92};

// Names of single keys as Windows shows them.
constexpr std::pair<int, const char*> kNames[] = {
    {8, "Backspace"},   {9, "Tab"},         {12, "Num 5"},       {13, "Enter"},
    {19, "Pause"},      {20, "Caps Lock"},  {27, "Esc"},         {32, "Space"},
    {33, "Page Up"},    {34, "Page Down"},  {35, "End"},         {36, "Home"},
    {37, "Left"},       {38, "Up"},         {39, "Right"},       {40, "Down"},
    {44, "Print Screen"}, {45, "Insert"},   {46, "Delete"},      {91, "Windows"},
    {92, "RWindows"},   {93, "Application"}, {106, "Num *"},     {107, "Num +"},
    {108, "Num Enter"}, {109, "Num -"},     {110, "Num Del"},    {111, "Num /"},
    {137, "\xEF\xBF\xA5"}, {144, "Num Lock"}, {145, "Scroll Lock"}, {160, "Shift"},
    {161, "RShift"},    {162, "Ctrl"},      {163, "RCtrl"},      {164, "Alt"},
    {165, "RAlt"},      {16, "Shift"},      {17, "Ctrl"},        {18, "Alt"},
    {186, ";"},         {187, "="},         {188, ","},          {189, "-"},
    {190, "."},         {191, "/"},         {192, "`"},          {219, "["},
    {220, "\\"},        {221, "]"},         {222, "'"},          {226, "\\"},
};

}  // namespace

int VkToHidUsage(int vk) {
  if (vk >= 65 && vk <= 90) return vk - 61;
  if (vk >= 49 && vk <= 57) return vk - 19;
  if (vk >= 112 && vk <= 123) return vk - 54;
  if (vk >= 97 && vk <= 105) return vk - 8;
  if (vk >= 124 && vk <= 135) return vk - 20;
  if (vk >= 136 && vk <= 139) return vk;
  if (vk == 302) return 235;
  for (int i = 0; i < static_cast<int>(kModifierVks.size()); ++i) {
    if (kModifierVks[i] == vk) return kUsageFirstModifier + i;
  }
  for (const auto& [code, usage] : kSingleUsages) {
    if (code == vk) return usage;
  }
  return 0;
}

int UsageModifierBit(int usage) {
  if (usage < kUsageFirstModifier || usage > kUsageLastModifier) return 0;
  return 1 << (usage - kUsageFirstModifier);
}

int VkModifierBit(int vk) {
  for (int i = 0; i < static_cast<int>(kModifierVks.size()); ++i) {
    if (kModifierVks[i] == vk) return 1 << i;
  }
  return 0;
}

bool IsSidedShiftCtrlAlt(int vk) { return vk >= kVkLeftShift && vk <= kVkRightMenu; }

std::string VkKeyName(int vk) {
  if ((vk >= 65 && vk <= 90) || (vk >= 48 && vk <= 57)) return std::string(1, char(vk));
  if (vk >= 112 && vk <= 135) return "F" + std::to_string(vk - 111);
  if (vk >= 96 && vk <= 105) return "Num " + std::to_string(vk - 96);
  for (const auto& [code, name] : kNames) {
    if (code == vk) return name;
  }
  return {};
}

}  // namespace corvane
