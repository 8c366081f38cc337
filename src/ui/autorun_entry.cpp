// Writing and removing the autostart entry.
#include "ui/autorun_entry.h"

#include <fstream>
#include <system_error>

#include "app/app_folders.h"

namespace corvane::ui {

AutorunEntry::AutorunEntry(std::string caption, std::filesystem::path executable)
    : caption_(std::move(caption)), executable_(std::move(executable)) {}

std::filesystem::path AutorunEntry::Path() const {
  return ConfigHome() / "autostart" / (CaptionFolderName(caption_) + ".desktop");
}

bool AutorunEntry::IsEnabled() const {
  std::error_code error;
  return std::filesystem::is_regular_file(Path(), error);
}

std::string AutorunEntry::ExecLine() const {
  // Desktop-entry quoting: inside double quotes, ", `, $ and \ are escaped.
  std::string quoted = "\"";
  for (char c : executable_.string()) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\" -autorun";
}

std::string AutorunEntry::NameValue() const {
  // Desktop-entry string escapes, so a caption cannot break its line into new keys.
  std::string value;
  for (char c : caption_) {
    if (c == '\n') {
      value += "\\n";
    } else if (c == '\r') {
      value += "\\r";
    } else if (c == '\\') {
      value += "\\\\";
    } else if (c != '\0') {
      value += c;
    }
  }
  return value;
}

bool AutorunEntry::Enable() const {
  std::error_code error;
  std::filesystem::create_directories(Path().parent_path(), error);
  std::filesystem::path temp = Path();
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << "[Desktop Entry]\nType=Application\nName=" << NameValue() << "\nExec=" << ExecLine()
        << "\nX-GNOME-Autostart-enabled=true\n";
    if (!out.flush()) return false;
  }
  std::filesystem::rename(temp, Path(), error);
  if (error) std::filesystem::remove(temp, error);
  return IsEnabled();
}

bool AutorunEntry::Disable() const {
  std::error_code error;
  std::filesystem::remove(Path(), error);
  return !IsEnabled();
}

}  // namespace corvane::ui
