#include "app/CZibMdiChild.h"

namespace zib {

CZibMdiChild::CZibMdiChild(ZibMdiParentFrame* parent, wxWindowID id, const wxString& title,
                           const wxPoint& pos, const wxSize& size, long style, const wxString& name)
    : ZibMdiChildFrame(parent, id, title, pos, size, style, name)
{
}

} // namespace zib
