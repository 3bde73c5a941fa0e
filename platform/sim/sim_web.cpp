// The scripted web behind HttpGetFile, and download workers on real threads.
//
// Workers call HttpGetFile from their own threads and may outlive the wait
// that started them (and even the test), so the web table and the request
// log live under their own lock and are never destroyed.
// <chrono> itself cannot be compiled to GBK (a "µs" literal); <thread> and
// <condition_variable> bring std::chrono::milliseconds.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

struct Web {
    std::mutex lock;
    std::map<std::string, WebPage, std::less<>> pages;
    std::vector<std::string> requested;
    int timeDivisor = 1;
    int runningWorkers = 0;
    std::condition_variable workersEnded;
};

// Real milliseconds for the given ones, at the web's speed.
std::chrono::milliseconds RealTime(int milliseconds, int divisor) {
    return std::chrono::milliseconds(milliseconds > 0 ? milliseconds / divisor : 0);
}

Web& TheWeb() {
    static Web* web = new Web;  // never freed: detached workers may use it at exit
    return *web;
}

}  // namespace

void ResetWeb(int timeDivisor) {
    Web& web = TheWeb();
    std::lock_guard<std::mutex> hold(web.lock);
    web.pages.clear();
    web.requested.clear();
    web.timeDivisor = timeDivisor > 1 ? timeDivisor : 1;
}

}  // namespace sim::detail

namespace sim {
using namespace detail;

void ServePage(std::string_view url, WebPage page) {
    Web& web = TheWeb();
    std::lock_guard<std::mutex> hold(web.lock);
    web.pages.insert_or_assign(std::string(url), std::move(page));
}

const std::vector<std::string>& RequestedUrls() { return TheWeb().requested; }

void WaitForWorkers() {
    Web& web = TheWeb();
    std::unique_lock<std::mutex> hold(web.lock);
    web.workersEnded.wait(hold, [&] { return web.runningWorkers == 0; });
}

}  // namespace sim

namespace desktop {
using namespace sim::detail;

std::string HttpGetFile(std::string_view url) {
    Web& web = TheWeb();
    sim::WebPage page;
    int divisor = 1;
    {
        std::lock_guard<std::mutex> hold(web.lock);
        web.requested.emplace_back(url);
        auto it = web.pages.find(url);
        if (it == web.pages.end()) return {};
        page = it->second;
        divisor = web.timeDivisor;
    }
    if (page.delayMilliseconds > 0) std::this_thread::sleep_for(RealTime(page.delayMilliseconds, divisor));
    if (page.fails) return {};
    return page.body;
}

bool RunWorkerWithTimeout(std::function<void()> routine, int milliseconds) {
    struct Finish {
        std::mutex lock;
        std::condition_variable ended;
        bool done = false;
    };
    auto finish = std::make_shared<Finish>();
    Web& web = TheWeb();
    int divisor = 1;
    {
        std::lock_guard<std::mutex> hold(web.lock);
        ++web.runningWorkers;
        divisor = web.timeDivisor;
    }
    try {
        std::thread([finish, routine = std::move(routine)] {
            if (routine) routine();
            {
                std::lock_guard<std::mutex> hold(finish->lock);
                finish->done = true;
                finish->ended.notify_all();
            }
            Web& web = TheWeb();
            std::lock_guard<std::mutex> hold(web.lock);
            --web.runningWorkers;
            web.workersEnded.notify_all();
        }).detach();
    } catch (...) {
        std::lock_guard<std::mutex> hold(web.lock);
        --web.runningWorkers;
        return false;  // no thread could be started
    }
    std::unique_lock<std::mutex> hold(finish->lock);
    return finish->ended.wait_for(hold, RealTime(milliseconds, divisor), [&] { return finish->done; });
}

}  // namespace desktop
