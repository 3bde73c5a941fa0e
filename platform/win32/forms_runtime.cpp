// The forms runtime on Windows: window records, the top-level window
// procedure, building a window's controls from its form, control and window
// properties, and the window services of the desktop (open, destroy, move,
// focus, event loop).
#include "platform/win32/backend.h"

#include <cstring>
#include <utility>

namespace win32 {

namespace {

std::map<forms::WindowId, std::unique_ptr<WindowRec>>& Windows() {
    static std::map<forms::WindowId, std::unique_ptr<WindowRec>> windows;
    return windows;
}
forms::WindowId g_nextId = 1;
HWND g_service = nullptr;

LRESULT CALLBACK ServiceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDestroyRequest) {
        WindowRec* w = FindWindowRec(static_cast<forms::WindowId>(wParam));
        if (w != nullptr && w->hwnd != nullptr) {
            DestroyWindow(w->hwnd);
            w->owner.reset();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Register(const char* name, WNDPROC proc, HBRUSH background = nullptr, UINT style = 0) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (std::strcmp(name, kFormClass) == 0) {
        wc.hIcon = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
        wc.hIconSm = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
    }
    RegisterClassExA(&wc);
}

// Windowed controls stand above the light ones (labels, shapes, picture
// buttons), as in the form designer the program's forms come from; within each
// group a later control of the table lies above an earlier one.
bool IsLight(forms::Kind kind) {
    return kind == forms::Kind::Label || kind == forms::Kind::Shape || kind == forms::Kind::PictureButton;
}

// Timers and balloon tips have no child window of their own.
bool HasChildWindow(forms::Kind kind) { return kind != forms::Kind::Timer && kind != forms::Kind::BalloonTip; }

// True when control a lies above control b among their siblings.
bool Above(const WindowRec& w, int a, int b) {
    const bool lightA = IsLight(w.controls[a].def->kind);
    const bool lightB = IsLight(w.controls[b].def->kind);
    return lightA != lightB ? lightB : a > b;
}

// The control whose window holds the control's window; -1: the form itself.
int WindowParent(const WindowRec& w, int index) {
    const int parent = w.controls[index].parent;
    return parent >= 0 && HasChildWindow(w.controls[parent].def->kind) ? parent : -1;
}

void CreateControlWindow(WindowRec& w, int index) {
    ControlRec& c = w.controls[index];
    const forms::ControlDef& d = *c.def;
    const int parent = WindowParent(w, index);
    HWND parentHwnd = parent >= 0 && w.controls[parent].hwnd != nullptr ? w.controls[parent].hwnd : w.hwnd;
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(index + 1));
    const char* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    // The system's controls take their font while still hidden: an edit box
    // that is already visible lays itself out twice.
    bool systemControl = false;
    switch (d.kind) {
        case forms::Kind::Label: cls = kLabelClass; break;
        case forms::Kind::Edit:
            cls = "EDIT";
            systemControl = true;
            // An edit box standing in an outlined shape takes the outline as its frame.
            if (c.parent < 0 || w.controls[c.parent].def->kind != forms::Kind::Shape ||
                w.controls[c.parent].def->outline == forms::kDefaultColour) {
                ex = WS_EX_CLIENTEDGE;
            }
            style |= WS_TABSTOP | (d.align == forms::Align::Centre ? ES_CENTER
                                   : d.align == forms::Align::Right ? ES_RIGHT
                                                                    : ES_LEFT);
            style |= d.multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL) : ES_AUTOHSCROLL;
            break;
        case forms::Kind::CheckBox:
            cls = "BUTTON";
            systemControl = true;
            style |= BS_AUTOCHECKBOX | WS_TABSTOP;
            break;
        case forms::Kind::GroupBox: cls = kGroupClass; style |= WS_CLIPCHILDREN; break;
        case forms::Kind::PictureButton: cls = kPictureButtonClass; break;
        case forms::Kind::PictureBox: cls = kPictureBoxClass; break;
        case forms::Kind::Shape: cls = kShapeClass; style |= WS_CLIPCHILDREN; break;
        case forms::Kind::HtmlView: cls = kHtmlViewClass; style |= WS_CLIPCHILDREN; break;
        // The balloon's tool window is made when it is first shown.
        case forms::Kind::Timer:
        case forms::Kind::BalloonTip: return;
    }
    if (!d.hidden && !systemControl) style |= WS_VISIBLE;
    // The backend's own controls paint with the font kept in their record.
    c.font = FontFor(d.font);
    c.hwnd = CreateWindowExA(ex, cls, d.text, style, d.left, d.top, d.width, d.height, parentHwnd, id, Instance(),
                             nullptr);
    if (c.hwnd == nullptr || !systemControl) return;
    SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    if (d.kind == forms::Kind::Edit) {
        SendMessageA(c.hwnd, EM_SETLIMITTEXT, 0, 0);
        SendMessageA(c.hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    }
    if (!d.hidden) ShowWindow(c.hwnd, SW_SHOWNA);
}

// Makes every control's window. A new child window goes below the siblings it
// already has, so the siblings are made from the top of their order down:
// windowed controls from the last to the first, then the light ones likewise.
// A holding control is made, with all its siblings, before what it holds.
void CreateControls(WindowRec& w) {
    const int n = static_cast<int>(w.form.controls.size());
    w.controls.resize(n);
    for (int i = 0; i < n; ++i) {
        ControlRec& c = w.controls[i];
        c.def = &w.form.controls[i];
        c.back = c.def->backColour;
        c.left = c.def->left;
        c.top = c.def->top;
        c.width = c.def->width;
        c.height = c.def->height;
        c.visible = !c.def->hidden;
        if (c.def->parent != nullptr) {
            for (int j = 0; j < n; ++j) {
                if (j != i && std::strcmp(w.form.controls[j].name, c.def->parent) == 0) {
                    c.parent = j;
                    break;
                }
            }
        }
    }
    std::vector<int> order;
    order.reserve(n);
    for (int light = 0; light < 2; ++light) {
        for (int i = n - 1; i >= 0; --i) {
            if (IsLight(w.controls[i].def->kind) == (light != 0)) order.push_back(i);
        }
    }
    // made[i]: the round in which control i was made; -1: not yet.
    std::vector<int> made(n, -1);
    int left = n;
    for (int round = 0; left > 0; ++round) {
        int madeNow = 0;
        for (int i : order) {
            if (made[i] >= 0) continue;
            const int parent = WindowParent(w, i);
            if (parent >= 0 ? (made[parent] < 0 || made[parent] == round) : round != 0) continue;
            CreateControlWindow(w, i);
            made[i] = round;
            ++madeNow;
        }
        left -= madeNow;
        if (madeNow == 0) {
            // Holding controls that hold one another: what is left goes where it can.
            for (int i : order) {
                if (made[i] < 0) {
                    CreateControlWindow(w, i);
                    made[i] = round;
                }
            }
            break;
        }
    }
}

HBRUSH ControlBrush(ControlRec& c, forms::Colour colour) {
    if (!c.backBrush || c.backBrushColour != colour) {
        c.backBrush.reset(CreateSolidBrush(colour));
        c.backBrushColour = colour;
    }
    return c.backBrush.get();
}

// A windowed control's place in its parent's client area.
bool PlaceInParent(HWND hwnd, RECT& rc) {
    if (!GetWindowRect(hwnd, &rc)) return false;
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return true;
}

// The visible sibling that shows beneath the middle of a control: the highest
// of those below it whose place holds that point; -1 when none does.
int SiblingBeneath(const WindowRec& w, int index, const RECT& place) {
    const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    const int parent = WindowParent(w, index);
    int found = -1;
    for (int i = 0; i < static_cast<int>(w.controls.size()); ++i) {
        const ControlRec& s = w.controls[i];
        if (i == index || s.hwnd == nullptr || WindowParent(w, i) != parent || !Above(w, index, i)) continue;
        if ((GetWindowLongA(s.hwnd, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        RECT rc;
        if (!PlaceInParent(s.hwnd, rc) || !PtInRect(&rc, middle)) continue;
        if (found < 0 || Above(w, i, found)) found = i;
    }
    return found;
}

LRESULT ControlColour(WindowRec& w, HDC dc, HWND child) {
    WindowRec* owner = nullptr;
    ControlRec* c = RecOfControlHwnd(child, &owner);
    if (c == nullptr || owner != &w) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    const int index = static_cast<int>(c - w.controls.data());
    if (c->def->kind == forms::Kind::Edit) {
        const COLORREF back = ToColorRef(c->back, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, ToColorRef(c->def->textColour, GetSysColor(COLOR_WINDOWTEXT)));
        SetBkColor(dc, back);
        return reinterpret_cast<LRESULT>(ControlBrush(*c, back));
    }
    SetTextColor(dc, ToColorRef(c->def->textColour, GetSysColor(COLOR_BTNTEXT)));
    forms::Colour back = EffectiveBack(w, index);
    // A check box without a colour of its own shows what lies beneath it: the
    // frame band of a label it stands on, or that label's colour.
    RECT place;
    if (c->def->kind == forms::Kind::CheckBox && c->back == forms::kDefaultColour &&
        PlaceInParent(child, place)) {
        const int beneath = SiblingBeneath(w, index, place);
        if (beneath >= 0) {
            const ControlRec& under = w.controls[beneath];
            RECT rc;
            if (under.def->picture == forms::Picture::FrameBand && PlaceInParent(under.hwnd, rc)) {
                // The band continues from the label's top, over the check box's box and text.
                SetBrushOrgEx(dc, rc.left - place.left, rc.top - place.top, nullptr);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(FrameBandBrush(rc.bottom - rc.top));
            }
            back = EffectiveBack(w, beneath);
        }
    }
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(ControlBrush(*c, back));
}

void RestoreFocus(WindowRec& w) {
    if (w.lastFocus != nullptr && IsWindow(w.lastFocus) && IsChild(w.hwnd, w.lastFocus)) {
        SetFocus(w.lastFocus);
    } else {
        SetFocus(w.hwnd);
    }
}

}  // namespace

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder, length) + '\\' + name;
    return LoadLibraryA(path.c_str());
}

void EnsureRuntime() {
    static bool done = false;
    if (done) return;
    done = true;
    Register(kFormClass, FormProc);
    Register(kLabelClass, LabelProc);
    Register(kGroupClass, GroupProc);
    Register(kShapeClass, ShapeProc);
    Register(kPictureButtonClass, PictureButtonProc);
    Register(kPictureBoxClass, PictureBoxProc);
    Register(kHtmlViewClass, HtmlViewProc);
    Register(kOwnerClass, OwnerProc);
    Register(kServiceClass, ServiceProc);
}

HWND ServiceWindow() {
    EnsureRuntime();
    // Made on first use, on the user-interface thread: nothing needs it before the first window shows.
    if (g_service == nullptr) {
        g_service = CreateWindowExA(0, kServiceClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance(), nullptr);
    }
    return g_service;
}

WindowRec* FindWindowRec(forms::WindowId id) {
    auto it = Windows().find(id);
    return it == Windows().end() ? nullptr : it->second.get();
}

WindowRec* LiveWindowRec(forms::WindowId id) {
    WindowRec* w = FindWindowRec(id);
    return (w != nullptr && w->hwnd != nullptr) ? w : nullptr;
}

WindowRec* RecOfHwnd(HWND formHwnd) {
    if (formHwnd == nullptr) return nullptr;
    char cls[32] = {};
    if (GetClassNameA(formHwnd, cls, sizeof cls) == 0 || std::strcmp(cls, kFormClass) != 0) return nullptr;
    return reinterpret_cast<WindowRec*>(GetWindowLongPtrA(formHwnd, GWLP_USERDATA));
}

ControlRec* FindControlRec(forms::Control control) {
    WindowRec* w = FindWindowRec(control.window);
    if (w == nullptr || control.index < 0 || control.index >= static_cast<int>(w->controls.size())) return nullptr;
    return &w->controls[control.index];
}

ControlRec* RecOfControlHwnd(HWND child, WindowRec** window) {
    if (child == nullptr) return nullptr;
    WindowRec* w = RecOfHwnd(GetAncestor(child, GA_ROOT));
    if (w == nullptr) return nullptr;
    const int id = GetDlgCtrlID(child);
    if (id < 1 || id > static_cast<int>(w->controls.size()) || w->controls[id - 1].hwnd != child) return nullptr;
    if (window != nullptr) *window = w;
    return &w->controls[id - 1];
}

COLORREF ToColorRef(forms::Colour c, COLORREF fallback) {
    return c == forms::kDefaultColour ? fallback : static_cast<COLORREF>(c & 0x00FFFFFFu);
}

forms::Colour EffectiveBack(const WindowRec& w, int index) {
    for (int guard = 0; index >= 0 && guard < 64; ++guard) {
        const ControlRec& c = w.controls[index];
        if (c.back != forms::kDefaultColour) return c.back & 0x00FFFFFFu;
        index = c.parent;
    }
    return ToColorRef(w.form.backColour, GetSysColor(COLOR_BTNFACE));
}

HFONT FontFor(const forms::Font& font) {
    if (font.face == nullptr || font.height <= 0) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // Fonts are shared by all controls of the same look and live for the whole run.
    static std::map<std::string, GdiFont> cache;
    std::string key = std::string(font.face) + '/' + std::to_string(font.height) + (font.bold ? "b" : "") +
                      (font.gb2312 ? "g" : "");
    GdiFont& slot = cache[key];
    if (!slot) {
        slot.reset(CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               font.gb2312 ? GB2312_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face));
    }
    return slot ? slot.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool HandleSetCursor(HWND, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    ControlRec* c = RecOfControlHwnd(reinterpret_cast<HWND>(wParam));
    if (c == nullptr || !c->def->hand) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

bool IsForwardedMessage(UINT msg) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            return true;
        default:
            return false;
    }
}

