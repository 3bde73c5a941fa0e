#include "online/link_opener.h"

#include <cctype>

#include "build_config.h"
#include "platform/desktop.h"

namespace online {
namespace {

constexpr int kLocalMachine = 4;
constexpr const char* kClientsKey = "SOFTWARE\\Clients\\StartMenuInternet";

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

bool IsWebLink(std::string_view url) {
    return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

}  // namespace

std::string ChannelLink() {
    return std::string(build_config::kChannelHost) + "/go/chn/tbk_channel/channelcode.php?pid=" +
           build_config::kChannelPid + "&eventid=" + build_config::kChannelEventId;
}

std::string UpdatePageLink() { return build_config::kUpdatePageLink; }

std::string BrowserCommandLine(std::string_view command, std::string_view url) {
    // One argument whatever the link holds: a quotation mark inside is written
    // %22, and backslashes before the closing quotation mark are doubled so
    // that they cannot escape it.
    // A double-byte character is copied whole: its trail byte may look like
    // a backslash but is none.
    std::string line = std::string(command) + " \"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const char ch = url[i];
        if (static_cast<unsigned char>(ch) >= 0x80 && i + 1 < url.size()) {
            line.append(url.substr(i, 2));
            ++i;
            backslashes = 0;
            continue;
        }
        line += ch == '"' ? std::string("%22") : std::string(1, ch);
        backslashes = ch == '\\' ? backslashes + 1 : 0;
    }
    line.append(backslashes, '\\');
    line += '"';
    return line;
}

void OpenInBrowser(std::string_view url) {
    const std::string link(url);  // our own copy for the whole call
    if (!IsWebLink(link)) return;

    const std::string client =
        desktop::ReadRegistryText(kLocalMachine, std::string(kClientsKey) + "\\", "IEXPLORE.EXE");
    const std::string command = desktop::ReadRegistryText(
        kLocalMachine, std::string(kClientsKey) + "\\" + client + "\\shell\\open\\command\\", "");
    if (desktop::RunProgram(BrowserCommandLine(command, link), false, 2)) return;

    desktop::SetClipboardText(link);
    desktop::ShowMessageBox("未发现默认网络浏览器或默认网络浏览器配置错误，该网址已送至剪贴板。",
                            desktop::kMbOk | desktop::kMbTopmost, "提示：");
}

void OpenChannelPage() { OpenInBrowser(ChannelLink()); }

}  // namespace online
