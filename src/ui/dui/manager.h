// Process-wide settings of the control layer: the application caption, the skin theme
// and program folder that images are read from, the default font and the selection colour.
// Safe to read from any thread; windows and controls live elsewhere.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace corvane::DUI {

class Manager {
 public:
  // Sets the application caption (window titles, folders, single-instance name).
  static void SetDeviceName(const std::string& caption);
  // The caption; kDefaultCaption until SetDeviceName is called.
  static std::string GetDeviceName();

  // Sets the skin theme (a subfolder of "<program folder>/skins"); empty restores the default.
  static void SetTheme(const std::string& theme);
  // The theme name; kDefaultTheme unless changed.
  static std::string GetTheme();

  // Sets the program folder that holds "skins/".
  static void SetProgramDir(const std::string& folder);
  // The program folder; empty means the current folder.
  static std::string GetProgramDir();
  // "<program folder>/skins/<theme>/", always ending with a slash.
  static std::string GetSkinFolder();

  // Sets the font face used by text controls that were given none.
  static void SetFontName(const std::string& face);
  // The default font face; kDefaultFont unless changed.
  static std::string GetFontName();

  static constexpr const char* kDefaultCaption = "Corvane";
  static constexpr const char* kDefaultTheme = "dark";
  static constexpr const char* kDefaultFont = "Open Sans";

  // Accent colour (0xAARRGGBB) used for selections and marks.
  static inline std::atomic<uint32_t> m_select_color{0xFF2E9BFFu};
};

}  // namespace corvane::DUI
