#include "slots/monitoring.h"

#include "platform/desktop.h"

namespace slots {

void SetSlotMonitoring(const Slot& slot) {
    forms::SetTimerPeriod(slot.monitorTimer, forms::Checked(slot.monitorBox) ? kMonitorPeriod : 0);
}

void MonitorTick(const Slot& slot) {
    // The whole text is rewritten at every tick, changed or not.
    if (forms::Checked(slot.monitorBox)) forms::SetText(slot.textBox, desktop::GetClipboardText());
}

void SetAllMonitoring(const SlotGrid& grid, forms::Control allBox) {
    const bool on = forms::Checked(allBox);
    // A timer already at 1000 ms keeps its count: setting the same period changes nothing.
    for (const Slot& slot : grid.slots) forms::SetTimerPeriod(slot.monitorTimer, on ? kMonitorPeriod : 0);
    // Checking from the program raises no click, so SetSlotMonitoring does not run.
    for (const Slot& slot : grid.slots) forms::SetChecked(slot.monitorBox, on);
}

void BindMonitoring(const SlotGrid& grid, forms::WindowId mainWindow) {
    for (const Slot& slot : grid.slots) {
        forms::On(slot.monitorBox, forms::Event::Click, [&slot] { SetSlotMonitoring(slot); });
        forms::On(slot.monitorTimer, forms::Event::Tick, [&slot] { MonitorTick(slot); });
    }
    const forms::Control allBox = forms::Ctl(mainWindow, "选择框_全部监控剪贴板");
    forms::On(allBox, forms::Event::Click, [&grid, allBox] { SetAllMonitoring(grid, allBox); });
}

}  // namespace slots
