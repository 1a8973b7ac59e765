#include "docs/program/PcgDocTemplate.h"

#include "app/CChildFrames.h"
#include "app/CZibDocManager.h"
#include "app/CZibDocTemplate.h"
#include "docs/program/core/PcgMenus.h"
#include "docs/program/CZibPcgDoc.h"
#include "docs/program/CZibPcgView.h"

namespace zib {

void AddPcgDocTemplate(CZibDocManager& manager)
{
    const ZibDocTemplateInfo* info = FindZibDocTemplate(119);
    if (!info) return;
    // The template registers itself with the manager, which owns it.
    new CMultiExtDocTemplate(&manager, *info, CLASSINFO(CZibPcgDoc), CLASSINFO(CZibPcgView),
                             CLASSINFO(CChildPcgFrame), PcgDocumentMenu());
}

} // namespace zib
