#include "app/chrome.h"

#include "app/main_window.h"
#include "platform/desktop.h"

namespace app {
namespace {

forms::WindowId Main() { return TheMainWindow().window; }

constexpr int kMinimised = 2;

}  // namespace

void DragMainWindow() {
    // The system moves the window with the mouse as for a real caption.
    desktop::SendWindowMessage(Main(), desktop::kWmNcLButtonDown, desktop::kHtCaption, 0);
}

void MinimiseMainWindow() { forms::SetWindowState(Main(), kMinimised); }

void CloseMainWindow() {
    forms::SetWindowVisible(Main(), false);
    // Hidden by now, so the state is only recorded.
    forms::SetWindowState(Main(), kMinimised);
}

void ShowMoreMenu() { desktop::PopUpMenu(Main(), "更多菜单"); }

void ApplyTopmostBox() { forms::SetTopmost(Main(), forms::Checked(MainCtl("选择框_置顶"))); }

void ShowTransparencyMenu() { desktop::PopUpMenu(Main(), "设透明度"); }

void SetMainTransparency(int opacity, const char* labelText) {
    desktop::SetWindowTransparency(Main(), opacity);
    forms::SetText(MainCtl("标签21"), labelText);
}

void BindChrome() {
    using forms::Event;
    forms::On(MainCtl("标签_窗口假上"), Event::MouseDown, DragMainWindow);
    forms::On(MainCtl("图形按钮_最小化"), Event::Click, MinimiseMainWindow);
    forms::On(MainCtl("图形按钮_关闭"), Event::Click, CloseMainWindow);
    forms::On(MainCtl("图形按钮_更多"), Event::Click, ShowMoreMenu);
    forms::On(MainCtl("选择框_置顶"), Event::Click, ApplyTopmostBox);
    forms::On(MainCtl("标签21"), Event::MouseDown, ShowTransparencyMenu);

    // Opacity 255 x (100 - p) / 100 for a transparency of p percent.
    static constexpr struct {
        const char* item;
        int opacity;
        const char* label;
    } levels[] = {{"不透明", 255, "透明度0%"},
                  {"20%", 204, "透明度20%"},
                  {"40%", 153, "透明度40%"},
                  {"60%", 102, "透明度60%"},
                  {"80%", 51, "透明度80%"}};
    for (const auto& level : levels)
        forms::OnMenuItem(Main(), "设透明度", level.item,
                          [&level] { SetMainTransparency(level.opacity, level.label); });
}

}  // namespace app
