// quillo_probe: reads the windows of another program in the same Wine prefix
// (or on the same Windows desktop) back, for the end-to-end tests.
//
// Every command prints one line of JSON on stdout. Texts are printed as the
// hex of their ANSI bytes (fields ending in "_hex"); the test side decodes
// them with the ANSI code page (936, GBK).
//
//   window <title>                      the top-level window with that title
//   controls <title>                    every descendant control of it
//   control <title> <form name>         one control of the main window, by its form name
//   focus <title>                       the focused control of the window's thread
//   find-class <class>                  top-level windows of that class, with their children
//   top-windows [pid]                   every top-level window (of one process)
//   clipboard                           CF_TEXT bytes, and the formats present
//   set-clipboard <hex> [exact]         puts the bytes on the clipboard as CF_TEXT; with
//                                       "exact" the memory block is exactly their length,
//                                       with no terminating zero byte
//   hold-clipboard <ms>                 opens the clipboard on a thread of its own, answers
//                                       once it is open, and closes it <ms> later
//   hold-status                         whether the last hold has ended, and the times (ms
//                                       on the probe's clock) at which it opened and closed
//   show-window <title> <sw>            ShowWindow(window, sw), e.g. 9 to restore it
//   time-clipboard-reads <n>            reads the CF_TEXT text n times, as a program that
//                                       polls the clipboard does; wall time in ms
//   time-edit-sets <n> [hidden]         shows a window with a word-wrapping multi-line edit
//                                       box like a slot's and sets the clipboard's text into
//                                       it n times, painting each time; wall time in ms; with
//                                       "hidden" the window is never shown, so nothing paints
//   wait-window <title> <timeout_ms>    waits until a visible window with that title exists
//   launch-time <exe> <title> <timeout_ms> [args...]
//                                       starts the exe, measures until its visible window
//                                       with that title exists, then ends it
//   echo <args...>                      the arguments as received (checks the command line)
//   serve                               reads commands from stdin, one per line, arguments
//                                       separated by tabs, in the ANSI code page; answers
//                                       each with one JSON line
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef QUILLO_PROBE_WITH_FORM
#include "app/main_form.h"
#endif

namespace {

// Wraps a text in double quotes (appended, which also keeps GCC 12's
// -Wrestrict false alarm on `"\"" + text` away).
std::string Quoted(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// A tiny JSON object writer; keys are ASCII, texts go in as hex.
struct Json {
    std::string out = "{";
    void Key(const char* key) {
        if (out.size() > 1) out += ',';
        out += '"';
        out += key;
        out += "\":";
    }
    Json& Raw(const char* key, const std::string& raw) {
        Key(key);
        out += raw;
        return *this;
    }
    Json& Int(const char* key, long long value) { return Raw(key, std::to_string(value)); }
    Json& Bool(const char* key, bool value) { return Raw(key, value ? "true" : "false"); }
    Json& Text(const char* key, const std::string& bytes) { return Raw(key, Quoted(Hex(bytes))); }
    Json& Str(const char* key, const char* ascii) { return Raw(key, Quoted(ascii)); }
    Json& Rect(const char* key, const RECT& r) {
        std::string list = "[";
        for (LONG v : {r.left, r.top, r.right, r.bottom}) {
            if (list.size() > 1) list += ',';
            list += std::to_string(v);
        }
        list += ']';
        return Raw(key, list);
    }
    std::string Done() const { return out + "}"; }
};

std::string JoinArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        out += items[i];
    }
    return out + "]";
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    int n = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

// WM_GETTEXT, sent (so that edit boxes of other processes answer with their
// current text); gives up on a window that does not answer within 2 s.
std::string TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return {};
    if (got > length + 1) got = length + 1;
    return std::string(buffer.data(), got);
}

// The title as the window manager keeps it (no message sent).
std::string TitleOf(HWND hwnd) {
    char title[1024] = {};
    int n = GetWindowTextA(hwnd, title, sizeof title);
    return std::string(title, n > 0 ? n : 0);
}

