// The main window's form: every top-level control with its place, size, text
// and look, the nine slot groups, and the window's four pop-up menus.
#pragma once

#include "platform/forms.h"

namespace app {

inline constexpr const char* kMainCaption = "Brenvik之Quillo v1.15";
// The caption of the main window's message boxes.
inline constexpr const char* kBoxCaption = "Brenvik之Quillo";
inline constexpr const char* kExecutableName = "zoLapet.exe";

const forms::FormDef& MainForm();

}  // namespace app
