// The consistency rig: each operation goes through the same page logic and jobs as the
// window; the check compares what the window was told (connection line, link flag, DPI
// selection) with the mouse and the store, and replays the store's view of the active
// profile onto a copy of the simulated mouse, reporting what that would change.
#include "consistency_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/text_ids.h"
#include "base/text.h"
#include "device/command_transaction.h"
#include "exchange/macro_file.h"
#include "exchange/profile_file.h"
#include "protocol/performance_commands.h"
#include "settings/button_lists.h"
#include "protocol/button_table_encoding.h"
#include "protocol/light_payload.h"
#include "protocol/macro_packets.h"
#include "sim/sim_firmware.h"

namespace corvane::test {
namespace {

// Long enough for the simulator's immediate replies, short enough that a lost one costs
// 50 reads of this instead of 50 x 30 ms.
constexpr int kQuickReadMs = 2;

class QuickReadHandle : public HidHandle {
 public:
  explicit QuickReadHandle(std::unique_ptr<HidHandle> inner) : inner_(std::move(inner)) {}
  int Write(const uint8_t* data, size_t length) override { return inner_->Write(data, length); }
  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    return inner_->ReadTimeout(data, length, std::min(timeout_ms, kQuickReadMs));
  }
  int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) override {
    return inner_->ReadOrWake(data, length, std::min(timeout_ms, kQuickReadMs), wake);
  }
  std::u16string ProductString() override { return inner_->ProductString(); }
  const std::string& Path() const override { return inner_->Path(); }

 private:
  std::unique_ptr<HidHandle> inner_;
};

class QuickReadBackend : public HidBackend {
 public:
  explicit QuickReadBackend(std::shared_ptr<HidBackend> inner) : inner_(std::move(inner)) {}
  std::vector<HidInterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
  std::unique_ptr<HidHandle> Open(const std::string& path) override {
    std::unique_ptr<HidHandle> handle = inner_->Open(path);
    if (!handle) return nullptr;
    return std::make_unique<QuickReadHandle>(std::move(handle));
  }

 private:
  std::shared_ptr<HidBackend> inner_;
};

enum Operation : int {
  kAssign,
  kResetButton,
  kResetAllButtons,
  kMacroNew,
  kMacroDelete,
  kMacroEdit,
  kMacroPlay,
  kProfileSwitch,
  kProfileRename,
  kExchange,
  kDpi,
  kOption,
  kLighting,
  kRestoreDefaults,
  kMouseEvent,
  kOperationCount,
};

std::string Hex(uint8_t byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

template <typename T, size_t N>
void DiffArray(std::string& out, const char* name, const std::array<T, N>& a,
               const std::array<T, N>& b) {
  for (size_t i = 0; i < N; ++i) {
    if (a[i] != b[i]) {
      out += std::string(" ") + name + "[" + std::to_string(i) + "] " + std::to_string(a[i]) +
             "->" + std::to_string(b[i]);
    }
  }
}

// The fields of the mouse that differ between two states, as "name old->new".
std::string DiffSettings(const SimSettings& a, const SimSettings& b) {
  std::string out;
  const auto field = [&out](const char* name, int x, int y) {
    if (x != y) out += std::string(" ") + name + " " + std::to_string(x) + "->" + std::to_string(y);
  };
  field("report_rate", a.report_rate, b.report_rate);
  field("dpi_count", a.dpi_count, b.dpi_count);
  field("dpi_index", a.dpi_index, b.dpi_index);
  DiffArray(out, "dpi_code", a.dpi_code, b.dpi_code);
  DiffArray(out, "dpi_color", a.dpi_color, b.dpi_color);
  field("liftoff_height", a.liftoff_height, b.liftoff_height);
  field("sensor_flag8", a.sensor_flag8, b.sensor_flag8);
  field("sensor_flag4", a.sensor_flag4, b.sensor_flag4);
  field("sleep_light", a.sleep_light, b.sleep_light);
  field("move_wakeup", a.move_wakeup, b.move_wakeup);
  field("move_closelight", a.move_closelight, b.move_closelight);
  field("button_respondtime", a.button_respondtime, b.button_respondtime);
  field("light_mode", a.light_mode, b.light_mode);
  field("light_level", a.light_level, b.light_level);
  DiffArray(out, "light_color", a.light_color, b.light_color);
  for (int i = 0; i < kSimButtons; ++i) {
    for (int k = 0; k < 3; ++k) {
      field(("button" + std::to_string(i)).c_str(), a.buttons[i][k], b.buttons[i][k]);
    }
  }
  for (const auto& [button, records] : b.macros) {
    auto it = a.macros.find(button);
    if (it == a.macros.end() || it->second != records) {
      out += " macro" + std::to_string(button) + " (" +
             std::to_string(it == a.macros.end() ? 0 : it->second.size() / 4) + "->" +
             std::to_string(records.size() / 4) + " records)";
    }
  }
  return out;
}

SimReport AsReceived(CommandReport command) {
  command.bytes[32] = CommandChecksum(command.bytes.data());
  SimReport report{};
  // The device sees bytes 1..64 of the output report, zero padded.
  std::memcpy(report.data(), command.bytes.data() + 1, command.length - 1);
  return report;
}

TextLookup IdTexts() {
  return [](int id) { return "T" + std::to_string(id); };
}

}  // namespace

