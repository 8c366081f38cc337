// Reading and writing the simulator's key=value state file. Numbers are decimal (or
// 0x-prefixed hexadecimal); byte strings are upper-case hexadecimal without spaces.
#include "sim/sim_state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

constexpr const char* kHeader = "# Corvane simulated device state (see docs/simulator.md)\n";
constexpr uint32_t kMaxByte = 0xFF;
constexpr uint32_t kMaxWord = 0xFFFF;
constexpr uint32_t kMaxColor = 0xFFFFFF;
constexpr size_t kMaxBlobBytes = 16 * 1024 * 1024;
// A state file holds a few blobs at most; anything far larger is not one.
constexpr size_t kMaxFileBytes = 8 * kMaxBlobBytes;

struct Field {
  std::function<std::string()> get;
  std::function<bool(std::string_view)> set;
};

bool ParseNumber(std::string_view text, uint32_t max, uint32_t& out) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    if (digit < 0) return false;
    value = value * base + digit;
  }
  if (value > max) return false;
  out = static_cast<uint32_t>(value);
  return true;
}

std::string ToHex(const uint8_t* data, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 0x0F];
  }
  return out;
}

bool FromHex(std::string_view text, std::vector<uint8_t>& out) {
  if (text.size() % 2 != 0 || text.size() / 2 > kMaxBlobBytes) return false;
  out.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    uint32_t byte = 0;
    if (!ParseNumber("0x" + std::string(text.substr(i, 2)), kMaxByte, byte)) return false;
    out.push_back(static_cast<uint8_t>(byte));
  }
  return true;
}

template <typename T>
Field NumberField(T& field, uint32_t max, bool hex = false) {
  return {[&field, hex] {
            if (!hex) return std::to_string(field);
            char text[16];
            std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(field));
            return std::string(text);
          },
          [&field, max](std::string_view text) {
            uint32_t value = 0;
            if (!ParseNumber(text, max, value)) return false;
            field = static_cast<T>(value);
            return true;
          }};
}

Field BoolField(bool& field) {
  return {[&field] { return std::string(field ? "1" : "0"); },
          [&field](std::string_view text) {
            if (text != "0" && text != "1") return false;
            field = text == "1";
            return true;
          }};
}

Field BlobField(std::vector<uint8_t>& field) {
  return {[&field] { return ToHex(field.data(), field.size()); },
          [&field](std::string_view text) { return FromHex(text, field); }};
}

Field ButtonField(SimButtonEntry& entry) {
  return {[&entry] { return ToHex(entry.data(), entry.size()); },
          [&entry](std::string_view text) {
            std::vector<uint8_t> bytes;
            if (!FromHex(text, bytes) || bytes.size() != entry.size()) return false;
            std::copy(bytes.begin(), bytes.end(), entry.begin());
            return true;
          }};
}

// Every fixed key of the file, in file order, bound to `state`.
std::vector<std::pair<std::string, Field>> Fields(SimState& state) {
  SimSettings& s = state.settings;
  std::vector<std::pair<std::string, Field>> f;
  f.emplace_back("mouse_on", BoolField(state.mouse_on));
  f.emplace_back("battery_a", NumberField(state.battery_a, kMaxByte));
  f.emplace_back("battery_b", NumberField(state.battery_b, kMaxByte));
  f.emplace_back("sensor_code", NumberField(state.sensor_code, kMaxByte));
  f.emplace_back("rate_capability", NumberField(state.rate_capability, kMaxByte));
  f.emplace_back("firmware_version", NumberField(state.firmware_version, kMaxWord, true));
  f.emplace_back("receiver_version", NumberField(state.receiver_version, kMaxWord, true));
  f.emplace_back("usb_vid", NumberField(state.usb_vid, kMaxWord, true));
  f.emplace_back("usb_pid", NumberField(state.usb_pid, kMaxWord, true));
  f.emplace_back("receiver_usb_vid", NumberField(state.receiver_usb_vid, kMaxWord, true));
  f.emplace_back("receiver_usb_pid", NumberField(state.receiver_usb_pid, kMaxWord, true));
  f.emplace_back("report_rate", NumberField(s.report_rate, kMaxByte));
  f.emplace_back("dpi_count", NumberField(s.dpi_count, kSimDpiStages));
  f.emplace_back("dpi_index", NumberField(s.dpi_index, kSimDpiStages - 1));
  for (int n = 0; n < kSimDpiStages; ++n) {
    f.emplace_back("dpi_code" + std::to_string(n), NumberField(s.dpi_code[n], kMaxWord));
  }
  for (int n = 0; n < kSimDpiStages; ++n) {
    f.emplace_back("dpi_color" + std::to_string(n), NumberField(s.dpi_color[n], kMaxColor));
  }
  f.emplace_back("liftoff_height", NumberField(s.liftoff_height, kMaxByte));
  f.emplace_back("sensor_flag8", NumberField(s.sensor_flag8, kMaxByte));
  f.emplace_back("sensor_flag4", NumberField(s.sensor_flag4, kMaxByte));
  f.emplace_back("sleep_light", NumberField(s.sleep_light, kMaxByte));
  f.emplace_back("move_wakeup", NumberField(s.move_wakeup, kMaxByte));
  f.emplace_back("move_closelight", NumberField(s.move_closelight, kMaxByte));
  f.emplace_back("button_respondtime", NumberField(s.button_respondtime, kMaxByte));
  f.emplace_back("light_mode", NumberField(s.light_mode, kMaxByte));
  f.emplace_back("light_level", NumberField(s.light_level, kMaxByte));
  for (int i = 0; i < kSimLightColors; ++i) {
    f.emplace_back("light_color" + std::to_string(i + 1), NumberField(s.light_color[i], kMaxColor));
  }
  for (int b = 0; b < kSimButtons; ++b)
    f.emplace_back("button" + std::to_string(b), ButtonField(s.buttons[b]));
  f.emplace_back("wired_upgrade_image", BlobField(state.upgrade_image[0]));
  f.emplace_back("receiver_upgrade_image", BlobField(state.upgrade_image[1]));
  return f;
}

