// Notification-area (tray) icons: one per window, id 100, its events
// delivered as the window's tray event.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

TrayIconRecord* FindIcon(forms::WindowId window) {
    for (TrayIconRecord& r : S().trayIcons)
        if (r.window == window) return &r;
    return nullptr;
}

}  // namespace
}  // namespace sim::detail

namespace forms {
using namespace sim::detail;

void OnTray(WindowId window, std::function<void(int type)> handler) {
    if (WindowRec* w = FindWindow(window)) w->tray = std::move(handler);
}

}  // namespace forms

namespace desktop {
using namespace sim::detail;

void SetTrayIcon(WindowId window, Icon icon, std::string_view tip) {
    if (!FindWindow(window)) return;
    // The tip field holds 63 bytes and its zero; the first 62 are kept.
    std::string_view kept = tip.substr(0, std::min<std::size_t>(tip.size(), 62));
    kept = kept.substr(0, std::min(kept.size(), kept.find('\0')));
    sim::TrayIconRecord* r = FindIcon(window);
    if (!r) {
        S().trayIcons.push_back({});
        r = &S().trayIcons.back();
        r->window = window;
    }
    r->icon = icon;
    r->tip = std::string(kept);
}

void SetTrayIcon(WindowId window) {
    std::erase_if(S().trayIcons, [window](const sim::TrayIconRecord& r) { return r.window == window; });
}

}  // namespace desktop

namespace sim {
using namespace detail;

void TrayEvent(WindowId window, int type) {
    if (Exited()) return;
    WindowRec* w = FindWindow(window);
    if (!w || !FindIcon(window)) {
        std::fprintf(stderr, "sim: TrayEvent for window %d, which has no tray icon: dropped\n", window);
        return;
    }
    if (type < 1 || type > 3) return;  // other notifications are not passed on
    std::function<void(int)> handler = w->tray;
    if (handler) handler(type);
    RunPosted();
}

std::vector<TrayIconRecord> TrayIcons() { return S().trayIcons; }

}  // namespace sim
