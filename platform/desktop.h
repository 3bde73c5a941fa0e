// Desktop services: everything the program needs of the operating system, as
// free functions with their own names. The feature folders call only these and
// the forms runtime (forms.h); they never include <windows.h>.
//
// Implemented by exactly one backend: platform/win32 or platform/sim.
// Texts and paths are byte strings in the ANSI code page.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/forms.h"

namespace desktop {

using forms::Control;
using forms::WindowId;

// ---- Window system ---------------------------------------------------------

// Message box flags, as MessageBoxA takes them.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbTopmost = 0x40000;
inline constexpr unsigned kMbTaskModal = 0x2000;
inline constexpr unsigned kMbSystemModal = 0x1000;
inline constexpr int kIdOk = 1;

// Window messages the program sends itself.
inline constexpr unsigned kWmNcLButtonDown = 161;
inline constexpr std::intptr_t kHtCaption = 2;

// CF_TEXT, or empty when the clipboard holds no text or stays busy.
std::string GetClipboardText();
// Empties the clipboard, then puts the text (with its zero byte) as CF_TEXT.
bool SetClipboardText(std::string_view text);

// An OK box without owner; MB_TASKMODAL is added unless MB_SYSTEMMODAL is given.
int ShowMessageBox(std::string_view text, unsigned flags, std::string_view caption);

// One of the window's pop-up menus at the mouse pointer (corner 3 px right of
// and below it). A chosen item's handler is posted: it runs after this returns.
void PopUpMenu(WindowId window, std::string_view menu);

enum class Icon { Program, SearchBox };
// Adds the window's tray icon (or changes it, when it has one); tip cut at 62 bytes.
void SetTrayIcon(WindowId window, Icon icon, std::string_view tip);
// Removes the window's tray icon.
void SetTrayIcon(WindowId window);

// Shows the form's balloon tip with the text, pointing at screen point (x, y).
void ShowBalloonTip(Control balloon, int x, int y, std::string_view text);

// WS_EX_LAYERED alone, then the opacity (0 invisible .. 255 opaque; values
// outside count as 255).
void SetWindowTransparency(WindowId window, int alpha);

struct Size {
    int width = 0;
    int height = 0;
};
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
Size GetScreenSize();
Rect GetWorkArea();

void ProcessEvents();
void FocusControl(Control control);

inline constexpr int kKeep = -1;
// Moves a control within its parent's client area, or a window on the screen.
// left and top are always set (pass the current value to keep it); a width or
// height of kKeep keeps the current one.
void MoveControl(Control control, int left, int top, int width = kKeep, int height = kKeep);
void MoveControl(WindowId window, int left, int top, int width = kKeep, int height = kKeep);

std::intptr_t SendWindowMessage(WindowId window, unsigned message, std::intptr_t wParam, std::intptr_t lParam);

// Creates one of the program's windows from its form: hidden and centred on
// the screen, then runs `created` (which binds the window's handlers and does
// its set-up), then shows it. Modeless and owned by none of the other windows.
WindowId OpenWindow(const forms::FormDef& form, const std::function<void(WindowId)>& created);
bool IsWindowOpen(WindowId window);
// Posts a request; the window's destruction follows when the event loop handles it.
void DestroyWindowLater(WindowId window);

// FindWindowA(NULL, title): any top-level window with that title, shown or
// hidden, of this process or another.
bool FindTopLevelWindow(std::string_view title);
// SwitchToThisWindow(hwnd, TRUE): to the front, restored when minimised.
void SwitchToThisWindow(WindowId window);

// Runs the event loop until ExitProgram.
int RunEventLoop();

// ---- Files, network and processes ----------------------------------------

// The running executable's folder, without trailing backslash.
std::string GetRunDirectory();
// The running executable's file name with extension, without folder.
std::string GetExecutableName();
bool SetCurrentFolder(std::string_view path);

bool FileExists(std::string_view path);
bool CreateFolder(std::string_view path);
bool RemoveFile(std::string_view path);
// Creates or truncates the file, unshared, and writes the blocks in order.
bool WriteWholeFile(std::string_view path, std::initializer_list<std::string_view> blocks);

// GetPrivateProfileStringA into 10240 bytes; leading bytes up to 0x20 of file,
// section and key skipped; empty when any of the three is empty.
std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback);
bool WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value);

// root 1 HKEY_CLASSES_ROOT, 2 HKEY_CURRENT_CONFIG, 3 HKEY_CURRENT_USER,
// 4 HKEY_LOCAL_MACHINE, 5 HKEY_USERS. The path splits at its last backslash
// into key and value name (empty: the key's default value). REG_SZ as stored,
// REG_EXPAND_SZ expanded; anything else gives the fallback.
std::string ReadRegistryText(int root, std::string_view path, std::string_view fallback = {});

// CreateProcessA(NULL, commandLine); show 1 hidden, 2 normal, 3 minimised,
// 4 maximised, 5 normal without activation, 6 minimised without activation.
// Waits for the end (wait) or up to 1000 ms for input idle. True when started.
bool RunProgram(std::string_view commandLine, bool wait, int show = 2);
void ShellOpen(std::string_view target);

// The body bytes of a GET, whatever the status; empty on failure. No time limit.
// Safe to call from a worker thread.
std::string HttpGetFile(std::string_view url);

// Starts the routine on a new thread and waits for it at most `milliseconds`.
// A routine still running then is not stopped. True when it ended in time.
bool RunWorkerWithTimeout(std::function<void()> routine, int milliseconds);

// Seeds from the clock, then low + r mod (high - low + 1), r 15-bit.
int RandomInRange(int low, int high);

// Ends the process at once; pending events and posted requests never run.
// Does not return on Windows; the in-memory desktop records the code and
// ignores every later event, so callers return right after it.
void ExitProgram(int code);

}  // namespace desktop
