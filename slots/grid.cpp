#include "slots/grid.h"

#include <deque>

namespace slots {
namespace {

constexpr forms::Colour kWindowGrey = forms::Rgb(236, 236, 236);
constexpr forms::Colour kCommandBlue = forms::Rgb(0, 96, 192);
constexpr forms::Colour kClearBrown = forms::Rgb(192, 96, 0);
constexpr forms::Font kTahoma{.face = "Tahoma", .height = 12};
constexpr forms::Font kTahomaBold{.face = "Tahoma", .height = 12, .bold = true};

// Form tables hold plain C strings; the generated slot names live here for
// the whole run (a deque never moves what it holds).
const char* Keep(std::string text) {
    static std::deque<std::string> names;
    return names.emplace_back(std::move(text)).c_str();
}

forms::ControlDef CommandLabel(const char* name, const char* parent, int left, const char* text,
                               forms::Colour colour) {
    return {.name = name, .kind = forms::Kind::Label, .parent = parent, .left = left, .top = 124,
            .width = 30, .height = 14, .text = text, .textColour = colour, .backColour = kWindowGrey,
            .align = forms::Align::Centre, .hand = true};
}

}  // namespace

std::string SlotText(SlotId id) {
    return std::string{static_cast<char>('0' + id.row), '-', static_cast<char>('0' + id.column)};
}

std::string ControlName(const char* word, SlotId id) {
    return std::string(word) + static_cast<char>('0' + id.row) + static_cast<char>('0' + id.column);
}

const char* DownArrowName(SlotId id) {
    static const char* const names[3][2] = {{"下箭11", "下箭12"}, {"下箭1", "下箭2"}, {"下箭4", "下箭5"}};
    if (id.column == 3) return nullptr;
    return names[id.row - 1][id.column - 1];
}

SlotGrid FindSlots(forms::WindowId mainWindow) {
    SlotGrid grid;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 3; ++column) {
            const SlotId id{row, column};
            auto ctl = [&](const char* word) { return forms::Ctl(mainWindow, ControlName(word, id)); };
            const char* arrow = DownArrowName(id);
            grid.slots[(row - 1) * 3 + (column - 1)] = Slot{
                .id = id,
                .groupBox = ctl("分组框"),
                .textBox = ctl("编辑框"),
                .monitorBox = ctl("监控"),
                .downArrow = arrow ? forms::Ctl(mainWindow, arrow) : forms::Control{},
                .pasteLabel = ctl("粘贴"),
                .copyLabel = ctl("复制"),
                .cutLabel = ctl("剪切"),
                .clearLabel = ctl("清空"),
                .monitorTimer = ctl("时钟"),
            };
        }
    }
    return grid;
}

void AddSlotControls(std::vector<forms::ControlDef>& controls, SlotId id, int left, int top) {
    const char* group = Keep(ControlName("分组框", id));
    auto name = [&](const char* word) { return Keep(ControlName(word, id)); };

    controls.push_back({.name = group, .kind = forms::Kind::GroupBox, .left = left, .top = top,
                        .width = 244, .height = 140, .text = Keep(SlotText(id)), .font = kTahomaBold});
    controls.push_back({.name = name("编辑框"), .kind = forms::Kind::Edit, .parent = group, .left = 1,
                        .top = 14, .width = 241, .height = 108, .textColour = forms::Rgb(0, 0, 255),
                        .backColour = forms::Rgb(255, 255, 255), .font = kTahoma, .multiLine = true});
    controls.push_back({.name = name("监控"), .kind = forms::Kind::CheckBox, .parent = group, .left = 13,
                        .top = 124, .width = 80, .height = 14, .text = "监控剪贴板",
                        .backColour = kWindowGrey});
    if (const char* arrow = DownArrowName(id)) {
        controls.push_back({.name = arrow, .kind = forms::Kind::Label, .parent = group, .left = 130,
                            .top = 124, .width = 14, .height = 14, .text = "↓",
                            .textColour = kCommandBlue, .backColour = kWindowGrey,
                            .align = forms::Align::Centre, .hand = true});
    }
    // Without a down arrow the paste label stands 13 px further right.
    const int pasteLeft = id.column == 3 ? 114 : 101;
    controls.push_back(CommandLabel(name("粘贴"), group, pasteLeft, "粘贴", kCommandBlue));
    controls.push_back(CommandLabel(name("复制"), group, 143, "复制", kCommandBlue));
    controls.push_back(CommandLabel(name("剪切"), group, 172, "剪切", kCommandBlue));
    controls.push_back(CommandLabel(name("清空"), group, 201, "清空", kClearBrown));
    controls.push_back({.name = name("时钟"), .kind = forms::Kind::Timer, .parent = group});
}

}  // namespace slots
