// Macros of the selected model: macros, macro new NAME, macro delete ID, macro events ID
// FILE and macro play ID TYPE [TIMES]. Changes go through the macro page's logic; nothing
// is sent here, a macro reaches the mouse when a button is given it.
#include <cstdio>
#include <map>

#include "app/text_ids.h"
#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "cli/macro_events_file.h"
#include "settings/button_assignment.h"
#include "settings/macro_editor.h"
#include "protocol/macro_packets.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

// A macro clock for edits that never take the time: file events get their own stamps.
class FixedClock : public MacroClock {
 public:
  uint32_t NowMs() override { return 0; }
};

// The macro page over an open session. An edit of a macro that a button of the active
// profile plays collects the button job, which SendEdits then runs.
struct MacroPage {
  explicit MacroPage(CliDeviceSession& cli)
      : cli(cli),
        editor(cli.Session().Store(), clock,
               [&cli](int id) { return cli.Session().Texts().Text(id); }) {
    editor.Load();
    editor.SetStoredListener([this](int macro_id) {
      MarkButtonsPlayingMacro(this->cli.Session().Store(), this->cli.Session().State(), tasks,
                              this->cli.ActiveProfile(), macro_id);
    });
  }
  int SendEdits() { return tasks.RunAll(cli.Session().Jobs()); }

  CliDeviceSession& cli;
  FixedClock clock;
  CollectedTasks tasks;
  MacroEditor editor;
};

void PrintMacros(SettingsDatabase& store, bool as_json) {
  JsonWriter json;
  json.BeginArray();
  for (const MacroRecord& m : store.GetMacros()) {
    const std::vector<MacroEventRecord> events = store.GetMacroEvents(m.macro_id);
    if (!as_json) {
      std::printf("%d %s (%zu events)\n", m.macro_id, m.name.c_str(), events.size());
      continue;
    }
    json.BeginObject().IntMember("id", m.macro_id).StringMember("name", m.name)
        .IntMember("play_type", m.play_type).IntMember("play_times", m.play_times)
        .IntMember("delay_type", m.delay_type).IntMember("delay_time", m.delay_time);
    json.Key("events").BeginArray();
    for (const MacroEventRecord& e : events) {
      json.BeginObject().IntMember("index", e.record_index).IntMember("type", e.type)
          .IntMember("value", e.value).StringMember("desc", e.desc)
          .IntMember("timestamp", e.delay_time).EndObject();
    }
    json.EndArray().EndObject();
  }
  json.EndArray();
  if (as_json) std::printf("%s\n", json.Text().c_str());
}

int RunMacros(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: macros");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  PrintMacros(cli.Session().Store(), options.json);
  return 0;
}

int RunMacroNew(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1) return CliFail("usage: macro new NAME");
  if (args[0].empty()) return CliFail("a macro name cannot be empty");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  MacroPage page(cli);
  const int id = page.editor.NewMacro();
  if (id <= 0) return StoreFail(cli.Session().Store(), "could not store the macro");
  page.editor.Rename(id, args[0], cli.ActiveProfile());
  std::printf("%d\n", id);
  return 0;
}

int RunMacroDelete(const CliOptions& options, const std::vector<std::string>& args) {
  int id = 0;
  if (args.size() != 1 || !ParseCliNumber(args[0], id)) return CliFail("usage: macro delete ID");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  MacroPage page(cli);
  if (!page.editor.Select(id)) return StoreFail(cli.Session().Store(), "no macro " + args[0]);
  if (!page.editor.DeleteSelected()) return StoreFail(cli.Session().Store(), "could not delete macro " + args[0]);
  return 0;
}

int RunMacroEvents(const CliOptions& options, const std::vector<std::string>& args) {
  int id = 0;
  if (args.size() != 2 || !ParseCliNumber(args[0], id)) return CliFail("usage: macro events ID FILE");
  MacroEventList events;
  const std::string problem = ReadMacroEventsFile(args[1], events);
  if (!problem.empty()) return CliFail(problem);
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  if (!MacroFitsPackets(events.Items())) {
    return CliFail(cli.Session().Texts().Text(kTextMacroTooLong));
  }
  MacroPage page(cli);
  if (!page.editor.Select(id)) return StoreFail(cli.Session().Store(), "no macro " + args[0]);
  page.editor.MutableEvents() = events;
  if (!page.editor.SaveEvents()) return StoreFail(cli.Session().Store(), "could not store the events of macro " + args[0]);
  return page.SendEdits();
}

// play TYPE: 0 repeats TIMES times, 1 and 2 are the page's other two play modes.
int RunMacroPlay(const CliOptions& options, const std::vector<std::string>& args) {
  const char* usage = "usage: macro play ID TYPE [TIMES]  (TYPE 0 repeats TIMES times; 1, 2)";
  int id = 0, type = 0, times = 1;
  if (args.size() < 2 || args.size() > 3 || !ParseCliNumber(args[0], id) ||
      !ParseCliNumber(args[1], type) || (args.size() == 3 && !ParseCliNumber(args[2], times))) {
    return CliFail(usage);
  }
  if (type < 0 || type > 2) return CliFail("play type " + args[1] + " is not 0, 1 or 2");
  if (times < 1) return CliFail("a macro plays at least once");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  MacroPage page(cli);
  if (!page.editor.Select(id)) return StoreFail(cli.Session().Store(), "no macro " + args[0]);
  PlaySettings settings = *page.editor.ShownPlaySettings();
  constexpr int kCountChoice = 2;
  settings.play_choice = type == 0 ? kCountChoice : type - 1;
  settings.count_field = IntToDecimal(times);
  if (page.editor.SavePlaySettings(settings, cli.Session().Model().DeviceType()) !=
      MacroEditResult::kDone) {
    return StoreFail(cli.Session().Store(), "could not store the play settings of macro " + args[0]);
  }
  if (type == 0 && settings.count_field != IntToDecimal(times)) {
    std::fprintf(stderr, "corvane-cli: play count limited to %s\n", settings.count_field.c_str());
  }
  return page.SendEdits();
}

const CliRegistrar kMacros("macros", "macros", RunMacros);
const CliRegistrar kMacroNew("macro new", "macro new NAME", RunMacroNew);
const CliRegistrar kMacroDelete("macro delete", "macro delete ID", RunMacroDelete);
const CliRegistrar kMacroEvents("macro events", "macro events ID FILE", RunMacroEvents);
const CliRegistrar kMacroPlay("macro play", "macro play ID TYPE [TIMES]", RunMacroPlay);

}  // namespace
}  // namespace corvane::cli
