// Drafts for a mouse the catalogue lacks, made from what probe learned of it: the
// catalogue entry, the definition file (a copy of the closest shipped model's) and the udev
// rule line. Text only; writing them to the user's model folder is AddModelDrafts's job.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "catalogue/device_catalogue.h"

namespace corvane::cli {

// What probe knows of one configuration interface and its answer to command 0x10.
struct ProbedMouse {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  int interface_number = -1;
  std::string dev_id;  // reply bytes 4..7 when all four are printable, else empty
  int sensor = 0;
  int rate_capability = 0;
  std::string product;  // the interface's product string; may be empty
};

struct ModelDrafts {
  std::string name;
  int device_type = 0;
  std::string device_attr;
  std::string entry;       // the <mouse> element for config.xml (or a user entry file)
  std::string definition;  // the definition file
  std::string based_on;    // the shipped model the definition copies; empty when none
  std::string udev_rule;   // one rule line for the vendor and product id
};

// The 4 bytes of a device-information reply's dev_id when they are printable ASCII
// (the catalogue stores it as an XML attribute); empty otherwise.
std::string PrintableDevId(const uint8_t* reply);

// Builds the drafts. `name` empty: the product string, else "Mouse VVVV:PPPP". The device
// type is the first from 1000 on that the catalogue does not use; the definition copies
// the shipped model whose highest factory DPI stage lies nearest the sensor's maximum.
ModelDrafts DraftModel(const ProbedMouse& mouse, const std::string& name,
                       const DeviceCatalogue& catalogue,
                       const std::filesystem::path& program_folder);

// Writes the entry and definition files of `drafts` into `folder` (and its device/).
// Refuses to replace existing files. False with a one-line `error` on failure.
bool AddModelDrafts(const ModelDrafts& drafts, const std::filesystem::path& folder,
                    std::filesystem::path& entry_file, std::filesystem::path& definition_file,
                    std::string& error);

// '&', '<', '>' and '"' escaped for an XML attribute value.
std::string XmlAttributeText(const std::string& text);

}  // namespace corvane::cli
