// The one way page logic asks the worker for a job: it appends a task number to the
// worker's queue. The queue implements this; tests record the numbers.
#pragma once

namespace corvane {

// Worker task numbers the settings pages post.
inline constexpr int kTaskButtons = 6;
inline constexpr int kTaskLighting = 8;
inline constexpr int kTaskLightReset = 17;

class TaskPoster {
 public:
  virtual ~TaskPoster() = default;
  // Appends `task` to the worker queue; never blocks on device traffic.
  virtual void Post(int task) = 0;
};

}  // namespace corvane