ConsistencyRig::ConsistencyRig(SimMode mode) : mode_(mode) {
  EXPECT_TRUE(catalogue_.Load(ShippedDataDir()));
  std::string error;
  EXPECT_TRUE(SimIdentityFromCatalogue(catalogue_, "", identity_, error)) << error;
  model_ = std::make_unique<ModelContext>(ShippedDataDir(), home_.DataHome() / "Corvane Files",
                                          catalogue_, store_, state_,
                                          [] { return std::string("Profile"); });
  view_ = std::make_unique<WorkerView>(recorder_, *model_, values_);
  jobs_ = std::make_unique<DeviceJobs>(manager_, *model_, *view_, IdTexts());
  sim_ = std::make_shared<SimBackend>(identity_, mode);
  manager_.SetBackend(std::make_shared<QuickReadBackend>(sim_));
  manager_.SetRetryDelay(std::chrono::milliseconds(0));
  jobs_->SetPauseScale(0);
  values_.WriteDeviceType(identity_.device_type);
  state_.SetTips(true, true);
  jobs_->Run(WorkerTask::kStartup);
  buttons_ = std::make_unique<ButtonAssignment>(store_, queue_, state_, IdTexts());
  macros_ = std::make_unique<MacroEditor>(store_, clock_, IdTexts());
  macros_->SetStoredListener([this](int macro_id) {
    MarkButtonsPlayingMacro(store_, state_, queue_, store_.GetActiveProfile(), macro_id);
  });
  dpi_ = std::make_unique<DpiStages>(store_, state_, queue_);
  options_ = std::make_unique<PerformanceOptions>(store_, state_, queue_);
  lighting_ = std::make_unique<LightingModel>(store_, queue_, IdTexts());
}

int ConsistencyRig::OperationCount() { return kOperationCount; }

std::string ConsistencyRig::Describe(const Step& step) {
  static const char* const kNames[kOperationCount] = {
      "assign",         "reset button", "reset all buttons", "new macro", "delete macro",
      "edit macro",     "macro play",   "switch profile",    "rename profile",
      "export/import",  "dpi",          "option",            "lighting",  "restore defaults",
      "mouse event"};
  return std::string(kNames[step.op]) + "(" + std::to_string(step.a) + "," +
         std::to_string(step.b) + "," + std::to_string(step.c) + ")";
}

void ConsistencyRig::LoadPages() {
  const int profile = store_.GetActiveProfile();
  buttons_->Load(profile, model_->Definition().buttons);
  if (model_->HasLighting()) lighting_->Load(profile, model_->Definition().light_modes);
  dpi_->Load();
  macros_->Load();
}

void ConsistencyRig::Drain() {
  while (!queue_.tasks.empty()) {
    const WorkerTask task = queue_.tasks.front();
    queue_.tasks.erase(queue_.tasks.begin());
    jobs_->Run(task);
  }
  jobs_->TakeFailures();
}

