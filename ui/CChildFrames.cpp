#include "ui/CChildFrames.h"

#include "ui/CZibDocTemplate.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CChildFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildStyFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildPcgFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildPrfFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildPadFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildArrFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildGblFrame, ZibMdiChildFrame);
wxIMPLEMENT_DYNAMIC_CLASS(CChildArgFrame, ZibMdiChildFrame);

int CZibDocChildFrame::MenuTemplateId() const
{
    wxDocument* doc = GetDocument();
    auto* tmpl = doc ? dynamic_cast<CZibDocTemplate*>(doc->GetDocumentTemplate()) : nullptr;
    return tmpl ? tmpl->TemplateId() : 0;
}

void CZibDocChildFrame::FillStatus(ChildStatus& status) const
{
    status.kind = Kind();
    auto* source = dynamic_cast<const CItemListStatusSource*>(GetView());
    if (!source || !GetDocument()) return;
    status.hasViewAndDocument = true;
    status.focusedItemName = source->FocusedItemName();
    status.itemCount = source->ItemCount();
    status.totalItemSize = source->TotalItemSize();
}

} // namespace zib
