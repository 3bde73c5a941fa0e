// The probe links the main form's table to map form names to control ids. The
// code that builds the table sits in files beside functions that work on
// running windows; the probe never calls those, and has no running forms, so
// these inert definitions only satisfy the linker.
#include "platform/forms.h"

namespace forms {

Control Ctl(WindowId, std::string_view) { return {}; }
bool operator==(const Control& a, const Control& b) { return a.window == b.window && a.index == b.index; }
const char* NameOf(Control) { return ""; }
int Left(Control) { return 0; }
int Top(Control) { return 0; }
int Width(Control) { return 0; }
int Height(Control) { return 0; }
bool Visible(Control) { return false; }
void SetVisible(Control, bool) {}
std::string Text(Control) { return {}; }
void SetText(Control, std::string_view) {}
bool Checked(Control) { return false; }
void SetChecked(Control, bool) {}
int TimerPeriod(Control) { return 0; }
void SetTimerPeriod(Control, int) {}
Colour BackColour(Control) { return kDefaultColour; }
void SetBackColour(Control, Colour) {}
void SetAddress(Control, std::string_view) {}
std::string Caption(WindowId) { return {}; }
void SetCaption(WindowId, std::string_view) {}
int WindowLeft(WindowId) { return 0; }
int WindowTop(WindowId) { return 0; }
int WindowWidth(WindowId) { return 0; }
int WindowHeight(WindowId) { return 0; }
bool WindowVisible(WindowId) { return false; }
void SetWindowVisible(WindowId, bool) {}
bool Topmost(WindowId) { return false; }
void SetTopmost(WindowId, bool) {}
int WindowState(WindowId) { return 0; }
void SetWindowState(WindowId, int) {}
int MenuItemIndex(WindowId, std::string_view, std::string_view) { return -1; }
void SetMenuItemText(WindowId, std::string_view, int, std::string_view) {}
void SetMenuItemVisible(WindowId, std::string_view, int, bool) {}
void On(Control, Event, Handler) {}
void OnMenuItem(WindowId, std::string_view, std::string_view, Handler) {}
void OnTray(WindowId, std::function<void(int)>) {}
void OnDestroyed(WindowId, Handler) {}

}  // namespace forms
