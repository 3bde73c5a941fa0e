// Files and profile (INI) files on a real folder.
//
// The program writes Windows paths; here a backslash is a folder separator
// like a slash, and a relative path is taken from the current folder (the
// run folder until SetCurrentFolder). The profile functions follow the rules
// of GetPrivateProfileStringA and WritePrivateProfileStringA: names without
// regard to letter case, blanks around names and values dropped on reading,
// matching quotes around a value dropped, CR LF line ends on writing, and the
// other lines of the file left as they are.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {

std::string DiskPath(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.empty() || p[0] == '/') return p;
    const State& s = S();
    const std::string& base = s.currentDisk.empty() ? s.runDirectory : s.currentDisk;
    return base + "/" + p;
}

std::string WindowsFolder() { return S().tempRoot + "/windows"; }

namespace {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return true;
}

bool WriteFileBytes(const std::string& path, std::initializer_list<std::string_view> blocks) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (std::string_view block : blocks)
        if (!block.empty() && std::fwrite(block.data(), 1, block.size(), f) != block.size()) ok = false;
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string_view SkipControlBytes(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
    return s;
}

// One line of a profile file, as the profile functions read it.
struct IniLine {
    enum class Kind { Other, Section, Key };
    std::string raw;  // the line's bytes with its line end
    Kind kind = Kind::Other;
    std::string name;
    bool hasValue = false;
    std::string value;
};

IniLine ParseLine(std::string raw) {
    IniLine line;
    line.raw = std::move(raw);
    std::string_view content = line.raw;
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) content.remove_suffix(1);
    content = TrimLeft(content);
    if (!content.empty() && content.front() == '[') {
        std::size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = IniLine::Kind::Section;
            line.name = std::string(Trim(content.substr(1, close - 1)));
            return line;
        }
    }
    content = TrimRight(content);
    if (content.empty()) return line;
    line.kind = IniLine::Kind::Key;
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        line.name = std::string(content);
    } else {
        line.name = std::string(TrimRight(content.substr(0, equals)));
        line.hasValue = true;
        line.value = std::string(TrimLeft(content.substr(equals + 1)));
    }
    return line;
}

std::vector<IniLine> ParseIni(const std::string& bytes) {
    std::vector<IniLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(ParseLine(bytes.substr(start, end - start)));
        start = end;
    }
    return lines;
}

// The first section of that name; its keys run to the next section line.
std::size_t FindSection(const std::vector<IniLine>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == IniLine::Kind::Section && EqualNoCase(lines[i].name, section)) return i;
    return lines.size();
}

std::size_t FindKey(const std::vector<IniLine>& lines, std::size_t section, std::string_view key) {
    for (std::size_t i = section + 1; i < lines.size() && lines[i].kind != IniLine::Kind::Section; ++i)
        if (lines[i].kind == IniLine::Kind::Key && EqualNoCase(lines[i].name, key)) return i;
    return lines.size();
}

// A file named without any folder lives in the Windows folder.
std::string ProfilePath(std::string_view file) {
    if (file.find('\\') == std::string_view::npos && file.find('/') == std::string_view::npos)
        return WindowsFolder() + "/" + std::string(file);
    return DiskPath(file);
}

constexpr std::size_t kLongestValue = 10239;  // a 10240-byte buffer with its zero

std::string Cut(std::string_view text) { return std::string(text.substr(0, std::min(text.size(), kLongestValue))); }

}  // namespace
}  // namespace sim::detail

namespace sim {
using namespace detail;

std::string CurrentFolder() { return S().currentFolder; }

}  // namespace sim

namespace desktop {
using namespace sim::detail;

std::string GetRunDirectory() { return S().runDirectory; }

std::string GetExecutableName() { return S().config.executableName; }

bool SetCurrentFolder(std::string_view path) {
    std::string disk = DiskPath(path);
    std::error_code error;
    if (path.empty() || !std::filesystem::is_directory(disk, error)) return false;
    S().currentFolder = std::string(path);
    S().currentDisk = disk;
    return true;
}

bool FileExists(std::string_view path) {
    // FindFirstFileA finds nothing for a path that ends in a separator.
    if (path.empty() || path.back() == '\\' || path.back() == '/') return false;
    std::error_code error;
    return std::filesystem::exists(DiskPath(path), error);
}

bool CreateFolder(std::string_view path) {
    if (path.empty()) return false;
    std::error_code error;
    return std::filesystem::create_directory(DiskPath(path), error);
}

bool RemoveFile(std::string_view path) {
    if (path.empty()) return false;
    std::string disk = DiskPath(path);
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(disk, error))) return false;
    return std::filesystem::remove(disk, error);
}

bool WriteWholeFile(std::string_view path, std::initializer_list<std::string_view> blocks) {
    if (path.empty()) return false;
    std::string disk = DiskPath(path);
    std::error_code error;
    if (std::filesystem::is_directory(disk, error)) return false;
    return WriteFileBytes(disk, blocks);
}

std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback) {
    file = SkipControlBytes(file);
    section = Trim(SkipControlBytes(section));
    key = Trim(SkipControlBytes(key));
    if (file.empty() || section.empty() || key.empty()) return {};
    // The default loses its trailing spaces, as GetPrivateProfileString does.
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);

    std::string bytes;
    if (!ReadFileBytes(ProfilePath(file), bytes)) return Cut(fallback);
    std::vector<IniLine> lines = ParseIni(bytes);
    std::size_t s = FindSection(lines, section);
    if (s == lines.size()) return Cut(fallback);
    std::size_t k = FindKey(lines, s, key);
    if (k == lines.size() || !lines[k].hasValue) return Cut(fallback);
    std::string_view value = lines[k].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return Cut(value);
}

bool WriteIniValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (file.empty() || section.empty() || key.empty()) return false;
    const std::string path = ProfilePath(file);
    std::string bytes;
    std::error_code error;
    if (std::filesystem::exists(path, error) && !ReadFileBytes(path, bytes)) return false;

    std::vector<IniLine> lines = ParseIni(bytes);
    auto terminate = [](std::string& raw) {
        if (!raw.empty() && raw.back() != '\n') raw += "\r\n";
    };
    std::string keyLine = std::string(key) + "=" + std::string(value) + "\r\n";
    std::size_t s = FindSection(lines, section);
    if (s == lines.size()) {
        if (!lines.empty()) terminate(lines.back().raw);
        std::string header(1, '[');
        header.append(section).append("]\r\n");
        lines.push_back(ParseLine(std::move(header)));
        lines.push_back(ParseLine(keyLine));
    } else {
        std::size_t k = FindKey(lines, s, key);
        if (k != lines.size()) {
            lines[k] = ParseLine(lines[k].name + "=" + std::string(value) + "\r\n");
        } else {
            // After the section's last non-blank line.
            std::size_t last = s;
            for (std::size_t i = s + 1; i < lines.size() && lines[i].kind != IniLine::Kind::Section; ++i)
                if (lines[i].kind != IniLine::Kind::Other || !Trim(lines[i].raw).empty()) last = i;
            terminate(lines[last].raw);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), ParseLine(keyLine));
        }
    }
    std::string out;
    for (const IniLine& line : lines) out += line.raw;
    return WriteFileBytes(path, {out});
}

}  // namespace desktop
