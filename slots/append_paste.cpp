#include "slots/append_paste.h"

#include <string>

#include "platform/desktop.h"

namespace slots {
namespace {

constexpr const char* kMenu = "粘贴选项";

struct ModeItem {
    AppendMode mode;
    const char* item;
    const char* separator;  // nullptr: the text of the custom separator box
};

constexpr ModeItem kModes[] = {
    {AppendMode::AppendPlain, "追加粘贴（至原内容尾部）", ""},
    {AppendMode::AppendNewLine, "追加粘贴（原内容先换行再加新内容）", "\r\n"},
    {AppendMode::AppendFullWidthComma, "追加粘贴（原内容加全角逗号再加新内容）", "\xA3\xAC"},
    {AppendMode::AppendComma, "追加粘贴（原内容加半角逗号再加新内容）", ","},
    {AppendMode::AppendCustom, "追加粘贴（原内容加自定义字符再加新内容）", nullptr},
};

// Old text, separator and clipboard text, joined byte for byte; the
// separator is written even when either side is empty.
void Append(forms::Control box, const std::string& separator) {
    const std::string added = desktop::GetClipboardText();
    forms::SetText(box, forms::Text(box) + separator + added);
}

}  // namespace

CustomSeparatorRow FindCustomSeparatorRow(forms::WindowId mainWindow) {
    return {forms::Ctl(mainWindow, "自定义1"), forms::Ctl(mainWindow, "自定义2"), forms::Ctl(mainWindow, "自定义3")};
}

void ShowPasteOptions(PasteTarget& target, const Slot& slot, forms::WindowId mainWindow) {
    target.textBox = slot.textBox;
    desktop::PopUpMenu(mainWindow, kMenu);
}

void AppendPaste(const PasteTarget& target, AppendMode mode, const CustomSeparatorRow& row) {
    if (mode != AppendMode::AppendCustom) {
        for (const ModeItem& m : kModes)
            if (m.mode == mode) Append(target.textBox, m.separator);
        return;
    }
    // The custom separator: with an empty box (zero bytes), show the row and ask for one.
    const std::string separator = forms::Text(row.text);
    if (separator.empty()) {
        forms::SetVisible(row.label, true);
        forms::SetVisible(row.text, true);
        forms::SetVisible(row.close, true);
        desktop::ShowMessageBox(
            "　　请先在本程序左上角自定义字符框内输入字符，在停止使用自定义字符之前请不要点击关闭。",
            desktop::kMbOk | desktop::kMbTopmost, "Brenvik之Quillo");
        desktop::FocusControl(row.text);
        return;
    }
    Append(target.textBox, separator);
}

void HideCustomSeparatorRow(const CustomSeparatorRow& row) {
    forms::SetVisible(row.label, false);
    forms::SetVisible(row.text, false);
    forms::SetVisible(row.close, false);
    forms::SetText(row.text, "");
}

void BindAppendPaste(PasteTarget& target, const SlotGrid& grid, forms::WindowId mainWindow) {
    for (const Slot& slot : grid.slots) {
        if (slot.downArrow.index < 0) continue;
        forms::On(slot.downArrow, forms::Event::MouseDown,
                  [&target, &slot, mainWindow] { ShowPasteOptions(target, slot, mainWindow); });
    }
    const CustomSeparatorRow row = FindCustomSeparatorRow(mainWindow);
    for (const ModeItem& m : kModes)
        forms::OnMenuItem(mainWindow, kMenu, m.item, [&target, mode = m.mode, row] { AppendPaste(target, mode, row); });
    forms::On(row.close, forms::Event::MouseDown, [row] { HideCustomSeparatorRow(row); });
}

}  // namespace slots
