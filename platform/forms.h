// The forms runtime: a window is made from a form, which is plain data (a table
// of controls and a list of pop-up menus). A running window gives access to each
// control's properties by the control's form name, and binds handlers to events.
//
// Implemented by exactly one backend: platform/win32 (the program) or
// platform/sim (the in-memory desktop of the unit tests). All texts are byte
// strings in the ANSI code page; nothing here converts them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// A Windows colour number, 0x00BBGGRR.
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFFFFFFFFu;  // the parent's or the system's
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

enum class Kind {
    Label,          // static text; MouseDown on the left button going down
    Edit,           // single- or multi-line edit box
    CheckBox,       // Click after the box has toggled
    GroupBox,       // captioned frame that holds other controls
    PictureButton,  // plain/highlighted picture; Click when the left button is released over it
    PictureBox,     // a picture; MouseDown
    Shape,          // rectangle that holds other controls (outline and fill colours)
    Timer,          // not drawn; Tick at its period
    BalloonTip,     // not drawn until ShowBalloonTip
    HtmlView,       // embedded web browser; SetAddress loads a page or a local file
};

enum class Align { Left, Centre, Right };

// Pictures drawn by the backend (artwork is drawn by code, never copied).
enum class Picture {
    None,
    FrameBand,       // the 1 x 24 light-blue band of the self-drawn frame, repeated
    CloseButton,     // cross
    MinimiseButton,  // horizontal bar
    MoreButton,      // two long bars over a short one, with a small triangle
    StartButton,     // the word "开始" in white on an orange button
};

struct Font {
    const char* face = nullptr;  // nullptr: the system's default GUI font
    int height = 0;              // character height in pixels (a font height of -height)
    bool bold = false;
    bool gb2312 = false;         // GB2312 character set
};

struct ControlDef {
    const char* name = "";
    Kind kind = Kind::Label;
    const char* parent = nullptr;  // form name of the holding control; nullptr: the window
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const char* text = "";
    Colour textColour = kDefaultColour;
    Colour backColour = kDefaultColour;  // kDefaultColour: the parent's background
    Font font{};
    Align align = Align::Left;
    bool hand = false;       // hand pointer over the control
    bool hidden = false;     // not visible when the window is created
    bool multiLine = false;  // edit box: multi-line, vertical scroll bar, wraps, Enter = new line
    Picture picture = Picture::None;  // label background, picture button or picture box picture
    Colour outline = kDefaultColour;  // shape outline; kDefaultColour: none
};

// A menu item; the text "-" is a separator. level 2 items form the submenu of
// the level 1 item above them.
struct MenuItemDef {
    const char* text = "";
    int level = 1;
    bool hidden = false;
};

struct MenuDef {
    const char* name = "";
    std::vector<MenuItemDef> items{};
};

struct FormDef {
    const char* name = "";
    const char* caption = "";
    int width = 0;
    int height = 0;
    Colour backColour = kDefaultColour;
    bool taskBarButton = true;
    bool topmost = false;
    // Painter's order: a control lies above the controls before it in the
    // table; a holding control comes before the controls it holds.
    std::vector<ControlDef> controls{};
    std::vector<MenuDef> menus{};
};

// A running window made from a form. 0 is no window. The runtime owns the
// window; an id stays harmless after the window has been destroyed (every
// property reads as zero/empty and every write is ignored).
using WindowId = int;

// A control of a running window, reached by its form name.
struct Control {
    WindowId window = 0;
    int index = -1;  // position in the form's control table; -1: no such control
};

Control Ctl(WindowId window, std::string_view name);
bool operator==(const Control& a, const Control& b);
const char* NameOf(Control control);

// Control properties. Places are in the parent's client area, in pixels.
int Left(Control control);
int Top(Control control);
int Width(Control control);
int Height(Control control);
bool Visible(Control control);
void SetVisible(Control control, bool visible);
std::string Text(Control control);
// Replaces the whole text; an edit box then puts its caret at the start and
// scrolls back to its first line.
void SetText(Control control, std::string_view text);
bool Checked(Control control);
void SetChecked(Control control, bool checked);  // raises no Click
int TimerPeriod(Control control);
// 0 (or less) stops the timer; the period it already has changes nothing; a new
// positive period restarts the count, the first tick one full period later.
void SetTimerPeriod(Control control, int milliseconds);
Colour BackColour(Control control);
void SetBackColour(Control control, Colour colour);
void SetAddress(Control htmlView, std::string_view address);

// Window properties. Places are screen pixels of the outer window.
std::string Caption(WindowId window);
void SetCaption(WindowId window, std::string_view caption);
int WindowLeft(WindowId window);
int WindowTop(WindowId window);
int WindowWidth(WindowId window);
int WindowHeight(WindowId window);
bool WindowVisible(WindowId window);
void SetWindowVisible(WindowId window, bool visible);
bool Topmost(WindowId window);
// SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST, neither moving, sizing nor activating.
void SetTopmost(WindowId window, bool topmost);
// 0 normal, 1 centred on the screen, 2 minimised, 3 maximised; on a hidden
// window the state is only recorded.
int WindowState(WindowId window);
void SetWindowState(WindowId window, int state);

// Menu items by their place in the menu's item list (separators count).
int MenuItemIndex(WindowId window, std::string_view menu, std::string_view itemText);
void SetMenuItemText(WindowId window, std::string_view menu, int item, std::string_view text);
void SetMenuItemVisible(WindowId window, std::string_view menu, int item, bool visible);

// Events. A handler runs on the user-interface thread, to its end before the next event.
enum class Event {
    MouseDown,  // the left mouse button goes down on the control
    Click,      // check box toggled, or picture button released over
    Tick,       // a timer's tick
};
using Handler = std::function<void()>;
void On(Control control, Event event, Handler handler);
// A chosen item of one of the window's pop-up menus, by the item's form text.
void OnMenuItem(WindowId window, std::string_view menu, std::string_view itemText, Handler handler);
// Tray icon events: 1 left button up, 2 left double-click, 3 right button up or context menu.
void OnTray(WindowId window, std::function<void(int type)> handler);
// The window's destruction (after DestroyWindowLater).
void OnDestroyed(WindowId window, Handler handler);

}  // namespace forms
