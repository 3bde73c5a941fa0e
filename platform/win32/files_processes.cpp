// Files, profile (INI) files, the registry, processes and the shell.
#include "platform/win32/backend.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>

namespace win32 {

namespace {

std::string ModulePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string_view SkipBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 0x20) ++i;
    return s.substr(i);
}

struct FindDeleter {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};
using FindHandle = Handle<HANDLE, FindDeleter>;

struct KeyDeleter {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
using RegistryKey = Handle<HKEY, KeyDeleter>;

HKEY RootKey(int root) {
    switch (root) {
        case 1: return HKEY_CLASSES_ROOT;
        case 2: return HKEY_CURRENT_CONFIG;
        case 3: return HKEY_CURRENT_USER;
        case 4: return HKEY_LOCAL_MACHINE;
        case 5: return HKEY_USERS;
        default: return nullptr;
    }
}

std::string UpToZero(const std::string& bytes) {
    const std::size_t zero = bytes.find('\0');
    return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

WORD ShowCommand(int show) {
    switch (show) {
        case 1: return SW_HIDE;
        case 3: return SW_SHOWMINIMIZED;
        case 4: return SW_SHOWMAXIMIZED;
        case 5: return SW_SHOWNOACTIVATE;
        case 6: return SW_SHOWMINNOACTIVE;
        default: return SW_SHOWNORMAL;
    }
}

}  // namespace

}  // namespace win32

namespace desktop {

using namespace win32;

std::string GetRunDirectory() {
    const std::string path = ModulePath();
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string GetExecutableName() {
    const std::string path = ModulePath();
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SetCurrentFolder(std::string_view path) {
    const std::string z(path);
    return SetCurrentDirectoryA(z.c_str()) != 0;
}

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string z(path);
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(z.c_str(), &data));
    return find.get() != INVALID_HANDLE_VALUE && find.get() != nullptr;
}

bool CreateFolder(std::string_view path) {
    const std::string z(path);
    return CreateDirectoryA(z.c_str(), nullptr) != 0;
}

bool RemoveFile(std::string_view path) {
    const std::string z(path);
    return DeleteFileA(z.c_str()) != 0;
}

bool WriteWholeFile(std::string_view path, std::initializer_list<std::string_view> blocks) {
    if (path.empty()) return false;
    const std::string z(path);
    KernelHandle file(CreateFileA(z.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || !file) return false;
    for (std::string_view block : blocks) {
        while (!block.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(block.size(), 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written == 0) return false;
            block.remove_prefix(written);
        }
    }
    return true;
}

std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback) {
    const std::string f(SkipBlanks(file));
    const std::string s(SkipBlanks(section));
    const std::string k(SkipBlanks(key));
    if (f.empty() || s.empty() || k.empty()) return {};
    const std::string d(fallback);
    std::string buffer(10240, '\0');
    const DWORD got = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), f.c_str());
    buffer.resize(std::min<std::size_t>(got, buffer.size()));
    return buffer;
}

bool WriteIniValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
    const std::string f(file);
    const std::string s(section);
    const std::string k(key);
    const std::string v(value);
    if (f.empty() || s.empty() || k.empty()) return false;
    return WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), f.c_str()) != 0;
}

std::string ReadRegistryText(int root, std::string_view path, std::string_view fallback) {
    HKEY base = RootKey(root);
    if (base == nullptr) return std::string(fallback);
    const std::size_t slash = path.rfind('\\');
    const std::string keyPath(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
    const std::string valueName(slash == std::string_view::npos ? path : path.substr(slash + 1));
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, keyPath.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::string(fallback);
    RegistryKey key(opened);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::string(fallback);
    }
    std::string data(static_cast<std::size_t>(size) + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
        ERROR_SUCCESS) {
        return std::string(fallback);
    }
    data.resize(std::min<std::size_t>(got, data.size()));
    const std::string text = UpToZero(data);
    if (type == REG_SZ) return text;
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return std::string(fallback);
    std::string expanded(needed, '\0');
    const DWORD made = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    if (made == 0 || made > needed) return std::string(fallback);
    return UpToZero(expanded);
}

bool RunProgram(std::string_view commandLine, bool wait, int show) {
    std::string line(commandLine);
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = ShowCommand(show);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    KernelHandle process(pi.hProcess);
    KernelHandle thread(pi.hThread);
    if (wait) {
        WaitForSingleObject(process.get(), INFINITE);
    } else {
        WaitForInputIdle(process.get(), 1000);
    }
    return true;
}

void ShellOpen(std::string_view target) {
    const std::string z(target);
    ShellExecuteA(nullptr, "open", z.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int RandomInRange(int low, int high) {
    std::srand(GetTickCount());
    if (high < low) return low;
    const long long span = static_cast<long long>(high) - low + 1;
    return static_cast<int>(low + std::rand() % span);
}

void ExitProgram(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace desktop
