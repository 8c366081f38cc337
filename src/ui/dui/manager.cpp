// Process-wide settings of the control layer, guarded by one mutex because the
// worker thread reads the caption while the user-interface thread may change it.
#include "ui/dui/manager.h"

#include <mutex>

namespace corvane::DUI {
namespace {

struct ManagerState {
  std::mutex lock;
  std::string caption = Manager::kDefaultCaption;
  std::string theme = Manager::kDefaultTheme;
  std::string program_dir;
  std::string font = Manager::kDefaultFont;
};

ManagerState& State() {
  static ManagerState state;
  return state;
}

}  // namespace

void Manager::SetDeviceName(const std::string& caption) {
  std::lock_guard guard(State().lock);
  State().caption = caption;
}

std::string Manager::GetDeviceName() {
  std::lock_guard guard(State().lock);
  return State().caption;
}

void Manager::SetTheme(const std::string& theme) {
  std::lock_guard guard(State().lock);
  State().theme = theme.empty() ? kDefaultTheme : theme;
}

std::string Manager::GetTheme() {
  std::lock_guard guard(State().lock);
  return State().theme;
}

void Manager::SetProgramDir(const std::string& folder) {
  std::lock_guard guard(State().lock);
  State().program_dir = folder;
}

std::string Manager::GetProgramDir() {
  std::lock_guard guard(State().lock);
  return State().program_dir;
}

std::string Manager::GetSkinFolder() {
  std::lock_guard guard(State().lock);
  std::string folder = State().program_dir;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + "skins/" + State().theme + "/";
}

void Manager::SetFontName(const std::string& face) {
  std::lock_guard guard(State().lock);
  State().font = face.empty() ? kDefaultFont : face;
}

std::string Manager::GetFontName() {
  std::lock_guard guard(State().lock);
  return State().font;
}

}  // namespace corvane::DUI