void ConsistencyRig::Perform(const Step& step, bool drain) {
  recorder_.ClearCalls();
  LoadPages();
  switch (step.op) {
    case kAssign: Assign(step); break;
    case kResetButton:
      buttons_->SelectButton(static_cast<int>(step.a % model_->Definition().buttons.size()));
      buttons_->ResetButton();
      break;
    case kResetAllButtons: buttons_->ResetAllButtons(); break;
    case kMacroNew: macros_->NewMacro(); break;
    case kMacroDelete:
      if (macros_->Select(PickMacro(step.a))) macros_->DeleteSelected();
      break;
    case kMacroEdit: EditMacro(step); break;
    case kMacroPlay:
      if (macros_->Select(PickMacro(step.a))) {
        PlaySettings play = *macros_->ShownPlaySettings();
        play.play_choice = static_cast<int>(step.b % 3);
        play.count_field = std::to_string(1 + step.c % 5);
        macros_->SavePlaySettings(play, model_->DeviceType());
      }
      break;
    case kProfileSwitch: {
      const std::vector<ProfileRecord> profiles = store_.GetProfiles();
      store_.SetActiveProfile(profiles[step.a % profiles.size()].profile);
      queue_.Post(WorkerTask::kUploadProfile);
      break;
    }
    case kProfileRename:
      store_.RenameProfile(store_.GetActiveProfile(), "Renamed " + std::to_string(step.a % 9));
      break;
    case kExchange: ExchangeFiles(step); break;
    case kDpi: ChangeDpi(step); break;
    case kOption: ChangeOption(step); break;
    case kLighting: ChangeLighting(step); break;
    case kRestoreDefaults:
      if (state_.Link()) queue_.Post(WorkerTask::kRestoreDefaults);  // as the window allows
      break;
    case kMouseEvent: MouseEvent(step); break;
    default: break;
  }
  if (drain) Drain();
}

int ConsistencyRig::PickMacro(unsigned r) const {
  const std::vector<MacroRecord> macros = store_.GetMacros();
  return macros.empty() ? 0 : macros[r % macros.size()].macro_id;
}

void ConsistencyRig::Assign(const Step& step) {
  const std::vector<ButtonDefinition>& buttons = model_->Definition().buttons;
  buttons_->SelectButton(buttons[step.a % buttons.size()].key_value);
  const int family = kFirstFamily + static_cast<int>(step.b % kLastFamily);
  switch (family) {
    case kFamilyKeyboard: {
      KeyboardModifiers mods;
      mods.shift = step.c & 1;
      mods.ctrl = step.c & 2;
      const int vk = 'A' + static_cast<int>(step.c % 26);
      buttons_->ApplyKeyboard(vk, std::string(1, static_cast<char>(vk)), mods);
      break;
    }
    case kFamilyMacro:
      if (const int id = PickMacro(step.c); id > 0) buttons_->ChooseMacro(id, "");
      break;
    case kFamilyRapidFire:
      buttons_->ApplyRapidFire(static_cast<int>(step.c % 300), static_cast<int>(step.c % 7), "rf");
      break;
    case kFamilyDisabled: buttons_->Disable(); break;
    default: {
      const auto items = FamilyListItems(family);
      if (items.empty()) break;
      const FamilyListItem& item = items[step.c % items.size()];
      buttons_->ChooseFamilyItem(family, item.code, item.text ? item.text : "item");
      break;
    }
  }
}

void ConsistencyRig::EditMacro(const Step& step) {
  if (!macros_->Select(PickMacro(step.a))) return;
  const int size = macros_->Events().Size();
  const int at = size == 0 ? -1 : static_cast<int>(step.c % size);
  const int vk = 'A' + static_cast<int>(step.c % 26);
  switch (step.b % 7) {
    case 0: macros_->InsertKey(at, vk, std::string(1, static_cast<char>(vk))); break;
    case 1: macros_->InsertClick(at, MouseChoice::kRight); break;
    case 2: macros_->InsertDelay(at); break;
    case 3: macros_->EditKey(at, vk, std::string(1, static_cast<char>(vk))); break;
    case 4: macros_->DeleteEvent(at); break;
    case 5: macros_->MoveUp(at); break;
    default: macros_->EditDelay(at, static_cast<int>(step.c % 500)); break;
  }
}

