#include "worker/model_context.h"

#include "base/text.h"
#include "base/trace.h"
#include "store/config_keys.h"
#include "settings/dpi_stages.h"
#include "store/settings_database.h"

namespace corvane {

ModelContext::ModelContext(std::filesystem::path program_folder, std::filesystem::path data_folder,
                           const DeviceCatalogue& catalogue, SettingsDatabase& store,
                           DeviceState& state, std::function<std::string()> profile_name_base)
    : program_folder_(std::move(program_folder)),
      data_folder_(std::move(data_folder)),
      catalogue_(catalogue),
      store_(store),
      state_(state),
      profile_name_base_(std::move(profile_name_base)) {}

bool ModelContext::LoadDefinition(int device_type) {
  const CatalogEntry* model = catalogue_.FindModel(device_type);
  std::string attr = model ? model->device_attr : std::string();
  {
    std::lock_guard lock(mutex_);
    device_type_ = device_type;
    device_attr_ = attr;
    model_name_ = model ? model->name : std::string();
  }
  store_.OpenDeviceDatabase(data_folder_, attr);
  std::optional<DeviceDefinition> definition =
      LoadDeviceDefinition(catalogue_.DefinitionFile(program_folder_, attr));
  if (!definition) {
    Trace("LoadDefinition: no definition for device type %d", device_type);
    return false;
  }
  state_.SetTips(definition->show_dpitips, definition->show_savetips);
  std::lock_guard lock(mutex_);
  definition_ = std::move(*definition);
  return true;
}

int ModelContext::DeviceType() const {
  std::lock_guard lock(mutex_);
  return device_type_;
}

std::string ModelContext::DeviceAttr() const {
  std::lock_guard lock(mutex_);
  return device_attr_;
}

std::string ModelContext::ModelName() const {
  std::lock_guard lock(mutex_);
  return model_name_;
}

DeviceDefinition ModelContext::Definition() const {
  std::lock_guard lock(mutex_);
  return definition_;
}

bool ModelContext::HasLighting() const {
  std::lock_guard lock(mutex_);
  return definition_.lighting;
}

std::string ModelContext::FirmwareUrl() const {
  std::lock_guard lock(mutex_);
  return definition_.firmware_url;
}

std::optional<FactoryDefaults> ModelContext::ReadFactoryDefaults() const {
  return LoadFactoryDefaults(catalogue_.DefinitionFile(program_folder_, DeviceAttr()));
}

int ModelContext::EnsureProfiles() {
  DeviceConfigDefaults values;
  if (std::optional<FactoryDefaults> defaults = ReadFactoryDefaults()) {
    values = FactoryConfigValues(*defaults, true, true);
  }
  return store_.EnsureProfiles(profile_name_base_ ? profile_name_base_() : std::string(), values);
}

std::vector<KnownDevice> ModelContext::KnownDevices() const {
  std::vector<KnownDevice> known;
  for (const KnownDeviceIds& ids : catalogue_.KnownDevices()) {
    known.push_back({ids.vendor_id, ids.product_id, ids.device_type, ids.mode, ids.dev_id});
  }
  return known;
}

DeviceConfigDefaults FactoryConfigValues(const FactoryDefaults& defaults, bool dpi,
                                         bool rate_and_power) {
  DeviceConfigDefaults values;
  if (dpi && defaults.has_dpi_info) {
    const DpiStageSelection stages =
        ClampDpiStageSelection(defaults.dpi_count, defaults.default_dpi);
    values[kDpiIndexKey] = IntToDecimal(stages.index);
    values[kDpiFlagKey] = IntToDecimal(stages.count);
    values[kDpiCountKey] = IntToDecimal(stages.count);
    for (size_t i = 0; i < defaults.stages.size(); ++i) {
      const DpiStageDefault& stage = defaults.stages[i];
      if (!stage.present) continue;
      values[DpiStageValueKey(static_cast<int>(i))] = IntToDecimal(stage.value);
      values[DpiStageColourKey(static_cast<int>(i))] = IntToDecimal(stage.color);
    }
  }
  if (rate_and_power) {
    // Only the page writes both rate keys; profile defaults keep the built-in wireless one.
    if (defaults.report_rate) values[kReportRateKey] = IntToDecimal(*defaults.report_rate);
    if (defaults.sleep_light) values[kSleepLightKey] = IntToDecimal(*defaults.sleep_light);
    if (defaults.move_wakeup) values[kMoveWakeupKey] = IntToDecimal(*defaults.move_wakeup);
    if (defaults.move_closelight)
      values[kMoveCloseLightKey] = IntToDecimal(*defaults.move_closelight);
  }
  return values;
}

}  // namespace corvane
