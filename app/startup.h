// Process start: from the first instruction to the running event loop.
#pragma once

#include "platform/forms.h"

namespace app {

// Makes the run folder current, creates the main window from its form, runs
// its creation handler and shows it. Returns the main window, or 0 when the
// program refused to start (it has then called ExitProgram).
forms::WindowId StartQuillo();

// StartQuillo, then the event loop; the program's whole run.
int RunQuillo();

}  // namespace app
