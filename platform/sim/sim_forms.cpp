// Windows made from forms: creation, destruction, and the properties of
// windows and controls. An id of a window that is gone reads as zero/empty
// and ignores writes.
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

// Window texts are C strings: a zero byte ends them.
std::string CText(std::string_view text) {
    std::size_t end = text.find('\0');
    return std::string(end == std::string_view::npos ? text : text.substr(0, end));
}

ControlRec MakeControl(const forms::ControlDef& def) {
    ControlRec c;
    c.name = Intern(def.name ? def.name : "");
    c.kind = def.kind;
    c.left = def.left;
    c.top = def.top;
    c.width = def.width;
    c.height = def.height;
    c.visible = !def.hidden;
    c.text = def.text ? def.text : "";
    c.backColour = def.backColour;
    return c;
}

WindowRec MakeWindow(forms::WindowId id, const forms::FormDef& form) {
    const Config& config = S().config;
    WindowRec w;
    w.id = id;
    w.caption = form.caption ? form.caption : "";
    w.width = form.width;
    w.height = form.height;
    w.left = (config.screenWidth - form.width) / 2;
    w.top = (config.screenHeight - form.height) / 2;
    w.topmost = form.topmost;
    for (const forms::ControlDef& def : form.controls) w.controls.push_back(MakeControl(def));
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const char* parent = form.controls[i].parent;
        if (!parent) continue;
        for (std::size_t j = 0; j < w.controls.size(); ++j) {
            if (j != i && std::string_view(w.controls[j].name) == parent) {
                w.controls[i].parent = static_cast<int>(j);
                break;
            }
        }
    }
    for (const forms::MenuDef& menuDef : form.menus) {
        MenuRec menu;
        menu.name = menuDef.name ? menuDef.name : "";
        for (const forms::MenuItemDef& itemDef : menuDef.items) {
            MenuItemRec item;
            item.formText = itemDef.text ? itemDef.text : "";
            item.text = item.formText;
            item.level = itemDef.level;
            item.visible = !itemDef.hidden;
            menu.items.push_back(std::move(item));
        }
        w.menus.push_back(std::move(menu));
    }
    return w;
}

}  // namespace

void ForgetWindow(forms::WindowId id) {
    State& s = S();
    std::erase_if(s.trayIcons, [id](const TrayIconRecord& r) { return r.window == id; });
    if (s.focused.window == id) s.focused = {};
    if (s.hovered.window == id) s.hovered = {};
    if (s.foreground == id) s.foreground = 0;
    s.windows.erase(id);
}

bool ControlShown(Control control) {
    WindowRec* w = FindWindow(control.window);
    if (!w || !w->visible || w->iconic) return false;
    int index = control.index;
    for (int guard = 0; index >= 0 && guard <= static_cast<int>(w->controls.size()); ++guard) {
        if (index >= static_cast<int>(w->controls.size())) return false;
        const ControlRec& c = w->controls[static_cast<std::size_t>(index)];
        if (!c.visible) return false;
        index = c.parent;
    }
    return control.index >= 0 && index < 0;
}

}  // namespace sim::detail

