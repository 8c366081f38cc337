// The home page's device list: one card per catalogue model that is present (any of its
// connection modes online), with its picture, name, connection modes, battery and
// firmware version, paged when more cards exist than fit. A click on a card selects it
// and notifies the owner with kClick and the model's device type.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class CDeviceList : public MControlFont {
 public:
  static constexpr int kCardWidth = 240;
  static constexpr int kCardGap = 24;
  static constexpr int kModeWired = 0;
  static constexpr int kModeWireless = 1;
  static constexpr int kStateCharging = 1;

  CDeviceList(QWidget* parent, MDialog* owner, int id);

  // Adds a model; `image` is a picture path (absolute, or relative to the skin folder).
  void AddDevice(const std::string& name, int device_type, const std::string& image);
  // Removes every model.
  void ClearList();
  // Battery shell and level/charge images drawn on wireless cards.
  void SetBatteryBkg(const std::string& file);
  void SetBatteryIcon(const std::string& level_icon, const std::string& charge_icon);
  // Connection-mode icons: a 2-frame strip (wired, wireless).
  void SetDevModeImage(const std::string& file);
  // Label put before the firmware version.
  void SetVersionDesc(const std::string& text);

  // Online state (0 absent, 1 online, 2 receiver present but mouse off) of one mode.
  void SetDeviceState(int device_type, int mode, int state);
  // Sets every known mode of every model to `state` (0 forgets all modes).
  void SetAllDeviceState(int state);
  // Battery of a model: `state` kStateCharging or not, `level` percent.
  void SetDeviceBattery(int device_type, int state, int level);
  // Firmware release number of a model (0 hides the version line).
  void SetDeviceVersion(int device_type, int release);
  // The firmware release number shown for `device_type`; 0 when none.
  int GetDeviceVersion(int device_type) const;
  // Selects the present model of `device_type`, else the first present model, else none.
  void SetSelectDevice(int device_type);
  // The selected model's device type, or 0 when none is selected.
  int GetSelectDevice() const { return selected_type_; }
  // Selects the present model at `index` (in list order); -1 clears the selection.
  void SetSelectIndex(int index);
  // Device types of the present models, in list order.
  std::vector<int> PresentTypes() const;
  // The name of the model of `device_type`; empty when unknown.
  std::string DeviceName(int device_type) const;
  // Where the card of `device_type` is drawn; empty when it is not on the shown page.
  QRect DeviceRect(int device_type) const;
  // Chooses a present model as a click on its card does: selects it and notifies kClick
  // with its device type. Absent models do nothing.
  void ChooseDevice(int device_type);
  // Number of models with at least one mode present.
  int GetOnlineDevCount() const;
  // Shows the previous or next page of cards; false when there is none.
  bool PrevPage();
  bool NextPage();
  // The number of cards that fit side by side (at least 1).
  int CardsPerPage() const;

  // "1.23" for release 0x123: the hexadecimal text's first digit, a point, its last two.
  static std::string FormatRelease(int release);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Left and Right move the selection; Space and Enter open the selected model.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Device {
    std::string name;
    int type = 0;
    SkinImage picture;
    std::map<int, int> modes;
    int battery_level = -1;
    int battery_state = 0;
    int release = 0;
    bool IsPresent() const;
  };
  std::vector<const Device*> Present() const;
  // The page shown: page_, pulled back when models went away since it was chosen.
  int ShownPage() const;
  QRect CardRect(int slot) const;
  int DeviceAt(const QPoint& point) const;
  void PaintCard(QPainter& painter, const Device& device, const QRect& card);
  void PaintBattery(QPainter& painter, const Device& device, const QPoint& at);

  std::vector<Device> devices_;
  SkinImage battery_bkg_;
  SkinImage battery_level_;
  SkinImage battery_charge_;
  SkinImage mode_image_;
  std::string version_desc_;
  int selected_type_ = 0;
  int hovered_type_ = 0;
  int page_ = 0;
};

}  // namespace corvane::DUI
