// The in-memory desktop's own state, shared by the sim's source files only.
// Everything here belongs to the user-interface thread, except the web table
// (sim_web.cpp), which download workers reach under its own lock.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"

namespace sim::detail {

struct ControlRec {
    const char* name = "";  // interned: stays valid for the whole process
    forms::Kind kind = forms::Kind::Label;
    int parent = -1;        // index of the holding control; -1: the window
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
    std::string text;
    bool checked = false;
    int caret = 0;
    forms::Colour backColour = forms::kDefaultColour;
    std::string address;
    // Timer
    int period = 0;
    long long due = 0;      // virtual time of the next tick while period > 0
    long long armedAt = 0;  // order in which timers were armed, for ties
    int ticks = 0;
    // Handlers
    forms::Handler mouseDown;
    forms::Handler click;
    forms::Handler tick;
};

struct MenuItemRec {
    std::string formText;
    std::string text;
    int level = 1;
    bool visible = true;
    forms::Handler handler;
};

struct MenuRec {
    std::string name;
    std::vector<MenuItemRec> items;
};

struct WindowRec {
    forms::WindowId id = 0;
    std::string caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool iconic = false;
    bool topmost = false;
    int state = 0;
    bool layered = false;
    int opacity = 255;
    std::vector<ControlRec> controls;
    std::vector<MenuRec> menus;
    std::function<void(int)> tray;
    forms::Handler destroyed;
};

struct ClipboardRec {
    bool hasText = false;
    std::string text;
    bool hasPicture = false;
    bool busy = false;
    int openCount = 0;
};

struct RegistryValue {
    bool isText = false;
    std::string text;
    unsigned number = 0;
};

struct State {
    Config config;
    std::string runDirectory;
    std::string tempRoot;  // made by Reset; removed at the next Reset or at exit
    long long now = 0;
    long long armCounter = 0;
    std::optional<int> exitCode;
    std::string currentFolder;  // as the program passed it
    std::string currentDisk;    // the same, as the disk takes it

    forms::WindowId nextWindowId = 1;
    std::map<forms::WindowId, WindowRec> windows;  // open windows only
    forms::WindowId foreground = 0;
    Control focused{};
    Control hovered{};
    std::vector<std::string> foreignWindows;
    int dragDx = 0;
    int dragDy = 0;
    int mouseX = 0;
    int mouseY = 0;

    std::deque<std::function<void()>> posted;
    std::function<void()> processEventsHook;

    ClipboardRec clipboard;

    std::deque<std::optional<std::string>> menuAnswers;
    std::vector<ShownMenu> shownMenus;
    std::function<void()> menuCheck;
    std::vector<MessageBoxRecord> messageBoxes;
    std::function<void()> messageBoxCheck;
    std::vector<TrayIconRecord> trayIcons;
    std::vector<SentMessage> sentMessages;
    std::vector<BalloonRecord> balloons;

    std::optional<int> queuedRandom;

    // registry: "root|lower-case key path" -> lower-case value name -> value
    std::map<std::string, std::map<std::string, RegistryValue>> registry;
    std::function<bool(std::string_view)> programStarter;
    std::vector<std::string> startedPrograms;
    std::vector<ProgramRun> programRuns;
    std::vector<std::string> shellOpened;
};

State& S();

// Whether ExitProgram has ended the run: every later event is dropped.
bool Exited();

WindowRec* FindWindow(forms::WindowId id);
ControlRec* FindControl(Control control);
const char* Intern(std::string_view text);

// Posts a request for the event loop; RunPosted runs them in order.
void Post(std::function<void()> request);
void RunPosted();

// Whether the user can see the control (it, its holders and its window).
bool ControlShown(Control control);
// A test's mistake that would make its result meaningless (such as choosing
// a menu item that is not shown): says so on stderr and aborts.
[[noreturn]] void FailTest(const std::string& message);
// Notes on stderr that an injected input was dropped.
void DropInput(const char* what, Control control);

// Forgets a window: called after its OnDestroyed handler.
void ForgetWindow(forms::WindowId id);

// Resets the web table and request log (kept apart: workers reach them) and
// sets how much faster than given the web's real time runs.
void ResetWeb(int timeDivisor);

// A path as the disk takes it: backslashes become slashes; a relative path
// is taken from the current folder (or the run folder before one is set).
std::string DiskPath(std::string_view path);
// Where the profile functions put a file named without any folder: the
// sim's stand-in for the Windows folder.
std::string WindowsFolder();

std::string LowerAscii(std::string_view text);
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace sim::detail
