// One skin image cut into equal frames laid side by side (1, 2, 4 or 8 of them), the
// rule that picks a frame for a control's state, and nine-slice drawing. Images come
// only from the skin folder; names that try to leave it are refused.
#pragma once

#include <QMargins>
#include <QPixmap>
#include <string>

class QPainter;

namespace corvane::DUI {

// What a control looks like right now, for frame selection.
struct ControlState {
  bool enabled = true;
  bool hovered = false;
  bool pressed = false;
  bool checked = false;
};

class SkinImage {
 public:
  static constexpr int kMaxFrames = 8;

  // Loads `file` (relative to the skin folder; '\' and '/' both separate folders) with
  // `frames` frames. Returns false when the name is unsafe or the file is missing or not
  // an image; the image is then null and controls fall back to their plain look.
  bool Load(const std::string& file, int frames);
  // Loads a file the program named by its full path (no confinement), as Load otherwise.
  bool LoadFile(const std::string& path, int frames);
  // Forgets the image.
  void Clear();

  // True when no image is loaded.
  bool IsNull() const { return pixmap_.isNull(); }
  // Number of frames asked for by the last load (1 for an invalid count).
  int Frames() const { return frames_; }
  // Size of one frame; empty when null.
  QSize FrameSize() const;
  // The frame at `index`, clamped into range; null pixmap when no image is loaded.
  QPixmap Frame(int index) const;
  // The name passed to Load.
  const std::string& File() const { return file_; }

  // Draws frame `index` into `target`: stretched when `slice` is zero, otherwise the
  // corners keep their size and the edges and middle stretch. Does nothing when null.
  void Draw(QPainter& painter, int index, const QRect& target,
            const QMargins& slice = QMargins()) const;

  // The frame that shows `state` in a strip of `frames` frames:
  // 1 frame: always 0; 2: 0 normal, 1 hovered/pressed/checked;
  // 4: 0 normal, 1 hovered, 2 pressed or checked, 3 disabled;
  // 8: the 4-frame rule without `checked`, plus 4 when checked.
  static int FrameForState(int frames, const ControlState& state);

  // Full path of a skin file, or empty when the name is absolute or contains "..".
  static std::string ResolvePath(const std::string& file);

 private:
  QPixmap pixmap_;
  int frames_ = 1;
  std::string file_;
};

}  // namespace corvane::DUI
