#include "docs/program/core/PrfSheetModel.h"

#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/StsSheetApply.h"

namespace zib {

bool PrfSheetModel::CanOpen(PrfDocModel& doc, int row)
{
    if (row < 0 || row >= doc.Count()) {
        doc.Notify(DocMessage::Numbered(23, "EditProperties"));
        return false;
    }
    auto& data = doc.items[size_t(row)].data;
    // An empty performance has no settings: the command is greyed for it.
    if (data.empty()) return false;
    CStsItemAccessor blocks;
    if (!PrfDocModel::Readable(data) || blocks.Parse(data) != 0) {
        doc.Notify(DocMessage::Numbered(31, "EditProperties"));
        return false;
    }
    return true;
}

PrfSheetModel::PrfSheetModel(PrfDocModel& doc, int row)
    : doc_(doc), row_(row),
      style_(StsTrackPageModel::StylePerformance(doc.items.at(size_t(row)).data, uint32_t(doc.model))),
      arranger_(doc.items[size_t(row)].data, uint32_t(doc.model), StsArrangerInfoPageModel::kPerformance),
      sts_(StsTrackPageModel::Realtime(doc.items[size_t(row)].data, uint32_t(doc.model), 0, 0))
{
}

bool PrfSheetModel::Ok()
{
    if (row_ < 0 || row_ >= doc_.Count()) return false;
    const std::span<uint8_t> data = doc_.items[size_t(row_)].data;
    const bool style = ApplyStylePerformancePage(data, style_);
    const bool arranger = ApplyArrangerInfoPage(data, arranger_, true);
    const bool sts = ApplyStsPage(data, sts_);
    if (!style && !arranger && !sts) return false;
    doc_.modified = true;
    doc_.Port().RedrawAll();
    return true;
}

} // namespace zib
