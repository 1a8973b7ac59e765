#pragma once

#include "ui/core/MenuModel.h"

#include <string>
#include <vector>
#include <wx/menu.h>

namespace zib {

// A menu bar built from its description in one language: labels through the
// UI text catalogue, the recent files where the description asks for them.
wxMenuBar* BuildMenuBar(const MenuBarDef& menu, int language, const std::vector<std::string>& recentFiles);
// A context menu from the items of one popup, in one language.
wxMenu* BuildPopupMenu(const std::vector<MenuItemDef>& items, int language);

} // namespace zib
