// Plain records of the device list of config.xml: one per model, one per USB interface
// kind (mode) of a model, the ids the device manager matches interfaces with, and the
// informational values of `software`.
#pragma once

#include <filesystem>
#include <string>

#include "base/device_values.h"

namespace corvane {

// One `mouse` (mode fields at their defaults) or one `mode` of a mouse (mouse fields kept).
struct CatalogEntry {
  std::string name;          // display name of the model
  int device_type = 0;       // the model's number, shared by its wired and wireless modes
  std::string device_attr;   // stem of the definition file and of the settings database
  std::string image;         // picture file inside the skin's device/ folder
  ConnectionMode mode = ConnectionMode::kWired;  // the `value` of a `mode` element
  int vendor_id = 0;         // USB ids; 0 when missing or not hexadecimal
  int product_id = 0;
  std::string dev_id;        // the 4-character id the firmware reports; may be empty
  std::string description;   // `desc`, kept but not used
  std::string hid_interface; // kept but not used
  // Folder of a user-added model's entry file; empty for a shipped model. Its definition
  // file is <user_folder>/device/<device_attr>.xml instead of the program folder's.
  std::filesystem::path user_folder;

  // The model picture: <skin folder>/device/<image>.
  std::filesystem::path ImagePath(const std::filesystem::path& skin_folder) const {
    return skin_folder / "device" / image;
  }
};

// What the device manager needs of one catalogue interface (AddKnownDevice).
struct KnownDeviceIds {
  int vendor_id = 0;
  int product_id = 0;
  int device_type = 0;
  ConnectionMode mode = ConnectionMode::kWired;
  std::string dev_id;
};

// The `software` element: the tool's own version and its web addresses.
struct SoftwareInfo {
  std::string version;    // compared by the software update check
  std::string website;
  std::string feedback;
  std::string qa;
  std::string store;      // kept, not used
  std::string upgrade;    // base address of the software update check
  std::string copyright;  // `info` of `copyright`; kept, not used
};

}  // namespace corvane