void ConsistencyRig::ChangeDpi(const Step& step) {
  const int stage = static_cast<int>(step.b % 6);
  switch (step.a % 6) {
    case 0: dpi_->ChangeCount(1 + static_cast<int>(step.c % 6)); break;
    case 1: dpi_->SelectStage(stage); break;
    case 2: {
      // Now and then what a person types that is no number: an emptied field, "1,600".
      const std::string number = std::to_string(100 + step.c % 20000);
      const std::string typed = step.c % 9 == 0   ? ""
                                : step.c % 9 == 1 ? number.substr(0, 1) + "," + number.substr(1)
                                                  : number;
      dpi_->TypeValue(stage, typed);
      break;
    }
    case 3: dpi_->SetColour(stage, static_cast<int>(1 + step.c % 0xFFFFFF)); break;
    case 4: dpi_->Reset(); break;
    default: dpi_->Apply(); break;
  }
}

void ConsistencyRig::ChangeOption(const Step& step) {
  const PerformanceView view = options_->Load();
  switch (step.a % 6) {
    case 0:
      if (!view.rates.empty()) options_->SelectReportRate(static_cast<int>(step.b % view.rates.size()));
      break;
    case 1: options_->SetLiftoff(step.b & 1); break;
    case 2: options_->SetSensorSwitches(step.b & 1, step.b & 2, step.b & 4); break;
    case 3: {
      const auto& items = SleepDelayItems();
      options_->SetSleepDelay(items[step.b % items.size()].data);
      break;
    }
    case 4: options_->SetMoveWakeup(step.b & 1); break;
    default: options_->ConfirmResponseTime(step.b % 9 == 0 ? "" : std::to_string(step.b % 40)); break;
  }
}

void ConsistencyRig::ChangeLighting(const Step& step) {
  if (!model_->HasLighting()) return;
  const std::vector<LightRecord> rows = store_.GetLights(store_.GetActiveProfile());
  switch (step.a % 5) {
    case 0:
      if (!rows.empty()) lighting_->ChooseMode(rows[step.b % rows.size()].mode);
      break;
    case 1: lighting_->SetBrightness(static_cast<int>(step.b % 5)); break;
    case 2: lighting_->SetSpeed(static_cast<int>(step.b % 5)); break;
    case 3: lighting_->ApplyColour(static_cast<int>(step.c % 0x1000000), static_cast<int>(step.b % 7)); break;
    default: lighting_->Reset(); break;
  }
}

void ConsistencyRig::ExchangeFiles(const Step& step) {
  const std::filesystem::path file = home_.Root() / ("exchange" + std::to_string(++files_) + ".xml");
  if (step.a % 2 == 0) {
    // A profile exported from another profile and imported over the active one.
    const std::vector<ProfileRecord> profiles = store_.GetProfiles();
    const int from = profiles[step.b % profiles.size()].profile;
    if (ExportProfile(store_, from, model_->HasLighting(), file, IdTexts()).ok()) {
      // As the window imports: stage values fitted to the sensor the mouse reported.
      ProfileImportTarget target;
      target.has_lighting = model_->HasLighting();
      target.sensor = state_.Sensor();
      for (const ButtonDefinition& button : model_->Definition().buttons) {
        target.buttons.push_back(button.key_value);
      }
      ImportProfile(store_, store_.GetActiveProfile(), target, file, queue_);
    }
  } else if (const int id = PickMacro(step.b); id > 0) {
    if (ExportMacro(store_, id, file, IdTexts()).ok()) ImportMacro(store_, file);
  }
  std::filesystem::remove(file);
}

