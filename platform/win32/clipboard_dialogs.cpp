// The plain-text clipboard and message boxes.
#include "platform/win32/backend.h"

#include <cstring>

namespace win32 {

namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 20;

// The clipboard, open for the holder's lifetime. Another program may hold it
// for a moment, so opening is tried a few times before giving up.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < kOpenTries; ++attempt) {
            if (OpenClipboard(owner)) {
                open_ = true;
                return;
            }
            Sleep(kOpenPauseMs);
        }
    }
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~GlobalLockScope() {
        if (data_ != nullptr) GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

struct GlobalDeleter {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};
using GlobalMemory = Handle<HGLOBAL, GlobalDeleter>;

}  // namespace

}  // namespace win32

namespace desktop {

using namespace win32;

std::string GetClipboardText() {
    OpenClipboardScope clipboard(nullptr);
    if (!clipboard.open()) return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) return {};
    HGLOBAL memory = static_cast<HGLOBAL>(data);
    const SIZE_T size = GlobalSize(memory);
    GlobalLockScope lock(memory);
    const char* bytes = static_cast<const char*>(lock.data());
    if (bytes == nullptr || size == 0) return {};
    // Never past the memory block, and only up to the first zero byte.
    const void* zero = std::memchr(bytes, 0, size);
    const std::size_t length = zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
    return std::string(bytes, length);
}

bool SetClipboardText(std::string_view text) {
    OpenClipboardScope clipboard(ServiceWindow());
    if (!clipboard.open()) return false;
    if (!EmptyClipboard()) return false;
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return false;
    {
        GlobalLockScope lock(memory.get());
        char* bytes = static_cast<char*>(lock.data());
        if (bytes == nullptr) return false;
        if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
        bytes[text.size()] = '\0';
    }
    if (SetClipboardData(CF_TEXT, memory.get()) == nullptr) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

int ShowMessageBox(std::string_view text, unsigned flags, std::string_view caption) {
    if ((flags & kMbSystemModal) == 0) flags |= kMbTaskModal;
    const std::string t(text);
    const std::string c(caption);
    return MessageBoxA(nullptr, t.c_str(), c.c_str(), flags);
}

}  // namespace desktop
