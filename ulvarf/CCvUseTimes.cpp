#include "ulvarf/CCvUseTimes.h"

#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <optional>

namespace zib::ulvarf {

CCvUseTimes::CCvUseTimes(std::span<const uint8_t> cvStream, uint32_t cvLength, size_t uses)
    : events_(CPropEventList::Decode(cvStream)), intervals_(uses)
{
    streamEnd_ = events_.hasEnd() ? events_.endTick() : events_.lastTick();
    cvEnd_ = std::max(cvLength, streamEnd_);
    for (size_t i = 0; i < events_.size(); ++i) {
        if (!IsStartOrStop(i)) continue;
        const uint8_t use = UseOf(events_, events_[i]);
        if (use >= uses) {
            TraceMessage("CCvUseTimes::CCvUseTimes() - Control event names pattern use %d of %zu; ignored", use,
                         uses);
        } else if (events_.MetaData(events_[i])[0] == kStop) {
            hasStop_ = true;
        }
    }
    build();
}

void CCvUseTimes::SetCvLength(uint32_t cvLength)
{
    cvEnd_ = std::max(cvLength, streamEnd_);
    build();
}

bool CCvUseTimes::IsStartOrStop(const CPropEventList& events, const CPropEventList::Event& event)
{
    if (!events.IsMeta(event, CPropEventList::kMetaControl)) return false;
    const auto data = events.MetaData(event);
    return data.size() >= 2 && (data[0] == kStart || data[0] == kStop);
}

void CCvUseTimes::AppendStart(CPropEventList& events, uint32_t tick, uint8_t use)
{
    const uint8_t start[] = {kStart, use, 0, 0};
    events.AppendMeta(tick, CPropEventList::kMetaControl, start);
}

void CCvUseTimes::AppendStop(CPropEventList& events, uint32_t tick, uint8_t use)
{
    const uint8_t stop[] = {kStop, use};
    events.AppendMeta(tick, CPropEventList::kMetaControl, stop);
}

uint8_t CCvUseTimes::UseOf(const CPropEventList& events, const CPropEventList::Event& event)
{
    const auto data = events.MetaData(event);
    return data.size() >= 2 ? data[1] : 0;
}

void CCvUseTimes::build()
{
    const size_t uses = intervals_.size();
    for (auto& list : intervals_) list.clear();
    std::vector<std::optional<uint32_t>> playing(uses);
    std::vector<bool> started(uses, false);
    for (size_t i = 0; i < events_.size(); ++i) {
        if (!IsStartOrStop(i)) continue;
        const uint8_t use = UseOf(events_, events_[i]);
        if (use >= uses) continue;
        const uint32_t tick = std::min(events_[i].tick, cvEnd_);
        if (events_.MetaData(events_[i])[0] == kStart) {
            if (playing[use]) intervals_[use].push_back({*playing[use], tick, false});
            playing[use] = tick;
            started[use] = true;
        } else if (playing[use]) {
            intervals_[use].push_back({*playing[use], tick, false});
            playing[use].reset();
        }
    }
    for (size_t use = 0; use < uses; ++use) {
        if (playing[use]) intervals_[use].push_back({*playing[use], cvEnd_, true});
        if (!started[use]) intervals_[use].push_back({0, cvEnd_, true});
    }
}

} // namespace zib::ulvarf