namespace forms {
using namespace sim::detail;

Control Ctl(WindowId window, std::string_view name) {
    WindowRec* w = FindWindow(window);
    if (w) {
        for (std::size_t i = 0; i < w->controls.size(); ++i)
            if (std::string_view(w->controls[i].name) == name) return {window, static_cast<int>(i)};
    }
    return {window, -1};
}

bool operator==(const Control& a, const Control& b) { return a.window == b.window && a.index == b.index; }

const char* NameOf(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->name : "";
}

int Left(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->left : 0;
}

int Top(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->top : 0;
}

int Width(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->width : 0;
}

int Height(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->height : 0;
}

bool Visible(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->visible : false;
}

void SetVisible(Control control, bool visible) {
    if (ControlRec* c = FindControl(control)) c->visible = visible;
}

std::string Text(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->text : std::string();
}

void SetText(Control control, std::string_view text) {
    if (ControlRec* c = FindControl(control)) {
        c->text = CText(text);
        c->caret = 0;
    }
}

bool Checked(Control control) {
    ControlRec* c = FindControl(control);
    return c && c->kind == Kind::CheckBox && c->checked;
}

void SetChecked(Control control, bool checked) {
    ControlRec* c = FindControl(control);
    if (c && c->kind == Kind::CheckBox) c->checked = checked;
}

Colour BackColour(Control control) {
    ControlRec* c = FindControl(control);
    return c ? c->backColour : 0;
}

void SetBackColour(Control control, Colour colour) {
    if (ControlRec* c = FindControl(control)) c->backColour = colour;
}

void SetAddress(Control htmlView, std::string_view address) {
    ControlRec* c = FindControl(htmlView);
    if (c && c->kind == Kind::HtmlView) c->address = std::string(address);
}

std::string Caption(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->caption : std::string();
}

void SetCaption(WindowId window, std::string_view caption) {
    if (WindowRec* w = FindWindow(window)) w->caption = CText(caption);
}

int WindowLeft(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->left : 0;
}

int WindowTop(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->top : 0;
}

int WindowWidth(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->width : 0;
}

int WindowHeight(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->height : 0;
}

bool WindowVisible(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w && w->visible;
}

void SetWindowVisible(WindowId window, bool visible) {
    WindowRec* w = FindWindow(window);
    if (!w || w->visible == visible) return;
    w->visible = visible;
    State& s = S();
    if (visible)
        s.foreground = window;
    else if (s.foreground == window)
        s.foreground = 0;
}

bool Topmost(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w && w->topmost;
}

void SetTopmost(WindowId window, bool topmost) {
    if (WindowRec* w = FindWindow(window)) w->topmost = topmost;
}

int WindowState(WindowId window) {
    WindowRec* w = FindWindow(window);
    return w ? w->state : 0;
}

void SetWindowState(WindowId window, int state) {
    WindowRec* w = FindWindow(window);
    if (!w) return;
    w->state = state;
    if (!w->visible) return;  // only recorded
    State& s = S();
    switch (state) {
        case 0:
        case 3:
            w->iconic = false;
            break;
        case 1:
            w->iconic = false;
            w->left = (s.config.screenWidth - w->width) / 2;
            w->top = (s.config.screenHeight - w->height) / 2;
            break;
        case 2:
            w->iconic = true;
            if (s.foreground == window) s.foreground = 0;
            break;
        default:
            break;
    }
}

void On(Control control, Event event, Handler handler) {
    ControlRec* c = FindControl(control);
    if (!c) return;
    switch (event) {
        case Event::MouseDown: c->mouseDown = std::move(handler); break;
        case Event::Click: c->click = std::move(handler); break;
        case Event::Tick: c->tick = std::move(handler); break;
    }
}

void OnDestroyed(WindowId window, Handler handler) {
    if (WindowRec* w = FindWindow(window)) w->destroyed = std::move(handler);
}

}  // namespace forms

namespace desktop {
using namespace sim::detail;

WindowId OpenWindow(const forms::FormDef& form, const std::function<void(WindowId)>& created) {
    State& s = S();
    WindowId id = s.nextWindowId++;
    s.windows.emplace(id, MakeWindow(id, form));
    if (created) created(id);
    WindowRec* w = FindWindow(id);
    if (w && !Exited()) {
        w->visible = true;
        s.foreground = id;
    }
    return id;
}

bool IsWindowOpen(WindowId window) { return FindWindow(window) != nullptr; }

void DestroyWindowLater(WindowId window) {
    if (!FindWindow(window)) return;
    Post([window] {
        WindowRec* w = FindWindow(window);
        if (!w) return;
        forms::Handler destroyed = w->destroyed;
        if (destroyed) destroyed();
        ForgetWindow(window);
    });
}

}  // namespace desktop
