// Key events of the window turned into the decoder's key events. The physical key (the
// X11 key code Qt reports as the native scan code) decides the virtual-key code, so a
// captured key does not depend on the keyboard layout; left and right modifiers are told
// apart by which physical key is held.
#pragma once

#include <set>

#include "settings/key_decoder.h"

class QKeyEvent;

namespace corvane::ui {

class KeyInput {
 public:
  KeyInput();
  KeyInput(const KeyInput&) = delete;
  KeyInput& operator=(const KeyInput&) = delete;

  // Decodes a key press or release of the window. A key without a virtual-key code
  // gives an event with an empty name, which every consumer drops.
  KeyEvent Decode(const QKeyEvent& event);
  // Decodes one press or release of the evdev key `evdev_code`.
  KeyEvent DecodeEvdev(int evdev_code, bool released, bool num_lock);

 private:
  std::set<int> held_;  // sided virtual-key codes of the modifiers held down
  KeyDecoder decoder_;
};

// The process's one key input: the decoder's modifier state lives as long as the process.
KeyInput& SharedKeyInput();

// Tab and Shift+Tab: a key field that captures every other key lets these move the focus
// on, which ends its capture, so that the keyboard can leave it.
bool MovesFocus(const QKeyEvent& event);

}  // namespace corvane::ui
