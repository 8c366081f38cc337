// Reader of device definition files; see device_definition.h.
#include "catalogue/device_definition.h"

#include "base/text.h"
#include "xml/markup_document.h"

namespace corvane {

namespace {

bool IsOn(const MarkupDocument& doc, std::string_view attribute) {
  return doc.GetAttribute(attribute) == "1";
}

// Splits at the first '#': the text before it, and the rest (the whole text without one).
void SplitAtHash(std::string_view text, std::string_view& head, std::string_view& rest) {
  const size_t hash = text.find('#');
  if (hash == std::string_view::npos) {
    head = {};
    rest = text;
  } else {
    head = text.substr(0, hash);
    rest = text.substr(hash + 1);
  }
}

ButtonDefinition ReadButton(const MarkupDocument& doc) {
  ButtonDefinition button;
  button.name_text = doc.GetAttribute(std::string_view("name"));
  button.name_id = DecimalToInt(button.name_text);
  button.key_value = doc.GetAttributeInt("key_value");
  button.direction = doc.GetAttributeInt("direction");
  ParseButtonRect(doc.GetAttribute(std::string_view("rect")), button.x1, button.x2, button.y);
  button.func_desc_text = doc.GetAttribute(std::string_view("func_desc"));
  button.func_desc_id = DecimalToInt(button.func_desc_text);
  button.func_type = doc.GetAttributeInt("func_type");
  button.func_value = doc.GetAttributeInt("func_value");
  return button;
}

void ReadLightModes(MarkupDocument& doc, DeviceDefinition& definition) {
  if (!doc.FindElement("light_info")) return;
  doc.EnterElement();
  for (int n = 0; n < kLightModeCount; ++n) {
    if (doc.FindElement("light_" + IntToDecimal(n + 1))) {
      definition.light_modes[n] = IsOn(doc, "enable");
    }
  }
  doc.LeaveElement();
}

}  // namespace

void ParseButtonRect(std::string_view rect, int& x1, int& x2, int& y) {
  std::string_view head, rest;
  SplitAtHash(rect, head, rest);
  x1 = DecimalToInt(head);
  SplitAtHash(rest, head, rest);
  x2 = DecimalToInt(head);
  y = DecimalToInt(rest);
}

std::filesystem::path DefinitionPath(const std::filesystem::path& program_folder,
                                     std::string_view device_attr) {
  if (!IsSafeFileStem(device_attr)) return {};
  return program_folder / "device" / (std::string(device_attr) + ".xml");
}

std::optional<DeviceDefinition> LoadDeviceDefinition(const std::filesystem::path& file) {
  MarkupDocument doc;
  if (file.empty() || !doc.LoadFile(file) || !doc.FindElement("mouse")) return std::nullopt;
  DeviceDefinition definition;
  doc.EnterElement();
  if (doc.FindElement("image_file")) definition.mouse_image = doc.GetAttribute(std::string_view("mouse_img"));
  if (doc.FindElement("menu")) definition.lighting = IsOn(doc, "light");
  if (doc.FindElement("custom")) {
    definition.show_dpitips = IsOn(doc, "show_dpitips");
    definition.show_savetips = IsOn(doc, "show_savetips");
    definition.show_lod = IsOn(doc, "show_lod");
    definition.show_sensor = IsOn(doc, "show_sensor");
  }
  if (doc.FindElement("firmware")) definition.firmware_url = doc.GetAttribute(std::string_view("url"));
  if (doc.FindElement("mouse_key")) {
    doc.EnterElement();
    while (doc.FindElement("key")) definition.buttons.push_back(ReadButton(doc));
    doc.LeaveElement();
  }
  if (doc.FindElement("mouse_info")) {
    doc.EnterElement();
    ReadLightModes(doc, definition);
    doc.LeaveElement();
  }
  return definition;
}

}  // namespace corvane
