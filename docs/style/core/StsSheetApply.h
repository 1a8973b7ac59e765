#pragma once

#include <cstdint>
#include <span>

namespace zib {

class StsArrangerInfoPageModel;
class StsTrackPageModel;

// What the STS sheets write back into the STS data on OK; each returns true
// when the data's bytes changed (a page that did not change writes nothing;
// see SheetOk.h).
//
// The style performance page: sound, volume and pan of the eight style
// track records at 136 + 37i.
bool ApplyStylePerformancePage(std::span<uint8_t> data, const StsTrackPageModel& page);
// The arranger info page: the tempo at 41 (a changed tempo at least 40), then
// 42, 43, 45 and 46; with `bankAndPosition` (the performance sheet) also 38
// and 39.
bool ApplyArrangerInfoPage(std::span<uint8_t> data, const StsArrangerInfoPageModel& page, bool bankAndPosition);
// The STS page: the four realtime records at 432 + 261 * ordinal + 113 + 37i.
// Nothing is written for an ordinal that is not below the data's STS count
// or a block that does not lie in the data.
bool ApplyStsPage(std::span<uint8_t> data, const StsTrackPageModel& page);

// "Style Performance settings": the performance page, then the arranger
// page; true when either changed the data (the document is then modified).
bool ApplyStsChunkSheet(std::span<uint8_t> data, const StsTrackPageModel& performance,
                        const StsArrangerInfoPageModel& arranger);

} // namespace zib