void ConsistencyRig::MouseEvent(const Step& step) {
  const SimLink link = mode_ == SimMode::kWired ? SimLink::kWired : SimLink::kReceiver;
  const bool on = sim_->State().mouse_on;
  switch (step.a % 6) {
    case 0:
      if (link == SimLink::kReceiver) {
        sim_->SetMouseOn(!on);
        jobs_->PollNotification();
      }
      break;
    case 1:
      if (on) {  // a switched-off mouse has no button to press
        sim_->PressDpiButton();
        jobs_->PollNotification();
      }
      break;
    case 2: {
      SimFaults faults = sim_->Faults(link);
      faults.drop_replies = 1;  // the next command is carried out, its reply lost
      sim_->SetFaults(link, faults);
      break;
    }
    case 4:
      // Plugged in while refusing even to say which mouse it is; then it answers.
      if (on) {
        sim_->Unplug(link);
        jobs_->Run(WorkerTask::kRemoval);
        SimFaults faults = sim_->Faults(link);
        faults.forced_status = 0x01;
        sim_->SetFaults(link, faults);
        sim_->Replug(link);
        jobs_->Run(WorkerTask::kArrival);
        sim_->SetFaults(link, SimFaults{});
        jobs_->NameRefusingDevices();
      }
      break;
    case 5:
      Restart();
      break;
    default: {
      // Everything queued so far is refused.
      SimFaults faults = sim_->Faults(link);
      faults.forced_status = 0x05;
      sim_->SetFaults(link, faults);
      queue_.Post(WorkerTask::kReportRate);
      Drain();
      sim_->SetFaults(link, SimFaults{});
      break;
    }
  }
}

void ConsistencyRig::Restart() {
  // The program ends right after a change the mouse refused and starts again: what the
  // mouse still lacks is carried over, and the start-up read-back must not put the mouse's
  // values over it.
  const SimLink link = mode_ == SimMode::kWired ? SimLink::kWired : SimLink::kReceiver;
  SimFaults faults = sim_->Faults(link);
  faults.forced_status = 0x05;
  sim_->SetFaults(link, faults);
  const int rate = DecimalToInt(store_.GetConfigValue(store_.GetActiveProfile(), "report_rate")
                                    .value_or("1"));
  for (const char* key : {"report_rate", "report_rate_wireless"}) {
    store_.SetConfigValue(store_.GetActiveProfile(), key, rate == 1 ? "2" : "1");
  }
  queue_.Post(WorkerTask::kReportRate);
  Drain();
  sim_->SetFaults(link, SimFaults{});
  const std::string owed = jobs_->OwedText();
  const std::vector<CommandReport> before = ProfileCommands();
  jobs_ = std::make_unique<DeviceJobs>(manager_, *model_, *view_, IdTexts());
  jobs_->SetPauseScale(0);
  jobs_->OweAgain(owed);
  jobs_->Run(WorkerTask::kStartup);
  const std::vector<CommandReport> after = ProfileCommands();
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
    const std::optional<WorkerTask> task = RestoringTask(before[i].bytes[1]);
    const std::string task_text = task ? std::to_string(static_cast<int>(*task)) : "";
    const bool was_owed = task && ("," + owed + ",").find("," + task_text + ",") != std::string::npos;
    if (was_owed && before[i].bytes != after[i].bytes) {
      restart_loss_ = "the restart read the mouse's command " + Hex(before[i].bytes[1]) +
                      " values over the store's, which the mouse still lacked";
    }
  }
}

void ConsistencyRig::Settle() {
  recorder_.ClearCalls();
  const SimLink link = mode_ == SimMode::kWired ? SimLink::kWired : SimLink::kReceiver;
  sim_->SetFaults(link, SimFaults{});
  if (!sim_->State().mouse_on) {
    sim_->SetMouseOn(true);
    jobs_->PollNotification();
  }
  queue_.Post(WorkerTask::kReportRate);  // a clean job: what is owed follows it
  Drain();
}

bool ConsistencyRig::Settled() const {
  return queue_.tasks.empty() && !jobs_->OutOfStep() && sim_->State().mouse_on;
}

