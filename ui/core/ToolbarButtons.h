#pragma once

#include "ui/core/ToolbarChoice.h"

#include <string_view>
#include <vector>

namespace zib {

// One button of a main toolbar. Id 0 is a separator. The tooltip is the
// English label (translated and stripped of '&' and shortcut when shown); the
// glyph is the button's short letters, drawn when its icon cannot be had; the
// icon names a standard action or one of the program's own icons
// (ui/core/ToolbarIcons.h).
struct ToolButtonDef {
    int id = 0;
    std::string_view tooltip;
    std::string_view glyph;
    std::string_view icon;
    bool toggle = false; // a button that stays pressed (checked by the program)
    // A text field of this width in pixels (id: the field's control id); wide
    // enough for "999:04:119" in the toolkit's font.
    int fieldWidth = 0;
};

// The buttons a bar is created with. Bars whose commands belong to other
// areas start empty and receive their buttons from those areas.
std::vector<ToolButtonDef> ToolbarButtons(MainBar bar);

// The two button sets of the MidiDoc bar: full (16 entries, bitmap 261) and
// reduced for the tempo-track editor (14 entries, bitmap 262).
std::vector<ToolButtonDef> MidiDocButtonSet(bool full);

// A menu label as a tooltip: '&' removed ("&&" kept as '&'), the "\t..." shortcut dropped.
std::string ToolTipText(std::string_view label);

} // namespace zib
