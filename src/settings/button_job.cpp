// Button job contents: macros of every layer-0 row of the marked button, then the
// table from the factory layout and all rows of the profile.
#include "settings/button_job.h"

#include "base/trace.h"
#include "settings/button_table_encoding.h"
#include "settings/macro_packets.h"

namespace corvane {

ButtonJob BuildButtonJob(const SettingsDatabase& db, int profile, int marked_button) {
  ButtonJob job;
  const std::vector<KeyAssignRecord> rows = db.GetKeyAssigns(profile);
  if (IsValidButtonIndex(marked_button)) {
    for (const KeyAssignRecord& row : rows) {
      if (row.fn_layer != 0 || row.macro_type != kFamilyMacro || row.key_code != marked_button) {
        continue;
      }
      if (!db.GetMacro(row.macro_value)) continue;  // deleted macro: nothing to upload
      const std::vector<uint8_t> blob = MacroBlob(row.key_code, db.GetMacroEvents(row.macro_value));
      std::vector<CommandReport> packets;
      if (!MacroPackets(blob, packets)) {
        Trace("macro %d too long to send: %zu bytes", row.macro_value, blob.size());
        ++job.skipped_macros;
        continue;
      }
      job.macro_packets.insert(job.macro_packets.end(), packets.begin(), packets.end());
    }
  }
  job.buttons = ButtonCommand(BuildButtonTable(rows, db.GetMacros()));
  return job;
}

}  // namespace corvane
