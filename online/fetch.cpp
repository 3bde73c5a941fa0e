#include "online/fetch.h"

#include <mutex>

#include "online/marked_text.h"
#include "platform/desktop.h"

namespace online {
namespace {

// One user's hand-over between the user-interface thread and its workers.
struct HandOver {
    std::mutex lock;
    std::string url;       // written before a worker starts
    std::string pageText;  // replaced by each worker as its last step
};

HandOver& HandOverOf(OnlineUser user) {
    // Never destroyed: a late worker may still store its page while the
    // process ends.
    static HandOver* const slots = new HandOver[3];
    return slots[static_cast<int>(user)];
}

}  // namespace

std::string FetchMarkedText(OnlineUser user, std::string_view url, std::string_view startMarker,
                            std::string_view endMarker) {
    HandOver& slot = HandOverOf(user);
    std::string workerUrl;
    {
        std::lock_guard<std::mutex> hold(slot.lock);
        slot.url = std::string(url);
        workerUrl = slot.url;  // the worker's own copy: a later fetch may replace the slot
    }
    desktop::RunWorkerWithTimeout(
        [&slot, workerUrl = std::move(workerUrl)] {
            std::string body = desktop::HttpGetFile(workerUrl);
            body.resize(body.find('\0') == std::string::npos ? body.size() : body.find('\0'));
            std::lock_guard<std::mutex> hold(slot.lock);
            slot.pageText = std::move(body);
        },
        kFetchWaitMilliseconds);

    std::string page;
    {
        std::lock_guard<std::mutex> hold(slot.lock);
        page = slot.pageText;
    }
    if (page.empty()) return {};
    const std::string block = ExtractMarkedText(page, startMarker, endMarker);
    std::string cleaned = RemoveAmpSequences(block);
    // Pending window events run once the removal has done any work, where the
    // pass-by-pass removal would let them run between its passes.
    if (cleaned.size() != block.size()) desktop::ProcessEvents();
    return cleaned;
}

}  // namespace online