RECT ClientOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
    ClientToScreen(hwnd, &topLeft);
    ClientToScreen(hwnd, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::string WindowJson(HWND hwnd) {
    Json j;
    if (!hwnd) return j.Bool("found", false).Done();
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    j.Bool("found", true)
        .Int("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd)))
        .Int("pid", pid)
        .Rect("rect", rect)
        .Rect("client", ClientOnScreen(hwnd))
        .Bool("visible", IsWindowVisible(hwnd) != 0)
        .Bool("iconic", IsIconic(hwnd) != 0)
        .Int("style", static_cast<unsigned long>(style))
        .Int("exstyle", static_cast<unsigned long>(exStyle))
        .Bool("topmost", (exStyle & WS_EX_TOPMOST) != 0)
        .Bool("layered", (exStyle & WS_EX_LAYERED) != 0)
        .Text("class_hex", ClassOf(hwnd))
        .Text("title_hex", TitleOf(hwnd));
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if ((exStyle & WS_EX_LAYERED) && GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags)) {
        j.Int("alpha", (flags & LWA_ALPHA) ? alpha : 255).Int("layered_flags", flags);
    } else {
        j.Raw("alpha", "null");
    }
    return j.Done();
}

std::string ControlJson(HWND hwnd, HWND top) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    HWND parent = GetParent(hwnd);
    std::string cls = ClassOf(hwnd);
    Json j;
    j.Int("id", GetDlgCtrlID(hwnd))
        .Int("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd)))
        .Int("parent_id", parent && parent != top ? GetDlgCtrlID(parent) : 0)
        .Text("class_hex", cls)
        .Rect("rect", rect)
        .Bool("visible", (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0)
        .Bool("shown", IsWindowVisible(hwnd) != 0)
        .Bool("enabled", IsWindowEnabled(hwnd) != 0)
        .Int("style", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)))
        .Text("text_hex", TextOf(hwnd));
    if (lstrcmpiA(cls.c_str(), "Button") == 0) {
        DWORD_PTR checked = 0;
        SendMessageTimeoutA(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
        j.Int("checked", static_cast<long long>(checked));
    }
    return j.Done();
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND top) {
    std::vector<HWND> found;
    EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindTitle(const std::string& title) { return FindWindowA(nullptr, title.c_str()); }

std::string NotFound() { return Json().Bool("found", false).Done(); }

std::string CmdWindow(const std::string& title) { return WindowJson(FindTitle(title)); }

std::string CmdControls(const std::string& title) {
    HWND top = FindTitle(title);
    if (!top) return NotFound();
    std::vector<std::string> items;
    for (HWND child : Descendants(top)) items.push_back(ControlJson(child, top));
    return Json().Bool("found", true).Raw("controls", JoinArray(items)).Done();
}

// The program's controls have the id (position in the form's control table) + 1.
std::string CmdControl(const std::string& title, const std::string& name) {
#ifdef QUILLO_PROBE_WITH_FORM
    const auto& controls = app::MainForm().controls;
    int id = 0;
    for (size_t i = 0; i < controls.size(); ++i)
        if (name == controls[i].name) id = static_cast<int>(i) + 1;
    if (id == 0) return Json().Bool("found", false).Str("error", "no such control in the form").Done();
    HWND top = FindTitle(title);
    if (!top) return Json().Bool("found", false).Str("error", "no such window").Int("id", id).Done();
    for (HWND child : Descendants(top))
        if (GetDlgCtrlID(child) == id) return "{\"found\":true," + ControlJson(child, top).substr(1);
    return Json().Bool("found", false).Str("error", "no window with that control id").Int("id", id).Done();
#else
    (void)title;
    (void)name;
    return Json().Bool("found", false).Str("error", "probe built without the main form").Done();
#endif
}

std::string CmdFocus(const std::string& title) {
    HWND top = FindTitle(title);
    if (!top) return NotFound();
    DWORD thread = GetWindowThreadProcessId(top, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return Json().Bool("found", true).Bool("known", false).Done();
    HWND foreground = GetForegroundWindow();
    Json j;
    j.Bool("found", true).Bool("known", true);
    j.Int("focus_id", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0)
        .Int("focus_hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(info.hwndFocus)))
        .Int("active_hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(info.hwndActive)))
        .Int("caret_hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(info.hwndCaret)))
        .Bool("foreground", foreground == top)
        .Text("focus_class_hex", info.hwndFocus ? ClassOf(info.hwndFocus) : std::string());
    return j.Done();
}

std::string CmdFindClass(const std::string& cls) {
    std::vector<std::string> items;
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(nullptr, hwnd, cls.c_str(), nullptr)) != nullptr) {
        std::vector<std::string> children;
        for (HWND child : Descendants(hwnd)) children.push_back(ControlJson(child, hwnd));
        std::string window = WindowJson(hwnd);
        window.pop_back();
        items.push_back(window + ",\"children\":" + JoinArray(children) + "}");
    }
    return Json().Raw("windows", JoinArray(items)).Done();
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::string CmdTopWindows(DWORD pid) {
    std::vector<HWND> all;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&all));
    std::vector<std::string> items;
    for (HWND hwnd : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (pid == 0 || owner == pid) items.push_back(WindowJson(hwnd));
    }
    return Json().Raw("windows", JoinArray(items)).Done();
}

std::string CmdClipboard() {
    bool opened = false;
    for (int attempt = 0; attempt < 40 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(50);
    if (!opened) return Json().Bool("opened", false).Done();
    std::vector<std::string> formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) formats.push_back(std::to_string(f));
    Json j;
    j.Bool("opened", true).Raw("formats", JoinArray(formats));
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text) {
        // Up to the first zero byte, never past the block.
        const SIZE_T size = GlobalSize(data);
        const char* zero = static_cast<const char*>(std::memchr(text, 0, size));
        j.Bool("has_text", true)
            .Text("text_hex", std::string(text, zero ? static_cast<SIZE_T>(zero - text) : size))
            .Int("block_size", static_cast<long long>(size));
        GlobalUnlock(data);
    } else {
        j.Bool("has_text", false);
    }
    CloseClipboard();
    return j.Done();
}

double NowMs();

std::string FromHex(const std::string& hex) {
    std::string out;
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    return out;
}

std::string CmdSetClipboard(const std::string& hex, bool exact) {
    const std::string bytes = FromHex(hex);
    const SIZE_T size = bytes.size() + (exact ? 0 : 1);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!memory) return Json().Bool("set", false).Str("why", "GlobalAlloc").Done();
    char* data = static_cast<char*>(GlobalLock(memory));
    std::copy(bytes.begin(), bytes.end(), data);
    if (!exact) data[bytes.size()] = '\0';
    GlobalUnlock(memory);
    bool opened = false;
    for (int attempt = 0; attempt < 40 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(50);
    if (!opened) {
        GlobalFree(memory);
        return Json().Bool("set", false).Str("why", "OpenClipboard").Done();
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!set) GlobalFree(memory);
    CloseClipboard();
    return Json().Bool("set", set).Int("block_size", static_cast<long long>(GlobalSize(memory))).Done();
}

// The clipboard held open by this process, as another program may hold it.
struct ClipboardHold {
    HANDLE thread = nullptr;
    HANDLE opened = nullptr;
    DWORD holdMs = 0;
    bool gotIt = false;
    volatile LONG ended = 0;
    double openedAt = 0;
    double closedAt = 0;
} hold;

// Opened for a window of its own: Wine lets a second OpenClipboard(NULL) in
// while the clipboard is open for no window, which Windows does not.
DWORD WINAPI HoldClipboard(void*) {
    HWND owner = CreateWindowExA(0, "STATIC", "quillo_probe clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, nullptr, nullptr);
    hold.gotIt = owner && OpenClipboard(owner) != 0;
    hold.openedAt = NowMs();
    SetEvent(hold.opened);
    if (hold.gotIt) {
        Sleep(hold.holdMs);
        hold.closedAt = NowMs();
        CloseClipboard();
    }
    if (owner) DestroyWindow(owner);
    InterlockedExchange(&hold.ended, 1);
    return 0;
}

std::string CmdHoldClipboard(int ms) {
    if (hold.thread) {
        WaitForSingleObject(hold.thread, INFINITE);
        CloseHandle(hold.thread);
        CloseHandle(hold.opened);
    }
    hold = {};
    hold.holdMs = static_cast<DWORD>(ms);
    hold.opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    hold.thread = CreateThread(nullptr, 0, HoldClipboard, nullptr, 0, nullptr);
    WaitForSingleObject(hold.opened, 5000);
    return Json().Bool("opened", hold.gotIt).Raw("opened_at", std::to_string(hold.openedAt)).Done();
}

std::string CmdHoldStatus() {
    const bool ended = InterlockedCompareExchange(&hold.ended, 0, 0) != 0;
    Json j;
    j.Bool("ended", ended).Raw("opened_at", std::to_string(hold.openedAt));
    if (ended) j.Raw("closed_at", std::to_string(hold.closedAt));
    return j.Raw("now", std::to_string(NowMs())).Done();
}

// One clipboard read as a polling program makes it: open, copy the text, close.
std::string ReadClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            const SIZE_T size = GlobalSize(data);
            const char* zero = static_cast<const char*>(std::memchr(bytes, 0, size));
            text.assign(bytes, zero ? static_cast<SIZE_T>(zero - bytes) : size);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string CmdTimeClipboardReads(int n) {
    const double start = NowMs();
    size_t bytes = 0;
    for (int i = 0; i < n; ++i) bytes = ReadClipboardText().size();
    return Json().Int("reads", n).Int("bytes", static_cast<long long>(bytes))
        .Raw("ms", std::to_string(NowMs() - start)).Done();
}

std::string CmdTimeEditSets(int n, bool hidden) {
    const std::string text = ReadClipboardText();
    const DWORD frameStyle = WS_POPUP | WS_BORDER | (hidden ? 0 : WS_VISIBLE);
    HWND frame = CreateWindowExA(0, "STATIC", "quillo_probe edit timing", frameStyle, 40, 500, 260, 130, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL |
                                    ES_WANTRETURN | WS_VSCROLL,
                                8, 8, 228, 100, frame, nullptr, nullptr, nullptr);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    auto pump = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    };
    pump();
    const double start = NowMs();
    for (int i = 0; i < n; ++i) {
        SetWindowTextA(edit, text.c_str());
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        UpdateWindow(edit);
        pump();
    }
    const double ms = NowMs() - start;
    DestroyWindow(frame);
    DeleteObject(font);
    pump();
    return Json().Int("sets", n).Int("bytes", static_cast<long long>(text.size())).Raw("ms", std::to_string(ms)).Done();
}

std::string CmdShowWindow(const std::string& title, int how) {
    HWND hwnd = FindTitle(title);
    if (!hwnd) return NotFound();
    ShowWindow(hwnd, how);
    return WindowJson(hwnd);
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A visible top-level window with that title, of the given process (0: any).
HWND FindVisible(const std::string& title, DWORD pid) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(nullptr, hwnd, nullptr, title.c_str())) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (IsWindowVisible(hwnd) && (pid == 0 || owner == pid)) return hwnd;
    }
    return nullptr;
}

