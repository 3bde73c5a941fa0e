// Pop-up menus, message boxes and balloon tips: what the program shows and
// the test answers.
//
// A pop-up menu takes the next queued answer. The chosen item's handler is
// posted, as the WM_COMMAND of a real menu is: it runs after PopUpMenu has
// returned and the handler that called it has finished.
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace sim::detail {
namespace {

MenuRec* FindMenu(forms::WindowId window, std::string_view menu) {
    WindowRec* w = FindWindow(window);
    if (!w) return nullptr;
    for (MenuRec& m : w->menus)
        if (m.name == menu) return &m;
    return nullptr;
}

MenuItemRec* FindItem(forms::WindowId window, std::string_view menu, int item) {
    MenuRec* m = FindMenu(window, menu);
    if (!m || item < 0 || item >= static_cast<int>(m->items.size())) return nullptr;
    return &m->items[static_cast<std::size_t>(item)];
}

// Whether the item appears in the pop-up: it is visible, and a submenu item
// also needs its level 1 item visible.
std::vector<bool> ShownItems(const MenuRec& menu) {
    std::vector<bool> shown;
    bool parentShown = true;
    for (const MenuItemRec& item : menu.items) {
        if (item.level <= 1) {
            parentShown = item.visible;
            shown.push_back(item.visible);
        } else {
            shown.push_back(parentShown && item.visible);
        }
    }
    return shown;
}

}  // namespace
}  // namespace sim::detail

namespace forms {
using namespace sim::detail;

int MenuItemIndex(WindowId window, std::string_view menu, std::string_view itemText) {
    MenuRec* m = FindMenu(window, menu);
    if (!m) return -1;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].formText == itemText) return static_cast<int>(i);
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].text == itemText) return static_cast<int>(i);
    return -1;
}

void SetMenuItemText(WindowId window, std::string_view menu, int item, std::string_view text) {
    if (MenuItemRec* i = FindItem(window, menu, item)) i->text = std::string(text);
}

void SetMenuItemVisible(WindowId window, std::string_view menu, int item, bool visible) {
    if (MenuItemRec* i = FindItem(window, menu, item)) i->visible = visible;
}

void OnMenuItem(WindowId window, std::string_view menu, std::string_view itemText, Handler handler) {
    if (!FindWindow(window)) return;
    int index = MenuItemIndex(window, menu, itemText);
    MenuItemRec* item = FindItem(window, menu, index);
    if (!item) {
        std::fprintf(stderr, "sim: OnMenuItem: window %d has no item \"%.*s\" in menu \"%.*s\"\n", window,
                     static_cast<int>(itemText.size()), itemText.data(), static_cast<int>(menu.size()), menu.data());
        return;
    }
    item->handler = std::move(handler);
}

}  // namespace forms

namespace desktop {
using namespace sim::detail;

void PopUpMenu(WindowId window, std::string_view menu) {
    State& s = S();
    MenuRec* m = FindMenu(window, menu);
    if (!m) {
        std::fprintf(stderr, "sim: PopUpMenu: window %d has no menu \"%.*s\"\n", window, static_cast<int>(menu.size()),
                     menu.data());
        return;
    }
    const std::string menuName = m->name;
    std::vector<bool> shown = ShownItems(*m);
    std::vector<int> shownIndex;  // item index of each shown entry
    sim::ShownMenu record;
    record.window = window;
    record.menu = menuName;
    record.x = s.mouseX + 3;
    record.y = s.mouseY + 3;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (!shown[i]) continue;
        record.visibleItems.push_back(m->items[i].text);
        shownIndex.push_back(static_cast<int>(i));
    }
    s.shownMenus.push_back(record);
    std::function<void()> check = std::move(s.menuCheck);
    s.menuCheck = nullptr;
    if (check) check();

    if (s.menuAnswers.empty()) return;  // dismissed
    std::optional<std::string> answer = std::move(s.menuAnswers.front());
    s.menuAnswers.pop_front();
    if (!answer) return;
    // The user picks from the items as the menu showed them.
    int chosen = -1;
    for (std::size_t k = 0; k < record.visibleItems.size(); ++k) {
        if (record.visibleItems[k] != "-" && record.visibleItems[k] == *answer) {
            chosen = shownIndex[k];
            break;
        }
    }
    if (chosen < 0) {
        std::string message = "the answer \"" + *answer + "\" is not a visible item of menu \"" + menuName + "\"; it shows:";
        for (const std::string& item : record.visibleItems) message += "\n  " + item;
        FailTest(message);
    }
    Post([window, menuName, chosen] {
        MenuItemRec* item = FindItem(window, menuName, chosen);
        if (!item) return;
        forms::Handler handler = item->handler;
        if (handler) handler();
    });
}

int ShowMessageBox(std::string_view text, unsigned flags, std::string_view caption) {
    State& s = S();
    if (!(flags & kMbSystemModal)) flags |= kMbTaskModal;
    s.messageBoxes.push_back({std::string(text), std::string(caption), flags});
    std::function<void()> check = std::move(s.messageBoxCheck);
    s.messageBoxCheck = nullptr;
    if (check) check();
    return kIdOk;
}

void ShowBalloonTip(Control balloon, int x, int y, std::string_view text) {
    if (!FindControl(balloon)) return;
    S().balloons.push_back({balloon, x, y, std::string(text)});
}

}  // namespace desktop

namespace sim {
using namespace detail;

void AnswerMenu(std::string_view itemText) { S().menuAnswers.emplace_back(std::string(itemText)); }

void DismissMenu() { S().menuAnswers.emplace_back(std::nullopt); }

void WhileNextMenuOpen(std::function<void()> check) { S().menuCheck = std::move(check); }

const std::vector<ShownMenu>& ShownMenus() { return S().shownMenus; }

const std::vector<MessageBoxRecord>& MessageBoxes() { return S().messageBoxes; }

void WhileNextMessageBoxOpen(std::function<void()> check) { S().messageBoxCheck = std::move(check); }

const std::vector<BalloonRecord>& Balloons() { return S().balloons; }

}  // namespace sim
