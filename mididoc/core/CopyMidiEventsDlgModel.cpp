#include "mididoc/core/CopyMidiEventsDlgModel.h"

namespace zib {

bool CopyMidiEventsDlgModel::Checked(const CopyEventKinds& kinds, Box box)
{
    switch (box) {
    case kTrackEvents:
        return kinds.trackEvents;
    case kTempoChanges:
        return kinds.tempo;
    case kTactChanges:
        return kinds.tact;
    case kMarkers:
        return kinds.markers;
    }
    return false;
}

CopyEventKinds CopyMidiEventsDlgModel::Ok(bool trackEvents, bool tempo, bool tact, bool markers)
{
    return CopyEventKinds{trackEvents, tempo, tact, markers};
}

} // namespace zib
