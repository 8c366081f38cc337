// Start at login: the desktop's autostart entry named after the caption, whose Exec line
// runs this executable with "-autorun". Its presence is the setting; there is no copy.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::ui {

class AutorunEntry {
 public:
  // The entry `<config home>/autostart/<caption>.desktop` for `executable`; the caption
  // passes the data folder's safe-name rule first, so the entry stays in that folder.
  AutorunEntry(std::string caption, std::filesystem::path executable);

  // Where the entry lives.
  std::filesystem::path Path() const;
  // True when the entry exists.
  bool IsEnabled() const;
  // Writes the entry (through a temporary file and a rename). Returns false on failure.
  bool Enable() const;
  // Removes the entry; true when it is gone afterwards.
  bool Disable() const;
  // The Exec value: the quoted executable path, then " -autorun".
  std::string ExecLine() const;
  // The Name value: the caption with line breaks and backslashes escaped.
  std::string NameValue() const;

 private:
  std::string caption_;
  std::filesystem::path executable_;
};

}  // namespace corvane::ui
