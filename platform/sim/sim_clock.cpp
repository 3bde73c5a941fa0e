// The virtual clock and the timers it drives.
//
// A timer has one setting, its period. Setting the period it already has
// changes nothing (a running timer keeps its phase); any other value stops
// it, and a positive one starts it again, the first tick one full period on.
#include <algorithm>

#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace forms {
using namespace sim::detail;

int TimerPeriod(Control control) {
    ControlRec* c = FindControl(control);
    return c && c->kind == Kind::Timer ? c->period : 0;
}

void SetTimerPeriod(Control control, int milliseconds) {
    ControlRec* c = FindControl(control);
    if (!c || c->kind != Kind::Timer) return;
    int period = std::max(milliseconds, 0);
    if (period == c->period) return;
    c->period = period;
    if (period > 0) {
        State& s = S();
        c->due = s.now + period;
        c->armedAt = ++s.armCounter;
    }
}

}  // namespace forms

namespace sim {
using namespace detail;

void AdvanceClock(int milliseconds) {
    State& s = S();
    if (milliseconds < 0) return;
    const long long target = s.now + milliseconds;
    while (!Exited()) {
        // The earliest tick due by the target; ties in the order of arming.
        WindowId window = 0;
        int index = -1;
        long long due = 0;
        long long armedAt = 0;
        for (auto& [id, w] : s.windows) {
            for (std::size_t i = 0; i < w.controls.size(); ++i) {
                const ControlRec& c = w.controls[i];
                if (c.kind != forms::Kind::Timer || c.period <= 0 || c.due > target) continue;
                if (index < 0 || c.due < due || (c.due == due && c.armedAt < armedAt)) {
                    window = id;
                    index = static_cast<int>(i);
                    due = c.due;
                    armedAt = c.armedAt;
                }
            }
        }
        if (index < 0) break;
        s.now = std::max(s.now, due);
        ControlRec* timer = FindControl({window, index});
        timer->ticks += 1;
        timer->due += timer->period;
        forms::Handler tick = timer->tick;
        if (tick) tick();
        RunPosted();
    }
    s.now = std::max(s.now, target);
}

long long Now() { return S().now; }

int TickCount(Control timer) {
    ControlRec* c = FindControl(timer);
    return c ? c->ticks : 0;
}

}  // namespace sim