// "macro7" → 7; -1 when `key` is not a macro key of a valid button.
int MacroButton(std::string_view key) {
  if (key.rfind("macro", 0) != 0) return -1;
  uint32_t button = 0;
  const std::string_view digits = key.substr(5);
  if (digits.empty() || digits.size() > 2 || (digits[0] == '0' && digits.size() > 1)) return -1;
  if (!ParseNumber(digits, kSimMacroButtons - 1, button)) return -1;
  return static_cast<int>(button);
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string SimStateFile::Format(const SimState& state) {
  SimState copy = state;  // the field table binds to a mutable state
  std::string text = kHeader;
  for (auto& [key, field] : Fields(copy)) text += key + "=" + field.get() + "\n";
  for (const auto& [button, records] : copy.settings.macros) {
    text += "macro" + std::to_string(button) + "=" + ToHex(records.data(), records.size()) + "\n";
  }
  return text;
}

bool SimStateFile::Parse(const std::string& text, SimState& state, std::string& error) {
  SimState parsed;
  std::map<std::string, Field> fields;
  for (auto& [key, field] : Fields(parsed)) fields.emplace(key, std::move(field));
  std::istringstream in(text);
  std::string raw;
  for (int line = 1; std::getline(in, raw); ++line) {
    const std::string_view content = Trim(raw);
    if (content.empty() || content[0] == '#') continue;
    const size_t eq = content.find('=');
    const std::string where = "line " + std::to_string(line) + ": ";
    if (eq == std::string_view::npos) {
      error = where + "expected key=value";
      return false;
    }
    const std::string key(Trim(content.substr(0, eq)));
    const std::string_view value = Trim(content.substr(eq + 1));
    bool ok = false;
    if (auto it = fields.find(key); it != fields.end()) {
      ok = it->second.set(value);
    } else if (const int button = MacroButton(key); button >= 0) {
      std::vector<uint8_t> records;
      ok = FromHex(value, records) && records.size() % 4 == 0;
      if (ok) parsed.settings.macros[button] = std::move(records);
    } else {
      error = where + "unknown key '" + key + "'";
      return false;
    }
    if (!ok) {
      error = where + "bad value for '" + key + "'";
      return false;
    }
  }
  if (parsed.settings.dpi_count == 0 || parsed.settings.dpi_index >= parsed.settings.dpi_count) {
    error = "dpi_index must be below dpi_count, and dpi_count at least 1";
    return false;
  }
  state = std::move(parsed);
  return true;
}

namespace {

// What a state file path may be: missing, or a regular file once symbolic links are followed.
// Device nodes and FIFOs are refused (reading a FIFO blocks, and replacing /dev/null as root
// replaces the system's). Sets `target` to the path a save has to replace.
bool CheckStatePath(const std::string& path, std::filesystem::path& target, bool& exists,
                    std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  target = path;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    target = fs::weakly_canonical(target, ec);
    if (ec) {
      error = path + ": cannot follow the symbolic link: " + ec.message();
      return false;
    }
  }
  const fs::file_status status = fs::status(target, ec);
  exists = fs::exists(status);
  if (ec && status.type() != fs::file_type::not_found) {
    error = path + ": " + ec.message();
    return false;
  }
  if (exists && !fs::is_regular_file(status)) {
    error = path + ": not a regular file";
    return false;
  }
  return true;
}

}  // namespace

bool SimStateFile::Load(const std::string& path, SimState& state, std::string& error) {
  std::filesystem::path target;
  bool exists = false;
  if (!CheckStatePath(path, target, exists, error)) return false;
  if (!exists) return true;
  // O_NONBLOCK: a FIFO swapped in after the check must not hold the start-up.
  const int fd = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "cannot read " + path + (fd < 0 ? std::string(": ") + std::strerror(errno) : "");
    if (fd >= 0) close(fd);
    return false;
  }
  std::string text;
  char block[4096];
  ssize_t got = 0;
  while ((got = read(fd, block, sizeof block)) > 0 && text.size() <= kMaxFileBytes) {
    text.append(block, static_cast<size_t>(got));
  }
  close(fd);
  if (got < 0 || text.size() > kMaxFileBytes) {
    error = "cannot read " + path + (got < 0 ? ": read error" : ": file too large");
    return false;
  }
  if (!Parse(text, state, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool SimStateFile::Save(const std::string& path, const SimState& state, std::string& error) {
  std::filesystem::path target;
  bool exists = false;
  if (!CheckStatePath(path, target, exists, error)) return false;
  // A fresh name beside the target, so nothing planted at "FILE.tmp" is written through.
  std::string temp = target.string() + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const std::string text = Format(state);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  // mkstemp makes the file 0600; a file being replaced keeps its own mode.
  struct stat old {};
  const bool keep_mode = exists && stat(target.c_str(), &old) == 0;
  const bool written = done == text.size() && (!keep_mode || fchmod(fd, old.st_mode & 07777) == 0);
  std::error_code ec;
  if (close(fd) != 0 || !written) {
    error = "cannot write " + temp;
    std::filesystem::remove(temp, ec);
    return false;
  }
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    error = "cannot replace " + path + ": " + ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace corvane
