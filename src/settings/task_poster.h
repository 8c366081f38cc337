// The one way page logic asks the worker for a job: it appends a task number to the
// worker's queue. The queue implements this; tests record the numbers.
#pragma once

#include "base/worker_task.h"

namespace corvane {

class TaskPoster {
 public:
  virtual ~TaskPoster() = default;
  // Appends `task` to the worker queue; never blocks on device traffic.
  virtual void Post(WorkerTask task) = 0;
};

}  // namespace corvane
