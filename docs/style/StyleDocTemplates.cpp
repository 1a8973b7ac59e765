#include "docs/style/StyleDocTemplates.h"

#include "app/CChildFrames.h"
#include "app/CZibDocManager.h"
#include "app/CZibDocTemplate.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/CZibPadView.h"
#include "docs/style/CZibPadWxDoc.h"
#include "docs/style/CZibStyView.h"
#include "docs/style/CZibStyWxDoc.h"

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

} // namespace zib
