#include "ui/MenuBuilder.h"

#include "ui/core/CommandIds.h"
#include "ui/core/RecentFileList.h"
#include "ui/texts/UiText.h"
#include "platform/WxText.h"

namespace zib {

namespace {

// A label whose shortcut part starts with blanks ("&Delete\t   Del") only
// shows the key: the key belongs to the focused list, not to the menu (GTK
// would run a menu accelerator before a text field or cell editor saw it).
wxString itemLabel(std::string_view english, int language)
{
    std::string text = UiText(english, language);
    const size_t tab = text.find('\t');
    if (tab != std::string::npos && tab + 1 < text.size() && text[tab + 1] == ' ') text[tab] = ' ';
    return wxFromUtf8(text);
}

void fill(wxMenu* menu, const std::vector<MenuItemDef>& items, int language,
          const std::vector<std::string>& recentFiles)
{
    bool skipSeparator = false;
    for (const auto& item : items) {
        if (skipSeparator && item.kind == MenuItemDef::Kind::Separator) {
            skipSeparator = false;
            continue;
        }
        skipSeparator = false;
        switch (item.kind) {
        case MenuItemDef::Kind::Command:
            menu->Append(cmd::ToWxId(item.id), itemLabel(item.label, language));
            break;
        case MenuItemDef::Kind::Check:
            menu->AppendCheckItem(cmd::ToWxId(item.id), itemLabel(item.label, language));
            break;
        case MenuItemDef::Kind::Separator:
            menu->AppendSeparator();
            break;
        case MenuItemDef::Kind::Popup: {
            auto* sub = new wxMenu;
            fill(sub, item.children, language, recentFiles);
            menu->AppendSubMenu(sub, wxFromUtf8(UiText(item.label, language)));
            break;
        }
        case MenuItemDef::Kind::RecentFiles:
            // No recent files: no items, and no second separator in a row.
            skipSeparator = recentFiles.empty();
            for (size_t i = 0; i < recentFiles.size(); ++i)
                menu->Append(cmd::ToWxId(item.id + int(i)),
                             wxFromUtf8(RecentFileList::MenuLabel(i, recentFiles[i])),
                             wxFromUtf8(recentFiles[i]));
            break;
        }
    }
}

} // namespace

wxMenuBar* BuildMenuBar(const MenuBarDef& menu, int language, const std::vector<std::string>& recentFiles)
{
    auto* bar = new wxMenuBar;
    for (const auto& top : menu) {
        auto* popup = new wxMenu;
        fill(popup, top.children, language, recentFiles);
        bar->Append(popup, wxFromUtf8(UiText(top.label, language)));
    }
    return bar;
}

wxMenu* BuildPopupMenu(const std::vector<MenuItemDef>& items, int language)
{
    auto* menu = new wxMenu;
    fill(menu, items, language, {});
    return menu;
}

} // namespace zib
