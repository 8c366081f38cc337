// What every device-facing corvane-cli command does first: read the program folder,
// build the back end (simulator or hidapi, optionally captured), feed the catalogue to
// the DeviceManager, enumerate, and select the saved model as the device list would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "catalogue/device_catalogue.h"
#include "cli/cli_command.h"
#include "cli/json_writer.h"
#include "device/device_entry.h"
#include "device/hid_backend.h"
#include "protocol/recording_device_view.h"

namespace corvane {
class SimBackend;
class KeyValueStore;
}  // namespace corvane

namespace corvane::cli {

class CliSession {
 public:
  CliSession();
  // Hands the back end back (the simulator saves its state file here).
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;

  // Reads config.xml and the catalogue and builds the back end. With `enumerate`, also
  // enumerates and selects the saved model. False with a one-line `error` on failure.
  bool Open(const CliOptions& options, std::string& error, bool enumerate = true);
  // Enumerates and selects: the stored DeviceType when found, else the first entry of
  // type 1 or more, which is then stored. Returns whether entries exist.
  bool Enumerate();

  const std::filesystem::path& ProgramFolder() const { return program_folder_; }
  const ApplicationConfig& Config() const { return config_; }
  const DeviceCatalogue& Catalogue() const { return catalogue_; }
  // The per-user key/value store named after the caption.
  KeyValueStore& Store() { return *store_; }
  // The recorder standing in for the window; jobs may be run against it.
  RecordingDeviceView& View() { return *view_; }
  // The simulator when --simulate was given; null on real hardware.
  SimBackend* Simulator() const { return sim_.get(); }

 private:
  std::filesystem::path program_folder_;
  ApplicationConfig config_;
  DeviceCatalogue catalogue_;
  std::unique_ptr<KeyValueStore> store_;
  std::unique_ptr<RecordingDeviceView> view_;
  std::shared_ptr<SimBackend> sim_;
};

// Appends the "entries" member ([{"index","vid","pid","device_type","mode","online",
// "dev_id","release"}]) for `entries` to an open JSON object.
void WriteEntriesMember(JsonWriter& json, const std::vector<DeviceEntryInfo>& entries);
// Prints the entries as text lines ("interfaces found:" ...).
void PrintEntries(const std::vector<DeviceEntryInfo>& entries);

}  // namespace corvane::cli
