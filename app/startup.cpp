#include "app/startup.h"

#include "app/chrome.h"
#include "app/layout.h"
#include "app/main_form.h"
#include "app/main_window.h"
#include "platform/desktop.h"
#include "searchbox/searchbox.h"
#include "slots/commands.h"
#include "slots/monitoring.h"

namespace app {
namespace {

void BindMainWindow(MainWindow& mw) {
    slots::BindSlotCommands(mw.grid, mw.window);
    slots::BindMonitoring(mw.grid, mw.window);
    slots::BindAppendPaste(mw.pasteTarget, mw.grid, mw.window);
    forms::On(MainCtl("标签_增一行"), forms::Event::MouseDown, AddRow);
    forms::On(MainCtl("标签26"), forms::Event::MouseDown, RemoveRow);
    BindChrome();
    online::BindAdverts(mw.adverts, mw.window);
}

// Runs while the window is still invisible, in this order; the window is
// shown once it has returned.
void OnMainWindowCreated(forms::WindowId window) {
    MainWindow& mw = TheMainWindow();
    mw = MainWindow{.window = window, .grid = slots::FindSlots(window)};
    BindMainWindow(mw);

    // The program runs under its fixed name only: letter case counts.
    if (desktop::GetExecutableName() != kExecutableName) {
        desktop::ShowMessageBox("程序名已固定为 zoLapet.exe ，请勿修改", desktop::kMbOk | desktop::kMbTopmost,
                                kBoxCaption);
        desktop::ExitProgram(0);
        return;
    }

    FitWindowToRow(MainCtl("分组框31"));
    desktop::FocusControl(mw.grid.at({1, 1}).textBox);
    forms::SetText(MainCtl("标签21"), "透明度3%");
    desktop::SetWindowTransparency(window, 247);
    forms::SetCaption(window, kMainCaption);
    forms::SetText(MainCtl("标签_窗口假上"), forms::Caption(window));
    desktop::SetTrayIcon(window, desktop::Icon::Program, forms::Caption(window));
    LayOutMainWindow();
    forms::SetTimerPeriod(MainCtl("时钟_联机"), desktop::RandomInRange(5, 7) * 1000);
    searchbox::OpenSearchBox();
}

}  // namespace

MainWindow& TheMainWindow() {
    static MainWindow main;
    return main;
}

forms::Control MainCtl(const char* name) {
    return forms::Ctl(TheMainWindow().window, name);
}

forms::WindowId StartQuillo() {
    TheMainWindow() = MainWindow{};
    desktop::SetCurrentFolder(desktop::GetRunDirectory());
    const forms::WindowId window = desktop::OpenWindow(MainForm(), OnMainWindowCreated);
    return forms::WindowVisible(window) ? window : 0;
}

int RunQuillo() {
    if (StartQuillo() == 0) return 0;
    return desktop::RunEventLoop();
}

}  // namespace app
