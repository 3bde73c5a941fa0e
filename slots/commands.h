// The four cell commands of a slot and the clear-all command. Each acts when
// the left mouse button goes down on its label; none shows anything.
#pragma once

#include "slots/grid.h"

namespace slots {

// The slot's text becomes the clipboard's text (empty when it holds none).
void PasteSlot(const Slot& slot);
// The clipboard receives the slot's text.
void CopySlot(const Slot& slot);
// The clipboard receives the slot's text, then the slot is emptied and gets
// the focus. When the clipboard cannot be written the slot keeps its text.
void CutSlot(const Slot& slot);
// The slot is emptied and gets the focus; the clipboard is not touched.
void ClearSlot(const Slot& slot);
// Empties all nine slots (hidden rows too), then focuses slot 1-1.
void ClearAllSlots(const SlotGrid& grid);

// Binds the thirty-six cell command labels and the clear-all label.
void BindSlotCommands(const SlotGrid& grid, forms::WindowId mainWindow);

}  // namespace slots
