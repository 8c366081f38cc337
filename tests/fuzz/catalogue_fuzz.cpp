// libFuzzer target: arbitrary bytes as config.xml through the catalogue and the application
// section, and as a device definition file through both of its readers.
#include <cstddef>
#include <cstdint>

#include "app/app_config.h"
#include "app/app_folders.h"
#include "base/text.h"
#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "catalogue/factory_defaults.h"
#include "fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path program = corvane::fuzz::ScratchFolder() / "program";
  const std::string_view bytes = corvane::fuzz::AsText(data, size);
  corvane::fuzz::WriteBytes(program / "config.xml", bytes);

  corvane::DeviceCatalogue catalogue;
  if (catalogue.Load(program)) {
    catalogue.KnownDevices();
    catalogue.FirstWiredAndWirelessModel();
    for (size_t i = 0; i < catalogue.Models().size(); ++i) {
      const corvane::CatalogEntry& model = catalogue.Models()[i];
      catalogue.ModesOf(i);
      catalogue.FindModel(model.device_type);
      // A model's name for its definition file must stay inside device/.
      const std::filesystem::path file = corvane::DefinitionPath(program, model.device_attr);
      if (!file.empty() && file.parent_path() != program / "device") __builtin_trap();
    }
  }
  const corvane::ApplicationConfig config = corvane::ReadApplicationConfig(program);
  const std::string folder = corvane::CaptionFolderName(config.caption);
  // The caption names folders and the registry section: one path component, one line.
  if (folder.empty() || folder == "." || folder == ".." || folder.find('/') != std::string::npos ||
      corvane::ReplaceControlCharacters(folder, '_') != folder) {
    __builtin_trap();
  }

  const std::filesystem::path definition = program / "device" / "fuzz.xml";
  corvane::fuzz::WriteBytes(definition, bytes);
  corvane::LoadDeviceDefinition(definition);
  corvane::LoadFactoryDefaults(definition);
  return 0;
}
