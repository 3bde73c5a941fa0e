// The in-memory desktop's controls for tests: only tests include this.
//
// The sim is a faithful small desktop: a virtual clock drives the timers with
// the real period rules, the clipboard can hold text, a non-text format or be
// held busy, windows and controls are built from the same forms, pop-up menus
// and message boxes are answered by the test (a chosen menu item runs after
// the pop-up call returns, as on Windows), and so on. Every event a test
// injects runs to its end, then the posted requests it left (menu choices,
// window destructions) run, as the event loop would.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/forms.h"

namespace sim {

using desktop::Icon;
using desktop::Rect;
using forms::Control;
using forms::WindowId;

struct Config {
    int screenWidth = 1366;
    int screenHeight = 768;
    // The desktop work area; an empty rectangle means the screen less a
    // 40 px task bar at the bottom.
    Rect workArea{};
    std::string executableName = "zoLapet.exe";
    // The run folder; empty means a fresh temporary folder made by Reset.
    std::string runDirectory{};
    unsigned randomSeed = 1;
    // Real time runs this many times faster for the web and the workers: a
    // page's delay and RunWorkerWithTimeout's wait both last their
    // milliseconds divided by it (1: as given).
    int workerTimeDivisor = 1;
};

// Forgets every window, timer, clipboard content, answer and record, and starts
// a new desktop. The virtual clock starts at 0.
void Reset(const Config& config = {});
const Config& CurrentConfig();

// Runs the requests posted so far (menu choices, window destructions), as the
// event loop would once the current event is over. Injected events do this on
// their own; a test needs it only after calling the program directly.
void RunPostedEvents();
// Events that arrive while the program next lets pending events run
// (desktop::ProcessEvents): `events` runs inside that call, once, before the
// posted requests; it may inject input, tray events or clock ticks.
void WhileNextProcessEvents(std::function<void()> events);

// ---- Input -----------------------------------------------------------------
// Input reaches only a control the user can see: the control, every control
// that holds it and its window visible, and the window not minimised. Input
// to any other control is dropped with a note on stderr.
//
// The left mouse button goes down on the control (MouseDown), and is released.
void PressMouse(Control control);
// A click: a check box toggles, then its Click runs; a picture button's Click runs.
void Click(Control control);
// The pointer over a control with no button held (picture buttons highlight).
void Hover(Control control);
// The user types: the edit box gets the focus and its whole text becomes
// `text`, the caret at its end (no event).
void Type(Control control, std::string_view text);
// A tray icon event of the window's icon: 1, 2 or 3 (dropped with a note on
// stderr when the window has no icon).
void TrayEvent(WindowId window, int type);
// The mouse pointer's screen position, used by pop-up menus.
void SetMousePosition(int x, int y);
// A picture button shows its highlighted picture (the pointer rests on it
// after Hover, with no button held).
bool Highlighted(Control pictureButton);
// Whether the user can see the control: it, every control holding it and its
// window are visible, and the window is not minimised.
bool Shown(Control control);

// ---- Clock -----------------------------------------------------------------
// Moves the virtual clock on, delivering every timer tick that falls due, in
// time order (ties in the order the timers were armed).
void AdvanceClock(int milliseconds);
long long Now();
// Ticks delivered so far to a timer.
int TickCount(Control timer);
// The next RandomInRange uses this 15-bit number instead of the generator's.
void QueueRandom(int r);

// ---- Clipboard -------------------------------------------------------------
void PutClipboardText(std::string_view text);  // as another program would
void PutClipboardPicture();                    // a non-text format only
void EmptyClipboard();
void HoldClipboard(bool busy);                 // another program keeps it open
struct ClipboardState {
    bool hasText = false;
    std::string text;
    bool hasPicture = false;
    int formatCount = 0;
};
ClipboardState Clipboard();
// Opening attempts the program made (successful or not).
int ClipboardOpenCount();

// ---- Menus -----------------------------------------------------------------
// The next pop-up menu chooses this item (by its current text); with no
// answer queued, a pop-up menu is dismissed without a choice.
void AnswerMenu(std::string_view itemText);
void DismissMenu();
struct ShownMenu {
    WindowId window = 0;
    std::string menu;
    int x = 0;  // its corner, 3 px right of and below the pointer
    int y = 0;
    std::vector<std::string> visibleItems;  // texts as shown, separators as "-"
};
const std::vector<ShownMenu>& ShownMenus();
// Runs while the next pop-up menu is open (after it is recorded in
// ShownMenus, before the answer closes it). Timer ticks keep coming while a
// menu is open, so the check may advance the clock.
void WhileNextMenuOpen(std::function<void()> check);

// ---- Message boxes ---------------------------------------------------------
struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags = 0;  // as passed to MessageBoxA (MB_TASKMODAL added)
};
const std::vector<MessageBoxRecord>& MessageBoxes();
// Runs while the next message box is open (before it is closed with OK).
void WhileNextMessageBoxOpen(std::function<void()> check);

