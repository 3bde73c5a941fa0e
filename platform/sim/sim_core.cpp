// The in-memory desktop's life: Reset, the posted-request queue, the process's
// end, the screen and the pseudo-random numbers.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

State* g_state = nullptr;
pid_t g_tempOwner = 0;  // the process that made the temporary folder

// Only the process that made the folder removes it: a child forked by a
// death test inherits the path but must leave its parent's folder alone.
void RemoveTempRoot(const std::string& root) {
    if (root.empty() || ::getpid() != g_tempOwner) return;
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

void RemoveTempRootAtExit() {
    if (g_state) RemoveTempRoot(g_state->tempRoot);
}

// Makes the run's temporary folder (the run folder and the Windows folder
// stand-in live in it) and fills in what Reset derives from the config.
void Initialise(State& s, const Config& config) {
    s.config = config;
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "quillo-sim-XXXXXX").string();
    if (::mkdtemp(pattern.data())) {
        s.tempRoot = pattern;
        g_tempOwner = ::getpid();
        std::filesystem::create_directory(s.tempRoot + "/windows", error);
    } else {
        std::fprintf(stderr, "sim: cannot make a temporary folder under %s\n", base.c_str());
    }
    if (config.runDirectory.empty()) {
        s.runDirectory = s.tempRoot + "/run";
        std::filesystem::create_directory(s.runDirectory, error);
    } else {
        s.runDirectory = config.runDirectory;
    }
}

}  // namespace

void FailTest(const std::string& message) {
    std::fprintf(stderr, "sim: %s\n", message.c_str());
    if (g_state) RemoveTempRoot(g_state->tempRoot);
    std::abort();
}

State& S() {
    if (!g_state) {
        g_state = new State;  // replaced by each Reset; the last one lives to the end
        std::atexit(RemoveTempRootAtExit);
        Initialise(*g_state, Config{});
    }
    return *g_state;
}

bool Exited() { return S().exitCode.has_value(); }

WindowRec* FindWindow(forms::WindowId id) {
    auto& windows = S().windows;
    auto it = windows.find(id);
    return it == windows.end() ? nullptr : &it->second;
}

ControlRec* FindControl(Control control) {
    WindowRec* window = FindWindow(control.window);
    if (!window || control.index < 0 || control.index >= static_cast<int>(window->controls.size())) return nullptr;
    return &window->controls[static_cast<std::size_t>(control.index)];
}

const char* Intern(std::string_view text) {
    static auto* pool = new std::set<std::string, std::less<>>;
    auto it = pool->find(text);
    if (it == pool->end()) it = pool->emplace(text).first;
    return it->c_str();
}

void Post(std::function<void()> request) {
    if (Exited()) return;
    S().posted.push_back(std::move(request));
}

void RunPosted() {
    auto& s = S();
    while (!s.posted.empty()) {
        if (Exited()) {
            s.posted.clear();
            return;
        }
        std::function<void()> request = std::move(s.posted.front());
        s.posted.pop_front();
        if (request) request();
    }
}

// Letter case of single-byte letters only: the second byte of a double-byte
// character is left alone even where it looks like a letter.
std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (std::size_t i = 0; i < lower.size(); ++i) {
        char& c = lower[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            ++i;
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool EqualNoCase(std::string_view a, std::string_view b) { return LowerAscii(a) == LowerAscii(b); }

}  // namespace sim::detail

namespace sim {
using namespace detail;

void Reset(const Config& config) {
    RemoveTempRoot(S().tempRoot);
    delete g_state;
    g_state = new State;
    Initialise(*g_state, config);
    ResetWeb(config.workerTimeDivisor);
}

const Config& CurrentConfig() { return S().config; }

void RunPostedEvents() { RunPosted(); }

void WhileNextProcessEvents(std::function<void()> events) { S().processEventsHook = std::move(events); }

std::optional<int> ExitCode() { return S().exitCode; }

void QueueRandom(int r) { S().queuedRandom = r & 0x7FFF; }

}  // namespace sim

namespace desktop {
using namespace sim::detail;

void ProcessEvents() {
    std::function<void()> events = std::move(S().processEventsHook);
    S().processEventsHook = nullptr;
    if (events && !Exited()) events();
    RunPosted();
}

int RunEventLoop() { return 0; }

void ExitProgram(int code) {
    State& s = S();
    if (!s.exitCode) s.exitCode = code;
    s.posted.clear();
}

Size GetScreenSize() {
    const sim::Config& c = S().config;
    return {c.screenWidth, c.screenHeight};
}

Rect GetWorkArea() {
    const sim::Config& c = S().config;
    const Rect& w = c.workArea;
    if (w.right <= w.left || w.bottom <= w.top) return {0, 0, c.screenWidth, c.screenHeight - 40};
    return w;
}

int RandomInRange(int low, int high) {
    State& s = S();
    int r = 0;
    if (s.queuedRandom) {
        r = *s.queuedRandom;
        s.queuedRandom.reset();
    } else {
        // srand(GetTickCount()), then one rand() as the C runtime computes it.
        unsigned seed = s.config.randomSeed + static_cast<unsigned>(s.now);
        seed = seed * 214013u + 2531011u;
        r = static_cast<int>((seed >> 16) & 0x7FFFu);
    }
    long long span = static_cast<long long>(high) - low + 1;
    if (span <= 0) return low;
    return static_cast<int>(low + r % span);
}

}  // namespace desktop
