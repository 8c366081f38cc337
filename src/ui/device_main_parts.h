// Constants shared by the main window's source files: fonts, colours and the tab table.
#pragma once

#include <cstdint>

#include "app/text_ids.h"
#include "ui/device_main_dlg.h"

namespace corvane::ui::main_window {

inline constexpr const char* kDefaultDevicePicture = "device/device_default.png";
inline constexpr int kAnimationIntervalMs = 10;
inline constexpr const char* kFrameFont = "Open Sans Semibold";
inline constexpr uint32_t kTextColorTitle = 0xFFFFFFFFu;
inline constexpr uint32_t kTextColorBottom = 0xFF8A929C;
inline constexpr uint32_t kBatteryColor = 0xFF3E556D;
inline constexpr int kConnectionFontPixels = 14;  // connection plate and profile button

struct TabSpec {
  int id;
  int text_id;
  const char* icon;
  int page;
};
inline constexpr TabSpec kTabs[] = {
    {1, kTextTabHome, "icon\\tab_home.png", kIdPageHome},
    {2, kTextTabButtons, "icon\\tab_key.png", kIdPageKeys},
    {3, kTextTabPerformance, "icon\\tab_dpi.png", kIdPageDpi},
    {4, kTextTabMacros, "icon\\tab_macro.png", kIdPageMacros},
    {5, kTextTabLighting, "icon\\tab_light.png", kIdPageLighting},
    {7, kTextTabDeviceSettings, "icon\\tab_set.png", kIdPageDevice},
};

}  // namespace corvane::ui::main_window
