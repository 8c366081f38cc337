// The device list of config.xml: which models exist, how their USB interfaces are
// recognised and shown, plus the `software` values. Read once at start-up; the lists keep
// file order, which the device manager and the device list rely on.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "catalogue/catalog_entry.h"

namespace corvane {

// Reads a hexadecimal id as written in config.xml: optional leading white space and "0x",
// then digits up to the first non-hexadecimal character. 0 when there are none; values
// beyond the int range are clamped.
int ParseHexId(std::string_view text);

class DeviceCatalogue {
 public:
  // Replaces the catalogue with the one of <program_folder>/config.xml. Returns false, with
  // an empty catalogue, when the file is missing, malformed or not rooted at `config`.
  bool Load(const std::filesystem::path& program_folder);

  // Same from a file path instead of a program folder.
  bool LoadFile(const std::filesystem::path& config_file);

  // One record per `mouse`, in file order.
  const std::vector<CatalogEntry>& Models() const { return models_; }
  // One record per `mode` of every mouse, in file order.
  const std::vector<CatalogEntry>& Interfaces() const { return interfaces_; }
  const SoftwareInfo& Software() const { return software_; }

  // The interfaces as the device manager takes them, in catalogue order.
  std::vector<KnownDeviceIds> KnownDevices() const;

  // The first model of that device type; null when there is none.
  const CatalogEntry* FindModel(int device_type) const;

  // The `mode` records of Models()[model_index], in file order; empty for a bad index.
  std::vector<CatalogEntry> ModesOf(std::size_t model_index) const;

  // The first model that has both a wired and a wireless mode; null when there is none.
  const CatalogEntry* FirstWiredAndWirelessModel() const;

 private:
  // Where a model's modes lie in interfaces_.
  struct ModeRange {
    std::size_t first = 0;
    std::size_t count = 0;
  };

  void Clear();

  std::vector<CatalogEntry> models_;
  std::vector<CatalogEntry> interfaces_;
  std::vector<ModeRange> mode_ranges_;  // parallel to models_
  SoftwareInfo software_;
};

}  // namespace corvane
