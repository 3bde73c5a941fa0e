// The nine text slots in three rows and three columns, and the controls that
// make up one slot. A slot's text lives only in its text box.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace slots {

struct SlotId {
    int row = 1;     // 1 top .. 3
    int column = 1;  // 1 left .. 3
};

// "r-c", the caption of the slot's group box.
std::string SlotText(SlotId id);
// A slot control's form name: the word and the two digits, e.g. 编辑框23.
std::string ControlName(const char* word, SlotId id);
// The down-arrow label's name (irregular), or nullptr for column 3.
const char* DownArrowName(SlotId id);

struct Slot {
    SlotId id;
    forms::Control groupBox;
    forms::Control textBox;
    forms::Control monitorBox;
    forms::Control downArrow;  // index -1 in column 3
    forms::Control pasteLabel;
    forms::Control copyLabel;
    forms::Control cutLabel;
    forms::Control clearLabel;
    forms::Control monitorTimer;
};

// The nine slots, row by row: 1-1, 1-2, 1-3, 2-1, ... 3-3.
struct SlotGrid {
    std::array<Slot, 9> slots;
    const Slot& at(SlotId id) const { return slots[(id.row - 1) * 3 + (id.column - 1)]; }
};

SlotGrid FindSlots(forms::WindowId mainWindow);

// Appends the controls of one slot to a form table; the group box stands at
// (left, top) of the window's client area.
void AddSlotControls(std::vector<forms::ControlDef>& controls, SlotId id, int left, int top);

}  // namespace slots