// ---- Windows, focus, tray ----------------------------------------------------
Control Focused();
int CaretPosition(Control edit);
struct TrayIconRecord {
    WindowId window = 0;
    Icon icon = Icon::Program;
    std::string tip;
    unsigned id = 100;
    unsigned callbackMessage = 0x8064;
};
std::vector<TrayIconRecord> TrayIcons();
std::vector<WindowId> OpenWindows();
WindowId FindWindowByCaption(std::string_view caption);
int Opacity(WindowId window);  // 255 for a window never made transparent
// The active window: the last one shown, opened or switched to; 0 when none.
WindowId Foreground();
// Minimised (iconic): a visible window set to state 2, until restored.
bool Iconic(WindowId window);
bool Layered(WindowId window);
// A top-level window of another program, found by FindTopLevelWindow.
void AddForeignWindow(std::string_view title);
// Where the next WM_NCLBUTTONDOWN/HTCAPTION drag leaves the window, relative
// to where it stands (0, 0 by default: a press without a move).
void SetNextDragOffset(int dx, int dy);
struct SentMessage {
    WindowId window = 0;
    unsigned message = 0;
    long long wParam = 0;
    long long lParam = 0;
};
const std::vector<SentMessage>& SentMessages();
struct BalloonRecord {
    Control balloon;
    int x = 0;
    int y = 0;
    std::string text;
};
const std::vector<BalloonRecord>& Balloons();
std::string Address(Control htmlView);

// ---- Process ---------------------------------------------------------------
std::optional<int> ExitCode();  // set once ExitProgram ran
std::string CurrentFolder();

// ---- Registry, programs, shell --------------------------------------------
void SetRegistryText(int root, std::string_view path, std::string_view value);
void SetRegistryNumber(int root, std::string_view path, unsigned value);
// By default a command line starts when its first word (quoted or not) is not
// empty; `starts` decides instead when given.
void SetProgramStarter(std::function<bool(std::string_view commandLine)> starts);
const std::vector<std::string>& StartedPrograms();  // command lines passed to RunProgram that started
struct ProgramRun {
    std::string commandLine;
    bool wait = false;
    int show = 2;
    bool started = false;
};
const std::vector<ProgramRun>& ProgramRuns();  // every RunProgram call, started or not
const std::vector<std::string>& ShellOpened();

// ---- Web ---------------------------------------------------------------------
struct WebPage {
    std::string body;
    int delayMilliseconds = 0;  // real time the download takes
    bool fails = false;         // no answer at all: empty body
};
void ServePage(std::string_view url, WebPage page);
// Waits (in real time) until every worker that RunWorkerWithTimeout started
// has ended, so that a test leaves no download running behind it.
void WaitForWorkers();
// Every address HttpGetFile was asked for, in order. Workers append to it:
// read it once they have ended.
const std::vector<std::string>& RequestedUrls();

}  // namespace sim
