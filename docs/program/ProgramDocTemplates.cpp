#include "docs/program/ProgramDocTemplates.h"

#include "ui/CChildFrames.h"
#include "ui/CZibDocManager.h"
#include "ui/CMultiExtDocTemplate.h"
#include "ui/CZibDocTemplate.h"
#include "docs/program/CZibArgDoc.h"
#include "docs/program/CZibArgView.h"
#include "docs/program/CZibArrDoc.h"
#include "docs/program/CZibArrView.h"
#include "docs/program/CZibGblDoc.h"
#include "docs/program/CZibGblView.h"
#include "docs/program/CZibPcgDoc.h"
#include "docs/program/CZibPcgView.h"
#include "docs/program/CZibPrfDoc.h"
#include "docs/program/CZibPrfView.h"
#include "docs/program/core/ProgramMenus.h"

namespace zib {

void AddProgramDocTemplates(CZibDocManager& manager)
{
    // The templates register themselves with the manager, which owns them.
    if (const ZibDocTemplateInfo* info = FindZibDocTemplate(119))
        new CMultiExtDocTemplate(&manager, *info, CLASSINFO(CZibPcgDoc), CLASSINFO(CZibPcgView),
                                 CLASSINFO(CChildPcgFrame), PcgDocumentMenu());
    if (const ZibDocTemplateInfo* info = FindZibDocTemplate(120))
        new CZibDocTemplate(&manager, *info, CLASSINFO(CZibPrfDoc), CLASSINFO(CZibPrfView),
                            CLASSINFO(CChildPrfFrame), PrfDocumentMenu());
    if (const ZibDocTemplateInfo* info = FindZibDocTemplate(122))
        new CZibDocTemplate(&manager, *info, CLASSINFO(CZibArrDoc), CLASSINFO(CZibArrView),
                            CLASSINFO(CChildArrFrame), ArrDocumentMenu());
    if (const ZibDocTemplateInfo* info = FindZibDocTemplate(123))
        new CZibDocTemplate(&manager, *info, CLASSINFO(CZibGblDoc), CLASSINFO(CZibGblView),
                            CLASSINFO(CChildGblFrame), GlobalDocumentMenu());
    if (const ZibDocTemplateInfo* info = FindZibDocTemplate(124))
        new CZibDocTemplate(&manager, *info, CLASSINFO(CZibArgDoc), CLASSINFO(CZibArgView),
                            CLASSINFO(CChildArgFrame), GlobalDocumentMenu());
}

} // namespace zib
