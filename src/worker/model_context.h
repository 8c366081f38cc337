// The selected model as the window keeps it: which device type and definition are
// loaded, its settings database, and the values the jobs read from the definition
// (lighting, hint flags, firmware address, factory defaults). Loading a model switches
// the settings database to it. Shared by the window, the CLI and the worker.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "catalogue/factory_defaults.h"
#include "device/device_entry.h"
#include "settings/device_state.h"
#include "store/config_defaults.h"

namespace corvane {

class SettingsDatabase;

class ModelContext {
 public:
  // `profile_name_base` gives the current language's text for new profile names.
  ModelContext(std::filesystem::path program_folder, std::filesystem::path data_folder,
               const DeviceCatalogue& catalogue, SettingsDatabase& store, DeviceState& state,
               std::function<std::string()> profile_name_base);

  // Makes `device_type` the loaded model: switches the settings database to its
  // device_attr and reads its definition. A definition that cannot be read keeps the
  // previous one. Returns whether the definition was read.
  bool LoadDefinition(int device_type);

  // The loaded model's device type (0 before the first load) and names.
  int DeviceType() const;
  std::string DeviceAttr() const;
  std::string ModelName() const;
  // A copy of the loaded definition; the defaults of an empty one before any load.
  DeviceDefinition Definition() const;
  bool HasLighting() const;
  std::string FirmwareUrl() const;

  // The factory values of the loaded model's definition; nullopt when unreadable.
  std::optional<FactoryDefaults> ReadFactoryDefaults() const;
  // Makes sure the model's database has its profiles, with the definition's factory
  // values in new ones. Returns the active profile id (0 when none).
  int EnsureProfiles();

  // The catalogue's interfaces for the device manager.
  std::vector<KnownDevice> KnownDevices() const;
  const DeviceCatalogue& Catalogue() const { return catalogue_; }
  const std::filesystem::path& ProgramFolder() const { return program_folder_; }
  const std::filesystem::path& DataFolder() const { return data_folder_; }
  SettingsDatabase& Store() { return store_; }
  DeviceState& State() { return state_; }

 private:
  std::filesystem::path program_folder_;
  std::filesystem::path data_folder_;
  const DeviceCatalogue& catalogue_;
  SettingsDatabase& store_;
  DeviceState& state_;
  std::function<std::string()> profile_name_base_;

  mutable std::mutex mutex_;
  int device_type_ = 0;
  std::string device_attr_;
  std::string model_name_;
  DeviceDefinition definition_;
};

// The keys a factory-defaults pass writes: the DPI stages (with `dpi`), the report
// rate and the power options (with `rate_and_power`). Missing elements add nothing.
DeviceConfigDefaults FactoryConfigValues(const FactoryDefaults& defaults, bool dpi,
                                         bool rate_and_power);

}  // namespace corvane
