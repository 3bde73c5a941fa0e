// Shared internals of the Windows backend: the records behind every running
// window, small RAII holders for Windows handles, and the routines the
// backend's source files call in one another. Only platform/win32 includes it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/forms.h"

namespace win32 {

// ---- RAII holders ------------------------------------------------------------

template <typename H, typename Deleter>
class Handle {
public:
    Handle() = default;
    explicit Handle(H h) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    H release() {
        H h = h_;
        h_ = H{};
        return h;
    }
    void reset(H h = H{}) {
        if (h_ != H{}) {
            Deleter{}(h_);
        }
        h_ = h;
    }

private:
    H h_{};
};

struct GdiDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct KernelDeleter {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct WindowDeleter {
    void operator()(HWND h) const {
        if (IsWindow(h)) DestroyWindow(h);
    }
};

using GdiBrush = Handle<HBRUSH, GdiDeleter>;
using GdiFont = Handle<HFONT, GdiDeleter>;
using GdiPen = Handle<HPEN, GdiDeleter>;
using KernelHandle = Handle<HANDLE, KernelDeleter>;
using MenuHandle = Handle<HMENU, MenuDeleter>;
using WindowHandle = Handle<HWND, WindowDeleter>;

// A GDI object selected into a device context for the holder's lifetime.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint/EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// ---- System libraries loaded on first use -------------------------------------------

// Loads a library from the system folder. Libraries that nothing needs before
// the first window shows (WinINet, the common controls) are loaded this way when
// first used rather than imported, which keeps their loading out of start-up.
// Once loaded, a library stays for the rest of the run, as an imported one
// would: worker threads and windows of its classes may outlive any holder.
HMODULE LoadSystemLibrary(const char* name);

// A function of a loaded library as a pointer of its own type F; null when
// the library or the function is missing.
template <typename F>
F LibraryFunction(HMODULE library, const char* name) {
    if (library == nullptr) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// ---- Window records ----------------------------------------------------------------

struct ControlRec {
    const forms::ControlDef* def = nullptr;  // points into WindowRec::form
    HWND hwnd = nullptr;                     // none for timers and balloon tips
    int parent = -1;                         // index of the holding control; -1: the window
    forms::Colour back = forms::kDefaultColour;
    GdiBrush backBrush;  // for WM_CTLCOLOR* answers, made on demand
    forms::Colour backBrushColour = forms::kDefaultColour;
    HFONT font = nullptr;  // shared, owned by the font cache
    // Controls without a window keep their place here.
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    int timerPeriod = 0;
    // Picture buttons.
    bool hot = false;
    bool pressed = false;
    bool tracking = false;
    // Balloon tips.
    HWND tooltip = nullptr;
    std::string balloonText;
    std::string address;  // HTML views
    forms::Handler mouseDown, click, tick;
};

struct MenuItemState {
    std::string text;
    int level = 1;
    bool hidden = false;
};
struct MenuState {
    std::string name;
    std::vector<MenuItemState> items;
    std::vector<std::string> formTexts;
};

struct WindowRec {
    forms::WindowId id = 0;
    forms::FormDef form;
    HWND hwnd = nullptr;
    WindowHandle owner;  // invisible owner that keeps the window off the task bar
    std::vector<ControlRec> controls;
    std::vector<MenuState> menus;
    std::map<std::pair<std::string, std::string>, forms::Handler> menuHandlers;
    std::function<void(int)> trayHandler;
    forms::Handler destroyed;
    GdiBrush formBrush;
    bool hasTrayIcon = false;
    int state = 0;
    HWND lastFocus = nullptr;
};

// Window classes and messages of the backend.
inline constexpr char kFormClass[] = "QuilloForm";
inline constexpr char kLabelClass[] = "QuilloLabel";
inline constexpr char kGroupClass[] = "QuilloGroup";
inline constexpr char kShapeClass[] = "QuilloShape";
inline constexpr char kPictureButtonClass[] = "QuilloPictureButton";
inline constexpr char kPictureBoxClass[] = "QuilloPicture";
inline constexpr char kHtmlViewClass[] = "QuilloHtmlView";
inline constexpr char kOwnerClass[] = "QuilloOwner";
inline constexpr char kServiceClass[] = "QuilloService";

inline constexpr UINT kTrayMessage = 0x8064;
inline constexpr UINT kTrayId = 100;
inline constexpr UINT kDestroyRequest = WM_APP + 0x21;  // to the service window, wParam = window id
inline constexpr UINT_PTR kBalloonTimerBase = 0x7000;   // + control index
inline constexpr UINT kMenuCommandBase = 0x8000;        // + menu * 0x200 + item + 1
inline constexpr int kBalloonShowMs = 5000;

HINSTANCE Instance();
// Registers the window classes; idempotent.
void EnsureRuntime();
// The hidden message window: clipboard owner and target of posted requests;
// made on the first call, which comes from the user-interface thread.
HWND ServiceWindow();

WindowRec* FindWindowRec(forms::WindowId id);
WindowRec* LiveWindowRec(forms::WindowId id);  // null when destroyed
WindowRec* RecOfHwnd(HWND formHwnd);
ControlRec* FindControlRec(forms::Control control);
// The control a child window stands for, from its control id and top window.
ControlRec* RecOfControlHwnd(HWND child, WindowRec** window = nullptr);

// The colour a control's background shows: its own, else its parent's, else the form's.
forms::Colour EffectiveBack(const WindowRec& w, int index);
std::string WindowText(HWND hwnd);
COLORREF ToColorRef(forms::Colour c, COLORREF fallback);
HFONT FontFor(const forms::Font& font);

// Window procedures (controls_paint.cpp / forms_runtime.cpp).
LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK LabelProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK GroupProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ShapeProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK PictureButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK PictureBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK HtmlViewProc(HWND, UINT, WPARAM, LPARAM);

// Shared answers of form and container windows.
bool HandleSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT ForwardToForm(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool IsForwardedMessage(UINT msg);

// Pictures drawn by code (pictures.cpp). `bandOffset` is the band row at the
// rectangle's top, so that a button continues the band it sits on.
void DrawFrameBand(HDC dc, const RECT& rc);
// The band as DrawFrameBand draws it over a control `height` pixels high, as a
// pattern brush whose top row is the band's top; shared, lives for the whole run.
HBRUSH FrameBandBrush(int height);
void DrawPicture(HDC dc, forms::Picture picture, const RECT& rc, bool highlighted);

// Menus, tray and balloon tips (menus_tray.cpp).
void DispatchMenuCommand(WindowRec& w, UINT id);
void DispatchTray(WindowRec& w, LPARAM lParam);
void RemoveTrayIcon(WindowRec& w);
// Makes the balloon's tool window unless it has one; the first balloon loads the common controls.
void CreateBalloon(WindowRec& w, ControlRec& c);
void HideBalloon(WindowRec& w, int index);

// Runs a handler from a copy, so that it may rebind itself.
inline void Run(const forms::Handler& handler) {
    if (handler) {
        forms::Handler copy = handler;
        try {
            copy();
        } catch (...) {
            // A handler's failure ends with the handler: nothing crosses into Windows.
        }
    }
}

inline std::string Z(std::string_view s) { return std::string(s); }

}  // namespace win32
