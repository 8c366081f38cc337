#include "worker/worker_view.h"

#include "app/key_value_store.h"
#include "worker/model_context.h"

namespace corvane {

WorkerView::WorkerView(DeviceView& inner, ModelContext& model, KeyValueStore& values)
    : inner_(inner), model_(model), values_(values) {}

int WorkerView::SavedDeviceType() { return values_.ReadDeviceType(); }

void WorkerView::SetSavedDeviceType(int device_type) {
  values_.WriteDeviceType(device_type);
  inner_.SetSavedDeviceType(device_type);
}

void WorkerView::LoadDefinition(int device_type) {
  model_.LoadDefinition(device_type);
  inner_.LoadDefinition(device_type);
}

void WorkerView::SetLinkFlag(bool linked) {
  model_.State().SetLink(linked);
  inner_.SetLinkFlag(linked);
}

void WorkerView::SetIdlePoll(bool on) {
  model_.State().SetIdlePoll(on);
  inner_.SetIdlePoll(on);
}

}  // namespace corvane
