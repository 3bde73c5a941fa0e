// The self-drawn frame's layout from the window's size, and the row count.
#pragma once

#include "platform/forms.h"

namespace app {

// Places the frame labels, the picture buttons and the two top check boxes
// from the window's current width and height; changes neither.
void LayOutMainWindow();

// Sets the window's height so that it ends 26 px below the group box `lowest`
// (the first box of the lowest shown row), and centres it vertically.
void FitWindowToRow(forms::Control lowest);

}  // namespace app

namespace app {

// "增一行": shows the next hidden row, or refuses with "最多只有三行".
void AddRow();
// "减一行": hides the lowest shown row below row 1, or refuses with "最少也有一行".
void RemoveRow();

}  // namespace app
