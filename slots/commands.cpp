#include "slots/commands.h"

#include "platform/desktop.h"

namespace slots {

void PasteSlot(const Slot& slot) {
    forms::SetText(slot.textBox, desktop::GetClipboardText());
}

void CopySlot(const Slot& slot) {
    desktop::SetClipboardText(forms::Text(slot.textBox));
}

void CutSlot(const Slot& slot) {
    // A cut that could not reach the clipboard must not lose the text.
    if (!desktop::SetClipboardText(forms::Text(slot.textBox))) return;
    forms::SetText(slot.textBox, "");
    desktop::FocusControl(slot.textBox);
}

void ClearSlot(const Slot& slot) {
    forms::SetText(slot.textBox, "");
    desktop::FocusControl(slot.textBox);
}

void ClearAllSlots(const SlotGrid& grid) {
    // The slots with a down arrow first, row by row, then the third column.
    constexpr SlotId order[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}, {1, 3}, {2, 3}, {3, 3}};
    for (SlotId id : order) forms::SetText(grid.at(id).textBox, "");
    desktop::FocusControl(grid.at({1, 1}).textBox);
}

void BindSlotCommands(const SlotGrid& grid, forms::WindowId mainWindow) {
    for (const Slot& slot : grid.slots) {
        forms::On(slot.pasteLabel, forms::Event::MouseDown, [&slot] { PasteSlot(slot); });
        forms::On(slot.copyLabel, forms::Event::MouseDown, [&slot] { CopySlot(slot); });
        forms::On(slot.cutLabel, forms::Event::MouseDown, [&slot] { CutSlot(slot); });
        forms::On(slot.clearLabel, forms::Event::MouseDown, [&slot] { ClearSlot(slot); });
    }
    forms::On(forms::Ctl(mainWindow, "全部清空"), forms::Event::MouseDown, [&grid] { ClearAllSlots(grid); });
}

}  // namespace slots
