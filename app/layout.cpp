#include "app/layout.h"

#include <string>

#include "app/main_form.h"
#include "app/main_window.h"
#include "platform/desktop.h"

namespace app {

using desktop::kKeep;
using desktop::MoveControl;

void LayOutMainWindow() {
    const forms::WindowId main = TheMainWindow().window;
    const int w = forms::WindowWidth(main);
    const int h = forms::WindowHeight(main);

    // Each step reads the left edge the step before it has set.
    MoveControl(MainCtl("标签_窗口假上"), 2, 0, w, 24);
    MoveControl(MainCtl("标签_窗口假左"), 0, 0, 2, h);
    MoveControl(MainCtl("标签_窗口假右"), w - 2, 0, 2, h);
    MoveControl(MainCtl("标签_假下并广告"), 0, h - 16, w, 16);
    const forms::Control close = MainCtl("图形按钮_关闭");
    MoveControl(close, w - forms::Width(close) - 2, 4);
    const forms::Control minimise = MainCtl("图形按钮_最小化");
    MoveControl(minimise, forms::Left(close) - forms::Width(minimise), 4);
    const forms::Control more = MainCtl("图形按钮_更多");
    MoveControl(more, forms::Left(minimise) - forms::Width(more), 4);
    const forms::Control topmost = MainCtl("选择框_置顶");
    MoveControl(topmost, forms::Left(more) - 8 - forms::Width(topmost), 2);
    const forms::Control monitorAll = MainCtl("选择框_全部监控剪贴板");
    MoveControl(monitorAll, forms::Left(topmost) - 8 - forms::Width(monitorAll), 2);
}

void FitWindowToRow(forms::Control lowest) {
    const forms::WindowId main = TheMainWindow().window;
    const int height = forms::Top(lowest) + forms::Height(lowest) + 26;
    MoveControl(main, forms::WindowLeft(main), forms::WindowTop(main), kKeep, height);
    // Only the halving can leave a fraction; C++ division drops it toward zero.
    const int top = (desktop::GetScreenSize().height - forms::WindowHeight(main)) / 2;
    MoveControl(main, forms::WindowLeft(main), top);
}

}  // namespace app

namespace app {
namespace {

// The visibility of the group boxes is the only record of the row count.
void SetRowVisible(int row, bool visible) {
    for (const char* column : {"1", "2", "3"})
        forms::SetVisible(MainCtl(("分组框" + std::to_string(row) + column).c_str()), visible);
}

void Refuse(const char* text) {
    desktop::ShowMessageBox(text, desktop::kMbOk | desktop::kMbTopmost, kBoxCaption);
}

}  // namespace

void RemoveRow() {
    if (forms::Visible(MainCtl("分组框31"))) {
        SetRowVisible(3, false);
        FitWindowToRow(MainCtl("分组框21"));
    } else if (forms::Visible(MainCtl("分组框21"))) {
        SetRowVisible(2, false);
        FitWindowToRow(MainCtl("分组框11"));
    } else {
        Refuse("最少也有一行");
    }
    LayOutMainWindow();
}

void AddRow() {
    if (!forms::Visible(MainCtl("分组框21"))) {
        SetRowVisible(2, true);
        FitWindowToRow(MainCtl("分组框21"));
    } else if (!forms::Visible(MainCtl("分组框31"))) {
        SetRowVisible(3, true);
        FitWindowToRow(MainCtl("分组框31"));
    } else {
        Refuse("最多只有三行");
    }
    LayOutMainWindow();
}

}  // namespace app
