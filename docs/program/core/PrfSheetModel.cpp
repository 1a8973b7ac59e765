#include "docs/program/core/PrfSheetModel.h"

#include <algorithm>

namespace zib {

bool PrfSheetModel::CanOpen(PrfDocModel& doc, int row)
{
    if (row < 0 || row >= doc.Count()) {
        doc.Notify(DocMessage::Numbered(23, "EditProperties"));
        return false;
    }
    if (!prf::Readable(doc.items[size_t(row)].data)) {
        doc.Notify(DocMessage::Numbered(31, "EditProperties"));
        return false;
    }
    return true;
}

PrfSheetModel::PrfSheetModel(PrfDocModel& doc, int row) : doc_(doc), row_(row), edited_(doc.items.at(size_t(row)).data)
{
}

void PrfSheetModel::Ok(bool stylePageChanged, bool arrangerPageChanged, bool stsPageChanged)
{
    auto& data = doc_.items[size_t(row_)].data;
    if (!prf::Readable(data) || edited_.size() != data.size()) return;
    // Sound, volume and pan of a track record.
    const auto track = [&](size_t record) { std::copy_n(edited_.begin() + ptrdiff_t(record + 8), 6, data.begin() + ptrdiff_t(record + 8)); };
    if (stylePageChanged)
        for (size_t t = 0; t < 8; ++t)
            track(prf::kStyleTracks + prf::kTrackSize * t);
    if (arrangerPageChanged) {
        for (size_t at : {prf::kStyleBank, prf::kStylePosition, prf::kInitialVariation, prf::kInitialElement,
                          prf::kFill1, prf::kFill2})
            data[at] = edited_[at];
        data[prf::kTempo] = std::max<uint8_t>(edited_[prf::kTempo], 40);
    }
    if (stsPageChanged)
        for (size_t t = 0; t < 4; ++t)
            track(prf::kStsBlocks + prf::kStsHead + prf::kTrackSize * t);
    if (stylePageChanged || arrangerPageChanged || stsPageChanged) {
        doc_.modified = true;
        doc_.Port().RedrawAll();
    }
}

} // namespace zib
