// HTTP downloads through WinINet, and worker threads with a time limit.
#include "platform/win32/backend.h"

#include <wininet.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace win32 {

namespace {

// The WinINet functions the downloads use, looked up once, on the first
// download, by whichever thread gets there first.
struct WinInet {
    decltype(&::InternetOpenA) open = nullptr;
    decltype(&::InternetCloseHandle) close = nullptr;
    decltype(&::InternetCrackUrlA) crackUrl = nullptr;
    decltype(&::InternetConnectA) connect = nullptr;
    decltype(&::HttpOpenRequestA) openRequest = nullptr;
    decltype(&::HttpSendRequestA) sendRequest = nullptr;
    decltype(&::HttpQueryInfoA) queryInfo = nullptr;
    decltype(&::InternetReadFile) readFile = nullptr;
    bool ready = false;
};

const WinInet& Api() {
    static const WinInet api = [] {
        WinInet a;
        const HMODULE library = LoadSystemLibrary("wininet.dll");
        a.open = LibraryFunction<decltype(a.open)>(library, "InternetOpenA");
        a.close = LibraryFunction<decltype(a.close)>(library, "InternetCloseHandle");
        a.crackUrl = LibraryFunction<decltype(a.crackUrl)>(library, "InternetCrackUrlA");
        a.connect = LibraryFunction<decltype(a.connect)>(library, "InternetConnectA");
        a.openRequest = LibraryFunction<decltype(a.openRequest)>(library, "HttpOpenRequestA");
        a.sendRequest = LibraryFunction<decltype(a.sendRequest)>(library, "HttpSendRequestA");
        a.queryInfo = LibraryFunction<decltype(a.queryInfo)>(library, "HttpQueryInfoA");
        a.readFile = LibraryFunction<decltype(a.readFile)>(library, "InternetReadFile");
        a.ready = a.open && a.close && a.crackUrl && a.connect && a.openRequest && a.sendRequest && a.queryInfo &&
                  a.readFile;
        return a;
    }();
    return api;
}

struct InternetDeleter {
    void operator()(HINTERNET h) const { Api().close(h); }
};
using InternetHandle = Handle<HINTERNET, InternetDeleter>;

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kMaxBlock = 102400;
constexpr DWORD kDefaultBlock = 10240;

// One session for the whole process, made on first use by whichever thread
// gets there first; it stays open until the process ends.
HINTERNET Session() {
    static InternetHandle session(
        Api().ready ? Api().open(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0) : nullptr);
    return session.get();
}

DWORD WINAPI WorkerMain(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> routine(static_cast<std::function<void()>*>(parameter));
    try {
        if (*routine) (*routine)();
    } catch (...) {
        // A worker's failure stays on its own thread.
    }
    return 0;
}

}  // namespace

}  // namespace win32

namespace desktop {

using namespace win32;

std::string HttpGetFile(std::string_view url) {
    const WinInet& api = Api();
    HINTERNET session = Session();
    if (session == nullptr) return {};
    const std::string address(url);
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    std::string path(address.size() + 2, '\0');
    std::string extra(address.size() + 2, '\0');
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!api.crackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return {};
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return {};
    std::string object(path.c_str());
    object.append(extra.c_str());
    if (object.empty()) object.assign(1, '/');

    InternetHandle connection(
        api.connect(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        api.openRequest(connection.get(), "GET", object.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
    if (!request) return {};
    if (!api.sendRequest(request.get(), nullptr, 0, nullptr, 0)) return {};

    DWORD contentLength = 0;
    DWORD size = sizeof contentLength;
    DWORD block = kDefaultBlock;
    if (api.queryInfo(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &contentLength, &size,
                       nullptr) &&
        contentLength > 0) {
        block = std::min<DWORD>(contentLength + 1, kMaxBlock);
    }
    std::string body;
    std::string buffer(block, '\0');
    for (;;) {
        DWORD got = 0;
        if (!api.readFile(request.get(), buffer.data(), block, &got) || got == 0) break;
        body.append(buffer.data(), got);
    }
    return body;
}

bool RunWorkerWithTimeout(std::function<void()> routine, int milliseconds) {
    auto* owned = new std::function<void()>(std::move(routine));
    DWORD threadId = 0;
    KernelHandle thread(CreateThread(nullptr, 0, WorkerMain, owned, 0, &threadId));
    if (!thread) {
        delete owned;
        return false;
    }
    // From here the thread owns the routine; it may outlive this wait.
    const DWORD wait = milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds);
    return WaitForSingleObject(thread.get(), wait) == WAIT_OBJECT_0;
}

}  // namespace desktop
