// The device list of config.xml: which models exist, how their USB interfaces are
// recognised and shown, plus the `software` values. Read once at start-up; the lists keep
// file order, which the device manager and the device list rely on.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalog_entry.h"

namespace corvane {

class MarkupDocument;

// Reads a hexadecimal id as written in config.xml: optional leading white space and "0x",
// then digits up to the first non-hexadecimal character. 0 when there are none; values
// beyond the int range are clamped.
int ParseHexId(std::string_view text);

// Reads the `mouse` element the document stands on: the model record and one record per
// `mode` child, in file order. Leaves the position on the `mouse` element.
void ReadMouse(MarkupDocument& doc, CatalogEntry& model, std::vector<CatalogEntry>& modes);

// $XDG_DATA_HOME/corvane/models (else ~/.local/share/corvane/models): the models a user
// added. Empty when neither variable is set.
std::filesystem::path UserModelsFolder();

// Which model a user entry file holds: <folder>/<device_attr>.xml, rooted at `mouse`.
std::filesystem::path UserEntryFile(const std::filesystem::path& folder,
                                    std::string_view device_attr);
// Where a user model's definition file lives: <folder>/device/<device_attr>.xml.
std::filesystem::path UserDefinitionFile(const std::filesystem::path& folder,
                                         std::string_view device_attr);

class DeviceCatalogue {
 public:
  // Replaces the catalogue with the one of <program_folder>/config.xml. Returns false, with
  // an empty catalogue, when the file is missing, malformed or not rooted at `config`.
  bool Load(const std::filesystem::path& program_folder);
  // Load, then the user's models (UserModelsFolder), as both programs see the catalogue.
  bool LoadWithUserModels(const std::filesystem::path& program_folder);

  // Appends the models of a user folder: every *.xml directly in it, by file name, holds
  // one `mouse` element as config.xml does; its definition file is in the folder's device/.
  // A file that is malformed, incomplete, has no definition, or repeats the ids, the device
  // type or the definition name of a model already read (shipped ones first) is skipped
  // with a warning naming it.
  void LoadUserModels(const std::filesystem::path& folder);

  // One line per user file skipped by the last Load or LoadUserModels.
  const std::vector<std::string>& Warnings() const { return warnings_; }

  // The definition file of the model with that device_attr: the user folder's for a user
  // model, else DefinitionPath(program_folder, device_attr).
  std::filesystem::path DefinitionFile(const std::filesystem::path& program_folder,
                                       std::string_view device_attr) const;

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
  // Appends one model and its modes (records already filled).
  void AddModel(const CatalogEntry& model, const std::vector<CatalogEntry>& modes);
  // Why a user model may not join the catalogue; empty when it may.
  std::string UserModelConflict(const CatalogEntry& model,
                                const std::vector<CatalogEntry>& modes) const;

  std::vector<CatalogEntry> models_;
  std::vector<CatalogEntry> interfaces_;
  std::vector<ModeRange> mode_ranges_;  // parallel to models_
  SoftwareInfo software_;
  std::vector<std::string> warnings_;
};

}  // namespace corvane
