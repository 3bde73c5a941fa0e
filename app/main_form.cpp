#include "app/main_form.h"

#include "slots/grid.h"

namespace app {
namespace {

using forms::Align;
using forms::ControlDef;
using forms::Kind;
using forms::Picture;
using forms::Rgb;

constexpr forms::Colour kToolGrey = Rgb(192, 192, 192);
constexpr forms::Colour kLinkBlue = Rgb(0, 0, 255);
constexpr forms::Colour kSeparatorGrey = Rgb(96, 96, 96);
constexpr forms::Colour kBlack = Rgb(0, 0, 0);
constexpr forms::Font kTahoma{.face = "Tahoma", .height = 12};
constexpr forms::Font kSong{.face = "宋体", .height = 12};
constexpr forms::Font kSongGb{.face = "宋体", .height = 12, .gb2312 = true};

// A blue command label of the tool row.
ControlDef ToolLabel(const char* name, int left, int width, const char* text) {
    return {.name = name, .kind = Kind::Label, .left = left, .top = 24, .width = width, .height = 20,
            .text = text, .textColour = kLinkBlue, .backColour = kToolGrey, .font = kSongGb,
            .align = Align::Centre, .hand = true};
}

ControlDef ToolSeparator(const char* name, int left) {
    return {.name = name, .kind = Kind::Label, .left = left, .top = 24, .width = 11, .height = 20,
            .text = "|", .textColour = kSeparatorGrey, .backColour = kToolGrey, .align = Align::Centre};
}

// Separator lines between all neighbouring items.
forms::MenuDef Menu(const char* name, std::initializer_list<const char*> items) {
    forms::MenuDef menu{.name = name, .items = {}};
    for (const char* item : items) {
        if (!menu.items.empty()) menu.items.push_back({.text = "-"});
        menu.items.push_back({.text = item});
    }
    return menu;
}

forms::FormDef BuildMainForm() {
    forms::FormDef form{.name = "主窗口", .caption = "Quillo", .width = 751, .height = 599,
                        .backColour = Rgb(236, 236, 236)};
    auto& c = form.controls;

    // The tool row's background strip lies behind the tool-row controls.
    c.push_back({.name = "标签4", .kind = Kind::Label, .left = -3, .top = 24, .width = 768, .height = 20,
                 .backColour = kToolGrey});
    c.push_back({.name = "自定义1", .kind = Kind::Label, .left = 13, .top = 24, .width = 69, .height = 20,
                 .text = "自定义字符：", .textColour = kBlack, .backColour = kToolGrey, .hidden = true});
    c.push_back({.name = "自定义2", .kind = Kind::Edit, .left = 82, .top = 24, .width = 80, .height = 20,
                 .textColour = kBlack, .backColour = Rgb(255, 255, 255), .hidden = true});
    c.push_back({.name = "自定义3", .kind = Kind::Label, .left = 162, .top = 24, .width = 29, .height = 20,
                 .text = "关闭", .textColour = kLinkBlue, .backColour = kToolGrey, .align = Align::Centre,
                 .hand = true, .hidden = true});
    c.push_back({.name = "标签_上广告", .kind = Kind::Label, .left = 200, .top = 24, .width = 296,
                 .height = 20, .textColour = kLinkBlue, .backColour = kToolGrey, .font = kSongGb,
                 .align = Align::Right, .hand = true});
    c.push_back(ToolLabel("标签_增一行", 500, 48, "增一行"));
    c.push_back(ToolSeparator("标签28", 548));
    c.push_back(ToolLabel("标签26", 559, 48, "减一行"));
    c.push_back(ToolSeparator("标签1", 607));
    c.push_back(ToolLabel("全部清空", 618, 48, "全清空"));
    c.push_back(ToolSeparator("标签2", 666));
    ControlDef transparency = ToolLabel("标签21", 677, 64, "透明度20%");
    transparency.font = kTahoma;
    c.push_back(transparency);

    // The self-drawn frame: fake title bar, edges, bottom strip (also the
    // lower advert line), and the three picture buttons over the title bar.
    c.push_back({.name = "标签_窗口假上", .kind = Kind::Label, .left = 2, .top = 0, .width = 568, .height = 24,
                 .textColour = kBlack, .font = kTahoma, .picture = Picture::FrameBand});
    c.push_back({.name = "标签_窗口假左", .kind = Kind::Label, .left = 10, .top = -17, .width = 2,
                 .height = 200, .picture = Picture::FrameBand});
    c.push_back({.name = "标签_窗口假右", .kind = Kind::Label, .left = 10, .top = -17, .width = 2,
                 .height = 200, .picture = Picture::FrameBand});
    c.push_back({.name = "标签_假下并广告", .kind = Kind::Label, .left = 128, .top = 527, .width = 449,
                 .height = 16, .text = "淘宝淘实惠", .textColour = kBlack, .font = kSong,
                 .align = Align::Centre, .hand = true, .picture = Picture::FrameBand});
    c.push_back({.name = "图形按钮_更多", .kind = Kind::PictureButton, .left = 632, .top = 4, .width = 21,
                 .height = 17, .picture = Picture::MoreButton});
    c.push_back({.name = "图形按钮_最小化", .kind = Kind::PictureButton, .left = 680, .top = 4, .width = 20,
                 .height = 17, .picture = Picture::MinimiseButton});
    c.push_back({.name = "图形按钮_关闭", .kind = Kind::PictureButton, .left = 728, .top = 4, .width = 20,
                 .height = 17, .picture = Picture::CloseButton});
    c.push_back({.name = "选择框_全部监控剪贴板", .kind = Kind::CheckBox, .left = 312, .top = 10,
                 .width = 92, .height = 20, .text = "全部监控剪贴板", .hand = true});
    c.push_back({.name = "选择框_置顶", .kind = Kind::CheckBox, .left = 434, .top = 2, .width = 32,
                 .height = 20, .text = "置顶", .font = kSongGb, .hand = true});
    c.push_back({.name = "时钟_联机", .kind = Kind::Timer});

    // The nine slots: columns at 13, 255, 497; rows at 51, 191, 331.
    constexpr int lefts[3] = {13, 255, 497};
    constexpr int tops[3] = {51, 191, 331};
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column)
            slots::AddSlotControls(c, {row, column}, lefts[column - 1], tops[row - 1]);

    form.menus = {
        Menu("设透明度", {"不透明", "20%", "40%", "60%", "80%"}),
        Menu("粘贴选项", {"追加粘贴（至原内容尾部）", "追加粘贴（原内容先换行再加新内容）",
                          "追加粘贴（原内容加全角逗号再加新内容）", "追加粘贴（原内容加半角逗号再加新内容）",
                          "追加粘贴（原内容加自定义字符再加新内容）"}),
        Menu("托盘菜单", {"显示主窗口", "Sorvani", "淘宝淘实惠", "检查更新", "退出"}),
        Menu("更多菜单", {"Sorvani", "淘宝淘实惠", "检查更新"}),
    };
    return form;
}

}  // namespace

const forms::FormDef& MainForm() {
    static const forms::FormDef form = BuildMainForm();
    return form;
}

}  // namespace app
