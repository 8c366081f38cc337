// Reader of the factory values of a definition file; see factory_defaults.h.
#include "catalogue/factory_defaults.h"

#include "base/text.h"
#include "xml/markup_document.h"

namespace corvane {

namespace {

// Up to two leading hexadecimal digits of `text`.
int HexByte(std::string_view text) {
  int value = 0;
  for (size_t i = 0; i < text.size() && i < 2; ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    value = value * 16 + digit;
  }
  return value;
}

std::string_view Chunk(std::string_view digits, size_t index) {
  return index * 2 < digits.size() ? digits.substr(index * 2, 2) : std::string_view();
}

void ReadDpiInfo(MarkupDocument& doc, FactoryDefaults& defaults) {
  if (!doc.FindElement("dpi_info")) return;
  defaults.has_dpi_info = true;
  defaults.default_dpi = doc.GetAttributeInt("default_dpi");
  defaults.dpi_count = doc.GetAttributeInt("dpi_count");
  doc.EnterElement();
  for (int n = 0; n < kDefinitionDpiStages; ++n) {
    if (!doc.FindElement("dpi_" + IntToDecimal(n + 1))) continue;
    DpiStageDefault& stage = defaults.stages[n];
    stage.present = true;
    stage.value = doc.GetAttributeInt("value");
    stage.color = ParseDefinitionColor(doc.GetAttribute(std::string_view("color")));
  }
  doc.LeaveElement();
}

void ReadOptional(MarkupDocument& doc, std::string_view element, std::string_view attribute,
                  std::optional<int>& out) {
  if (doc.FindElement(element)) out = doc.GetAttributeInt(attribute);
}

}  // namespace

int ParseDefinitionColor(std::string_view text) {
  if (text.empty()) return 0;
  const std::string_view digits = text.substr(1);
  return HexByte(Chunk(digits, 0)) + HexByte(Chunk(digits, 1)) * 256 +
         HexByte(Chunk(digits, 2)) * 65536;
}

std::optional<FactoryDefaults> LoadFactoryDefaults(const std::filesystem::path& file) {
  MarkupDocument doc;
  if (file.empty() || !doc.LoadFile(file) || !doc.FindElement("mouse")) return std::nullopt;
  FactoryDefaults defaults;
  doc.EnterElement();
  if (!doc.FindElement("mouse_info")) return defaults;
  doc.EnterElement();
  ReadDpiInfo(doc, defaults);
  ReadOptional(doc, "report_rate", "default_value", defaults.report_rate);
  ReadOptional(doc, "sleep_light", "value", defaults.sleep_light);
  ReadOptional(doc, "move_wakeup", "value", defaults.move_wakeup);
  ReadOptional(doc, "move_closelight", "value", defaults.move_closelight);
  return defaults;
}

}  // namespace corvane
