// The battery gauge: a shell image, a level image cut to the charge level, a charging
// mark and the level in percent. While charging, the animation tick sweeps the level up.
#pragma once

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class BatteryCtrl : public MControlFont {
 public:
  static constexpr int kMaxLevel = 100;
  static constexpr int kStateCharging = 1;
  static constexpr int kTicksPerStep = 6;   // animation ticks per sweep step
  static constexpr int kSweepStep = 10;     // percent added per step while charging
  static constexpr int kTextGap = 6;

  BatteryCtrl(QWidget* parent, MDialog* owner, int id);

  // Level and charge images (1 frame each). Returns false when either is missing.
  bool SetBatteryIcon(const std::string& level_icon, const std::string& charge_icon);
  // Shows `level` percent (clamped to 0..100); `state` kStateCharging shows charging.
  void SetBatteryInfo(int level, int state);
  // The level shown, 0..100.
  int GetLevel() const { return level_; }
  bool IsCharging() const { return charging_; }
  // The level drawn right now (differs from GetLevel while the charge sweep runs).
  int GetShownLevel() const;
  void OnMTimer() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SkinImage level_icon_;
  SkinImage charge_icon_;
  int level_ = 0;
  bool charging_ = false;
  int ticks_ = 0;
  int sweep_ = 0;
};

}  // namespace corvane::DUI
