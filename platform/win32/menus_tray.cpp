// Pop-up menus built from a window's form, the notification-area icon and the
// balloon tip.
#include "platform/win32/backend.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace win32 {

namespace {

UINT CommandId(int menu, int item) { return kMenuCommandBase + static_cast<UINT>(menu) * 0x200u + item + 1u; }

void Append(HMENU menu, const MenuItemState& item, UINT id) {
    if (item.text == "-") {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
        AppendMenuA(menu, MF_STRING, id, item.text.c_str());
    }
}

// Hidden items are left out; level 2 items under a level 1 item form its submenu.
HMENU BuildMenu(const MenuState& state, int menuIndex) {
    HMENU root = CreatePopupMenu();
    if (root == nullptr) return nullptr;
    const int n = static_cast<int>(state.items.size());
    for (int i = 0; i < n && i < 0x1FF; ++i) {
        const MenuItemState& item = state.items[i];
        int end = i + 1;
        while (end < n && state.items[end].level >= 2) ++end;
        if (item.hidden) {
            i = end - 1;
            continue;
        }
        bool anyChild = false;
        for (int j = i + 1; j < end; ++j) anyChild = anyChild || !state.items[j].hidden;
        if (!anyChild || item.text == "-") {
            Append(root, item, CommandId(menuIndex, i));
        } else {
            HMENU sub = CreatePopupMenu();
            for (int j = i + 1; j < end && j < 0x1FF; ++j) {
                if (!state.items[j].hidden) Append(sub, state.items[j], CommandId(menuIndex, j));
            }
            AppendMenuA(root, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
        }
        i = end - 1;
    }
    return root;
}

MenuState* FindMenu(WindowRec& w, std::string_view name, int* index = nullptr) {
    for (std::size_t i = 0; i < w.menus.size(); ++i) {
        if (w.menus[i].name == name) {
            if (index != nullptr) *index = static_cast<int>(i);
            return &w.menus[i];
        }
    }
    return nullptr;
}

HICON TrayIconImage(desktop::Icon icon) {
    const int id = icon == desktop::Icon::SearchBox ? 2 : 1;
    return static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

NOTIFYICONDATAA TrayData(const WindowRec& w) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = w.hwnd;
    nid.uID = kTrayId;
    return nid;
}

TOOLINFOA BalloonTool(const WindowRec& w, const ControlRec& c) {
    TOOLINFOA ti{};
    // The size every version of the common controls accepts.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = w.hwnd;
    ti.uId = static_cast<UINT_PTR>(&c - w.controls.data()) + 1;
    ti.hinst = Instance();
    ti.lpszText = const_cast<char*>(c.balloonText.c_str());
    return ti;
}

// The balloon's tool window comes from the common controls, which nothing
// needs before the first balloon; they are loaded then, once.
bool CommonControlsReady() {
    static const bool ready = [] {
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = LibraryFunction<Init>(LoadSystemLibrary("comctl32.dll"), "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        return init != nullptr && init(&icc) != FALSE;
    }();
    return ready;
}

}  // namespace

void DispatchMenuCommand(WindowRec& w, UINT id) {
    const UINT code = id - kMenuCommandBase - 1;
    const std::size_t menu = code / 0x200u;
    const std::size_t item = code % 0x200u;
    if (menu >= w.menus.size() || item >= w.menus[menu].formTexts.size()) return;
    auto it = w.menuHandlers.find({w.menus[menu].name, w.menus[menu].formTexts[item]});
    if (it != w.menuHandlers.end()) Run(it->second);
}

void DispatchTray(WindowRec& w, LPARAM lParam) {
    int type = 0;
    switch (static_cast<UINT>(LOWORD(lParam))) {
        case WM_LBUTTONUP: type = 1; break;
        case WM_LBUTTONDBLCLK: type = 2; break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: type = 3; break;
        default: return;
    }
    if (w.trayHandler) {
        std::function<void(int)> handler = w.trayHandler;
        try {
            handler(type);
        } catch (...) {
        }
    }
}

void RemoveTrayIcon(WindowRec& w) {
    if (!w.hasTrayIcon || w.hwnd == nullptr) return;
    NOTIFYICONDATAA nid = TrayData(w);
    Shell_NotifyIconA(NIM_DELETE, &nid);
    w.hasTrayIcon = false;
}

void CreateBalloon(WindowRec& w, ControlRec& c) {
    if (c.tooltip != nullptr || !CommonControlsReady()) return;
    c.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w.hwnd, nullptr, Instance(), nullptr);
    if (c.tooltip == nullptr) return;
    TOOLINFOA ti = BalloonTool(w, c);
    SendMessageA(c.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(c.tooltip, TTM_SETMAXTIPWIDTH, 0, 300);
}

void HideBalloon(WindowRec& w, int index) {
    if (index < 0 || index >= static_cast<int>(w.controls.size())) return;
    ControlRec& c = w.controls[index];
    if (c.tooltip == nullptr) return;
    TOOLINFOA ti = BalloonTool(w, c);
    SendMessageA(c.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace win32

namespace forms {

using namespace win32;

int MenuItemIndex(WindowId window, std::string_view menu, std::string_view itemText) {
    WindowRec* w = FindWindowRec(window);
    if (w == nullptr) return -1;
    MenuState* m = FindMenu(*w, menu);
    if (m == nullptr) return -1;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (m->items[i].text == itemText) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < m->formTexts.size(); ++i) {
        if (m->formTexts[i] == itemText) return static_cast<int>(i);
    }
    return -1;
}

void SetMenuItemText(WindowId window, std::string_view menu, int item, std::string_view text) {
    WindowRec* w = FindWindowRec(window);
    if (w == nullptr) return;
    MenuState* m = FindMenu(*w, menu);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return;
    m->items[item].text = std::string(text);
}

void SetMenuItemVisible(WindowId window, std::string_view menu, int item, bool visible) {
    WindowRec* w = FindWindowRec(window);
    if (w == nullptr) return;
    MenuState* m = FindMenu(*w, menu);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return;
    m->items[item].hidden = !visible;
}

void OnMenuItem(WindowId window, std::string_view menu, std::string_view itemText, Handler handler) {
    WindowRec* w = FindWindowRec(window);
    if (w == nullptr) return;
    w->menuHandlers[{std::string(menu), std::string(itemText)}] = std::move(handler);
}

void OnTray(WindowId window, std::function<void(int type)> handler) {
    WindowRec* w = FindWindowRec(window);
    if (w != nullptr) w->trayHandler = std::move(handler);
}

}  // namespace forms

namespace desktop {

using namespace win32;

void PopUpMenu(WindowId window, std::string_view menu) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    int index = -1;
    MenuState* m = FindMenu(*w, menu, &index);
    if (m == nullptr) return;
    MenuHandle popup(BuildMenu(*m, index));
    if (!popup) return;
    POINT pt{};
    GetCursorPos(&pt);
    // The chosen item's WM_COMMAND is posted to the window and handled after we return.
    TrackPopupMenu(popup.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x + 3, pt.y + 3, 0, w->hwnd, nullptr);
    PostMessageA(w->hwnd, WM_NULL, 0, 0);
}

void SetTrayIcon(WindowId window, Icon icon, std::string_view tip) {
    WindowRec* w = LiveWindowRec(window);
    if (w == nullptr) return;
    NOTIFYICONDATAA nid = TrayData(*w);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayMessage;
    nid.hIcon = TrayIconImage(icon);
    const std::size_t length = std::min<std::size_t>(tip.size(), 62);
    std::memcpy(nid.szTip, tip.data(), length);
    nid.szTip[length] = '\0';
    if (w->hasTrayIcon) {
        Shell_NotifyIconA(NIM_MODIFY, &nid);
    } else if (Shell_NotifyIconA(NIM_ADD, &nid)) {
        w->hasTrayIcon = true;
    }
}

void SetTrayIcon(WindowId window) {
    WindowRec* w = LiveWindowRec(window);
    if (w != nullptr) RemoveTrayIcon(*w);
}

void ShowBalloonTip(Control balloon, int x, int y, std::string_view text) {
    WindowRec* w = LiveWindowRec(balloon.window);
    ControlRec* c = FindControlRec(balloon);
    if (w == nullptr || c == nullptr || c->def->kind != forms::Kind::BalloonTip) return;
    CreateBalloon(*w, *c);
    if (c->tooltip == nullptr) return;
    c->balloonText = std::string(text);
    TOOLINFOA ti = BalloonTool(*w, *c);
    SendMessageA(c->tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(c->tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    SendMessageA(c->tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    SetTimer(w->hwnd, kBalloonTimerBase + static_cast<UINT_PTR>(balloon.index), kBalloonShowMs, nullptr);
}

}  // namespace desktop
