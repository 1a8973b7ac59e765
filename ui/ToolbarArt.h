#pragma once

#include "ui/core/ToolbarButtons.h"

#include <string_view>
#include <wx/bmpbndl.h>
#include <wx/colour.h>

namespace zib {

// Where the picture of a toolbar button came from.
enum class ToolIconSource { Theme, Own, Letters };

struct ToolIcon {
    wxBitmapBundle bitmap;
    ToolIconSource source = ToolIconSource::Letters;
};

// The size of the toolbars' icons in pixels: the desktop theme's toolbar size
// unless set otherwise (0 sets the theme's again).
int ToolbarIconSize();
void SetToolbarIconSize(int pixels);

// The picture of a button at `size` pixels: the desktop theme's icon of a
// standard action (its one-colour form drawn in `ink`), else the program's
// own icon drawn in `ink`, else its letters.
ToolIcon ToolButtonIcon(const ToolButtonDef& button, int size, const wxColour& ink);

// Short letters on a light tile `height` pixels high and `width` wide (by
// default square, twice as wide for more than two letters), the letters made
// smaller where they would not fit; an empty text gives a plain tile.
wxBitmap LetterTile(std::string_view letters, int height, int width = 0);

} // namespace zib
