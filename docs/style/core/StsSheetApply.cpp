#include "docs/style/core/StsSheetApply.h"

#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/SheetOk.h"
#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "docs/style/core/StsItemData.h"
#include "docs/style/core/StsTrackPageModel.h"

#include <algorithm>

namespace zib {

namespace {

void writeRows(std::span<uint8_t> data, size_t first, const StsTrackPageModel& page)
{
    const auto& rows = page.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        StsTrackRecord record(data, first + i * StsItemData::kTrackRecord);
        if (!record.Valid()) continue;
        record.SetSound(rows[i].sound);
        record.SetVolume(rows[i].volume);
        record.SetPan(rows[i].pan);
    }
}

} // namespace

bool ApplyStylePerformancePage(std::span<uint8_t> data, const StsTrackPageModel& page)
{
    if (!page.changed || page.IsRealtime()) return false;
    return WriteChangesBytes(
        data, [&](std::span<uint8_t> bytes) { writeRows(bytes, StsItemData::kStyleTracks, page); });
}

bool ApplyArrangerInfoPage(std::span<uint8_t> data, const StsArrangerInfoPageModel& page, bool bankAndPosition)
{
    if (!page.changed) return false;
    return WriteChangesBytes(data, [&](std::span<uint8_t> bytes) {
        if (bankAndPosition) {
            StsItemData::Set(bytes, StsItemData::kBank, page.bank);
            StsItemData::Set(bytes, StsItemData::kPosition, page.position);
        }
        // A tempo below 40 is raised, but only a tempo the page changed: one
        // left as it was stays as stored.
        if (page.tempo != StsItemData::Get(bytes, StsItemData::kTempo))
            StsItemData::Set(bytes, StsItemData::kTempo,
                             std::max<uint8_t>(page.tempo, StsArrangerInfoPageModel::kMinTempo));
        StsItemData::Set(bytes, StsItemData::kVariation, page.variation);
        StsItemData::Set(bytes, StsItemData::kElement, page.element);
        StsItemData::Set(bytes, StsItemData::kFill1, page.fill1);
        StsItemData::Set(bytes, StsItemData::kFill2, page.fill2);
    });
}

bool ApplyStsPage(std::span<uint8_t> data, const StsTrackPageModel& page)
{
    if (!page.changed || !page.IsRealtime()) return false;
    // The block must be one the data holds: its ordinal below the parsed count.
    CStsItemAccessor accessor;
    if (accessor.Parse(data) != 0 || page.Ordinal() < 0 || page.Ordinal() >= accessor.GetStsCount()) return false;
    const size_t block = StsItemData::kFirstSts + StsItemData::kStsBlock * size_t(page.Ordinal());
    return WriteChangesBytes(
        data, [&](std::span<uint8_t> bytes) { writeRows(bytes, block + StsItemData::kStsHead, page); });
}

bool ApplyStsChunkSheet(std::span<uint8_t> data, const StsTrackPageModel& performance,
                        const StsArrangerInfoPageModel& arranger)
{
    const bool a = ApplyStylePerformancePage(data, performance);
    const bool b = ApplyArrangerInfoPage(data, arranger, false);
    return a || b;
}

} // namespace zib
