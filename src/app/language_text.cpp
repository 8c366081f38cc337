// Language text lookup; see language_text.h.
#include "app/language_text.h"

#include "base/text.h"

namespace corvane {

LanguageText::LanguageText(std::filesystem::path program_folder)
    : program_folder_(std::move(program_folder)) {}

void LanguageText::SetLanguageId(int language_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  language_id_ = language_id;
  cached_id_ = -1;  // choosing a language again re-reads its file
}

int LanguageText::LanguageId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return language_id_;
}

std::filesystem::path LanguageText::LanguageFilePath(int language_id) const {
  return program_folder_ / kLanguageFolder /
         (IntToDecimal(language_id) + std::string(kLanguageFileExtension));
}

std::string LanguageText::Text(int id, std::string_view section) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (cached_id_ != language_id_) {
    cached_file_ = IniFile::Load(LanguageFilePath(language_id_));
    cached_id_ = language_id_;
  }
  if (!cached_file_) return {};
  return cached_file_->Get(section, IntToDecimal(id)).value_or(std::string());
}

}  // namespace corvane
