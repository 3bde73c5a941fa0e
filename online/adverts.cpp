#include "online/adverts.h"

#include "build_config.h"
#include "online/decipher.h"
#include "online/fetch.h"
#include "online/link_opener.h"
#include "online/marked_text.h"
#include "online/online_markers.h"
#include "platform/desktop.h"

namespace online {
namespace {

constexpr const char* kDefaultLowerText = "淘宝淘实惠";

std::string Cut(const std::string& plain, MarkerPair markers) {
    return ExtractMarkedText(plain, markers.start, markers.end);
}

}  // namespace

AdvertControls FindAdvertControls(forms::WindowId mainWindow) {
    return {forms::Ctl(mainWindow, "时钟_联机"), forms::Ctl(mainWindow, "标签_假下并广告"),
            forms::Ctl(mainWindow, "标签_上广告")};
}

void RefreshAdverts(AdvertLinks& links, const AdvertControls& controls) {
    // The next refresh in 5 to 8 whole minutes, set before the fetch.
    forms::SetTimerPeriod(controls.timer, desktop::RandomInRange(5, 8) * 60000);

    const std::string block = FetchMarkedText(OnlineUser::MainAdverts, build_config::kMainOnlinePage,
                                              kMainBlockMarkers.start, kMainBlockMarkers.end);
    const std::string plain = DecipherOnlineText(block);

    const std::string lowerText = Cut(plain, kLowerAdvertTextMarkers);
    forms::SetText(controls.lower, lowerText.empty() ? kDefaultLowerText : lowerText);
    links.lower = Cut(plain, kLowerAdvertLinkMarkers);
    if (links.lower.empty()) links.lower = ChannelLink();

    std::string upperText = Cut(plain, kUpperAdvertTextMarkers);
    if (!upperText.empty()) upperText += " |";
    forms::SetText(controls.upper, upperText);
    links.upper = Cut(plain, kUpperAdvertLinkMarkers);
}

void OpenUpperAdvert(const AdvertLinks& links) {
    if (!links.upper.empty()) OpenInBrowser(links.upper);
}

void OpenLowerAdvert(const AdvertLinks& links, const AdvertControls& controls) {
    // The default caption always opens the channel page, whatever the link.
    if (forms::Text(controls.lower) == kDefaultLowerText || links.lower.empty()) {
        OpenChannelPage();
        return;
    }
    OpenInBrowser(links.lower);
}

void BindAdverts(AdvertLinks& links, forms::WindowId mainWindow) {
    const AdvertControls controls = FindAdvertControls(mainWindow);
    forms::On(controls.timer, forms::Event::Tick, [&links, controls] { RefreshAdverts(links, controls); });
    forms::On(controls.upper, forms::Event::MouseDown, [&links] { OpenUpperAdvert(links); });
    forms::On(controls.lower, forms::Event::MouseDown, [&links, controls] { OpenLowerAdvert(links, controls); });
    for (const char* menu : {"托盘菜单", "更多菜单"}) {
        forms::OnMenuItem(mainWindow, menu, "淘宝淘实惠", OpenChannelPage);
        forms::OnMenuItem(mainWindow, menu, "检查更新", [] { OpenInBrowser(UpdatePageLink()); });
    }
}

}  // namespace online
