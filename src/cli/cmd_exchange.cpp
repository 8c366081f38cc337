// Profile and macro files from the command line: profile export FILE | import FILE,
// macro export ID FILE | export-all FILE | import FILE | import-all FILE. A profile
// import uploads the profile at once, as the window's worker would after the import.
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "exchange/macro_file.h"
#include "exchange/profile_file.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

// Opens the session; on failure prints the error. Returns whether it is usable.
bool OpenSession(const CliOptions& options, CliDeviceSession& cli, int& exit_code) {
  std::string error;
  if (!cli.Open(options, error)) {
    exit_code = CliFail(error);
    return false;
  }
  return true;
}

// The session's language texts, for the names exports show as the window does.
TextLookup SessionTexts(DeviceSession& session) {
  return [&session](int id) { return session.Texts().Text(id); };
}

// Prints the new macro ids one per line ("<id> <name>"). Returns 0.
int PrintMacros(SettingsDatabase& store, const ExchangeResult& result) {
  for (int id : result.macro_ids) {
    std::printf("%d %s\n", id, store.GetMacro(id).value_or(MacroRecord{}).name.c_str());
  }
  return 0;
}

int RunProfileExport(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1) return CliFail("usage: profile export FILE");
  CliDeviceSession cli;
  int code = 0;
  if (!OpenSession(options, cli, code)) return code;
  DeviceSession& session = cli.Session();
  const ExchangeResult result =
      ExportProfile(session.Store(), cli.ActiveProfile(), session.Model().HasLighting(), args[0],
                    SessionTexts(session));
  return result.ok() ? 0 : CliFail(result.message);
}

int RunProfileImport(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1) return CliFail("usage: profile import FILE");
  CliDeviceSession cli;
  int code = 0;
  if (!OpenSession(options, cli, code)) return code;
  DeviceSession& session = cli.Session();
  CollectedTasks posted;
  ProfileImportTarget target;
  target.has_lighting = session.Model().HasLighting();
  target.sensor = session.State().Sensor();
  for (const ButtonDefinition& button : session.Model().Definition().buttons) {
    target.buttons.push_back(button.key_value);
  }
  const ExchangeResult result =
      ImportProfile(session.Store(), cli.ActiveProfile(), target, args[0], posted);
  if (!result.ok()) return CliFail(result.message);
  std::printf("%s\n", result.profile_name.c_str());
  return posted.RunAll(session.Jobs());
}

int RunMacroExport(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2) return CliFail("usage: macro export ID FILE");
  int id = 0;
  if (!ParseCliNumber(args[0], id) || id <= 0) return CliFail("not a macro id: " + args[0]);
  CliDeviceSession cli;
  int code = 0;
  if (!OpenSession(options, cli, code)) return code;
  const ExchangeResult result =
      ExportMacro(cli.Session().Store(), id, args[1], SessionTexts(cli.Session()));
  return result.ok() ? 0 : CliFail(result.message);
}

int RunMacroExportAll(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1) return CliFail("usage: macro export-all FILE");
  CliDeviceSession cli;
  int code = 0;
  if (!OpenSession(options, cli, code)) return code;
  const ExchangeResult result = ExportAllMacros(cli.Session().Store(), args[0]);
  return result.ok() ? 0 : CliFail(result.message);
}

int RunMacroImport(const CliOptions& options, const std::vector<std::string>& args, bool all) {
  if (args.size() != 1)
    return CliFail(all ? "usage: macro import-all FILE" : "usage: macro import FILE");
  CliDeviceSession cli;
  int code = 0;
  if (!OpenSession(options, cli, code)) return code;
  SettingsDatabase& store = cli.Session().Store();
  const ExchangeResult result = all ? ImportAllMacros(store, args[0]) : ImportMacro(store, args[0]);
  return result.ok() ? PrintMacros(store, result) : CliFail(result.message);
}

const CliRegistrar kProfileExport("profile export", "profile export FILE", RunProfileExport);
const CliRegistrar kProfileImport("profile import", "profile import FILE", RunProfileImport);
const CliRegistrar kMacroExport("macro export", "macro export ID FILE", RunMacroExport);
const CliRegistrar kMacroExportAll("macro export-all", "macro export-all FILE", RunMacroExportAll);
const CliRegistrar kMacroImport("macro import", "macro import FILE",
                                [](const CliOptions& o, const std::vector<std::string>& a) {
                                  return RunMacroImport(o, a, false);
                                });
const CliRegistrar kMacroImportAll("macro import-all", "macro import-all FILE",
                                   [](const CliOptions& o, const std::vector<std::string>& a) {
                                     return RunMacroImport(o, a, true);
                                   });

}  // namespace
}  // namespace corvane::cli
