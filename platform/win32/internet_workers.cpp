// HTTP downloads through WinINet, and worker threads with a time limit.
#include "platform/win32/backend.h"

#include <wininet.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace win32 {

namespace {

struct InternetDeleter {
    void operator()(HINTERNET h) const { InternetCloseHandle(h); }
};
using InternetHandle = Handle<HINTERNET, InternetDeleter>;

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kMaxBlock = 102400;
constexpr DWORD kDefaultBlock = 10240;

// One session for the whole process, made on first use by whichever thread
// gets there first; it stays open until the process ends.
HINTERNET Session() {
    static InternetHandle session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
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
    if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return {};
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return {};
    std::string object(path.c_str());
    object.append(extra.c_str());
    if (object.empty()) object.assign(1, '/');

    InternetHandle connection(
        InternetConnectA(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        HttpOpenRequestA(connection.get(), "GET", object.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
    if (!request) return {};
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return {};

    DWORD contentLength = 0;
    DWORD size = sizeof contentLength;
    DWORD block = kDefaultBlock;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &contentLength, &size,
                       nullptr) &&
        contentLength > 0) {
        block = std::min<DWORD>(contentLength + 1, kMaxBlock);
    }
    std::string body;
    std::string buffer(block, '\0');
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer.data(), block, &got) || got == 0) break;
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
