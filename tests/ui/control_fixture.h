// A shown dialog that records every notification its controls send, for control tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/dui/mdialog.h"

namespace corvane::DUI {

struct Note {
  int id;
  NotifyCode code;
  int64_t extra;
};

class NoteDialog : public MDialog {
 public:
  std::vector<Note> notes;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) override {
    notes.push_back({id, code, extra});
    return 1;
  }
};

class ControlFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(nullptr, "ControlDlg", kStylePopup, 0, Rect{0, 0, 800, 500}));
    dialog_.ShowWindow(kShowShow);
  }
  template <typename T>
  T* Make(const char* class_name, int id, Rect rect, const char* text = "") {
    return dynamic_cast<T*>(dialog_.CreateControl(class_name, id, rect, text));
  }
  NoteDialog dialog_;
};

}  // namespace corvane::DUI
