// A task poster that keeps what was posted, in order, for tests of the page logic.
#pragma once

#include <vector>

#include "settings/task_poster.h"

namespace corvane::test {

class RecordingPoster : public TaskPoster {
 public:
  void Post(WorkerTask task) override { tasks.push_back(task); }
  std::vector<WorkerTask> tasks;
};

}  // namespace corvane::test
