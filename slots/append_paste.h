// Append-paste: the "↓" labels of six slots open "粘贴选项", whose items append
// the clipboard's text to the slot's text with one of five separators.
#pragma once

#include "slots/grid.h"

namespace slots {

enum class AppendMode { AppendPlain, AppendNewLine, AppendFullWidthComma, AppendComma, AppendCustom };

// The slot chosen by the last down-arrow press, as its text box; unset at start.
struct PasteTarget {
    forms::Control textBox;
};

// The user's own separator row of the tool row.
struct CustomSeparatorRow {
    forms::Control label;  // 自定义1
    forms::Control text;   // 自定义2, the separator
    forms::Control close;  // 自定义3
};

CustomSeparatorRow FindCustomSeparatorRow(forms::WindowId mainWindow);

// A down-arrow press: remember the slot, then pop up the menu.
void ShowPasteOptions(PasteTarget& target, const Slot& slot, forms::WindowId mainWindow);
void AppendPaste(const PasteTarget& target, AppendMode mode, const CustomSeparatorRow& row);
// "关闭": hides the row and forgets the separator.
void HideCustomSeparatorRow(const CustomSeparatorRow& row);

void BindAppendPaste(PasteTarget& target, const SlotGrid& grid, forms::WindowId mainWindow);

}  // namespace slots
