// In-memory forms of the settings tables' rows, one field per column. Text is UTF-8.
// Plain data only; SettingsDatabase reads and writes them.
#pragma once

#include <string>

namespace corvane {

// A row of t_profile_data.
struct ProfileRecord {
  int profile = 0;  // row id
  std::string name;
  std::string app;  // linked applications, ';'-separated (empty: none)
  int type = 0;     // always written 0
  int status = 0;   // 1 for the active profile
};

// A row of t_key_macro_data: what one button of one profile does.
struct KeyAssignRecord {
  int key_id = 0;  // row id
  int profile = 0;
  int fn_layer = 0;
  int key_code = 0;  // the button
  int layout_value = 0;
  std::string layout_desc;
  int macro_type = 0;  // function family
  int macro_value = 0;
  int macro_value2 = 0;
  int macro_value3 = 0;
  std::string macro_desc;  // text shown for the assignment
};

// A row of t_macro_data; macros belong to the device, not to a profile.
struct MacroRecord {
  int macro_id = 0;  // row id
  std::string name;
  int play_type = 0;
  int play_times = 1;
  int delay_type = 1;
  int delay_time = 0;
};

// A row of t_macrorecord: one event of a macro.
struct MacroEventRecord {
  int record_id = 0;  // row id
  int macro_id = 0;
  int type = 0;          // 1 delay, 2/3 key down/up, 4/5 mouse button down/up
  int record_index = 0;  // position in the macro, from 0
  int value = 0;
  int delay_time = 0;
  std::string desc;
};

// A row of t_light_data: one lighting mode of one profile.
struct LightRecord {
  int light_id = 0;  // row id
  int profile = 0;
  std::string name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value1 = 0;
  int color_value2 = 0;
  int color_value3 = 0;
  int color_value4 = 0;
  int color_value5 = 0;
  int color_value6 = 0;
  int color_value7 = 0;
  int config_func = 0;
  int reserved = 0;
  int status = 0;  // 1 for the profile's active mode
};

}  // namespace corvane
