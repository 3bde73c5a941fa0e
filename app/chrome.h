// The self-drawn frame's controls: drag, minimise, close to the tray, the
// "more" menu, always-on-top and the transparency levels.
#pragma once

namespace app {

void DragMainWindow();
void MinimiseMainWindow();
// Hides the window; it lives on with its timers and tray icon.
void CloseMainWindow();
void ShowMoreMenu();
void ApplyTopmostBox();
void ShowTransparencyMenu();
// A transparency menu item: the opacity first, then the label text.
void SetMainTransparency(int opacity, const char* labelText);

void BindChrome();

}  // namespace app
