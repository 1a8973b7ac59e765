#include "docs/style/StyleDocTemplates.h"

#include "ui/CChildFrames.h"
#include "ui/ShellServices.h"
#include "ui/CZibDocManager.h"
#include "ui/CMultiExtDocTemplate.h"
#include "ui/CZibDocTemplate.h"
#include "ui/ZibSubsystems.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CPadPropSplitterFrameWnd.h"
#include "docs/style/CZibPadView.h"
#include "docs/style/CZibPadWxDoc.h"
#include "docs/style/CZibStyView.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/dialogs/CQeTrackToWqTrackDlg.h"

namespace zib {

void AddStyleDocTemplates(CZibDocManager& manager)
{
    // The templates register themselves with the manager, which owns them.
    if (const ZibDocTemplateInfo* style = FindZibDocTemplate(118))
        new CZibDocTemplate(&manager, *style, CLASSINFO(CZibStyWxDoc), CLASSINFO(CZibStyView),
                            CLASSINFO(CChildStyFrame), StyDocMenuDef());
    if (const ZibDocTemplateInfo* pad = FindZibDocTemplate(121))
        new CMultiExtDocTemplate(&manager, *pad, CLASSINFO(CZibPadWxDoc), CLASSINFO(CZibPadView),
                                 CLASSINFO(CChildPadFrame), PadDocMenuDef());
}

void ConnectStyleDocuments(ZibSubsystems& s)
{
    s.AddDocTemplates.push_back(AddStyleDocTemplates);
    s.OpenStyPropFrame = [](ZibMdiParentFrame& frame, const wxString& title, uint8_t* frameOpen, wxDocument* document,
                            int row) -> wxWindow* {
        auto* doc = dynamic_cast<CItemWxDoc*>(document);
        return doc ? CStyPropSplitterFrameWnd::Open(frame, title, frameOpen, *doc, row) : nullptr;
    };
    s.OpenPadPropFrame = [](ZibMdiParentFrame& frame, const wxString& title, uint8_t* frameOpen, wxDocument* document,
                            int row) -> wxWindow* {
        auto* doc = dynamic_cast<CItemWxDoc*>(document);
        return doc ? CPadPropSplitterFrameWnd::Open(frame, title, frameOpen, *doc, row) : nullptr;
    };
    s.QeTrackToWqTrackDialog = [](int& choice) {
        CQeTrackToWqTrackDlg dlg(ShellFrame(), choice);
        if (dlg.ShowModal() != wxID_OK) return false;
        choice = dlg.Choice();
        return true;
    };
}

} // namespace zib
