#include "docs/program/ProgramIcons.h"

#include "ui/CMainToolBar.h"

namespace zib {

namespace {

const char* glyphOf(int resource)
{
    switch (resource) {
    case 119: return "PCG";
    case 120: return "PRF";
    case 122: return "ARR";
    case 123: return "GBL";
    case 124: return "ARG";
    case 129: return "W8";
    case 130: return "41";
    case 131: return "R65";
    case 132: return "W6";
    case 133: return "517";
    case 189: return "QE";
    default: return "Z";
    }
}

} // namespace

wxBitmap ProgramIconBitmap(int resource)
{
    return CMainToolBar::GlyphBitmap(glyphOf(resource));
}

wxIcon ProgramIcon(int resource)
{
    wxIcon icon;
    icon.CopyFromBitmap(ProgramIconBitmap(resource));
    return icon;
}

int ModelIconResource(int model)
{
    switch (model) {
    case '9': return 129;
    case 'I': return 130;
    case 'M': return 131;
    case '<': return 132;
    case 'H': return 133;
    case 'F':
    case 'X': return 189;
    default: return 116;
    }
}

} // namespace zib
