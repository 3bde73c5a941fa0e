// The user's input (mouse, keyboard, focus) and the window services: moving,
// messages, transparency, finding and activating windows.
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {

void DropInput(const char* what, Control control) {
    std::fprintf(stderr, "sim: %s on control %d of window %d (%s), which the user cannot see: dropped\n", what,
                 control.index, control.window, forms::NameOf(control));
}

}  // namespace sim::detail

namespace sim {
using namespace detail;

void PressMouse(Control control) {
    if (Exited()) return;
    ControlRec* c = FindControl(control);
    if (!c || !ControlShown(control)) return DropInput("PressMouse", control);
    forms::Handler handler = c->mouseDown;
    if (handler) handler();
    RunPosted();
}

void Click(Control control) {
    if (Exited()) return;
    ControlRec* c = FindControl(control);
    if (!c || !ControlShown(control)) return DropInput("Click", control);
    if (c->kind == forms::Kind::CheckBox) c->checked = !c->checked;
    forms::Handler handler = c->click;
    if (handler) handler();
    RunPosted();
}

void Hover(Control control) { S().hovered = control; }

bool Highlighted(Control pictureButton) {
    ControlRec* c = FindControl(pictureButton);
    return c && c->kind == forms::Kind::PictureButton && S().hovered == pictureButton && ControlShown(pictureButton);
}

bool Shown(Control control) { return ControlShown(control); }

void Type(Control control, std::string_view text) {
    if (Exited()) return;
    ControlRec* c = FindControl(control);
    if (!c || c->kind != forms::Kind::Edit || !ControlShown(control)) return DropInput("Type", control);
    std::size_t end = text.find('\0');
    c->text = std::string(end == std::string_view::npos ? text : text.substr(0, end));
    c->caret = static_cast<int>(c->text.size());
    S().focused = control;
}

void SetMousePosition(int x, int y) {
    S().mouseX = x;
    S().mouseY = y;
}

Control Focused() {
    Control focused = S().focused;
    return FindControl(focused) ? focused : Control{};
}

int CaretPosition(Control edit) {
    ControlRec* c = FindControl(edit);
    return c ? c->caret : 0;
}

std::vector<WindowId> OpenWindows() {
    std::vector<WindowId> ids;
    for (const auto& [id, w] : S().windows) ids.push_back(id);
    return ids;
}

WindowId FindWindowByCaption(std::string_view caption) {
    for (const auto& [id, w] : S().windows)
        if (w.caption == caption) return id;
    return 0;
}

int Opacity(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->opacity : 0;
}

bool Layered(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w && w->layered;
}

WindowId Foreground() { return FindWindow(S().foreground) ? S().foreground : 0; }

bool Iconic(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w && w->iconic;
}

void AddForeignWindow(std::string_view title) { S().foreignWindows.emplace_back(title); }

void SetNextDragOffset(int dx, int dy) {
    S().dragDx = dx;
    S().dragDy = dy;
}

const std::vector<SentMessage>& SentMessages() { return S().sentMessages; }

std::string Address(Control htmlView) {
    ControlRec* c = FindControl(htmlView);
    return c ? c->address : std::string();
}

}  // namespace sim

namespace desktop {
using namespace sim::detail;

void FocusControl(Control control) {
    if (FindControl(control)) S().focused = control;
}

void MoveControl(Control control, int left, int top, int width, int height) {
    ControlRec* c = FindControl(control);
    if (!c) return;
    c->left = left;  // left and top are always set; only a size of kKeep is kept
    c->top = top;
    if (width != kKeep) c->width = width;
    if (height != kKeep) c->height = height;
}

void MoveControl(WindowId window, int left, int top, int width, int height) {
    WindowRec* w = FindWindow(window);
    if (!w) return;
    w->left = left;
    w->top = top;
    if (width != kKeep) w->width = width;
    if (height != kKeep) w->height = height;
}

std::intptr_t SendWindowMessage(WindowId window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    State& s = S();
    s.sentMessages.push_back({window, message, static_cast<long long>(wParam), static_cast<long long>(lParam)});
    WindowRec* w = FindWindow(window);
    if (w && message == kWmNcLButtonDown && wParam == kHtCaption) {
        // The system's move loop: the window follows the mouse until release.
        w->left += s.dragDx;
        w->top += s.dragDy;
        s.dragDx = 0;
        s.dragDy = 0;
    }
    return 0;
}

void SetWindowTransparency(WindowId window, int alpha) {
    WindowRec* w = FindWindow(window);
    if (!w) return;
    w->layered = true;
    w->opacity = (alpha < 0 || alpha > 255) ? 255 : alpha;
}

bool FindTopLevelWindow(std::string_view title) {
    // FindWindowA compares titles without regard to letter case.
    for (const auto& [id, w] : S().windows)
        if (EqualNoCase(w.caption, title)) return true;
    for (const std::string& foreign : S().foreignWindows)
        if (EqualNoCase(foreign, title)) return true;
    return false;
}

void SwitchToThisWindow(WindowId window) {
    WindowRec* w = FindWindow(window);
    if (!w) return;
    w->visible = true;
    w->iconic = false;
    w->state = 0;
    S().foreground = window;
}

}  // namespace desktop
