// config.xml application section reader; see app_config.h.
#include "app/app_config.h"

#include "app/app_folders.h"
#include "xml/markup_document.h"

namespace corvane {

ApplicationConfig ReadApplicationConfig(const std::filesystem::path& program_folder) {
  ApplicationConfig config;
  config.caption = std::string(kDefaultCaption);
  MarkupDocument doc;
  if (!doc.LoadFile(program_folder / kConfigFileName)) return config;
  if (!doc.FindElement("config")) return config;
  config.loaded = true;
  doc.EnterElement();
  if (doc.FindElement("language.info")) {
    config.default_language = doc.GetAttributeInt("default_lan");
    doc.EnterElement();
    while (doc.FindElement("lan")) config.languages.insert(doc.GetAttributeInt("value"));
    doc.LeaveElement();
  }
  if (doc.FindElement("software")) config.caption = doc.GetAttribute(std::string_view("caption"));
  return config;
}

}  // namespace corvane
