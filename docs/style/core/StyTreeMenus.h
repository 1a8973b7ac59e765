#pragma once

#include "ui/core/MenuModel.h"

#include <vector>

namespace zib {

// The menus of the style and pad edit frames and their trees as data
// (English labels).

// Menu 233, shared by every style and pad edit frame.
MenuBarDef StyEditFrameMenuDef();
// The trees' popups: elements "SE POPUP" (217, with "Add CV"), chord
// variations "CV POPUP" (199) and tracks "TR_POPUP" (212).
std::vector<MenuItemDef> StyElementPopupDef();
std::vector<MenuItemDef> StyCvPopupDef();
std::vector<MenuItemDef> StyTrackPopupDef();
// The STS tree's "STS Popup".
std::vector<MenuItemDef> StsPopupDef();

} // namespace zib
