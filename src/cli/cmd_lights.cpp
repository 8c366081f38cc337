// Lighting of the active profile: lights lists the mode rows (made as the lighting page
// makes them on first use) and light MODE [brightness B] [speed S] [colour #RRGGBB]
// changes them as the page does, then runs the lighting job.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "settings/lighting_model.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

constexpr int kLightMaxSpeed = 15;  // four bits of the level byte
constexpr size_t kColourTextLength = 7;  // "#RRGGBB"

// Reads "#RRGGBB" into the stored colour form (red in the low byte). False when malformed.
bool ParseColour(const std::string& text, int& colour) {
  if (text.size() != kColourTextLength || text[0] != '#') return false;
  int channels[3] = {0, 0, 0};
  for (size_t i = 1; i < text.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    int digit = 0;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return false;
    channels[(i - 1) / 2] = channels[(i - 1) / 2] * 16 + digit;
  }
  colour = ColourFromChannels(channels[0], channels[1], channels[2]);
  return true;
}

// The lighting page over an open session, loaded with the active profile. Refuses models
// without lighting, as the window shows no lighting page for them.
struct LightingPage {
  explicit LightingPage(CliDeviceSession& cli)
      : model(cli.Session().Store(), tasks,
              [&cli](int id) { return cli.Session().Texts().Text(id); }) {}
  // Loads the rows. Returns them, with `error` set when the model has no lighting.
  std::vector<LightRecord> Load(CliDeviceSession& cli, std::string& error) {
    if (!cli.Session().Model().HasLighting()) {
      error = "the selected model has no lighting";
      return {};
    }
    return model.Load(cli.ActiveProfile(), cli.Session().Model().Definition().light_modes);
  }
  CollectedTasks tasks;
  LightingModel model;
};

// The listing names each mode as the window's effect list does, in the session's language;
// the JSON keeps the stored row's name.
void PrintLights(const std::vector<LightRecord>& rows, bool as_json, const TextLookup& texts) {
  JsonWriter json;
  json.BeginArray();
  for (const LightRecord& r : rows) {
    const int colours[kLightSlots] = {r.color_value1, r.color_value2, r.color_value3,
                                      r.color_value4, r.color_value5, r.color_value6,
                                      r.color_value7};
    if (!as_json) {
      const std::string shown = texts(r.reserved);
      std::printf("%c %d %s brightness %d speed %d colour %d\n", r.status == 1 ? '*' : ' ',
                  r.mode, (shown.empty() ? r.name : shown).c_str(), r.brightness, r.speed,
                  r.color_value1);
      continue;
    }
    json.BeginObject().IntMember("mode", r.mode).StringMember("name", r.name)
        .IntMember("brightness", r.brightness).IntMember("speed", r.speed)
        .IntMember("direction", r.direction).IntMember("colorful", r.colorful)
        .IntMember("colorindex", r.colorindex);
    json.Key("colors").BeginArray();
    for (int c : colours) json.Int(c);
    json.EndArray().IntMember("config_func", r.config_func).IntMember("reserved", r.reserved)
        .IntMember("status", r.status).EndObject();
  }
  json.EndArray();
  if (as_json) std::printf("%s\n", json.Text().c_str());
}

int RunLights(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: lights");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  LightingPage page(cli);
  const std::vector<LightRecord> rows = page.Load(cli, error);
  if (!error.empty()) return CliFail(error);
  PrintLights(rows, options.json, [&cli](int id) { return cli.Session().Texts().Text(id); });
  return 0;
}

// What a light command asks for; -1 where an option was not given.
struct LightRequest {
  int mode = 0;
  int brightness = -1;
  int speed = -1;
  int colour = -1;
};

// Parses MODE and the option pairs. Returns the error, empty on success.
std::string ParseLightRequest(const std::vector<std::string>& args, LightRequest& request) {
  if (args.empty() || args.size() % 2 == 0 || !ParseCliNumber(args[0], request.mode)) {
    return "usage: light MODE [brightness B] [speed S] [colour #RRGGBB]";
  }
  for (size_t i = 1; i + 1 < args.size(); i += 2) {
    const std::string& name = args[i];
    const std::string& text = args[i + 1];
    if (name == "brightness") {
      if (!ParseCliNumber(text, request.brightness) || request.brightness < 0 ||
          request.brightness > kLightMaxBrightness) {
        return "brightness must be 0 to " + IntToDecimal(kLightMaxBrightness);
      }
    } else if (name == "speed") {
      if (!ParseCliNumber(text, request.speed) || request.speed < 0 || request.speed > kLightMaxSpeed) {
        return "speed must be 0 to " + IntToDecimal(kLightMaxSpeed);
      }
    } else if (name == "colour" || name == "color") {
      if (!ParseColour(text, request.colour)) return "colour must be #RRGGBB, not " + text;
    } else {
      return "unknown light option " + name + " (brightness, speed, colour)";
    }
  }
  return "";
}

int RunLight(const CliOptions& options, const std::vector<std::string>& args) {
  LightRequest request;
  std::string error = ParseLightRequest(args, request);
  if (!error.empty()) return CliFail(error);
  CliDeviceSession cli;
  if (!cli.Open(options, error)) return CliFail(error);
  LightingPage page(cli);
  page.Load(cli, error);
  if (!error.empty()) return CliFail(error);
  const std::optional<LightView> view = page.model.ChooseMode(request.mode);
  if (!view) return StoreFail(cli.Session().Store(), "no lighting mode " + args[0]);
  if (request.brightness >= 0 && !view->show_brightness) {
    return CliFail("lighting mode " + args[0] + " has no brightness");
  }
  if (request.speed >= 0 && !view->show_speed) return CliFail("lighting mode " + args[0] + " has no speed");
  bool stored = true;
  if (request.brightness >= 0) stored = page.model.SetBrightness(request.brightness) && stored;
  if (request.speed >= 0) stored = page.model.SetSpeed(request.speed) && stored;
  if (request.colour >= 0) stored = page.model.ApplyColour(request.colour, 0) && stored;
  const int sent = page.tasks.RunAll(cli.Session().Jobs());
  return stored ? sent : StoreFail(cli.Session().Store(), "could not store the lighting");
}

const CliRegistrar kLights("lights", "lights", RunLights);
const CliRegistrar kLight("light", "light MODE [brightness B] [speed S] [colour #RRGGBB]", RunLight);

}  // namespace
}  // namespace corvane::cli
