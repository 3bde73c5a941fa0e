// The main window's two advert lines, refreshed from the main online info
// page a few seconds after start-up and then every five to eight minutes.
#pragma once

#include <string>

#include "platform/forms.h"

namespace online {

// The links behind the two lines; their captions live in the labels.
struct AdvertLinks {
    std::string lower;  // empty until the first refresh, then never empty
    std::string upper;  // empty whenever the page gives none
};

struct AdvertControls {
    forms::Control timer;  // 时钟_联机
    forms::Control lower;  // 标签_假下并广告
    forms::Control upper;  // 标签_上广告
};

AdvertControls FindAdvertControls(forms::WindowId mainWindow);

// A tick of the online timer: the next period first, then all four values
// from the page, each falling back on its default.
void RefreshAdverts(AdvertLinks& links, const AdvertControls& controls);
void OpenUpperAdvert(const AdvertLinks& links);
void OpenLowerAdvert(const AdvertLinks& links, const AdvertControls& controls);

// The timer, the two lines, and the "淘宝淘实惠" and "检查更新" items of the
// tray menu and the "more" menu.
void BindAdverts(AdvertLinks& links, forms::WindowId mainWindow);

}  // namespace online
