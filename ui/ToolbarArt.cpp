#include "ui/ToolbarArt.h"

#include "ui/core/ToolbarIcons.h"
#include "platform/DataDir.h"
#include "platform/FileIo.h"
#include "platform/WxText.h"

#include <algorithm>
#include <map>
#include <string>
#include <wx/artprov.h>
#include <wx/dcmemory.h>

namespace zib {

namespace {

int setIconSize = 0;

wxBitmap themeBitmap(const wxString& name, int size)
{
    return wxArtProvider::GetBitmap(name, wxART_TOOLBAR, wxSize(size, size));
}

// A one-colour icon in another colour, its shape (alpha) kept.
wxBitmap inColour(const wxBitmap& bitmap, const wxColour& ink)
{
    wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha()) return bitmap;
    unsigned char* rgb = image.GetData();
    for (int i = 0, n = image.GetWidth() * image.GetHeight(); i < n; ++i, rgb += 3)
        rgb[0] = ink.Red(), rgb[1] = ink.Green(), rgb[2] = ink.Blue();
    return wxBitmap(image);
}

// The theme's icon of an action. Its symbolic (one-colour) form comes first,
// drawn in the bar's text colour as the desktop's own toolbars draw it, so
// that it reads in light and dark themes alike; then its full-colour form
// and the GTK stock icon.
wxBitmapBundle themeIcon(const ThemeIconNames& names, int size, const wxColour& ink)
{
    if (const wxBitmap symbolic = themeBitmap(wxFromUtf8(names.freedesktop) + "-symbolic", size); symbolic.IsOk())
        return wxBitmapBundle::FromBitmap(inColour(symbolic, ink));
    for (std::string_view name : {names.freedesktop, names.gtkStock})
        if (const wxBitmap bitmap = themeBitmap(wxFromUtf8(name), size); bitmap.IsOk())
            return wxBitmapBundle::FromBitmap(bitmap);
    return wxBitmapBundle();
}

// The SVG text of an own icon, read once; empty when its file is missing.
const std::string& ownIconSvg(std::string_view icon)
{
    static std::map<std::string, std::string, std::less<>> read;
    if (auto it = read.find(icon); it != read.end()) return it->second;
    std::vector<uint8_t> bytes;
    std::string svg;
    if (readWholeFile(dataFile(OwnIconFile(icon)), bytes, 1 << 20) == FileIoError::None)
        svg.assign(bytes.begin(), bytes.end());
    return read.emplace(std::string(icon), std::move(svg)).first->second;
}

wxBitmapBundle ownIcon(std::string_view icon, int size, const wxColour& ink)
{
    const std::string& svg = ownIconSvg(icon);
    if (svg.empty()) return wxBitmapBundle();
    const std::string drawn = SvgInColour(svg, wxToUtf8(ink.GetAsString(wxC2S_HTML_SYNTAX)));
    wxBitmapBundle bundle = wxBitmapBundle::FromSVG(drawn.c_str(), wxSize(size, size));
    // A file that does not parse draws nothing.
    return bundle.IsOk() && bundle.GetBitmap(wxSize(size, size)).IsOk() ? bundle : wxBitmapBundle();
}

} // namespace

int ToolbarIconSize()
{
    if (setIconSize > 0) return setIconSize;
    const int theme = wxArtProvider::GetSizeHint(wxART_TOOLBAR).y;
    return theme > 0 ? theme : 16;
}

void SetToolbarIconSize(int pixels)
{
    setIconSize = std::max(pixels, 0);
}

ToolIcon ToolButtonIcon(const ToolButtonDef& button, int size, const wxColour& ink)
{
    if (!button.icon.empty()) {
        if (const auto names = StandardActionIcon(button.icon)) {
            if (wxBitmapBundle theme = themeIcon(*names, size, ink); theme.IsOk()) return {theme, ToolIconSource::Theme};
        } else if (wxBitmapBundle own = ownIcon(button.icon, size, ink); own.IsOk()) {
            return {own, ToolIconSource::Own};
        }
    }
    return {wxBitmapBundle::FromBitmap(LetterTile(button.glyph, size)), ToolIconSource::Letters};
}

wxBitmap LetterTile(std::string_view letters, int height, int width)
{
    if (width <= 0) width = height * (letters.size() > 2 ? 2 : 1);
    wxBitmap bmp(width, height);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(wxColour(236, 240, 248)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(90, 110, 150)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, bmp.GetWidth(), bmp.GetHeight());
    if (!letters.empty()) {
        // The letters shrink until they fit inside the frame.
        const wxString text = wxFromUtf8(letters);
        wxSize extent;
        for (int points = std::max(6, height * 6 / 16);; --points) {
            dc.SetFont(wxFont(wxFontInfo(points).Bold()));
            extent = dc.GetTextExtent(text);
            if (extent.x <= width - 2 || points <= 4) break;
        }
        dc.SetTextForeground(wxColour(30, 40, 80));
        dc.DrawText(text, (bmp.GetWidth() - extent.x) / 2, (bmp.GetHeight() - extent.y) / 2);
    }
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

} // namespace zib
