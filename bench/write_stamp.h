// A backend around another whose handles note when a write was made, for benchmarks that
// measure the time from an event to the bytes leaving for the mouse.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/hid_backend.h"

namespace corvane {

class WriteStampBackend : public HidBackend {
 public:
  // `picks` chooses the writes that count; with `first_only` only the first after the
  // stamp was cleared is noted, else the latest.
  using Picks = std::function<bool(const uint8_t* data, size_t length)>;
  WriteStampBackend(std::shared_ptr<HidBackend> inner, Picks picks, bool first_only)
      : inner_(std::move(inner)), picks_(std::move(picks)), first_only_(first_only) {}

  std::vector<HidInterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
  std::unique_ptr<HidHandle> Open(const std::string& path) override {
    auto handle = inner_->Open(path);
    return handle ? std::make_unique<Handle>(std::move(handle), *this) : nullptr;
  }

  // steady_clock ticks of the noted write; 0 while none was.
  std::atomic<long long> stamp{0};

 private:
  class Handle : public HidHandle {
   public:
    Handle(std::unique_ptr<HidHandle> inner, WriteStampBackend& owner)
        : inner_(std::move(inner)), owner_(owner) {}
    int Write(const uint8_t* data, size_t length) override {
      if (owner_.picks_(data, length)) {
        const long long now = std::chrono::steady_clock::now().time_since_epoch().count();
        long long none = 0;
        if (owner_.first_only_) {
          owner_.stamp.compare_exchange_strong(none, now);
        } else {
          owner_.stamp.store(now);
        }
      }
      return inner_->Write(data, length);
    }
    int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
      return inner_->ReadTimeout(data, length, timeout_ms);
    }
    int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) override {
      return inner_->ReadOrWake(data, length, timeout_ms, wake);
    }
    std::u16string ProductString() override { return inner_->ProductString(); }
    const std::string& Path() const override { return inner_->Path(); }

   private:
    std::unique_ptr<HidHandle> inner_;
    WriteStampBackend& owner_;
  };

  std::shared_ptr<HidBackend> inner_;
  Picks picks_;
  bool first_only_;
};

}  // namespace corvane
