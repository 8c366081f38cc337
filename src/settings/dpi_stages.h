// The DPI page without widgets: every user action on the stage count, the stage
// list, the slider, the colours and the apply/reset buttons, written to the active
// profile and posted to the worker. The widgets only show what these return.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "protocol/dpi_selection.h"
#include "settings/device_state.h"
#include "settings/task_poster.h"

namespace corvane {

class SettingsDatabase;

struct DpiStage {
  int value = 0;
  int rgb = 0;
};

// What the page shows after an action.
struct DpiPageView {
  int count = 0;                 // selected in the count box
  int index = 0;                 // selected stage
  std::vector<DpiStage> stages;  // the first `count` stages
  int slider_position = 0;
};

// What an action asks of the window besides re-showing the page.
struct DpiActionResult {
  bool posted = false;             // a task went to the worker
  bool show_save_wait = false;     // the definition asks for the save-wait dialog
  int value = 0;                   // the stored value (typed and slider actions)
};

// Sets the stage count and index that DPI-button notifications are compared with from
// the active profile, as the page would show them. The worker runs it whenever the
// stored stages change under it (read-back, profile change, restore); page load too.
void CacheStoredDpiStages(SettingsDatabase& store, DeviceState& state);

class DpiStages {
 public:
  DpiStages(SettingsDatabase& store, DeviceState& state, TaskPoster& poster);

  // Page load: reads count, stages and index (an index not below the cached count
  // becomes 0) and caches count and index. Writes nothing.
  DpiPageView Load();
  // Count chosen in the box (1..6): writes dpi_count, pulls the index inside, posts the DPI stages.
  DpiActionResult ChangeCount(int count);
  // Stage clicked: writes dpi_index; posts the DPI stages only when it differs from the cached one.
  DpiActionResult SelectStage(int index);
  // Colour chosen for a stage (0 = dialog cancelled, nothing happens): posts the stage colours.
  DpiActionResult SetColour(int index, int rgb);
  // Value typed into the list: normalised by the sensor, written, posts the DPI stages.
  // Text that is not digits alone changes nothing and gives back the stored value.
  // Typed into the page, the stage becomes the current one; set from outside the window
  // (the desktop bus, `keep_current`), the mouse stays on the stage it is on.
  DpiActionResult TypeValue(int index, std::string_view text, bool keep_current = false);
  // Slider dragged while `index` is selected (-1 = none): writes the stage value.
  DpiActionResult MoveSlider(int index, int position);
  // Slider released, or the apply button: posts the DPI stages.
  DpiActionResult Apply();
  // Reset confirmed by the user: posts the factory DPI job.
  DpiActionResult Reset();

  // The current view without side effects (after a worker refresh).
  DpiPageView View() const;

 private:
  int Profile() const;
  int StageValue(int profile, int index) const;
  DpiActionResult Posted(WorkerTask task, std::optional<int> popup = std::nullopt);

  SettingsDatabase& store_;
  DeviceState& state_;
  TaskPoster& poster_;
};

}  // namespace corvane
