#include "worker/worker_view.h"

#include "app/key_value_store.h"
#include "worker/model_context.h"

namespace corvane {

WorkerView::WorkerView(DeviceView& front, ModelContext& model, KeyValueStore& values)
    : front_(front), model_(model), values_(values) {}

int WorkerView::SavedDeviceType() { return values_.ReadDeviceType(); }

void WorkerView::SetSavedDeviceType(int device_type) {
  values_.WriteDeviceType(device_type);
  front_.SetSavedDeviceType(device_type);
}

void WorkerView::LoadDefinition(int device_type) {
  model_.LoadDefinition(device_type);
  front_.LoadDefinition(device_type);
}

void WorkerView::SetLinkFlag(bool linked) {
  model_.State().SetLink(linked);
  front_.SetLinkFlag(linked);
}

void WorkerView::SetIdlePoll(bool on) {
  model_.State().SetIdlePoll(on);
  front_.SetIdlePoll(on);
}

}  // namespace corvane
