// The main window's records that live for the whole run, on the user-interface thread.
#pragma once

#include "online/adverts.h"
#include "platform/forms.h"
#include "slots/append_paste.h"
#include "slots/grid.h"

namespace app {

struct MainWindow {
    forms::WindowId window = 0;
    slots::SlotGrid grid{};
    slots::PasteTarget pasteTarget{};
    online::AdvertLinks adverts{};
};

// The one main window of the run (empty until start-up has created it).
MainWindow& TheMainWindow();

// A control of the main window by its form name.
forms::Control MainCtl(const char* name);

}  // namespace app