std::string CmdWaitWindow(const std::string& title, int timeoutMs) {
    const double start = NowMs();
    for (;;) {
        if (HWND hwnd = FindVisible(title, 0)) return WindowJson(hwnd);
        if (NowMs() - start > timeoutMs) return NotFound();
        Sleep(20);
    }
}

std::string CmdLaunchTime(const std::string& exe, const std::string& title, int timeoutMs,
                          const std::vector<std::string>& args) {
    std::string commandLine = Quoted(exe);
    for (const auto& arg : args) {
        commandLine += ' ';
        commandLine += Quoted(arg);
    }
    std::string folder = exe;
    size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return Json().Bool("started", false).Int("error", GetLastError()).Done();
    double elapsed = -1;
    for (;;) {
        if (FindVisible(title, process.dwProcessId)) {
            elapsed = NowMs() - start;
            break;
        }
        if (NowMs() - start > timeoutMs) break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Json j;
    j.Bool("started", true).Bool("found", elapsed >= 0);
    if (elapsed >= 0) j.Raw("ms", std::to_string(elapsed));
    return j.Done();
}

std::string CmdEcho(const std::vector<std::string>& args) {
    std::vector<std::string> items;
    for (size_t i = 1; i < args.size(); ++i) items.push_back(Quoted(Hex(args[i])));
    return Json().Int("acp", GetACP()).Raw("args_hex", JoinArray(items)).Done();
}

std::string Usage(const char* why) { return Json().Str("error", why).Done(); }

std::string Run(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("no command");
    const std::string& cmd = args[0];
    auto need = [&](size_t n) { return args.size() >= n + 1; };
    if (cmd == "window" && need(1)) return CmdWindow(args[1]);
    if (cmd == "controls" && need(1)) return CmdControls(args[1]);
    if (cmd == "control" && need(2)) return CmdControl(args[1], args[2]);
    if (cmd == "focus" && need(1)) return CmdFocus(args[1]);
    if (cmd == "find-class" && need(1)) return CmdFindClass(args[1]);
    if (cmd == "top-windows") return CmdTopWindows(need(1) ? std::strtoul(args[1].c_str(), nullptr, 10) : 0);
    if (cmd == "clipboard") return CmdClipboard();
    if (cmd == "set-clipboard" && need(1)) return CmdSetClipboard(args[1], need(2) && args[2] == "exact");
    if (cmd == "hold-clipboard" && need(1)) return CmdHoldClipboard(std::atoi(args[1].c_str()));
    if (cmd == "hold-status") return CmdHoldStatus();
    if (cmd == "time-clipboard-reads" && need(1)) return CmdTimeClipboardReads(std::atoi(args[1].c_str()));
    if (cmd == "time-edit-sets" && need(1))
        return CmdTimeEditSets(std::atoi(args[1].c_str()), need(2) && args[2] == "hidden");
    if (cmd == "show-window" && need(2)) return CmdShowWindow(args[1], std::atoi(args[2].c_str()));
    if (cmd == "wait-window" && need(2)) return CmdWaitWindow(args[1], std::atoi(args[2].c_str()));
    if (cmd == "launch-time" && need(3))
        return CmdLaunchTime(args[1], args[2], std::atoi(args[3].c_str()),
                             std::vector<std::string>(args.begin() + 4, args.end()));
    if (cmd == "echo") return CmdEcho(args);
    return Usage("unknown command or missing arguments");
}

void Print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Serve() {
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> args;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            args.push_back(line.substr(start, tab - start));
        args.push_back(line.substr(start));
        line.clear();
        if (args.size() == 1 && args[0] == "quit") break;
        Print(Run(args));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "serve") return Serve();
    Print(Run(args));
    return 0;
}