LRESULT ForwardToForm(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (root == nullptr || root == hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return FormProc(root, msg, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* w = static_cast<WindowRec*>(cs->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
        if (w != nullptr) w->hwnd = hwnd;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    auto* w = reinterpret_cast<WindowRec*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (w == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd, &rc);
            const COLORREF back = ToColorRef(w->form.backColour, GetSysColor(COLOR_BTNFACE));
            if (!w->formBrush) w->formBrush.reset(CreateSolidBrush(back));
            FillRect(reinterpret_cast<HDC>(wParam), &rc, w->formBrush.get());
            return 1;
        }
        case WM_COMMAND:
            if (lParam != 0) {
                WindowRec* owner = nullptr;
                ControlRec* c = RecOfControlHwnd(reinterpret_cast<HWND>(lParam), &owner);
                if (c != nullptr && owner == w && c->def->kind == forms::Kind::CheckBox &&
                    HIWORD(wParam) == BN_CLICKED) {
                    Run(c->click);
                }
                return 0;
            }
            if (HIWORD(wParam) == 0 && LOWORD(wParam) > kMenuCommandBase) DispatchMenuCommand(*w, LOWORD(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ControlColour(*w, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_TIMER: {
            if (wParam >= kBalloonTimerBase && wParam < kBalloonTimerBase + w->controls.size()) {
                KillTimer(hwnd, wParam);
                HideBalloon(*w, static_cast<int>(wParam - kBalloonTimerBase));
                return 0;
            }
            if (wParam >= 1 && wParam <= w->controls.size()) {
                ControlRec& c = w->controls[wParam - 1];
                if (c.def->kind == forms::Kind::Timer && c.timerPeriod > 0) Run(c.tick);
            }
            return 0;
        }
        case kTrayMessage:
            DispatchTray(*w, lParam);
            return 0;
        case WM_SETCURSOR:
            if (HandleSetCursor(hwnd, wParam, lParam)) return TRUE;
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd, focus)) w->lastFocus = focus;
                return 0;
            }
            if (HIWORD(wParam) == 0) {
                RestoreFocus(*w);
                return 0;
            }
            break;
        case WM_CLOSE:
            // Forms close only through the program's own commands.
            return 0;
        case WM_DESTROY:
            RemoveTrayIcon(*w);
            Run(w->destroyed);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            w->hwnd = nullptr;
            for (ControlRec& c : w->controls) {
                c.hwnd = nullptr;
                c.tooltip = nullptr;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace win32

// ---- forms.h -----------------------------------------------------------------

namespace forms {

using namespace win32;

Control Ctl(WindowId window, std::string_view name) {
    WindowRec* w = FindWindowRec(window);
    if (w != nullptr) {
        for (std::size_t i = 0; i < w->form.controls.size(); ++i) {
            if (name == w->form.controls[i].name) return Control{window, static_cast<int>(i)};
        }
    }
    return Control{window, -1};
}

bool operator==(const Control& a, const Control& b) { return a.window == b.window && a.index == b.index; }

const char* NameOf(Control control) {
    ControlRec* c = FindControlRec(control);
    return c == nullptr ? "" : c->def->name;
}

namespace {

// The place of a windowed control in its parent's client area.
bool PlaceOf(const ControlRec& c, RECT& rc) {
    if (c.hwnd == nullptr || !GetWindowRect(c.hwnd, &rc)) return false;
    MapWindowPoints(nullptr, GetParent(c.hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return true;
}

ControlRec* LiveControl(Control control) {
    if (LiveWindowRec(control.window) == nullptr) return nullptr;
    return FindControlRec(control);
}

bool OuterRect(WindowId window, RECT& rc) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return false;
    if (IsIconic(w->hwnd)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        GetWindowPlacement(w->hwnd, &wp);
        rc = wp.rcNormalPosition;
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        OffsetRect(&rc, work.left, work.top);
        return true;
    }
    return GetWindowRect(w->hwnd, &rc) != 0;
}

}  // namespace

int Left(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return 0;
    RECT rc;
    return PlaceOf(*c, rc) ? rc.left : c->left;
}
int Top(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return 0;
    RECT rc;
    return PlaceOf(*c, rc) ? rc.top : c->top;
}
int Width(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return 0;
    RECT rc;
    return PlaceOf(*c, rc) ? rc.right - rc.left : c->width;
}
int Height(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return 0;
    RECT rc;
    return PlaceOf(*c, rc) ? rc.bottom - rc.top : c->height;
}

bool Visible(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return false;
    if (c->hwnd == nullptr) return c->visible;
    return (GetWindowLongA(c->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetVisible(Control control, bool visible) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return;
    c->visible = visible;
    if (c->hwnd != nullptr) ShowWindow(c->hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

std::string Text(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return {};
    if (c->def->kind == Kind::BalloonTip) return c->balloonText;
    if (c->hwnd == nullptr) return {};
    const int length = GetWindowTextLengthA(c->hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(c->hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

namespace {

// Whether an edit box's text is exactly these bytes.
bool EditHolds(HWND edit, const std::string& text) {
    const int length = GetWindowTextLengthA(edit);
    if (length < 0 || static_cast<std::size_t>(length) != text.size()) return false;
    std::string current(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(edit, current.data(), length + 1);
    current.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return current == text;
}

}  // namespace

void SetText(Control control, std::string_view text) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return;
    if (c->def->kind == Kind::BalloonTip) {
        c->balloonText = std::string(text);
        return;
    }
    if (c->hwnd == nullptr) return;
    const std::string z(text.substr(0, text.find('\0')));  // a window text ends at a zero byte
    if (c->def->kind == Kind::Edit && EditHolds(c->hwnd, z)) {
        // The box already holds these bytes: leave it as a whole write would
        // (caret at the start, first line at the top, nothing to undo, not
        // modified) without laying the whole text out again, which costs
        // about 0.1 s for 64 KiB in a word-wrapping box. Slots that follow
        // the clipboard write their whole text every second.
        SendMessageA(c->hwnd, EM_SETSEL, 0, 0);
        const LRESULT first = SendMessageA(c->hwnd, EM_GETFIRSTVISIBLELINE, 0, 0);
        if (first > 0) SendMessageA(c->hwnd, EM_LINESCROLL, 0, -first);
        SendMessageA(c->hwnd, EM_EMPTYUNDOBUFFER, 0, 0);
        SendMessageA(c->hwnd, EM_SETMODIFY, FALSE, 0);
        return;
    }
    SetWindowTextA(c->hwnd, z.c_str());
    if (c->def->kind == Kind::Edit) {
        SendMessageA(c->hwnd, EM_SETSEL, 0, 0);
        SendMessageA(c->hwnd, EM_SCROLLCARET, 0, 0);
    } else {
        InvalidateRect(c->hwnd, nullptr, TRUE);
    }
}

bool Checked(Control control) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr || c->hwnd == nullptr || c->def->kind != Kind::CheckBox) return false;
    return SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(Control control, bool checked) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr || c->hwnd == nullptr || c->def->kind != Kind::CheckBox) return;
    SendMessageA(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TimerPeriod(Control control) {
    ControlRec* c = LiveControl(control);
    return c == nullptr ? 0 : c->timerPeriod;
}

void SetTimerPeriod(Control control, int milliseconds) {
    WindowRec* w = LiveWindowRec(control.window);
    ControlRec* c = LiveControl(control);
    if (w == nullptr || c == nullptr || c->def->kind != Kind::Timer) return;
    const UINT_PTR id = static_cast<UINT_PTR>(control.index + 1);
    if (milliseconds <= 0) {
        if (c->timerPeriod > 0) KillTimer(w->hwnd, id);
        c->timerPeriod = 0;
        return;
    }
    if (milliseconds == c->timerPeriod) return;
    // SetTimer with an id in use replaces that timer and starts its count anew.
    if (SetTimer(w->hwnd, id, static_cast<UINT>(milliseconds), nullptr) != 0) c->timerPeriod = milliseconds;
}

Colour BackColour(Control control) {
    WindowRec* w = LiveWindowRec(control.window);
    if (w == nullptr || FindControlRec(control) == nullptr) return 0;
    return EffectiveBack(*w, control.index);
}

void SetBackColour(Control control, Colour colour) {
    ControlRec* c = LiveControl(control);
    if (c == nullptr) return;
    c->back = colour;
    if (c->hwnd != nullptr) RedrawWindow(c->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SetAddress(Control htmlView, std::string_view address) {
    ControlRec* c = LiveControl(htmlView);
    if (c == nullptr || c->def->kind != Kind::HtmlView) return;
    c->address = std::string(address);
    // The view's window text carries the address, so that a test program can read it.
    if (c->hwnd != nullptr) SetWindowTextA(c->hwnd, c->address.c_str());
}

std::string Caption(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return {};
    const int length = GetWindowTextLengthA(w->hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(w->hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

void SetCaption(WindowId window, std::string_view caption) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    const std::string z(caption);
    SetWindowTextA(w->hwnd, z.c_str());
}

int WindowLeft(WindowId window) {
    RECT rc;
    return OuterRect(window, rc) ? rc.left : 0;
}
int WindowTop(WindowId window) {
    RECT rc;
    return OuterRect(window, rc) ? rc.top : 0;
}
int WindowWidth(WindowId window) {
    RECT rc;
    return OuterRect(window, rc) ? rc.right - rc.left : 0;
}
int WindowHeight(WindowId window) {
    RECT rc;
    return OuterRect(window, rc) ? rc.bottom - rc.top : 0;
}

bool WindowVisible(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    return w != nullptr && IsWindowVisible(w->hwnd);
}

void SetWindowVisible(WindowId window, bool visible) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    ShowWindow(w->hwnd, visible ? SW_SHOW : SW_HIDE);
}

bool Topmost(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    return w != nullptr && (GetWindowLongA(w->hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void SetTopmost(WindowId window, bool topmost) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    SetWindowPos(w->hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int WindowState(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return 0;
    if (!IsWindowVisible(w->hwnd)) return w->state;
    if (IsIconic(w->hwnd)) return 2;
    if (IsZoomed(w->hwnd)) return 3;
    return w->state == 1 ? 1 : 0;
}

void SetWindowState(WindowId window, int state) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr || state < 0 || state > 3) return;
    w->state = state;
    if (!IsWindowVisible(w->hwnd)) return;
    switch (state) {
        case 0:
            if (IsIconic(w->hwnd) || IsZoomed(w->hwnd)) ShowWindow(w->hwnd, SW_RESTORE);
            break;
        case 1: {
            if (IsIconic(w->hwnd) || IsZoomed(w->hwnd)) ShowWindow(w->hwnd, SW_RESTORE);
            RECT rc;
            GetWindowRect(w->hwnd, &rc);
            const int width = rc.right - rc.left;
            const int height = rc.bottom - rc.top;
            SetWindowPos(w->hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case 2: ShowWindow(w->hwnd, SW_MINIMIZE); break;
        case 3: ShowWindow(w->hwnd, SW_MAXIMIZE); break;
        default: break;
    }
}

void On(Control control, Event event, Handler handler) {
    ControlRec* c = FindControlRec(control);
    if (c == nullptr) return;
    switch (event) {
        case Event::MouseDown: c->mouseDown = std::move(handler); break;
        case Event::Click: c->click = std::move(handler); break;
        case Event::Tick: c->tick = std::move(handler); break;
    }
}

void OnDestroyed(WindowId window, Handler handler) {
    WindowRec* w = FindWindowRec(window);
    if (w != nullptr) w->destroyed = std::move(handler);
}

}  // namespace forms

// ---- desktop.h: windows -----------------------------------------------------------

namespace desktop {

using namespace win32;

void SetWindowTransparency(WindowId window, int alpha) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    if (alpha < 0 || alpha > 255) alpha = 255;
    SetWindowLongA(w->hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    static const auto setLayered = reinterpret_cast<SetLayered>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
    if (setLayered != nullptr) setLayered(w->hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

Size GetScreenSize() { return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Rect GetWorkArea() {
    RECT rc{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

void ProcessEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void FocusControl(Control control) {
    WindowRec* w = LiveWindowRec(control.window);
    ControlRec* c = FindControlRec(control);
    if (w == nullptr || c == nullptr || c->hwnd == nullptr) return;
    w->lastFocus = c->hwnd;
    // A hidden window takes the focus when it is shown and activated.
    if (IsWindowVisible(w->hwnd)) SetFocus(c->hwnd);
}

void MoveControl(Control control, int left, int top, int width, int height) {
    if (LiveWindowRec(control.window) == nullptr) return;
    ControlRec* c = FindControlRec(control);
    if (c == nullptr) return;
    const int l = left;  // left and top are always set; only a size of kKeep is kept
    const int t = top;
    const int wd = width == kKeep ? forms::Width(control) : width;
    const int ht = height == kKeep ? forms::Height(control) : height;
    c->left = l;
    c->top = t;
    c->width = wd;
    c->height = ht;
    if (c->hwnd != nullptr) SetWindowPos(c->hwnd, nullptr, l, t, wd, ht, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveControl(WindowId window, int left, int top, int width, int height) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    const int l = left;  // a window may stand at -1
    const int t = top;
    const int wd = width == kKeep ? forms::WindowWidth(window) : width;
    const int ht = height == kKeep ? forms::WindowHeight(window) : height;
    SetWindowPos(w->hwnd, nullptr, l, t, wd, ht, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::intptr_t SendWindowMessage(WindowId window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return 0;
    return static_cast<std::intptr_t>(
        SendMessageA(w->hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

WindowId OpenWindow(const forms::FormDef& form, const std::function<void(WindowId)>& created) {
    EnsureRuntime();
    auto record = std::make_unique<WindowRec>();
    WindowRec* w = record.get();
    w->id = g_nextId++;
    w->form = form;
    for (const forms::MenuDef& m : w->form.menus) {
        MenuState state;
        state.name = m.name;
        for (const forms::MenuItemDef& item : m.items) {
            state.items.push_back(MenuItemState{item.text, item.level, item.hidden});
            state.formTexts.emplace_back(item.text);
        }
        w->menus.push_back(std::move(state));
    }
    Windows()[w->id] = std::move(record);

    HWND owner = nullptr;
    if (!form.taskBarButton) {
        // An owned window has no task-bar button, whatever its extended style.
        w->owner.reset(CreateWindowExA(0, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(),
                                       nullptr));
        owner = w->owner.get();
    }
    const int x = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
    const DWORD style = WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN;
    CreateWindowExA(form.topmost ? WS_EX_TOPMOST : 0, kFormClass, form.caption, style, x, y, form.width,
                    form.height, owner, nullptr, Instance(), w);
    if (w->hwnd == nullptr) {
        w->owner.reset();
        return w->id;
    }
    CreateControls(*w);
    if (created) {
        try {
            created(w->id);
        } catch (...) {
        }
    }
    if (w->hwnd != nullptr) {
        ShowWindow(w->hwnd, SW_SHOW);
        UpdateWindow(w->hwnd);
    }
    return w->id;
}

bool IsWindowOpen(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    return w != nullptr && IsWindow(w->hwnd);
}

void DestroyWindowLater(WindowId window) {
    if (LiveWindowRec(window) == nullptr) return;
    PostMessageA(ServiceWindow(), kDestroyRequest, static_cast<WPARAM>(window), 0);
}

bool FindTopLevelWindow(std::string_view title) {
    const std::string z(title);
    return FindWindowA(nullptr, z.c_str()) != nullptr;
}

void SwitchToThisWindow(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    using Switch = void(WINAPI*)(HWND, BOOL);
    static const auto switchTo = reinterpret_cast<Switch>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SwitchToThisWindow")));
    if (switchTo != nullptr) {
        switchTo(w->hwnd, TRUE);
        return;
    }
    if (IsIconic(w->hwnd)) ShowWindow(w->hwnd, SW_RESTORE);
    SetForegroundWindow(w->hwnd);
}

int RunEventLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace desktop
