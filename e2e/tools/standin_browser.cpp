// standin_browser: registered as the default web browser in the test prefix.
// It opens no window: it writes what it was started with to a new file
// launch-<n>.json beside its own exe (n = 1, 2, ...: the first free number),
// then ends. Texts are written as the hex of their ANSI bytes:
//
//   {"pid":123,"command_line_hex":"...","args_hex":["...",...],
//    "startup_flags":1,"show_window":1}
//
// command_line_hex is GetCommandLineA() as it is; args_hex is the split that
// CommandLineToArgvW makes of the same line (the way a Windows program built
// on the C runtime sees its arguments), each argument back in the ANSI code
// page. The file is written under a temporary name and then renamed, so a
// reader never sees half of it.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out(1, '"');
    out += text;
    out += '"';
    return out;
}

std::string Ansi(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string args = "[";
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 0; i < argc; ++i) {
            if (i) args += ',';
            args += Quoted(Hex(Ansi(argv[i])));
        }
        LocalFree(argv);
    }
    args += ']';
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const std::string record = "{\"pid\":" + std::to_string(GetCurrentProcessId()) +
                               ",\"command_line_hex\":" + Quoted(Hex(GetCommandLineA())) + ",\"args_hex\":" + args +
                               ",\"startup_flags\":" + std::to_string(startup.dwFlags) +
                               ",\"show_window\":" + std::to_string(startup.wShowWindow) + "}\n";

    const std::string folder = OwnFolder();
    const std::string temporary = folder + "\\launch-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    if (!WriteFileBytes(temporary, record)) return 1;
    for (int n = 1; n < 10000; ++n) {
        // MoveFileA does not replace an existing file: the first free number wins.
        if (MoveFileA(temporary.c_str(), (folder + "\\launch-" + std::to_string(n) + ".json").c_str())) return 0;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    DeleteFileA(temporary.c_str());
    return 1;
}
