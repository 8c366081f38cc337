// Key events of the window as the pages' key capture sees them: which key (the decoder's
// virtual-key code, sides told apart), pressed or released, and its name.
#pragma once

#include "settings/key_decoder.h"

class QKeyEvent;

namespace corvane::ui {

// Decodes a Qt key event; kind 0 (dropped by every consumer) for a key without a code.
KeyEvent DecodePageKey(const QKeyEvent& event);

}  // namespace corvane::ui
