#pragma once

#include "ui/core/ToolbarButtons.h"

#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The pictures of the toolbar buttons. A button that stands for a standard
// action shows the desktop theme's icon of that action; every other button
// shows one of the program's own icons, an SVG file in the data folder's
// "icons" folder drawn in the bar's text colour, and its letters lead its
// tooltip. A button whose icon cannot be had shows its letters.

// The names under which a desktop theme knows the icon of an action.
struct ThemeIconNames {
    std::string_view freedesktop; // the icon naming specification's name
    std::string_view gtkStock;    // the older GTK stock name
};

// The theme's names of a standard action: "new", "open", "save", "cut",
// "copy", "paste", "undo", "redo", "delete", "play", "stop", "record",
// "rewind", "forward", "properties" and "help"; nullopt for any other icon.
std::optional<ThemeIconNames> StandardActionIcon(std::string_view icon);

// The file of one of the program's own icons, relative to the data folder.
std::string OwnIconFile(std::string_view icon);

// The tooltip of a button showing `text` (its command's label as a tooltip):
// led by the button's letters when it shows one of the program's own icons
// ("N: Note Events"), the text alone for a standard action.
std::string ToolButtonTip(const ToolButtonDef& button, std::string_view text);

// An own icon's SVG drawn in `colour` ("#rrggbb"): its currentColor strokes
// and fills take that colour.
std::string SvgInColour(std::string_view svg, std::string_view colour);

} // namespace zib
