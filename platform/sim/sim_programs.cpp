// The registry (text and number values under the five roots), programs
// started with a command line, and the shell's "open".
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

// The path splits at its last backslash into key and value name; an empty
// name is the key's default value. Key and value names ignore letter case.
struct RegistryPlace {
    std::string key;
    std::string name;
};

RegistryPlace Place(int root, std::string_view path) {
    std::size_t slash = path.rfind('\\');
    std::string_view key = slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return {std::to_string(root) + "|" + LowerAscii(key), LowerAscii(name)};
}

bool KnownRoot(int root) { return root >= 1 && root <= 5; }

// CreateProcessA's module name: the first word, up to the closing quote when
// it starts with one, else up to the first blank.
std::string_view FirstWord(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        std::string_view rest = commandLine.substr(1);
        return rest.substr(0, rest.find('"'));
    }
    return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

}  // namespace
}  // namespace sim::detail

namespace sim {
using namespace detail;

void SetRegistryText(int root, std::string_view path, std::string_view value) {
    RegistryPlace p = Place(root, path);
    RegistryValue& v = S().registry[p.key][p.name];
    v.isText = true;
    v.text = std::string(value);
}

void SetRegistryNumber(int root, std::string_view path, unsigned value) {
    RegistryPlace p = Place(root, path);
    RegistryValue& v = S().registry[p.key][p.name];
    v.isText = false;
    v.text.clear();
    v.number = value;
}

void SetProgramStarter(std::function<bool(std::string_view commandLine)> starts) {
    S().programStarter = std::move(starts);
}

const std::vector<std::string>& StartedPrograms() { return S().startedPrograms; }

const std::vector<ProgramRun>& ProgramRuns() { return S().programRuns; }

const std::vector<std::string>& ShellOpened() { return S().shellOpened; }

}  // namespace sim

namespace desktop {
using namespace sim::detail;

std::string ReadRegistryText(int root, std::string_view path, std::string_view fallback) {
    if (!KnownRoot(root)) return std::string(fallback);
    RegistryPlace p = Place(root, path);
    const auto& registry = S().registry;
    auto key = registry.find(p.key);
    if (key == registry.end()) return std::string(fallback);
    auto value = key->second.find(p.name);
    if (value == key->second.end() || !value->second.isText) return std::string(fallback);
    const std::string& text = value->second.text;
    return text.substr(0, text.find('\0'));
}

bool RunProgram(std::string_view commandLine, bool wait, int show) {
    State& s = S();
    std::function<bool(std::string_view)> starts = s.programStarter;
    bool started = starts ? starts(commandLine) : !FirstWord(commandLine).empty();
    s.programRuns.push_back({std::string(commandLine), wait, show, started});
    if (started) s.startedPrograms.emplace_back(commandLine);
    return started;
}

void ShellOpen(std::string_view target) { S().shellOpened.emplace_back(target); }

}  // namespace desktop
