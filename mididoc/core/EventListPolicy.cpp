#include "mididoc/core/EventListPolicy.h"

#include "mididoc/core/EventListOwner.h"

#include <algorithm>

namespace zib {

EventListPolicy EventListPolicy::For(uint32_t docKind, uint32_t modelLetter)
{
    EventListPolicy p;
    p.modelLetter = modelLetter;
    if (docKind == EventListOwner::kPadDocument) {
        p.kind = Kind::PadTrack;
    } else if (docKind == EventListOwner::kStyleDocument) {
        p.kind = p.QeSeries() ? Kind::QeStyleTrack : Kind::WqStyleTrack;
    } else {
        p.kind = Kind::WholeFile;
    }
    return p;
}

bool EventListPolicy::Clipboard() const
{
    switch (kind) {
    case Kind::WholeFile:
        return true;
    case Kind::PadTrack:
    case Kind::QeStyleTrack:
        return QeSeries();
    case Kind::WqStyleTrack:
        return false;
    }
    return false;
}

uint8_t EventListPolicy::NewEventChannel(int track, uint8_t recordChannel) const
{
    switch (kind) {
    case Kind::WholeFile:
        return recordChannel < 16 ? recordChannel : 0;
    case Kind::WqStyleTrack:
        return uint8_t(8 + std::clamp(track, 1, 6));
    case Kind::PadTrack:
    case Kind::QeStyleTrack:
        return QeSeries() ? uint8_t(std::clamp(track, 1, 16) - 1) : 0;
    }
    return 0;
}

} // namespace zib