std::vector<CommandReport> ConsistencyRig::ProfileCommands() {
  std::vector<CommandReport> commands;
  const int profile = store_.GetActiveProfile();
  const std::vector<KeyAssignRecord> rows = store_.GetKeyAssigns(profile);
  const ButtonTable table = BuildButtonTable(rows, store_.GetMacros());
  for (const KeyAssignRecord& row : rows) {
    // Only a button whose entry plays a macro makes the mouse use the macro it holds.
    const bool plays = row.fn_layer == 0 && row.macro_type == kFamilyMacro &&
                       row.key_code < kSimButtons && table[3 * row.key_code] == 0x90;
    std::vector<CommandReport> packets;
    if (plays && MacroPackets(MacroBlob(row.key_code, store_.GetMacroEvents(row.macro_value)),
                              packets)) {
      commands.insert(commands.end(), packets.begin(), packets.end());
    }
  }
  commands.push_back(ButtonCommand(table));
  if (model_->HasLighting()) {
    if (auto light = store_.GetLight(profile, store_.GetActiveLight(profile))) {
      commands.push_back(LightingCommand(*light));
    }
  }
  ConfigReader config = [this, profile](const std::string& key) {
    return DecimalToInt(store_.GetConfigValue(profile, key).value_or(""));
  };
  commands.push_back(BuildDpiStagesCommand(config, state_.Sensor()));
  commands.push_back(BuildDpiColoursCommand(config));
  commands.push_back(BuildReportRateCommand(config));
  commands.push_back(BuildSensorCommand(config));
  commands.push_back(BuildPowerCommand(config));
  return commands;
}

std::string ConsistencyRig::WindowDisagreement() {
  // The connection line and link flag say what the mouse is: on through the receiver or
  // over the cable, or off once the receiver said so.
  const bool on = sim_->State().mouse_on || mode_ == SimMode::kWired;
  const int expected_text = !on                   ? kTextNoDevice
                            : jobs_->OutOfStep()    ? kTextNotInStep
                            : mode_ == SimMode::kWired ? kTextWired
                                                       : kTextWireless;
  if (recorder_.ConnectionText() != expected_text) {
    return "the connection line shows text " + std::to_string(recorder_.ConnectionText()) +
           " for a mouse that is " + (on ? "on" : "off");
  }
  if (recorder_.LinkFlag() != on || state_.Link() != on) {
    return std::string("the window's link flag says ") + (on ? "off" : "on");
  }
  // The home page lists the mouse while it answers, and says it is not there otherwise.
  if (recorder_.DeviceListShown() != on) {
    return std::string("the home page ") + (on ? "hides" : "shows") + " the device list";
  }
  if (!on || !queue_.tasks.empty()) return {};
  // The DPI page's stage count and selection are what the store holds.
  const DpiPageView shown = dpi_->View();
  if (state_.CachedCount() != shown.count || state_.CachedIndex() != shown.index) {
    return "the DPI page shows stage " + std::to_string(state_.CachedIndex()) + " of " +
           std::to_string(state_.CachedCount()) + ", the store " + std::to_string(shown.index) +
           " of " + std::to_string(shown.count);
  }
  return {};
}

std::string ConsistencyRig::Disagreement() {
  if (!restart_loss_.empty()) return restart_loss_;
  if (std::string window = WindowDisagreement(); !window.empty()) return window;
  if (!Settled()) return {};
  SimState mouse = sim_->State();
  SimFirmware firmware(mouse, identity_);
  for (const CommandReport& command : ProfileCommands()) {
    const SimSettings before = mouse.settings;
    const SimReport reply = firmware.HandleCommand(SimLink::kWired, AsReceived(command));
    if (reply[1] != Byte(ReplyStatus::kAccepted)) {
      return "the mouse refuses the store's command " + Hex(command.bytes[1]) + " (status " +
             Hex(reply[1]) + ")";
    }
    if (mouse.settings != before) {
      return "the store's command " + Hex(command.bytes[1]) +
             " would change the mouse:" + DiffSettings(before, mouse.settings);
    }
  }
  return {};
}

}  // namespace corvane::test
