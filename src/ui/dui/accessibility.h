// What assistive tools (screen readers, the GUI tests) see of the control layer: every
// control gets an accessible interface with a real role, the text it shows as its name,
// its states and values, and actions that run the same code as a mouse click.
// Controls only report changes through the functions below; the interfaces live in
// accessible_control.cpp and accessible_items.cpp.
#pragma once

class QObject;

namespace corvane::DUI {

// Installs the interface factory for the layer's controls and windows; later calls do
// nothing.
void InstallAccessibility();

// Tell assistive tools that a control's name, value, checked state or items changed.
// Cheap when no tool listens.
void AccessibleNameChanged(QObject* control);
void AccessibleValueChanged(QObject* control, int value);
void AccessibleCheckedChanged(QObject* control);
void AccessibleChildrenChanged(QObject* control);

}  // namespace corvane::DUI
