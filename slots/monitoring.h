// Following the clipboard: while a slot's "监控剪贴板" box is checked, its
// timer replaces the slot's text with the clipboard's text once a second.
#pragma once

#include "slots/grid.h"

namespace slots {

inline constexpr int kMonitorPeriod = 1000;

// After a click on the slot's box: its timer runs while the box is checked.
void SetSlotMonitoring(const Slot& slot);
// A tick of the slot's timer: the box itself says whether the slot follows.
void MonitorTick(const Slot& slot);
// After a click on "全部监控剪贴板": all nine timers, then all nine boxes.
void SetAllMonitoring(const SlotGrid& grid, forms::Control allBox);

void BindMonitoring(const SlotGrid& grid, forms::WindowId mainWindow);

}  // namespace slots
